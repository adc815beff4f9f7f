#include "PageOptions.h"

#include <cstdio>
#include <cstring>

#include "numbers/WholeNumber.h"
#include "options/CommandLine.h"

const PageSetting PAGE_SETTINGS[] = {
    {"people", &Setting::People, &CDisplayOptions::m_people, PageSetter::PEOPLE},
    {"cars", &Setting::Cars, &CDisplayOptions::m_cars, PageSetter::CARS},
    {"capacity", &Setting::Capacity, &CDisplayOptions::m_capacity, PageSetter::CAPACITY},
    {"driver", &Setting::Driver, &CDisplayOptions::m_driver, PageSetter::DRIVER},
    {"scale", &Setting::Scale, &CDisplayOptions::m_scale, PageSetter::SCALE},
    {"back-colour", nullptr, nullptr, PageSetter::BACK_COLOUR},
    {"colours", &Setting::Colours, &CDisplayOptions::m_colours, PageSetter::COLOURS},
    {"legend", &Setting::Legend, &CDisplayOptions::m_legend, PageSetter::LEGEND},
    {"speed", &Setting::UpdSpd, &CDisplayOptions::m_speed, PageSetter::SPEED},
    {"floors", &Setting::NoFloors, &CDisplayOptions::m_floors, PageSetter::CUSTOM},
    {"lift-pause", &Setting::LiftPause, &CDisplayOptions::m_liftPause, PageSetter::CUSTOM},
    {"pass-pause", &Setting::PassPause, &CDisplayOptions::m_passPause, PageSetter::CUSTOM},
    {"pass-interval", &Setting::PassIntvl, &CDisplayOptions::m_passInterval, PageSetter::CUSTOM},
    {"temper", &Setting::Temper, &CDisplayOptions::m_temper, PageSetter::CUSTOM},
};
const int32_t PAGE_SETTING_COUNT = static_cast<int32_t>(sizeof PAGE_SETTINGS / sizeof PAGE_SETTINGS[0]);

namespace {

constexpr size_t MAX_PARAMETER = 64; // longer names and values are no setting's

// Appends text, cut short rather than overrun when the buffer is full.
void Append(char* buffer, size_t bufferSize, const char* text)
{
    const size_t used = std::strlen(buffer);
    if (used + 1 < bufferSize)
        std::snprintf(buffer + used, bufferSize - used, "%s", text);
}

// Percent-decodes [begin, end) into `decoded`, '+' as a blank. False when it does not fit, or
// when it holds a NUL ("%00"), which no setting's value has and which would cut the value short.
bool Decode(const char* begin, const char* end, char* decoded, size_t decodedSize)
{
    size_t length = 0;
    for (const char* next = begin; next < end; ++next) {
        if (length + 1 >= decodedSize)
            return false;
        char character = *next == '+' ? ' ' : *next;
        if (*next == '%' && end - next > 2 && DigitValue(next[1], 16) >= 0 && DigitValue(next[2], 16) >= 0) {
            character = static_cast<char>(DigitValue(next[1], 16) * 16 + DigitValue(next[2], 16));
            next += 2;
        }
        if (character == '\0')
            return false;
        decoded[length++] = character;
    }
    decoded[length] = '\0';
    return true;
}

bool HasControlCharacter(const char* text)
{
    for (const char* next = text; *next != '\0'; ++next) {
        const auto character = static_cast<unsigned char>(*next);
        if (character < 0x20 || character == 0x7F)
            return true;
    }
    return false;
}

// Reads one "name=value" parameter; false when it is not taken.
bool TakeParameter(const char* begin, const char* end, CDisplayOptions& options, char* shown, size_t shownSize)
{
    const char* equals = static_cast<const char*>(std::memchr(begin, '=', static_cast<size_t>(end - begin)));
    char name[MAX_PARAMETER] = "";
    char value[MAX_PARAMETER] = "";
    const bool decoded = Decode(begin, equals ? equals : end, name, sizeof name) &&
                         (equals == nullptr || Decode(equals + 1, end, value, sizeof value));
    // Shown decoded, unless that holds a line break or another control character: the list is
    // one parameter a line, and the page shows each as it would read in the address.
    std::snprintf(shown, shownSize, "%.*s", static_cast<int>(end - begin), begin);
    if (decoded && !HasControlCharacter(name) && !HasControlCharacter(value))
        std::snprintf(shown, shownSize, "%s%s%s", name, equals ? "=" : "", value);
    return decoded && equals != nullptr && SetPageOption(options, name, value) != nullptr;
}

} // namespace

