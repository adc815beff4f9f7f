#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/ModeSwitch.h"
#include "options/CommandLine.h"
#include "options/DisplayOptions.h"
#include "runtime/FrameRate.h"
#include "settings/ConfigureRules.h"
#include "settings/MemoryStore.h"
#include "settings/ViewSettings.h"
#include "web/PageOptions.h"
#include "x11/SaverOptions.h"

namespace {

// --- the rule for whole numbers, one table for every reader ---

constexpr int32_t NO = INT32_MIN; // refused

// What each reader makes of one text: a Properties field (any int32), --capacity (1..10), an
// address's capacity, a window id (1..0x1FFFFFFF, decimal or 0x hex), a preview handle (atol's
// leading number, by design: it never refuses).
struct NumberCase {
    const char* text;
    int32_t field, option, address, windowId, handle;
};
const NumberCase NUMBER_CASES[] = {
    {"4", 4, 4, 4, 4, 4},
    {" \t4\t ", 4, 4, 4, 4, 4},
    {"+4", 4, 4, 4, NO, 4},
    {"-4", -4, NO, NO, NO, -4},
    {"007", 7, 7, 7, 7, 7},
    {"\n4", NO, NO, NO, NO, 0},
    {"4\n", NO, NO, NO, NO, 4},
    {"4 4", NO, NO, NO, NO, 4},
    {"4junk", NO, NO, NO, NO, 4},
    // Letters that are digits in a larger base: only the window id reads hex, and only after 0x.
    {"9a", NO, NO, NO, NO, 9},
    {"1b", NO, NO, NO, NO, 1},
    {"12B", NO, NO, NO, NO, 12},
    {"", NO, NO, NO, NO, 0},
    {" ", NO, NO, NO, NO, 0},
    {"-", NO, NO, NO, NO, 0},
    {"0x10", NO, NO, NO, 16, 0},
    {"0x", NO, NO, NO, NO, 0},
    {"0", 0, NO, NO, NO, 0},
    {"10", 10, 10, 10, 10, 10},
    {"11", 11, NO, NO, 11, 11},
    {"2147483647", INT32_MAX, NO, NO, NO, INT32_MAX},
    {"-2147483648", INT32_MIN, NO, NO, NO, INT32_MIN},
    {"2147483648", NO, NO, NO, NO, INT32_MIN},
    {"0x1FFFFFFF", NO, NO, NO, 0x1FFFFFFF, 0},
    {"0x20000000", NO, NO, NO, NO, 0},
    {"99999999999999999999", NO, NO, NO, NO, 1661992959 /* its low 32 bits once wrapped to 64 */},
};

int32_t ReadField(const char* text)
{
    int32_t value = 0;
    return ParseWholeNumber(text, value) ? value : NO;
}

int32_t ReadOption(const char* text)
{
    CSaverOptions options;
    const char* argv[] = {"ascenda", "--capacity", text};
    char error[160];
    return ParseSaverOptions(3, argv, options, error, sizeof error) ? options.m_capacity : NO;
}

int32_t ReadAddress(const std::string& text)
{
    std::string encoded;
    for (const char character : text) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(character));
        encoded += escaped;
    }
    CDisplayOptions options;
    options.m_capacity = NO;
    char ignored[256];
    ParsePageQuery(("?capacity=" + encoded).c_str(), options, ignored, sizeof ignored);
    return options.m_capacity;
}

int32_t ReadWindowId(const char* text)
{
    uint32_t id = 0;
    return ParseWindowId(text, id) ? static_cast<int32_t>(id) : NO;
}

TEST(OutsideInputTest, EveryReaderTakesWholeNumbersByTheOneRule)
{
    for (const NumberCase& test : NUMBER_CASES) {
        const std::string shown = "\"" + std::string(test.text) + "\"";
        EXPECT_EQ(ReadField(test.text), test.field) << shown;
        EXPECT_EQ(ReadOption(test.text), test.option) << shown;
        EXPECT_EQ(ReadAddress(test.text), test.address) << shown;
        EXPECT_EQ(ReadWindowId(test.text), test.windowId) << shown;
        EXPECT_EQ(static_cast<int32_t>(ParseHandleNumber(test.text)), test.handle) << shown;
    }
}

// The intelligence by name, whatever its case and blanks, as an option and in the page's address
// (where the panel's own list writes "Auto ground").
TEST(OutsideInputTest, IntelligenceNamesAreReadWhateverTheirCaseAndBlanks)
{
    const struct {
        const char* text;
        int32_t driver;
    } cases[] = {
        {"smart", 3},       {"Smart", 3},      {"SMART", 3},     {" random\t", 2}, {"Auto ground", 1},
        {"auto-ground", 1}, {"AutoGround", 1}, {"Primitive", 0}, {"2", 2},         {"smartest", NO},
        {"auto", NO},       {"-", NO},         {"", NO},
    };
    for (const auto& test : cases) {
        CSaverOptions options;
        const char* argv[] = {"ascenda", "--driver", test.text};
        char error[200];
        const bool taken = ParseSaverOptions(3, argv, options, error, sizeof error);
        EXPECT_EQ(taken ? options.m_driver : NO, test.driver) << "option \"" << test.text << "\"";
        if (!taken) {
            EXPECT_NE(std::strstr(error, "in any case"), nullptr) << error;
        }
        CDisplayOptions page;
        page.m_driver = NO;
        char ignored[256];
        std::string address = std::string("?driver=") + test.text;
        for (size_t at = address.find(' '); at != std::string::npos; at = address.find(' '))
            address.replace(at, 1, "%20");
        ParsePageQuery(address.c_str(), page, ignored, sizeof ignored);
        EXPECT_EQ(page.m_driver, test.driver) << "address \"" << address << "\"";
    }
}

