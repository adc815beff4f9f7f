#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

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

TEST(RunnerOptionsTest, EveryNumericOptionTakesBothEndsOfItsRangeInEitherSpellingAndUsesTheValue)
{
    const struct {
        const char* option;
        const char* field; // in the JSON report's settings
        int low;
        int high;
    } cases[] = {
        {"--people", "people", 10, 100},        {"--cars", "cars", 1, 10},
        {"--capacity", "capacity", 1, 10},      {"--driver", "driver", 0, 3},
        {"--floors", "floors", 4, 25},          {"--lift-pause", "liftPause", 1, 30},
        {"--pass-pause", "passPause", 10, 300}, {"--pass-interval", "passInterval", 100, 2000},
        {"--temper", "temper", 1, 50},          {"--speed", "speed", 1, 100},
    };
    for (const auto& test : cases) {
        for (const int value : {test.low, test.high}) {
            // The low end spelled as two words, the high end joined by '='.
            const std::string option =
                std::string(test.option) + (value == test.low ? " " : "=") + std::to_string(value);
            const RunResult result = RunSim("--json --seconds 1 " + option);
            ASSERT_EQ(result.exitCode, 0) << option << ": " << result.error;
            EXPECT_EQ(nlohmann::json::parse(result.out)["settings"][test.field], value) << option;
        }
    }
    for (const auto& [option, seconds] : {std::pair<const char*, double>{"--seconds 1", 1.0}, {"--minutes=1", 60.0}}) {
        const RunResult result = RunSim(std::string("--json ") + option);
        ASSERT_EQ(result.exitCode, 0) << option << ": " << result.error;
        EXPECT_EQ(nlohmann::json::parse(result.out)["simulatedSeconds"], seconds) << option;
    }
    // A year takes minutes to run: the longest durations are only parsed, with --help.
    for (const char* option : {"--seconds 31536000", "--minutes=525600"}) {
        const RunResult result = RunSim(std::string(option) + " --help");
        EXPECT_EQ(result.exitCode, 0) << option << ": " << result.error;
    }
    const RunResult help = RunSim("--help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--people", "--cars", "--capacity", "--driver", "--floors", "--lift-pause", "--pass-pause", "--pass-interval",
          "--temper", "--speed", "--seconds", "--minutes", "--trace", "--compare", "--json", "--quiet", "--help"})
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

// The figures as the trace shows them: a wait runs from the first people tick after which a
// person has a trip pending (destination not their floor, not riding) to the tick after which they
// ride; a trip ends at the tick after which they no longer ride. Waits still running at the end
// count up to the end.
struct TraceFigures {
    long long trips = 0;
    std::vector<long long> waitsMs;
};

TraceFigures FiguresFromTrace(const std::string& trace, long long endMs)
{
    TraceFigures figures;
    std::vector<long long> callMs;
    std::vector<bool> riding;
    for (const std::string& line : Lines(trace)) {
        const std::vector<std::string> fields = Fields(line);
        if (fields[0] != "P")
            continue;
        const long long now = std::stoll(fields[1]);
        callMs.resize(fields.size() - 4, -1);
        riding.resize(fields.size() - 4, false);
        for (size_t person = 0; person + 4 < fields.size(); ++person) {
            int floor, destination, assigned, ridingLift, waitCount, pause;
            std::sscanf(fields[person + 4].c_str(), "%d/%d/%d/%d/%d/%d", &floor, &destination, &assigned, &ridingLift,
                        &waitCount, &pause);
            const bool ridesNow = ridingLift >= 0;
            if (ridesNow && !riding[person]) {
                figures.waitsMs.push_back(now - callMs[person]);
                callMs[person] = -1;
            } else if (!ridesNow && riding[person]) {
                ++figures.trips;
            } else if (!ridesNow && destination != floor && callMs[person] < 0) {
                callMs[person] = now;
            }
            riding[person] = ridesNow;
        }
    }
    for (long long call : callMs) {
        if (call >= 0)
            figures.waitsMs.push_back(endMs - call);
    }
    std::sort(figures.waitsMs.begin(), figures.waitsMs.end());
    return figures;
}

TEST(RunnerReportTest, TripsAndWaitsAreTheOnesTheTraceShows)
{
    // Two minutes at the defaults: people ticks every 500 ms, 50 people, 2 cars.
    const RunResult trace = RunSim("--trace --minutes 2");
    const RunResult report = RunSim("--json --minutes 2");
    ASSERT_EQ(trace.exitCode, 0) << trace.error;
    ASSERT_EQ(report.exitCode, 0) << report.error;
    const TraceFigures expected = FiguresFromTrace(trace.out, 120000);
    const nlohmann::json summary = nlohmann::json::parse(report.out);
    ASSERT_GT(expected.trips, 50);
    EXPECT_EQ(summary["tripsCompleted"], expected.trips);
    ASSERT_EQ(summary["waitsCounted"], expected.waitsMs.size());
    long long sum = 0;
    for (long long wait : expected.waitsMs)
        sum += wait;
    const size_t rank95 = (expected.waitsMs.size() * 95 + 99) / 100; // nearest rank
    EXPECT_NEAR(summary["waitMeanSeconds"].get<double>(), sum / 1000.0 / expected.waitsMs.size(), 0.0005);
    EXPECT_NEAR(summary["waitP95Seconds"].get<double>(), expected.waitsMs[rank95 - 1] / 1000.0, 0.0005);
    EXPECT_NEAR(summary["waitMaxSeconds"].get<double>(), expected.waitsMs.back() / 1000.0, 0.0005);
    // Two cars for fifty people: some wait many people ticks, whatever the clock says.
    EXPECT_GT(summary["waitMaxSeconds"].get<double>(), 20 * 0.5);
    EXPECT_GT(summary["waitP95Seconds"].get<double>(), summary["waitMeanSeconds"].get<double>());
}

