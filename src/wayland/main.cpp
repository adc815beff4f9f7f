// ascenda-wayland: the lift simulation as a full-screen saver on Wayland compositors.
#include <cstdio>

#include "WaylandOptions.h"
#include "WaylandSaver.h"

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
    return RunWaylandSaver(options);
}
