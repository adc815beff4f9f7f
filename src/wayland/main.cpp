// ascenda-wayland: the lift simulation as a full-screen saver on Wayland compositors.
#include <cstdio>

#include "SaverLock.h"
#include "WaylandOptions.h"
#include "WaylandSaver.h"
#include "runtime/FrameFreeze.h"

int main(int argc, char** argv)
{
    CWaylandOptions options;
    char error[256];
    if (!ParseWaylandOptions(argc, argv, options, error, sizeof error)) {
        std::fprintf(stderr, "ascenda-wayland: %s\n", error);
        return 2;
    }
    if (options.m_help) {
        std::fputs(GetWaylandUsageText(), stdout);
        return 0;
    }
    if (options.m_version) {
        PrintVersion("ascenda-wayland");
        return 0;
    }
    if (options.m_stop)
        return StopRunningSaver();
#ifdef ASCENDA_FRAME_HOOK
    // The frame check's build (tests/frame): signals freeze the picture for comparison.
    if (!InstallFrameFreeze()) {
        std::perror("ascenda-wayland: frame hook");
        return 1;
    }
#endif
    return RunWaylandSaver(options);
}
