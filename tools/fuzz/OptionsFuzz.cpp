// The Linux programs' command lines: the arguments exec hands over (any bytes but NUL), read by
// the runner's and the X11 saver's parsers, each argument as $XSCREENSAVER_WINDOW, and the
// background colour's text as the savers without an X server read it.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "RunOptions.h"
#include "options/ColourNames.h"
#include "x11/SaverOptions.h"

namespace {

constexpr uint32_t MAX_RESOURCE_ID = 0x1FFFFFFF;

// A refusal is one printable line that says what was wrong, whatever bytes the input held: the
// programs print it on a terminal.
void CheckError(const char* error, size_t errorSize)
{
    const size_t length = strnlen(error, errorSize);
    FUZZ_CHECK(length > 0 && length < errorSize);
    for (size_t index = 0; index < length; ++index)
        FUZZ_CHECK(static_cast<unsigned char>(error[index]) >= ' ' && error[index] != 0x7F);
}

void CheckSaverOptions(const CSaverOptions& options, const std::vector<std::string>& arguments)
{
    FUZZ_CHECK(FindSettingOutOfRange(GetViewSettings(options)) == nullptr);
    const TimerPeriods periods = GetTimerPeriods(options);
    FUZZ_CHECK(periods.lift >= 1 && periods.lift <= 500 && periods.people >= 100 && periods.people <= 2000);
    FUZZ_CHECK(options.m_target != DrawTarget::WINDOW_ID ||
               (options.m_windowId >= 1 && options.m_windowId <= MAX_RESOURCE_ID));
    // The display name is one of the arguments, or the part after '=' of one.
    bool found = options.m_display == nullptr;
    for (const std::string& argument : arguments)
        found =
            found || (options.m_display >= argument.c_str() && options.m_display <= argument.c_str() + argument.size());
    FUZZ_CHECK(found);
    // A colour that cannot be read is one printable warning line, and the saver runs on.
    Colour colour = options.m_backColour;
    if (options.m_backColourName != nullptr && !ReadColourName(options.m_backColourName, colour)) {
        char warning[256] = {};
        FormatColourWarning("ascenda", options.m_backColourName, warning, sizeof warning);
        CheckError(warning, sizeof warning);
        FUZZ_CHECK(colour == options.m_backColour);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> arguments = {"ascenda"};
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start < size;) {
        const size_t end = std::min(bytes.find('\0', start), size);
        arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    const int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);

    char error[256] = {};
    CRunOptions run;
    if (ParseRunOptions(argc, argv.data(), run, error, sizeof error)) {
        FUZZ_CHECK(FindSettingOutOfRange(MakeViewSettings(run)) == nullptr);
        FUZZ_CHECK(run.m_durationMs >= 1000 && run.m_durationMs <= 365LL * 24 * 3600 * 1000);
    } else {
        CheckError(error, sizeof error);
    }
    std::memset(error, 0, sizeof error);
    CSaverOptions saver;
    if (ParseSaverOptions(argc, argv.data(), saver, error, sizeof error))
        CheckSaverOptions(saver, arguments);
    else
        CheckError(error, sizeof error);

    for (const std::string& argument : arguments) {
        uint32_t id = 0;
        FUZZ_CHECK(!ParseWindowId(argument.c_str(), id) || (id >= 1 && id <= MAX_RESOURCE_ID));
    }
    return 0;
}
