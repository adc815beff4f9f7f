#include <gtest/gtest.h>

#include <dirent.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SettingsDescription.h"
#include "X11TestSupport.h"
#include "view/Scene.h"

// The saver inside the real X11 screen-saver daemon, configured the way its settings tool saves
// it, and its description read by that settings tool.
namespace {

constexpr int64_t DAEMON_TIMEOUT_MS = 15000;
constexpr Colour DIMMED_FILL = MakeColour(0, 0, 96);
constexpr Colour SLAB_COLOUR = MakeColour(0, 0, 128);

// Settings a user changes before pressing Save.
const std::map<std::string, std::string> CHANGED_SETTINGS = {
    {"people", "90"}, {"cars", "3"}, {"driver", "smart"}, {"showfps", "on"}};

std::string Join(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + word;
    return line;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A home folder of its own for the daemon's user, which the daemon and its settings tool read
// their settings from. The daemon refuses to run hacks as root: as root the tests run them as
// nobody, otherwise as the user running the tests.
class CPrivateHome {
public:
    CPrivateHome()
    {
        char path[] = "/tmp/ascenda-daemon-XXXXXX";
        m_path = mkdtemp(path) != nullptr ? path : "";
        const passwd* nobody = getpwnam("nobody");
        if (getuid() == 0 && nobody != nullptr) {
            m_uid = nobody->pw_uid;
            m_gid = nobody->pw_gid;
        }
        if (!m_path.empty())
            Own(m_path);
    }
    ~CPrivateHome()
    {
        if (!m_path.empty())
            CChildProcess({"/bin/rm", "-rf", m_path}, {}).WaitForExit(10000);
    }
    CPrivateHome(const CPrivateHome&) = delete;
    CPrivateHome& operator=(const CPrivateHome&) = delete;

    // Writes a file into the home folder, owned by the daemon's user.
    std::string Write(const std::string& name, const std::string& text, mode_t mode = 0644) const
    {
        const std::string path = m_path + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        chmod(path.c_str(), mode);
        Own(path);
        return path;
    }
    void Own(const std::string& path) const
    {
        if (getuid() == 0 && chown(path.c_str(), m_uid, m_gid) != 0)
            ADD_FAILURE() << "cannot give " << path << " to the daemon's user";
    }
    // The command run as the daemon's user.
    std::vector<std::string> AsUser(std::vector<std::string> command) const
    {
        if (getuid() != 0)
            return command;
        const std::vector<std::string> prefix = {"/usr/bin/setpriv", "--reuid=" + std::to_string(m_uid),
                                                 "--regid=" + std::to_string(m_gid), "--clear-groups", "--"};
        command.insert(command.begin(), prefix.begin(), prefix.end());
        return command;
    }
    const std::string& GetPath() const { return m_path; }

private:
    std::string m_path;
    uid_t m_uid = getuid();
    gid_t m_gid = getgid();
};

// The daemon's settings file with one program, in the form the README gives.
std::string DaemonSettings(const std::string& command)
{
    return "mode:\tone\nselected:\t0\nsplash:\tFalse\nfade:\tFalse\nunfade:\tFalse\nlock:\tFalse\n"
           "dpmsEnabled:\tFalse\ntimeout:\t1:00:00\nprograms:\t\"Ascenda Vintra\" " +
           command + " \\n\n";
}

// The processes running `program`, with the window each was given in XSCREENSAVER_WINDOW (0 when
// it has none).
std::vector<std::pair<pid_t, unsigned long>> FindSavers(const std::string& program)
{
    std::vector<std::pair<pid_t, unsigned long>> savers;
    DIR* processes = opendir("/proc");
    for (dirent* entry = processes ? readdir(processes) : nullptr; entry != nullptr; entry = readdir(processes)) {
        const std::string folder = std::string("/proc/") + entry->d_name;
        char target[4096] = {};
        if (readlink((folder + "/exe").c_str(), target, sizeof target - 1) <= 0 || program != target)
            continue;
        std::istringstream environment(ReadFile(folder + "/environ"));
        unsigned long window = 0;
        for (std::string variable; std::getline(environment, variable, '\0');) {
            if (variable.rfind("XSCREENSAVER_WINDOW=", 0) == 0)
                window = std::strtoul(variable.c_str() + 20, nullptr, 0);
        }
        savers.emplace_back(static_cast<pid_t>(std::atoi(entry->d_name)), window);
    }
    if (processes != nullptr)
        closedir(processes);
    return savers;
}

// The top-level windows whose class is not the daemon's.
int CountForeignTopLevels(Display* display)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0)
        return -1;
    int foreign = 0;
    for (unsigned index = 0; index < count; ++index) {
        XClassHint hint{};
        const bool daemons =
            XGetClassHint(display, children[index], &hint) != 0 && std::strcmp(hint.res_name, "xscreensaver") == 0;
        foreign += daemons ? 0 : 1;
        if (hint.res_name != nullptr)
            XFree(hint.res_name);
        if (hint.res_class != nullptr)
            XFree(hint.res_class);
    }
    XFree(children);
    return foreign;
}

class DaemonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_display.Get(), nullptr) << "Xvfb did not start";
        ASSERT_FALSE(m_home.GetPath().empty());
    }

    std::vector<std::string> Environment() const
    {
        return {"HOME=" + m_home.GetPath(), "DISPLAY=" + m_display.GetName(), "XSCREENSAVER_WINDOW", "XAUTHORITY"};
    }

    // Runs xscreensaver-command with one action; true when the daemon took it.
    bool Command(const std::string& action) const
    {
        CChildProcess command(m_home.AsUser({"/usr/bin/xscreensaver-command", action}), Environment());
        return command.WaitForExit(5000) && command.GetExitCode() == 0;
    }

    bool ShowsTheBuilding(Window window) const
    {
        XWindowAttributes attributes{};
        if (window == 0 || XGetWindowAttributes(m_display.Get(), window, &attributes) == 0)
            return false;
        for (Colour colour : {DIMMED_FILL, SLAB_COLOUR, COLOUR_OLIVE}) {
            if (!m_display.AreaHolds(window, 0, 0, attributes.width, attributes.height, colour))
                return false;
        }
        return true;
    }

    CVirtualDisplay m_display;
    CPrivateHome m_home;
    const std::vector<DescribedControl> m_controls = ReadSettingsDescription(ASCENDA_SETTINGS_XML);
};

TEST_F(DaemonTest, RunsTheSavedCommandLineOnItsOwnWindowAndEndsIt)
{
    // The built saver, copied where the daemon's user may run it.
    const std::string saver = m_home.Write("ascenda", ReadFile(ASCENDA_PATH), 0755);
    std::vector<std::string> command = SavedCommandLine(m_controls, CHANGED_SETTINGS);
    command.insert(command.begin(), saver);
    m_home.Write(".xscreensaver", DaemonSettings(Join(command)));

    CChildProcess daemon(m_home.AsUser({"/usr/bin/xscreensaver", "-no-splash"}), Environment());
    ASSERT_TRUE(WaitFor([&] { return Command("-activate"); }, DAEMON_TIMEOUT_MS)) << daemon.ReadErrorSoFar();
    ASSERT_TRUE(WaitFor([&] { return !FindSavers(saver).empty(); }, DAEMON_TIMEOUT_MS)) << Join(command) << "\n"
                                                                                        << daemon.ReadErrorSoFar();
    const auto savers = FindSavers(saver);
    ASSERT_EQ(savers.size(), 1u);
    const Window window = savers[0].second;
    EXPECT_NE(window, 0u) << "no XSCREENSAVER_WINDOW";
    EXPECT_TRUE(WaitFor([&] { return ShowsTheBuilding(window); }, DAEMON_TIMEOUT_MS)) << Join(command);
    EXPECT_EQ(CountForeignTopLevels(m_display.Get()), 0) << "the saver opened a window of its own";

    ASSERT_TRUE(Command("-deactivate"));
    EXPECT_TRUE(WaitFor([&] { return FindSavers(saver).empty(); }, DAEMON_TIMEOUT_MS)) << "the saver is left running";
    Command("-exit");
    daemon.WaitForExit(5000);
}

TEST_F(DaemonTest, SettingsToolReadsTheDescriptionWithoutAWarning)
{
    if (getuid() != 0)
        GTEST_SKIP() << "needs root to show the settings tool this description in place of the installed ones";
    // The tool reads descriptions from one fixed folder: a private mount shows it ours alone.
    const std::string folder = m_home.GetPath() + "/config";
    mkdir(folder.c_str(), 0755);
    m_home.Write("config/ascenda.xml", ReadFile(ASCENDA_SETTINGS_XML));
    // The line the README has users add: the tool matches each option to a control.
    m_home.Write(".xscreensaver", DaemonSettings("ascenda --root"));
    const std::string settings = Join(m_home.AsUser({"/usr/bin/xscreensaver-settings", "--debug"})) + " >/dev/null";
    CChildProcess tool({"/usr/bin/unshare", "--mount", "--", "/bin/sh", "-c",
                        "mount --bind \"$0\" /usr/share/xscreensaver/config && exec " + settings, folder},
                       Environment());

    // With --debug it says when it reads the description; what the parse finds follows at once.
    const std::string reading = "/ascenda.xml...\n";
    std::string output;
    const auto read = [&] {
        output += tool.ReadErrorSoFar();
        const size_t at = output.find(reading);
        return at != std::string::npos && output.size() > at + reading.size();
    };
    ASSERT_TRUE(WaitFor(read, DAEMON_TIMEOUT_MS)) << output;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const bool names =
            line.find("ascenda.xml") != std::string::npos || line.find("WARNING: ascenda") != std::string::npos;
        EXPECT_FALSE(names && line.find("reading") == std::string::npos) << line;
    }
}

} // namespace
