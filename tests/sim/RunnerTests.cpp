#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// End-to-end checks of the headless runner binary: option validation, the trace and the reports.
namespace {

struct RunResult {
    int exitCode;
    std::string out;
    std::string error;
};

RunResult RunSim(const std::string& arguments)
{
    // One file per process: ctest runs these tests in parallel processes.
    const std::string errorPath = ::testing::TempDir() + "ascenda-sim-stderr-" + std::to_string(getpid()) + ".txt";
    const std::string command = std::string(ASCENDA_SIM_PATH) + " " + arguments + " 2>" + errorPath;
    RunResult result{-1, {}, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream errorFile(errorPath);
    std::stringstream errorText;
    errorText << errorFile.rdbuf();
    result.error = errorText.str();
    std::remove(errorPath.c_str());
    return result;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; stream >> field;)
        fields.push_back(field);
    return fields;
}

// --- option validation ---

TEST(RunnerOptionsTest, RejectsValuesOutsideTheRangeNamingOptionAndRangeAndUnknownOrIncompleteOptions)
{
    const struct {
        const char* option;
        const char* value;
        const char* range;
    } cases[] = {
        {"--people", "9", "10 to 100"},
        {"--people", "101", "10 to 100"},
        {"--cars", "0", "1 to 10"},
        {"--cars", "11", "1 to 10"},
        {"--capacity", "0", "1 to 10"},
        {"--capacity", "11", "1 to 10"},
        {"--floors", "3", "4 to 25"},
        {"--floors", "26", "4 to 25"},
        {"--lift-pause", "0", "1 to 30"},
        {"--lift-pause", "31", "1 to 30"},
        {"--pass-pause", "9", "10 to 300"},
        {"--pass-pause", "301", "10 to 300"},
        {"--pass-interval", "99", "100 to 2000"},
        {"--pass-interval", "2001", "100 to 2000"},
        {"--temper", "0", "1 to 50"},
        {"--temper", "51", "1 to 50"},
        {"--speed", "0", "1 to 100"},
        {"--speed", "101", "1 to 100"},
        {"--driver", "4", "0 to 3"},
        {"--driver", "fast", "0 to 3"},
        {"--people", "12x", "10 to 100"},
        {"--people", "''", "10 to 100"},
        {"--people", "99999999999", "10 to 100"},
        {"--seconds", "0", "1 to"},
        {"--minutes", "-5", "1 to"},
    };
    for (const auto& test : cases) {
        const RunResult result = RunSim(std::string(test.option) + " " + test.value);
        EXPECT_EQ(result.exitCode, 2) << test.option << " " << test.value;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.error.find(test.option), std::string::npos) << result.error;
        EXPECT_NE(result.error.find(test.range), std::string::npos) << result.error;
        EXPECT_EQ(Lines(result.error).size(), 1u) << result.error;
    }
    for (const char* arguments :
         {"--bogus", "people 50", "--cars", "--trace --compare", "--trace --json", "--help=1"}) {
        const RunResult result = RunSim(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
        EXPECT_FALSE(result.error.empty()) << arguments;
    }
}

TEST(RunnerOptionsTest, AcceptsTheEdgesOfEveryRangeInBothSpellingsAndHelpListsThem)
{
    const RunResult low = RunSim("--people 10 --cars 1 --capacity 1 --driver 0 --floors 4 --lift-pause 1 "
                                 "--pass-pause 10 --pass-interval 100 --temper 1 --speed 1 --seconds 1");
    EXPECT_EQ(low.exitCode, 0) << low.error;
    const RunResult high = RunSim("--people=100 --cars=10 --capacity=10 --driver=smart --floors=25 --lift-pause=30 "
                                  "--pass-pause=300 --pass-interval=2000 --temper=50 --speed=100 --seconds=1");
    EXPECT_EQ(high.exitCode, 0) << high.error;
    const RunResult help = RunSim("--help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--people", "--cars", "--capacity", "--driver", "--floors", "--lift-pause", "--pass-pause", "--pass-interval",
          "--temper", "--speed", "--seconds", "--minutes", "--trace", "--compare", "--json", "--help"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

// --- the trace ---

TEST(RunnerTraceTest, FirstSecondFollowsTheRulesTickByTick)
{
    // Defaults: lift ticks every 101 ms, people ticks every 500 ms, 2 cars, 50 people.
    const RunResult result = RunSim("--trace --seconds 1");
    ASSERT_EQ(result.exitCode, 0) << result.error;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 11u);
    // A new car's first step "arrives" at floor 1 and arms its pause; it then counts down.
    EXPECT_EQ(lines[0], "L 101 0 0 100/0/0/15/1/1/0 100/0/0/15/1/1/0");
    EXPECT_EQ(lines[1], "L 202 0 0 100/0/0/14/1/1/0 100/0/0/14/1/1/0");
    EXPECT_EQ(lines[3], "L 404 0 0 100/0/0/12/1/1/0 100/0/0/12/1/1/0");
    // Draws 41/18467 and 6334/26500 give the first two people floor 1 (no trip, countdown -1);
    // 19169/15724 send the third to floor 10 with a pause of 30, assigned the car at the floor.
    EXPECT_EQ(lines[4].rfind("P 500 0 0 1/1/-1/-1/0/-1 1/1/-1/-1/0/-1 1/10/0/-1/0/30 ", 0), 0u) << lines[4];
    EXPECT_EQ(Fields(lines[4]).size(), 4u + 50u);
    // Every call on floor 1 went to car 0 standing there: no car moves, the up button of floor 1 is lit.
    EXPECT_EQ(lines[5], "L 505 2 0 100/0/0/11/1/1/0 100/0/0/11/1/1/0");
    EXPECT_EQ(lines[9], "L 909 2 0 100/0/0/7/1/1/0 100/0/0/7/1/1/0");
    // The third person boards car 0 at the next people tick: wait 1 counted, count reset by boarding.
    const std::vector<std::string> people = Fields(lines[10]);
    ASSERT_EQ(people.size(), 4u + 50u);
    EXPECT_EQ(people[1], "1000");
    EXPECT_EQ(people[4 + 2], "1/10/-1/0/0/30");
}

TEST(RunnerTraceTest, LiftTickRunsFirstWhenBothFallDue)
{
    const RunResult result = RunSim("--trace --speed 1 --pass-interval 496 --seconds 1");
    ASSERT_EQ(result.exitCode, 0) << result.error;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("L 496 ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("P 496 ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("L 992 ", 0), 0u);
    EXPECT_EQ(lines[3].rfind("P 992 ", 0), 0u);
}

TEST(RunnerTraceTest, SameSettingsGiveTheSameTraceAndEveryLineIsWellFormed)
{
    const std::string arguments = "--trace --people 100 --cars 10 --floors 25 --driver random --minutes 10";
    const RunResult first = RunSim(arguments);
    const RunResult second = RunSim(arguments);
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, second.out);
    const RunResult named = RunSim("--trace --people 100 --cars 10 --floors 25 --driver 2 --minutes 10");
    EXPECT_EQ(first.out, named.out);

    const std::vector<std::string> lines = Lines(first.out);
    ASSERT_EQ(lines.size(), 5940u + 1200u); // 600000 / 101 lift ticks, 600000 / 500 people ticks
    bool sawLitButton = false;
    bool sawRider = false;
    for (const std::string& line : lines) {
        const std::vector<std::string> fields = Fields(line);
        ASSERT_EQ(line, [&] {
            std::string joined;
            for (const std::string& field : fields)
                joined += (joined.empty() ? "" : " ") + field;
            return joined;
        }()) << "single spaces only";
        if (fields[0] == "L") {
            ASSERT_EQ(fields.size(), 4u + 10u) << line;
            sawLitButton = sawLitButton || fields[2] != "0" || fields[3] != "0";
            for (size_t index = 4; index < fields.size(); ++index) {
                int position, direction, load, pause, target, floor;
                unsigned stops;
                char end;
                ASSERT_EQ(std::sscanf(fields[index].c_str(), "%d/%d/%d/%d/%d/%d/%x%c", &position, &direction, &load,
                                      &pause, &target, &floor, &stops, &end),
                          7)
                    << fields[index];
                EXPECT_EQ(position % 20, 0);
                sawRider = sawRider || load > 0;
            }
        } else {
            ASSERT_EQ(fields[0], "P");
            ASSERT_EQ(fields.size(), 4u + 100u) << line;
        }
        for (size_t index = 2; index < 4 && fields[0] == "L"; ++index)
            EXPECT_EQ(fields[index].find_first_not_of("0123456789abcdef"), std::string::npos) << fields[index];
    }
    EXPECT_TRUE(sawLitButton);
    EXPECT_TRUE(sawRider);
}

// --- the reports ---

TEST(RunnerReportTest, SummaryShowsTripsWaitsRidesFloorsAndTheLegend)
{
    const RunResult result = RunSim("--minutes 10");
    ASSERT_EQ(result.exitCode, 0) << result.error;
    for (const char* part : {"Trips completed: ", "95th percentile", "Ride: mean",
                             "Floors travelled by all cars: ", "Legend: \"  Ascenda Vintra | People=50 | Waiting="})
        EXPECT_NE(result.out.find(part), std::string::npos) << part;
    EXPECT_NE(result.out.find("   \"\n"), std::string::npos) << "the legend keeps its three trailing blanks";
}

TEST(RunnerReportTest, CompareGivesOneAlignedRowPerIntelligenceInOrder)
{
    const RunResult result = RunSim("--compare --minutes 5");
    ASSERT_EQ(result.exitCode, 0) << result.error;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_GE(lines.size(), 5u);
    const std::string names[] = {"Primitive", "Auto ground", "Random", "Smart"};
    const size_t first = lines.size() - 4;
    for (size_t row = 0; row < 4; ++row) {
        EXPECT_EQ(lines[first + row].rfind(names[row], 0), 0u) << lines[first + row];
        EXPECT_EQ(lines[first + row].size(), lines[first - 1].size()) << "rows as wide as the heading";
    }
}

TEST(RunnerReportTest, JsonCarriesTheSummaryOrTheRows)
{
    const RunResult summary = RunSim("--json --minutes 5");
    ASSERT_EQ(summary.exitCode, 0);
    EXPECT_EQ(summary.out.front(), '{');
    EXPECT_NE(summary.out.find("\"tripsCompleted\": "), std::string::npos);
    const RunResult table = RunSim("--json --compare --minutes 5");
    ASSERT_EQ(table.exitCode, 0);
    size_t rows = 0;
    for (size_t at = table.out.find("\"intelligence\""); at != std::string::npos;
         at = table.out.find("\"intelligence\"", at + 1))
        ++rows;
    EXPECT_EQ(rows, 4u);
    EXPECT_NE(table.out.find("\"Auto ground\""), std::string::npos);
}

} // namespace
