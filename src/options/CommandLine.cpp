#include "CommandLine.h"

#include <cstring>

CCommandLine::CCommandLine(int argc, const char* const* argv)
    : m_argc(argc), m_argv(argv), m_index(0), m_joinedValue(nullptr), m_name{}
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
