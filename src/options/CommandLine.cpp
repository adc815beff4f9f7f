#include "CommandLine.h"

#include <cstdio>
#include <cstring>

CCommandLine::CCommandLine(int argc, const char* const* argv)
    : m_argc(argc), m_argv(argv), m_index(0), m_joinedValue(nullptr), m_name{}, m_shown{}, m_got{}
{
}

bool CCommandLine::Next()
{
    if (m_index + 1 >= m_argc)
        return false;
    const char* argument = m_argv[++m_index];
    const char* equals = std::strchr(argument, '=');
    m_joinedValue = equals ? equals + 1 : nullptr;
    // "-name" is spelt "--name" from here on; "--name" and anything else keep their spelling.
    const bool singleDash = argument[0] == '-' && argument[1] != '-' && argument[1] != '\0';
    size_t used = 0;
    if (singleDash)
        m_name[used++] = '-';
    const size_t length = equals ? static_cast<size_t>(equals - argument) : std::strlen(argument);
    const size_t room = sizeof m_name - 1 - used;
    const size_t kept = length < room ? length : room;
    std::memcpy(m_name + used, argument, kept);
    m_name[used + kept] = '\0';
    return true;
}

const char* CCommandLine::TakeValue()
{
    if (m_joinedValue != nullptr)
        return m_joinedValue;
    return m_index + 1 < m_argc ? m_argv[++m_index] : nullptr;
}

const char* CCommandLine::Got(const char* value)
{
    if (value == nullptr)
        return "(no value given)";
    std::snprintf(m_got, sizeof m_got, "(got \"%s\")", Shown(value));
    return m_got;
}

const char* ShowOnTerminal(const char* text, char* shown, size_t size)
{
    if (text == nullptr)
        return "nothing";
    if (size == 0)
        return "";
    size_t used = 0;
    // Room for one more escape and the terminator; whatever does not fit is left out.
    for (; *text != '\0' && used + 5 <= size; ++text) {
        const unsigned char character = static_cast<unsigned char>(*text);
        if (character < ' ' || character == 0x7F)
            used += static_cast<size_t>(std::snprintf(shown + used, 5, "\\x%02X", character));
        else
            shown[used++] = *text;
    }
    shown[used] = '\0';
    return shown;
}
