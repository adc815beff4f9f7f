#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SettingsDescription.h"
#include "runtime/SceneFit.h"
#include "x11/SaverOptions.h"

namespace {

struct ParseResult {
    bool valid;
    CSaverOptions options; // its text fields point into the words, which are gone: see below
    std::string error;
    std::string backColourName; // "(none)" when not given
};

ParseResult Parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "ascenda");
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    ParseResult result{false, CSaverOptions(), {}, {}};
    char error[256] = "";
    result.valid = ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), result.options, error, sizeof error);
    result.error = error;
    const char* name = result.options.m_backColourName;
    result.backColourName = name != nullptr ? name : "(none)";
    return result;
}

// Two option sets give the same scene and the same place to draw.
bool SameSettings(const CSaverOptions& left, const CSaverOptions& right)
{
    const ViewSettings a = GetViewSettings(left);
    const ViewSettings b = GetViewSettings(right);
    return a.people == b.people && a.driver == b.driver && a.capacity == b.capacity && a.colours == b.colours &&
           a.legend == b.legend && a.floors == b.floors && a.liftPause == b.liftPause && a.passPause == b.passPause &&
           a.passInterval == b.passInterval && a.temper == b.temper && a.backColour == b.backColour &&
           a.scale == b.scale && a.cars == b.cars && a.updateSpeed == b.updateSpeed &&
           left.m_target == right.m_target && left.m_fps == right.m_fps;
}

TEST(SaverOptionsTest, TakesOneOrTwoDashesAndJoinedOrSeparateValues)
{
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"-people", "60"}, {"--people", "60"}, {"-people=60"}, {"--people=60"}}) {
        const ParseResult result = Parse(words);
        ASSERT_TRUE(result.valid) << words[0] << ": " << result.error;
        EXPECT_EQ(result.options.m_people, 60) << words[0];
    }
    const ParseResult all = Parse({"-cars", "10", "--driver", "smart", "-scale", "50", "-no-colours", "--no-legend",
                                   "-back-colour", "#A0b0C0", "-speed=1"});
    ASSERT_TRUE(all.valid) << all.error;
    const ViewSettings settings = GetViewSettings(all.options);
    EXPECT_EQ(settings.cars, 10);
    EXPECT_EQ(settings.driver, 3);
    EXPECT_EQ(settings.scale, 50);
    EXPECT_EQ(settings.colours, 0);
    EXPECT_EQ(settings.legend, 0);
    EXPECT_EQ(settings.updateSpeed, 1);
    // The colour is kept as given, for the front end's own colour names.
    EXPECT_EQ(all.backColourName, "#A0b0C0");
    EXPECT_EQ(Parse({}).backColourName, "(none)");
    EXPECT_EQ(Parse({"--back-colour=dark slate gray"}).backColourName, "dark slate gray");
    // The later spelling of a switch wins.
    EXPECT_EQ(Parse({"--no-legend", "-legend"}).options.m_legend, 1);
    EXPECT_FALSE(all.options.m_fitScale); // a given scale is kept, else fitted to the window
    EXPECT_TRUE(Parse({"-fps"}).options.m_fitScale);
}

TEST(SaverOptionsTest, SpeedDrivesTheLiftTimerAndThePersonIntervalThePeopleTimer)
{
    // A lift tick every 501 - 5 * speed ms, a people tick every person interval.
    const struct {
        std::vector<std::string> words;
        int32_t lift;
        int32_t people;
    } cases[] = {
        {{}, 101, 500}, // the defaults: speed 80
        {{"--speed", "1", "--pass-interval", "100"}, 496, 100},
        {{"--speed", "100", "--pass-interval", "2000"}, 1, 2000},
        {{"--pass-interval", "730"}, 101, 730},
        {{"--speed", "37"}, 316, 500},
    };
    for (const auto& periodCase : cases) {
        const ParseResult result = Parse(periodCase.words);
        ASSERT_TRUE(result.valid) << result.error;
        const TimerPeriods periods = GetTimerPeriods(result.options);
        EXPECT_EQ(periods.lift, periodCase.lift) << periodCase.words.size();
        EXPECT_EQ(periods.people, periodCase.people) << periodCase.words.size();
    }
}

TEST(SaverOptionsTest, RefusesBadValuesNamingTheOptionAndItsRange)
{
    const struct {
        std::vector<std::string> words;
        const char* named;
        const char* range;
    } cases[] = {
        // The numbers' ranges are checked control by control against the settings description.
        {{"--speed"}, "--speed", "1 to 100"},
        {{"--driver", "clever"}, "--driver", "0 to 3"},
        {{"--scale", "51"}, "--scale", "20 to 50"},
        {{"--back-colour"}, "--back-colour", "a colour"},
        {{"-fps=1"}, "--fps", "no value"},
        {{"--no-legend="}, "--no-legend", "no value"},
        {{"--window-id", "0"}, "--window-id", "1 to 0x1FFFFFFF"},
        {{"--window-id", "0x20000000"}, "--window-id", "1 to 0x1FFFFFFF"},
        {{"-window-id", "12ab"}, "--window-id", "1 to 0x1FFFFFFF"},
        {{"--root=yes"}, "--root", "no value"},
        {{"---people", "50"}, "---people", "unknown"},
        {{"people", "50"}, "people", "unknown"},
    };
    for (const auto& test : cases) {
        const ParseResult result = Parse(test.words);
        EXPECT_FALSE(result.valid) << test.words[0];
        EXPECT_NE(result.error.find(test.named), std::string::npos) << result.error;
        EXPECT_NE(result.error.find(test.range), std::string::npos) << result.error;
    }
}

