#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wayland/PointerRest.h"
#include "wayland/WaylandOptions.h"

// When the pointer's reports end the saver, and the options only this saver has.
namespace {

struct PointerCase {
    const char* name;
    std::vector<double> enter; // empty: no enter before the motions
    std::vector<double> motions;
    bool ends; // at the last motion
};

TEST(PointerRestTest, OnlyAMoveBeyondTheSlackFromWhereItRestsEndsTheSaver)
{
    const PointerCase cases[] = {
        {"the first report repeats where it rests", {100, 100}, {100, 100}, false},
        {"a tremble of a few pixels", {100, 100}, {103, 97, 104, 96}, false},
        {"a move beyond the slack", {100, 100}, {105, 100}, true},
        {"upward", {100, 100}, {100, 95}, true},
        {"a first motion with no enter only records", {}, {300, 300}, false},
        {"then a move", {}, {300, 300, 300, 310}, true},
    };
    for (const PointerCase& test : cases) {
        CPointerRest rest;
        if (!test.enter.empty())
            rest.OnEnter(test.enter[0], test.enter[1]);
        bool ended = false;
        for (size_t index = 0; index + 1 < test.motions.size(); index += 2)
            ended = rest.OnMotion(test.motions[index], test.motions[index + 1]);
        EXPECT_EQ(ended, test.ends) << test.name;
    }
    // A pointer moved by an output going away leaves and enters elsewhere: where it rests again.
    CPointerRest rest;
    rest.OnEnter(10, 10);
    rest.OnLeave();
    rest.OnEnter(900, 500);
    EXPECT_FALSE(rest.OnMotion(901, 500));
}

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
