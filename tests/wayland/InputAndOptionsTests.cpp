#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wayland/WaylandOptions.h"

// The options only this saver has.
namespace {

struct OptionsCase {
    std::vector<const char*> arguments;
    bool valid;
    const char* error;
    bool CWaylandOptions::*flag; // the switch the arguments set, if any
};

bool CWaylandOptions::*const SWITCHES[] = {&CWaylandOptions::m_everyMonitor, &CWaylandOptions::m_background,
                                           &CWaylandOptions::m_stop, &CWaylandOptions::m_help,
                                           &CWaylandOptions::m_version};

TEST(WaylandOptionsTest, ReadsItsOwnOptionsAndRefusesBadOnesAsTheOtherSaverDoes)
{
    const OptionsCase cases[] = {
        {{"--every-monitor", "--idle", "300", "--cars", "10"}, true, "", &CWaylandOptions::m_everyMonitor},
        {{"-idle=1"}, true, "", nullptr},
        {{"--idle", "0"}, false, "--idle needs a whole number from 1 to 86400 seconds (got \"0\")", nullptr},
        {{"--idle"}, false, "--idle needs a whole number from 1 to 86400 seconds (no value given)", nullptr},
        {{"--every-monitor=yes"}, false, "--every-monitor takes no value", nullptr},
        {{"--cars", "11"}, false, "--cars needs a whole number from 1 to 10 (got \"11\")", nullptr},
        {{"--root"}, false, "unknown option \"--root\" (see --help)", nullptr},
        {{"--background"}, true, "", &CWaylandOptions::m_background},
        {{"-stop"}, true, "", &CWaylandOptions::m_stop},
        {{"-h"}, true, "", &CWaylandOptions::m_help},
        {{"--version"}, true, "", &CWaylandOptions::m_version},
    };
    for (const OptionsCase& test : cases) {
        std::vector<const char*> argv{"ascenda-wayland"};
        argv.insert(argv.end(), test.arguments.begin(), test.arguments.end());
        CWaylandOptions options;
        char error[256] = "";
        EXPECT_EQ(ParseWaylandOptions(static_cast<int>(argv.size()), argv.data(), options, error, sizeof error),
                  test.valid)
            << test.arguments[0];
        EXPECT_STREQ(error, test.error);
        // Each switch sets its own field and no other.
        for (bool CWaylandOptions::*flag : SWITCHES)
            EXPECT_EQ(options.*flag, test.valid && flag == test.flag) << test.arguments[0];
        if (test.arguments.size() == 5) {
            EXPECT_TRUE(options.m_everyMonitor);
            EXPECT_EQ(options.m_idleSeconds, 300);
            EXPECT_EQ(options.m_cars, 10);
        }
    }
}

} // namespace
