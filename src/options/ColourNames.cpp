#include "ColourNames.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "DisplayOptions.h"
#include "numbers/WholeNumber.h"

namespace {

// Where Debian's x11-common installs the colour database, the newer place first.
const char* const DATABASE_PATHS[] = {"/usr/share/X11/rgb.txt", "/etc/X11/rgb.txt"};

// The next character of a name that counts: spaces skipped, lower case. '\0' at the end.
char NextNameCharacter(const char*& text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (*text == '\0')
        return '\0';
    return static_cast<char>(std::tolower(static_cast<unsigned char>(*text++)));
}

bool SameName(const char* left, const char* right)
{
    for (;;) {
        const char a = NextNameCharacter(left);
        const char b = NextNameCharacter(right);
        if (a != b)
            return false;
        if (a == '\0')
            return true;
    }
}

// One channel of a database line: blanks, then 0 to 255 in decimal.
bool ReadChannel(const char*& text, uint32_t& channel)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    if (DigitValue(*text, 10) < 0)
        return false;
    uint32_t value = 0;
    for (; DigitValue(*text, 10) >= 0; ++text) {
        value = value * 10 + static_cast<uint32_t>(DigitValue(*text, 10));
        if (value > 255)
            return false;
    }
    channel = value;
    return true;
}

// One database line: three channels from 0 to 255, then the name up to the line's end.
bool ReadDatabaseLine(char* line, Colour& colour, const char*& name)
{
    uint32_t channels[3] = {};
    const char* next = line;
    for (uint32_t& channel : channels) {
        if (!ReadChannel(next, channel))
            return false;
    }
    if (*next != ' ' && *next != '\t')
        return false;
    while (*next == ' ' || *next == '\t')
        ++next;
    line[std::strcspn(line, "\r\n")] = '\0';
    name = next;
    colour = MakeColour(channels[0], channels[1], channels[2]);
    return *name != '\0';
}

// `count` hex digits read as one number.
bool ReadHexChannel(const char* digits, int32_t count, uint32_t& channel)
{
    uint32_t value = 0;
    for (int32_t index = 0; index < count; ++index) {
        const int32_t digit = DigitValue(digits[index], 16);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    channel = value;
    return true;
}

// "#" and 3, 6, 9 or 12 hex digits: each channel's digits are its high bits.
bool ParseSharpColour(const char* digits, Colour& colour)
{
    const size_t length = std::strlen(digits);
    if (length == 0 || length % 3 != 0 || length > 12)
        return false;
    const int32_t count = static_cast<int32_t>(length / 3);
    uint32_t channels[3] = {};
    for (int32_t index = 0; index < 3; ++index) {
        if (!ReadHexChannel(digits + index * count, count, channels[index]))
            return false;
        // Shift the digits up to 16 bits, then keep the high 8.
        channels[index] = (channels[index] << (16 - 4 * count)) >> 8;
    }
    colour = MakeColour(channels[0], channels[1], channels[2]);
    return true;
}

// "rgb:" and three channels of 1 to 4 hex digits, split by '/': each scaled to the full range.
bool ParseRgbColour(const char* text, Colour& colour)
{
    uint32_t channels[3] = {};
    for (int32_t index = 0; index < 3; ++index) {
        const size_t count = std::strcspn(text, "/");
        if (count == 0 || count > 4 || (index < 2) != (text[count] == '/'))
            return false;
        uint32_t value = 0;
        if (!ReadHexChannel(text, static_cast<int32_t>(count), value))
            return false;
        const uint32_t largest = (1u << (4 * count)) - 1;
        channels[index] = (value * 65535u / largest) >> 8;
        text += count + (index < 2 ? 1 : 0);
    }
    colour = MakeColour(channels[0], channels[1], channels[2]);
    return true;
}

struct BuiltInColour {
    const char* name;
    uint8_t red, green, blue;
};

// The X server's own names that Debian's rgb.txt does not list.
const BuiltInColour BUILT_IN_COLOURS[] = {
    {"aqua", 0, 255, 255},
    {"crimson", 220, 20, 60},
    {"fuchsia", 255, 0, 255},
    {"indigo", 75, 0, 130},
    {"lime", 0, 255, 0},
    {"olive", 128, 128, 0},
    {"rebecca purple", 102, 51, 153},
    {"silver", 192, 192, 192},
    {"teal", 0, 128, 128},
    {"web gray", 128, 128, 128},
    {"web grey", 128, 128, 128},
    {"web green", 0, 128, 0},
    {"web maroon", 128, 0, 0},
    {"web purple", 128, 0, 128},
    {"x11 gray", 190, 190, 190},
    {"x11 grey", 190, 190, 190},
    {"x11 green", 0, 255, 0},
    {"x11 maroon", 176, 48, 96},
    {"x11 purple", 160, 32, 240},
};

} // namespace

bool ParseHexColour(const char* text, Colour& colour)
{
    if (text == nullptr)
        return false;
    if (text[0] == '#')
        return ParseSharpColour(text + 1, colour);
    if (std::tolower(static_cast<unsigned char>(text[0])) == 'r' &&
        std::tolower(static_cast<unsigned char>(text[1])) == 'g' &&
        std::tolower(static_cast<unsigned char>(text[2])) == 'b' && text[3] == ':')
        return ParseRgbColour(text + 4, colour);
    return ParseColour(text, colour);
}

bool FindBuiltInColourName(const char* name, Colour& colour)
{
    for (const BuiltInColour& builtIn : BUILT_IN_COLOURS) {
        if (SameName(name, builtIn.name)) {
            colour = MakeColour(builtIn.red, builtIn.green, builtIn.blue);
            return true;
        }
    }
    return false;
}

const char* TidyColourName(const char* text, char* tidy, size_t size)
{
    if (size == 0)
        return tidy;
    size_t used = 0;
    bool space = false;
    for (; text != nullptr && *text != '\0' && used + 1 < size; ++text) {
        if (*text == ' ' || *text == '\t') {
            space = used > 0;
            continue;
        }
        if (space) {
            if (used + 2 >= size)
                break;
            tidy[used++] = ' ';
            space = false;
        }
        tidy[used++] = *text;
    }
    tidy[used] = '\0';
    return tidy;
}

bool FindColourName(const char* name, const char* databasePath, Colour& colour)
{
    if (name == nullptr || *name == '\0')
        return false;
    std::FILE* database = std::fopen(databasePath, "r");
    if (database == nullptr)
        return false;
    bool found = false;
    char line[256];
    while (!found && std::fgets(line, sizeof line, database) != nullptr) {
        Colour lineColour = 0;
        const char* lineName = nullptr;
        if (line[0] != '!' && ReadDatabaseLine(line, lineColour, lineName) && SameName(name, lineName)) {
            colour = lineColour;
            found = true;
        }
    }
    std::fclose(database);
    return found;
}

bool ReadColourName(const char* text, Colour& colour)
{
    char name[128];
    if (text == nullptr)
        return false;
    TidyColourName(text, name, sizeof name);
    if (name[0] == '\0')
        return false;
    if (ParseHexColour(name, colour) || FindBuiltInColourName(name, colour))
        return true;
    for (const char* path : DATABASE_PATHS) {
        if (FindColourName(name, path, colour))
            return true;
    }
    return false;
}

void ReadBackColour(const char* program, CDisplayOptions& options)
{
    if (options.m_backColourName == nullptr || ReadColourName(options.m_backColourName, options.m_backColour))
        return;
    char warning[160];
    FormatColourWarning(program, options.m_backColourName, warning, sizeof warning);
    std::fprintf(stderr, "%s\n", warning);
}
