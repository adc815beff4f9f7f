// The saver's command line as the system hands it over: one line of text, split into arguments by
// the C runtime's rules, through mode selection and the preview handle.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "app/ModeSwitch.h"

namespace {

bool IsBlank(char character)
{
    return character == ' ' || character == '\t';
}

// The arguments after the program's name: blanks separate them, double quotes group blanks into
// one, "" inside quotes is a quote, and backslashes escape only a following quote (2n of them
// give n and a grouping quote, 2n + 1 give n and a literal quote).
std::vector<std::string> SplitCommandLine(const std::string& line)
{
    std::vector<std::string> arguments;
    for (size_t at = 0; at < line.size();) {
        if (IsBlank(line[at])) {
            ++at;
            continue;
        }
        std::string argument;
        bool quoted = false;
        while (at < line.size() && (quoted || !IsBlank(line[at]))) {
            size_t backslashes = 0;
            for (; at < line.size() && line[at] == '\\'; ++at)
                ++backslashes;
            if (at == line.size() || line[at] != '"') {
                argument.append(backslashes, '\\');
                if (backslashes == 0)
                    argument += line[at++];
                continue;
            }
            argument.append(backslashes / 2, '\\');
            const bool doubled = quoted && at + 1 < line.size() && line[at + 1] == '"';
            if (backslashes % 2 == 1 || doubled)
                argument += '"';
            else
                quoted = !quoted;
            at += backslashes % 2 == 0 && doubled ? 2 : 1;
        }
        arguments.push_back(argument);
    }
    return arguments;
}

bool IsDigits(const char* text, size_t most)
{
    const size_t length = std::strlen(text);
    return length > 0 && length <= most && std::strspn(text, "0123456789") == length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The system's command line is a string: it ends at the first NUL.
    std::vector<std::string> arguments =
        SplitCommandLine(std::string(reinterpret_cast<const char*>(data), size).c_str());
    arguments.insert(arguments.begin(), "ASCENDA.SCR");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    const int argc = static_cast<int>(arguments.size());

    const SaverMode mode = SelectMode(argc, argv.data());
    FUZZ_CHECK(mode >= SAVER_NONE && mode <= SAVER_FULL_SCREEN);
    FUZZ_CHECK(argc > 1 || mode == SAVER_CONFIGURE);
    FUZZ_CHECK((mode == SAVER_PREVIEW) == (argc > 1 && (IsSwitch(argv[1], 'p') || IsSwitch(argv[1], 'P'))));

    // The handle's text is a tail of argument 1 after its colon, or argument 2 itself.
    const char* text = FindPreviewHandleText(argc, argv.data());
    FUZZ_CHECK(text == nullptr || text == argv[2] || (text > argv[1] && text <= argv[1] + arguments[1].size()));
    const intptr_t handle = ParseHandleNumber(text);
    FUZZ_CHECK(handle == static_cast<int32_t>(handle));
    FUZZ_CHECK(text == nullptr || !IsDigits(text, 9) || handle == std::atol(text));
    return 0;
}