const PageSetting* FindPageSetting(const char* name)
{
    for (const PageSetting& setting : PAGE_SETTINGS) {
        if (std::strcmp(setting.name, name) == 0)
            return &setting;
    }
    return nullptr;
}

const PageSetting* SetPageOption(CDisplayOptions& options, const char* name, const char* value)
{
    const PageSetting* setting = FindPageSetting(name);
    if (setting == nullptr || value == nullptr)
        return nullptr;
    if (setting->field == nullptr)
        return ParseColour(value, options.m_backColour) ? setting : nullptr;
    if (setting->setter == PageSetter::SCALE && std::strcmp(value, FIT_SCALE) == 0) {
        options.m_fitScale = true;
        return setting;
    }
    // Through the command line's own parsing, so the page takes what the saver's options take.
    char argument[2 * MAX_PARAMETER + 4];
    const int length = std::snprintf(argument, sizeof argument, "--%s=%s", name, value);
    if (length < 0 || static_cast<size_t>(length) >= sizeof argument)
        return nullptr;
    const char* const arguments[] = {"page", argument};
    CCommandLine line(2, arguments);
    line.Next();
    char error[160];
    const OptionMatch match = ParseSimulationOption(line, options, error, sizeof error);
    if (match != OptionMatch::NOT_MINE)
        return match == OptionMatch::TAKEN ? setting : nullptr;
    const SettingKey& key = *setting->key;
    if (!ParseRangedValue(line, key.minimum, key.maximum, "", options.*setting->field, error, sizeof error))
        return nullptr;
    if (setting->setter == PageSetter::SCALE)
        options.m_fitScale = false;
    return setting;
}

int32_t ParsePageQuery(const char* query, CDisplayOptions& options, char* ignored, size_t ignoredSize)
{
    int32_t ignoredCount = 0;
    if (ignoredSize > 0)
        ignored[0] = '\0';
    const char* begin = query != nullptr && *query == '?' ? query + 1 : query;
    while (begin != nullptr && *begin != '\0') {
        const char* end = std::strchr(begin, '&');
        if (end == nullptr)
            end = begin + std::strlen(begin);
        char shown[2 * MAX_PARAMETER + 2];
        if (end > begin && !TakeParameter(begin, end, options, shown, sizeof shown)) {
            ++ignoredCount;
            if (ignored[0] != '\0')
                Append(ignored, ignoredSize, "\n");
            Append(ignored, ignoredSize, shown);
        }
        begin = *end == '&' ? end + 1 : end;
    }
    return ignoredCount;
}

void FormatPageOption(const CDisplayOptions& options, const PageSetting& setting, char* buffer, size_t bufferSize)
{
    if (setting.setter == PageSetter::SCALE && options.m_fitScale) {
        std::snprintf(buffer, bufferSize, "%s", FIT_SCALE);
        return;
    }
    if (setting.field == nullptr) {
        const Colour colour = options.m_backColour;
        std::snprintf(buffer, bufferSize, "%02X%02X%02X", RedOf(colour), GreenOf(colour), BlueOf(colour));
        return;
    }
    std::snprintf(buffer, bufferSize, "%d", static_cast<int>(options.*setting.field));
}

void FormatPageQuery(const CDisplayOptions& options, char* buffer, size_t bufferSize)
{
    if (bufferSize > 0)
        buffer[0] = '\0';
    const CDisplayOptions defaults;
    for (const PageSetting& setting : PAGE_SETTINGS) {
        char value[16];
        char defaultValue[16];
        FormatPageOption(options, setting, value, sizeof value);
        FormatPageOption(defaults, setting, defaultValue, sizeof defaultValue);
        if (std::strcmp(value, defaultValue) == 0)
            continue;
        // The intelligence by name, so that a shared link says what it shows.
        const int32_t driver = options.m_driver;
        if (setting.setter == PageSetter::DRIVER && driver >= 0 && driver < DRIVER_WORD_COUNT)
            std::snprintf(value, sizeof value, "%s", DRIVER_WORDS[driver]);
        Append(buffer, bufferSize, buffer[0] == '\0' ? "?" : "&");
        Append(buffer, bufferSize, setting.name);
        Append(buffer, bufferSize, "=");
        Append(buffer, bufferSize, value);
    }
}
