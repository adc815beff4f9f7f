#include <gtest/gtest.h>

#include <vector>

#include "input/InputRule.h"

// What ends a saver, for every front end; the front ends' own tests drive the same events through
// their windows.
namespace {

struct PointerCase {
    const char* name;
    std::vector<double> rests; // where it rests before the reports; empty: nowhere yet
    std::vector<double> reports;
    PointerReport shared, noSlack; // at the last report, with each slack
};

TEST(InputRuleTest, OnlyAMoveBeyondTheSlackFromWhereThePointerRestsEndsTheSaver)
{
    const PointerCase cases[] = {
        {"the first report only records", {}, {300, 300}, POINTER_FIRST, POINTER_FIRST},
        {"the resting place repeated", {100, 100}, {100, 100}, POINTER_STILL, POINTER_STILL},
        {"rounding within a pixel", {100, 100}, {100.75, 99.25}, POINTER_STILL, POINTER_MOVED},
        {"a pixel either way", {100, 100}, {101, 99}, POINTER_STILL, POINTER_MOVED},
        {"a nudge of two pixels", {100, 100}, {102, 100}, POINTER_MOVED, POINTER_MOVED},
        {"upward", {100, 100}, {100, 97.5}, POINTER_MOVED, POINTER_MOVED},
        {"judged against the first, not the last", {}, {300, 300, 301, 300, 302, 300}, POINTER_MOVED, POINTER_MOVED},
    };
    for (const PointerCase& test : cases) {
        for (const double slack : {CInputRule::SHARED_SLACK, CInputRule::NO_SLACK}) {
            CInputRule rule(slack);
            if (!test.rests.empty())
                rule.OnPointerRests(test.rests[0], test.rests[1]);
            PointerReport report = POINTER_FIRST;
            for (size_t index = 0; index + 1 < test.reports.size(); index += 2)
                report = rule.OnPointerAt(test.reports[index], test.reports[index + 1]);
            EXPECT_EQ(report, slack == CInputRule::NO_SLACK ? test.noSlack : test.shared)
                << test.name << ", slack " << slack;
        }
    }
    // A pointer moved by an output going away leaves and comes to rest elsewhere.
    CInputRule rule;
    rule.OnPointerRests(10, 10);
    rule.ForgetPointer();
    EXPECT_EQ(rule.OnPointerAt(900, 500), POINTER_FIRST);
    EXPECT_EQ(rule.OnPointerAt(901, 500), POINTER_STILL);
}

} // namespace
