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

// What the rule for whole numbers promises, checked from the outside: a text is taken exactly when,
// with its blanks (spaces, tabs) at both ends stripped, it is an optional sign and then one or
// more decimal digits, and the number lies inside int32; and what is taken is that number, as
// printf writes it back once the sign '+' and the leading zeros are dropped.
bool FollowsTheRule(const std::string& text, bool taken, int32_t value)
{
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    const std::string trimmed = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    const bool negative = !trimmed.empty() && trimmed[0] == '-';
    const size_t digitsStart = !trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+') ? 1 : 0;
    const std::string digits = trimmed.substr(digitsStart);
    const bool shaped = !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
    if (!shaped)
        return !taken;
    std::string significant = digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1));
    const std::string expected = (negative && significant != "0" ? "-" : "") + significant;
    // Ten digits or fewer, compared as text against the int32 limits' own spelling.
    const std::string limit = negative ? "2147483648" : "2147483647";
    const bool inside =
        significant.size() < limit.size() || (significant.size() == limit.size() && significant <= limit);
    if (!inside)
        return !taken;
    char written[16];
    std::snprintf(written, sizeof written, "%d", static_cast<int>(value));
    return taken && expected == written;
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
        const bool whole = ParseWholeNumber(text.c_str(), value);
        FUZZ_CHECK(FollowsTheRule(text, whole, value));
        FUZZ_CHECK(whole || value == -12345);
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
