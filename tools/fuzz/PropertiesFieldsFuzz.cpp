// The Properties dialog's six number fields as the user may fill them, one a line: each read by
// the dialogs' number rule in the order the dialog reads them, up to the first that is not a whole
// number (its prompt keeps the dialog open), then checked as OK checks them.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "settings/ConfigureRules.h"

namespace {

// The number rule restated plainly: blanks, an optional sign, digits, blanks, and inside int32.
bool ReadWhole(const char* text, int64_t& value)
{
    const size_t start = std::strspn(text, " \t");
    const size_t digits = start + (text[start] == '-' || text[start] == '+');
    const size_t end = digits + std::strspn(text + digits, "0123456789");
    if (end == digits || text[end + std::strspn(text + end, " \t")] != '\0')
        return false;
    value = 0;
    for (size_t index = digits; index < end && value <= INT32_MAX + 1LL; ++index)
        value = value * 10 + (text[index] - '0');
    value = text[start] == '-' ? -value : value;
    return value >= INT32_MIN && value <= INT32_MAX;
}

const struct {
    int32_t InternalSettings::*field;
    const SettingKey& key;
} FIELDS[] = {
    {&InternalSettings::baseScale, Setting::BaseScale},      {&InternalSettings::floors, Setting::NoFloors},
    {&InternalSettings::liftPause, Setting::LiftPause},      {&InternalSettings::personPause, Setting::PassPause},
    {&InternalSettings::personInterval, Setting::PassIntvl}, {&InternalSettings::impatience, Setting::Temper},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    InternalSettings settings = DefaultInternalSettings();
    size_t start = 0;
    for (const auto& field : FIELDS) {
        // Fields the input does not reach are empty; a text ends at its first NUL, as a control
        // hands it over.
        const size_t end = std::min(input.find('\n', start), input.size());
        const std::string text = start < input.size() ? input.substr(start, end - start).c_str() : "";
        start = end + 1;
        int32_t value = -12345;
        int64_t expected = 0;
        const bool whole = ParseWholeNumber(text.c_str(), value);
        FUZZ_CHECK(whole == ReadWhole(text.c_str(), expected));
        FUZZ_CHECK(whole ? value == expected : value == -12345);
        if (!whole)
            return 0;
        settings.*field.field = value;
    }
    // OK names the first value outside its range, with that range in the message.
    const char* warning = FindInternalSettingsWarning(settings);
    for (const auto& field : FIELDS) {
        const int32_t value = settings.*field.field;
        if (value >= field.key.minimum && value <= field.key.maximum)
            continue;
        char range[64];
        std::snprintf(range, sizeof range, "between %d and %d", field.key.minimum, field.key.maximum);
        FUZZ_CHECK(warning != nullptr && std::strstr(warning, range) != nullptr);
        return 0;
    }
    FUZZ_CHECK(warning == nullptr);
    return 0;
}