TEST(RunnerReportTest, JsonSummaryAndComparisonParseAndAgreeWithSingleRuns)
{
    const std::string settings = "--people 40 --cars 3 --floors 12 --minutes 5 --json";
    const RunResult table = RunSim(settings + " --compare");
    ASSERT_EQ(table.exitCode, 0) << table.error;
    const nlohmann::json comparison = nlohmann::json::parse(table.out);
    EXPECT_EQ(comparison["settings"]["people"], 40);
    EXPECT_EQ(comparison["settings"]["floors"], 12);
    EXPECT_EQ(comparison["simulatedSeconds"], 300.0);
    const nlohmann::json& rows = comparison["rows"];
    ASSERT_TRUE(rows.is_array());
    ASSERT_EQ(rows.size(), 4u);
    const char* const names[] = {"Primitive", "Auto ground", "Random", "Smart"};
    for (int driver = 0; driver < 4; ++driver) {
        const RunResult single = RunSim(settings + " --driver " + std::to_string(driver));
        ASSERT_EQ(single.exitCode, 0) << single.error;
        const nlohmann::json summary = nlohmann::json::parse(single.out);
        EXPECT_EQ(summary["settings"]["driver"], driver);
        EXPECT_EQ(summary["intelligence"], names[driver]);
        const long long trips = summary["tripsCompleted"].get<long long>();
        EXPECT_GT(trips, 0);
        EXPECT_NEAR(summary["tripsPerHour"].get<double>(), trips * 3600.0 / 300.0, 0.0005);
        EXPECT_GE(summary["waitsCounted"].get<long long>(), trips);
        EXPECT_LE(summary["waitMeanSeconds"].get<double>(), summary["waitP95Seconds"].get<double>());
        EXPECT_LE(summary["waitP95Seconds"].get<double>(), summary["waitMaxSeconds"].get<double>());
        EXPECT_EQ(summary["legend"].get<std::string>().rfind("  Ascenda Vintra | People=40 | Waiting=", 0), 0u);
        // The comparison's row is this run's summary, field for field and in intelligence order.
        nlohmann::json row = summary;
        row.erase("settings");
        row.erase("simulatedSeconds");
        EXPECT_EQ(rows[driver], row) << names[driver];
    }
}

// --- progress ---

// The runner with its standard error on a pseudo-terminal and its standard output on a pipe, in a
// process group of its own so that the test can stop it with everything it started.
struct TerminalRun {
    pid_t pid = -1;
    int terminal = -1; // the master side: what the runner writes to standard error
    int out = -1;
};

TerminalRun StartOnTerminal(const std::string& arguments)
{
    TerminalRun run;
    int terminal = -1;
    int follower = -1;
    int outPipe[2];
    if (openpty(&terminal, &follower, nullptr, nullptr, nullptr) != 0 || pipe(outPipe) != 0)
        return run;
    std::vector<std::string> words = Fields(arguments);
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        dup2(follower, STDERR_FILENO);
        dup2(outPipe[1], STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(ASCENDA_SIM_PATH)};
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        execv(ASCENDA_SIM_PATH, argv.data());
        _exit(127);
    }
    setpgid(pid, pid);
    close(follower);
    close(outPipe[1]);
    run.pid = pid;
    run.terminal = terminal;
    run.out = outPipe[0];
    return run;
}

