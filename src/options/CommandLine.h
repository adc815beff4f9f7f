#pragma once

#include <cstddef>

// text as an error message may show it on a terminal: control characters written as \xNN, cut
// short to fit `size` bytes, "nothing" for null. Written into `shown`, which it returns.
const char* ShowOnTerminal(const char* text, char* shown, size_t size);

// Walks a command line option by option. An option may be written with one or two leading dashes
// ("-people" or "--people", as X11 screen-saver hacks accept them); its value is the next argument
// or is joined to the name with '=' ("--people=60").
class CCommandLine {
public:
    CCommandLine(int argc, const char* const* argv);

    // Moves to the next argument; false when none is left. argv[0] is never an option.
    bool Next();
    // The current option's name in its two-dash spelling, without its joined value: "--people".
    // An argument without a leading dash keeps its spelling, so it matches no option.
    const char* GetName() const { return m_name; }
    // The current argument as given on the command line.
    const char* GetArgument() const { return m_argv[m_index]; }
    bool HasJoinedValue() const { return m_joinedValue != nullptr; }
    // The current option's value: the joined one, else the next argument, which is then used up.
    // Null when there is none.
    const char* TakeValue();
    // ShowOnTerminal's text, valid until the next call.
    const char* Shown(const char* text) { return ShowOnTerminal(text, m_shown, sizeof m_shown); }
    // What an error message says the user gave for a value: (got "text"), or (no value given)
    // for none. Valid until the next call.
    const char* Got(const char* value);

private:
    int m_argc;
    const char* const* m_argv;
    int m_index;
    const char* m_joinedValue;
    char m_name[64];
    char m_shown[64];
    char m_got[80];
};