// --- the limits: every route into a view limits every key by that key's own range ---

// The ranges are typed here rather than taken from the table, so a key limited by another key's
// range, or a route that forgets one, shows.
struct LimitCase {
    int32_t ViewSettings::*member;
    const SettingKey* key;
    int32_t CDisplayOptions::*option;
    int32_t minimum, maximum; // as a view takes it
};
const LimitCase LIMIT_CASES[] = {
    {&ViewSettings::people, &Setting::People, &CDisplayOptions::m_people, 10, 100},
    {&ViewSettings::capacity, &Setting::Capacity, &CDisplayOptions::m_capacity, 1, 10},
    {&ViewSettings::cars, &Setting::Cars, &CDisplayOptions::m_cars, 1, 10},
    {&ViewSettings::driver, &Setting::Driver, &CDisplayOptions::m_driver, 0, 3},
    {&ViewSettings::scale, &Setting::Scale, &CDisplayOptions::m_scale, 20, 50},
    {&ViewSettings::floors, &Setting::NoFloors, &CDisplayOptions::m_floors, 4, 25},
    {&ViewSettings::liftPause, &Setting::LiftPause, &CDisplayOptions::m_liftPause, 1, 30},
    {&ViewSettings::passPause, &Setting::PassPause, &CDisplayOptions::m_passPause, 10, 300},
    {&ViewSettings::passInterval, &Setting::PassIntvl, &CDisplayOptions::m_passInterval, 100, 2000},
    {&ViewSettings::temper, &Setting::Temper, &CDisplayOptions::m_temper, 1, 50},
    {&ViewSettings::updateSpeed, &Setting::UpdSpd, &CDisplayOptions::m_speed, 0, 100},
    {&ViewSettings::legend, &Setting::Legend, &CDisplayOptions::m_legend, 0, 1},
    {&ViewSettings::colours, &Setting::Colours, &CDisplayOptions::m_colours, 0, 1},
};

TEST(OutsideInputTest, EveryRouteIntoAViewLimitsEveryKeyByItsOwnRange)
{
    for (const LimitCase& limit : LIMIT_CASES) {
        const bool flag = limit.maximum == 1; // any nonzero value means on
        const int32_t cases[][2] = {
            {limit.minimum, limit.minimum},
            {limit.maximum, limit.maximum},
            {limit.minimum - 1, flag ? 1 : limit.minimum},
            {limit.maximum + 1, limit.maximum},
            {INT32_MIN, flag ? 1 : limit.minimum},
            {INT32_MAX, limit.maximum},
        };
        for (const auto& value : cases) {
            CMemoryStore store;
            store.Write(*limit.key, value[0]);
            CDisplayOptions options;
            options.*limit.option = value[0];
            ViewSettings raw = LoadViewSettings(store);
            raw.*limit.member = value[0];
            const std::string name = std::string(limit.key->name) + " = " + std::to_string(value[0]);
            EXPECT_EQ(LoadViewSettings(store).*limit.member, value[1]) << "store: " << name;
            EXPECT_EQ(GetViewSettings(options).*limit.member, value[1]) << "options, address: " << name;
            EXPECT_EQ(LimitViewSettings(raw).*limit.member, value[1]) << name;
            if (limit.member != &ViewSettings::legend && limit.member != &ViewSettings::colours &&
                limit.member != &ViewSettings::scale) {
                EXPECT_EQ(MakeViewSettings(options).*limit.member, value[1]) << "runner: " << name;
            }
        }
    }
}

// --- the frame-rate line both Linux savers print ---

TEST(OutsideInputTest, TheFrameRateLineCountsTicksAndProcessorTimeOverEachReportsOwnPeriod)
{
    const struct {
        int64_t elapsedMs, cpuMs;
        int ticks;
        const char* line;
    } reports[] = {
        {2500, 25, 25, "  10.0 lift ticks/s  CPU   1.0%"}, // over more than one second
        {1000, 0, 0, "   0.0 lift ticks/s  CPU   0.0%"},
        {0, 3, 1, "1000.0 lift ticks/s  CPU 300.0%"}, // in the same millisecond: over 1 ms
    };
    int64_t now = 10000;
    int64_t cpu = 400;
    CFrameRate rate(now, cpu);
    for (const auto& report : reports) {
        for (int tick = 0; tick < report.ticks; ++tick)
            rate.CountLiftTick();
        now += report.elapsedMs;
        cpu += report.cpuMs;
        char text[64];
        const int32_t length = rate.Report(now, cpu, text, sizeof text);
        EXPECT_STREQ(text, report.line);
        EXPECT_EQ(length, static_cast<int32_t>(std::strlen(report.line)));
    }
}

} // namespace
