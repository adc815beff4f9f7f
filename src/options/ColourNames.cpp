#include "ColourNames.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "DisplayOptions.h"

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

// One database line: three channels from 0 to 255, then the name up to the line's end.
bool ReadDatabaseLine(char* line, Colour& colour, const char*& name)
{
    int red = 0;
    int green = 0;
    int blue = 0;
    int consumed = 0;
    if (std::sscanf(line, "%d %d %d %n", &red, &green, &blue, &consumed) != 3)
        return false;
    if (red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255)
        return false;
    line[std::strcspn(line, "\r\n")] = '\0';
    name = line + consumed;
    colour = MakeColour(static_cast<uint32_t>(red), static_cast<uint32_t>(green), static_cast<uint32_t>(blue));
    return *name != '\0';
}

} // namespace

bool ParseHexColour(const char* text, Colour& colour)
{
    if (text == nullptr)
        return false;
    if (ParseColour(text, colour))
        return true;
    if (text[0] != '#' || std::strlen(text) != 4)
        return false;
    uint32_t channels[3] = {};
    for (int index = 0; index < 3; ++index) {
        const int digit = HexDigit(text[index + 1]);
        if (digit < 0)
            return false;
        channels[index] = static_cast<uint32_t>(digit) << 4;
    }
    colour = MakeColour(channels[0], channels[1], channels[2]);
    return true;
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
    if (text == nullptr || ParseHexColour(TidyColourName(text, name, sizeof name), colour))
        return text != nullptr;
    for (const char* path : DATABASE_PATHS) {
        if (FindColourName(name, path, colour))
            return true;
    }
    return false;
}
