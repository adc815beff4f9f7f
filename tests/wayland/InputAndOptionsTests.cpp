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
};

TEST(WaylandOptionsTest, ReadsItsOwnOptionsAndRefusesBadOnesAsTheOtherSaverDoes)
{
    const OptionsCase cases[] = {
        {{"--every-monitor", "--idle", "300", "--cars", "10"}, true, ""},
        {{"-idle=1"}, true, ""},
        {{"--idle", "0"}, false, "--idle needs a whole number from 1 to 86400 seconds (got \"0\")"},
        {{"--idle"}, false, "--idle needs a whole number from 1 to 86400 seconds (got \"nothing\")"},
        {{"--every-monitor=yes"}, false, "--every-monitor takes no value"},
        {{"--cars", "11"}, false, "--cars needs a whole number from 1 to 10 (got \"11\")"},
        {{"--root"}, false, "unknown option \"--root\" (see --help)"},
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
        if (test.arguments.size() == 5) {
            EXPECT_TRUE(options.m_everyMonitor);
            EXPECT_EQ(options.m_idleSeconds, 300);
            EXPECT_EQ(options.m_cars, 10);
        }
    }
}

} // namespace