// Reads from `fd` into `text` until `done` holds, the writer closes, or the timeout passes.
// Returns whether `done` held, or with no `done`, whether the writer closed.
bool ReadUntil(int fd, std::string& text, const std::function<bool(const std::string&)>& done, int timeoutSeconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (!done || !done(text)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd polled{fd, POLLIN, 0};
        if (poll(&polled, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return !done || done(text); // the writer has gone (a terminal reports EIO)
        text.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Processes of the group that still run (a zombie no longer does).
int RunningInGroup(pid_t group)
{
    int running = 0;
    DIR* proc = opendir("/proc");
    for (dirent* entry = proc ? readdir(proc) : nullptr; entry != nullptr; entry = readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        char state = 0;
        int parent = 0, processGroup = 0;
        if (std::sscanf(line.c_str() + line.rfind(')') + 1, " %c %d %d", &state, &parent, &processGroup) == 3 &&
            processGroup == group && state != 'Z' && state != 'X')
            ++running;
    }
    if (proc)
        closedir(proc);
    return running;
}

// Reads a wall-clock time as the meter prints it, "m:ss" or, from an hour on, "h:mm:ss", followed
// by `word`. A slow machine makes the estimate of the time left long, so both forms must pass.
bool ReadWallTime(const char*& text, const char* word)
{
    int hours = 0, minutes = 0, seconds = 0, used = 0;
    const std::string longForm = std::string("%d:%2d:%2d ") + word + "%n";
    const std::string shortForm = std::string("%d:%2d ") + word + "%n";
    if (std::sscanf(text, longForm.c_str(), &hours, &minutes, &seconds, &used) == 3 && used > 0) {
        if (hours < 1 || minutes > 59 || seconds > 59)
            return false;
    } else if (std::sscanf(text, shortForm.c_str(), &minutes, &seconds, &used) == 2 && used > 0) {
        if (minutes > 59 || seconds > 59)
            return false;
    } else {
        return false;
    }
    text += used;
    return true;
}

// Whether `line` is one drawing of the progress line for a year, blanks after it allowed:
// "\r<label> [<days>d ]hh:mm:ss of 365d 00:00:00 (<percent> %), <wall> elapsed, <wall> left".
bool IsYearProgressLine(const std::string& line, const std::string& label)
{
    if (line.rfind("\r" + label + " ", 0) != 0)
        return false;
    double percent = -1;
    int used = 0;
    const char* rest = line.c_str() + label.size() + 2;
    if (std::sscanf(rest, "%*[0-9d :]of 365d 00:00:00 (%lf %%), %n", &percent, &used) != 1 || used == 0)
        return false;
    rest += used;
    if (!ReadWallTime(rest, "elapsed,") || !ReadWallTime(rest, "left"))
        return false;
    return percent >= 0 && percent <= 100 && std::string(rest).find_first_not_of(' ') == std::string::npos;
}

TEST(RunnerProgressTest, LongRunRedrawsOneLineOnTheTerminalAndKeepsStandardOutputClean)
{
    const struct {
        const char* arguments;
        const char* label;
    } cases[] = {
        {"--people 100 --cars 10 --floors 25 --minutes 525600", "Simulated"},
        {"--compare --minutes 525600", "4 runs, on average"},
    };
    for (const auto& test : cases) {
        const TerminalRun run = StartOnTerminal(test.arguments);
        ASSERT_GT(run.pid, 0);
        std::string terminal;
        const bool redrawn = ReadUntil(
            run.terminal, terminal, [](const std::string& text) { return CountOf(text, " left") >= 3; }, 60);
        // Killing the runner alone must take its comparison's child processes with it.
        kill(run.pid, SIGKILL);
        waitpid(run.pid, nullptr, 0);
        // A ceiling for a failing test: the group ends within milliseconds on a quiet machine.
        for (int poll = 0; poll < 600 && RunningInGroup(run.pid) > 0; ++poll)
            usleep(50 * 1000);
        EXPECT_EQ(RunningInGroup(run.pid), 0) << test.arguments;
        kill(-run.pid, SIGKILL);
        std::string out;
        ReadUntil(run.out, out, nullptr, 5);
        close(run.terminal);
        close(run.out);

        ASSERT_TRUE(redrawn) << test.arguments << ": " << terminal;
        EXPECT_EQ(terminal.find('\n'), std::string::npos) << "one line, redrawn in place";
        // Every redraw but a possibly cut-off last one is a whole line.
        const std::string lastWhole = terminal.substr(0, terminal.rfind('\r'));
        const std::string firstLine = lastWhole.substr(0, lastWhole.find('\r', 1));
        EXPECT_TRUE(IsYearProgressLine(firstLine, test.label)) << firstLine;
        EXPECT_LE(firstLine.size(), 81u) << "fits an 80-column terminal";
        EXPECT_EQ(out, "") << "no progress on standard output";
    }
}

TEST(RunnerProgressTest, QuietOnATerminalOrNoTerminalLeavesStandardErrorEmpty)
{
    // Runs long enough (seconds) that a terminal would show the line.
    const std::string longRun = "--people 100 --cars 10 --floors 25 --minutes 10080";
    const TerminalRun run = StartOnTerminal(longRun + " --quiet");
    ASSERT_GT(run.pid, 0);
    std::string out;
    EXPECT_TRUE(ReadUntil(run.out, out, nullptr, 300)) << "the run ends";
    int status = -1;
    waitpid(run.pid, &status, 0);
    std::string terminal;
    ReadUntil(run.terminal, terminal, nullptr, 5);
    close(run.terminal);
    close(run.out);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(out.find("Trips completed: "), std::string::npos);
    EXPECT_EQ(terminal, "");

    for (const std::string& arguments : {longRun, std::string("--compare --minutes 4320")}) {
        const RunResult piped = RunSim(arguments);
        EXPECT_EQ(piped.exitCode, 0) << arguments;
        EXPECT_EQ(piped.error, "") << arguments;
        EXPECT_FALSE(piped.out.empty());
    }
}

} // namespace
