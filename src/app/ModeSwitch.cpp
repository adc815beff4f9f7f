#include "ModeSwitch.h"

#include "numbers/WholeNumber.h"

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
    // Read as atol reads it: the number's leading part, up to the first character that is no
    // digit. An overlong number wraps; only the low 32 bits count in the end.
    const ScannedNumber scanned = ScanWholeNumber(text, {10, true, INT64_MIN, INT64_MAX});
    const uint64_t value = scanned.negative ? 0 - scanned.magnitude : scanned.magnitude;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}