TEST(SaverOptionsTest, TheLastTargetWins)
{
    EXPECT_EQ(Parse({}).options.m_target, DrawTarget::NEW_WINDOW);
    const ParseResult byId = Parse({"--root", "-window-id", "0x400001"});
    EXPECT_EQ(byId.options.m_target, DrawTarget::WINDOW_ID);
    EXPECT_EQ(byId.options.m_windowId, 0x400001u);
    EXPECT_EQ(Parse({"--window-id", "7", "-root"}).options.m_target, DrawTarget::ROOT);
    EXPECT_EQ(Parse({"--root", "--window"}).options.m_target, DrawTarget::NEW_WINDOW);
}

// --- the settings description the daemon's GUI reads ---

class SettingsDescriptionTest : public ::testing::Test {
protected:
    std::vector<DescribedControl> m_controls = ReadSettingsDescription(ASCENDA_SETTINGS_XML);
};

TEST_F(SettingsDescriptionTest, EveryNumberNamesAnOptionWithTheSameRangeAndDefault)
{
    int numbers = 0;
    for (const DescribedControl& control : m_controls) {
        if (control.kind != "number")
            continue;
        ++numbers;
        const std::string pattern = control.Get("arg");
        const std::string option = ExpandArgument(pattern, "0")[0];
        const int low = std::stoi(control.Get("low"));
        const int high = std::stoi(control.Get("high"));
        const std::string range = std::to_string(low) + " to " + std::to_string(high);
        for (const int accepted : {low, high})
            EXPECT_TRUE(Parse(ExpandArgument(pattern, std::to_string(accepted))).valid) << option << " " << accepted;
        for (const int refused : {low - 1, high + 1}) {
            const ParseResult result = Parse(ExpandArgument(pattern, std::to_string(refused)));
            EXPECT_FALSE(result.valid) << option << " " << refused;
            EXPECT_NE(result.error.find(option), std::string::npos) << result.error;
            EXPECT_NE(result.error.find(range), std::string::npos) << result.error;
        }
        // The description's default is the program's: stating it changes nothing.
        EXPECT_TRUE(SameSettings(Parse(ExpandArgument(pattern, control.Get("default"))).options, Parse({}).options))
            << option << " default " << control.Get("default");
    }
    EXPECT_GT(numbers, 0);
}

TEST_F(SettingsDescriptionTest, SwitchesAndChoicesMatchTheProgram)
{
    const CSaverOptions defaults = Parse({}).options;
    for (const DescribedControl& control : m_controls) {
        if (control.kind == "boolean") {
            // One state passes nothing, the other an option that changes something.
            const std::string option = control.Get("arg-set") + control.Get("arg-unset");
            const ParseResult changed = Parse(ExpandArgument(option, ""));
            ASSERT_TRUE(changed.valid) << changed.error;
            EXPECT_FALSE(SameSettings(changed.options, defaults)) << option;
        } else if (control.kind == "select") {
            // The first choice passes nothing; every other is a distinct, valid value.
            ASSERT_FALSE(control.options.empty());
            EXPECT_EQ(control.options[0].count("arg-set"), 0u);
            std::vector<int32_t> drivers = {defaults.m_driver};
            for (size_t index = 1; index < control.options.size(); ++index) {
                const ParseResult choice = Parse(ExpandArgument(control.options[index].at("arg-set"), ""));
                ASSERT_TRUE(choice.valid) << choice.error;
                EXPECT_EQ(std::count(drivers.begin(), drivers.end(), choice.options.m_driver), 0)
                    << control.options[index].at("arg-set");
                drivers.push_back(choice.options.m_driver);
            }
        }
    }
}

TEST_F(SettingsDescriptionTest, EverySettingTheProgramListsHasAControl)
{
    // The settings section of --help names each setting once: each needs a control.
    std::string described;
    for (const DescribedControl& control : m_controls) {
        described += " " + control.Get("arg") + " " + control.Get("arg-set") + " " + control.Get("arg-unset");
        for (const auto& option : control.options)
            described += option.count("arg-set") ? " " + option.at("arg-set") : "";
    }
    std::istringstream usage(GetSaverUsageText());
    bool inSettings = false;
    int listed = 0;
    for (std::string line; std::getline(usage, line);) {
        inSettings = inSettings || line.rfind("Settings", 0) == 0;
        if (!inSettings || line.rfind("  --", 0) != 0)
            continue;
        const std::string option = line.substr(2, line.find_first_of(" ,", 2) - 2);
        if (option == "--help" || option == "--version")
            continue;
        ++listed;
        // A switch listed as "--colours, --no-colours" is described by its off spelling.
        const bool found = described.find(option + " ") != std::string::npos ||
                           described.find("--no-" + option.substr(2) + " ") != std::string::npos;
        EXPECT_TRUE(found) << option;
    }
    EXPECT_EQ(listed, 15);
}

// What the help and the manual say of the scale the saver picks must be what it picks: ten lifts in
// the default window fit only past the settings' largest scale, 50.
TEST(SaverHelpTest, HelpAndManualDescribeTheFittedScaleAsItIs)
{
    ASSERT_GT(FitScene(10, 10, {1024, 768, 450, 13}).scale, 50);
    std::ifstream manualFile(ASCENDA_MANUAL);
    std::stringstream manual;
    manual << manualFile.rdbuf();
    for (const std::string& text : {std::string(GetSaverUsageText()), manual.str()}) {
        EXPECT_NE(text.find("past 50"), std::string::npos) << text.substr(0, 60);
        EXPECT_EQ(text.find("up to 50"), std::string::npos) << text.substr(0, 60);
        EXPECT_EQ(text.find("25 when none does"), std::string::npos) << text.substr(0, 60);
    }
}

} // namespace
