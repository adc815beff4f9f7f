#include "ModeSwitch.h"

bool IsSwitch(const char* argument, char letter)
{
    if (argument == nullptr)
        return false;
    if (*argument == '-' || *argument == '/')
        ++argument;
    return *argument == letter;
}

SaverMode SelectMode(int argc, char** argv)
{
    if (argc < 2)
        return SAVER_CONFIGURE;
    const char* argument = argv[1];
    if (IsSwitch(argument, 'c') || IsSwitch(argument, 'C'))
        return SAVER_CONFIGURE;
    if (IsSwitch(argument, 'p') || IsSwitch(argument, 'P'))
        return SAVER_PREVIEW;
    if (IsSwitch(argument, 's') || IsSwitch(argument, 'S'))
        return SAVER_FULL_SCREEN;
    return SAVER_NONE;
}

const char* FindPreviewHandleText(int argc, char** argv)
{
    if (argc < 2 || argv[1] == nullptr)
        return nullptr;
    for (const char* character = argv[1]; *character != '\0'; ++character) {
        // "/p: 1234" comes as "/p:" and "1234": with nothing after the colon the handle follows.
        if (*character == ':' && character[1] != '\0')
            return character + 1;
    }
    return argc > 2 ? argv[2] : nullptr;
}

intptr_t ParseHandleNumber(const char* text)
{
    if (text == nullptr)
        return 0;
    while (*text == ' ' || *text == '\t')
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (*text < '0' || *text > '9')
        return 0;
    // Unsigned arithmetic: an overlong number wraps instead of overflowing; only the low 32 bits
    // count in the end.
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<uint64_t>(*text - '0');
    if (negative)
        value = 0 - value;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}
