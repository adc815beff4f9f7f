// ascenda: the lift simulation as an X11 screen saver, following the command-line conventions of
// X11 screen-saver hacks (--root, --window-id, $XSCREENSAVER_WINDOW).
#include <cstdio>

#include "SaverOptions.h"
#include "XlibSaver.h"
#include "runtime/FrameFreeze.h"

int main(int argc, char** argv)
{
    CSaverOptions options;
    char error[256];
    if (!ParseSaverOptions(argc, argv, options, error, sizeof error)) {
        std::fprintf(stderr, "ascenda: %s\n", error);
        return 2;
    }
    if (options.m_help) {
        std::fputs(GetSaverUsageText(), stdout);
        return 0;
    }
    if (options.m_version) {
        PrintVersion("ascenda");
        return 0;
    }
#ifdef ASCENDA_FRAME_HOOK
    // The frame check's build (tests/frame): signals freeze the picture for comparison.
    if (!InstallFrameFreeze()) {
        std::perror("ascenda: frame hook");
        return 1;
    }
#endif
    return RunXlibSaver(options);
}
