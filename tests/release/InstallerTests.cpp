#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "../win/WindowTestSupport.h"
#include "SaverFile.h"
#include "resources/Version.h"

// The release package's installer, run silently in this build's Wine prefix and taken away by the
// Apps entry's own command, as the system runs it. Every case starts and ends with no trace of it.

namespace {

const std::wstring kApps = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\AscendaVintra";
const std::wstring kCompany = L"Software\\Orvane's Registry Bits";
const std::wstring kSettings = kCompany + L"\\Ascenda";
const std::wstring kRunOnce = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kOtherSaver = L"C:\\Users\\Someone\\Ascenda Vintra\\ASCENDA.SCR";

std::wstring InstallFolder()
{
    wchar_t local[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    return std::wstring(local) + L"\\Programs\\Ascenda Vintra";
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Contents(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A string value as it is, a number in decimal, "(absent)" when there is none.
std::wstring Value(const std::wstring& key, const wchar_t* name)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof value, type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, value, &size))
        return L"(absent)";
    DWORD number = 0;
    std::memcpy(&number, value, sizeof number);
    return type == REG_DWORD ? std::to_wstring(number) : value;
}

bool KeyExists(const std::wstring& key)
{
    HKEY handle = nullptr;
    const bool opened = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return opened;
}

void SetNumber(const std::wstring& key, const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value);
}

// Runs a command line of the form "program" arguments to its end: its exit code, else -1.
long RunCommand(const std::wstring& line)
{
    const size_t quote = line.find(L'"', 1);
    CStartedProgram program(line.substr(1, quote - 1), quote + 2 < line.size() ? line.substr(quote + 2) : L"");
    return program.Started() && PumpUntil([&] { return program.HasExited(); }, 60000) ? program.ExitCode() : -1;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override { RemoveEveryTrace(); }
    void TearDown() override { RemoveEveryTrace(); }
    static void RemoveEveryTrace()
    {
        DeleteFileW((InstallFolder() + L"\\ASCENDA.SCR").c_str());
        DeleteFileW((InstallFolder() + L"\\Uninstall.exe").c_str());
        RemoveDirectoryW(InstallFolder().c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kApps.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kCompany.c_str());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunOnce.c_str(), L"Ascenda Vintra removal");
        WriteDesktopValue(L"SCRNSAVE.EXE", kOtherSaver);
    }
    long Install() const { return RunCommand(L"\"" + m_setup + L"\" /S"); }
    // The uninstaller goes on in a copy of itself, so its end is no sign that it is done: the last
    // things it removes are itself and then its folder.
    bool Uninstall(const std::wstring& lastToGo = InstallFolder()) const
    {
        return RunCommand(Value(kApps, L"QuietUninstallString")) == 0 &&
               PumpUntil([&] { return !Exists(lastToGo); }, 20000);
    }

    const std::wstring m_setup = FromTestFolder(ASCENDA_SETUP_RELATIVE);
    const std::wstring m_saver = InstallFolder() + L"\\ASCENDA.SCR";
    const std::string m_packaged = Contents(FromTestFolder(ASCENDA_PACKAGED_SCR_RELATIVE));
};

} // namespace

TEST_F(Installer, SilentInstallPutsThePackagedSaverInPlaceWithAnAppsEntryAndLeavesTheSaverChoice)
{
    ASSERT_EQ(0, Install());
    EXPECT_EQ(L"" ASCENDA_COPYRIGHT_TEXT, VersionString(m_setup, L"LegalCopyright"));
    EXPECT_EQ(L"" ASCENDA_VERSION_TEXT, VersionString(m_setup, L"ProductVersion"));
    EXPECT_TRUE(!m_packaged.empty() && Contents(m_saver) == m_packaged) << "not the package's ASCENDA.SCR";

    const std::wstring uninstaller = L"\"" + InstallFolder() + L"\\Uninstall.exe\"";
    const std::pair<const wchar_t*, std::wstring> entry[] = {
        {L"DisplayName", L"Ascenda Vintra"},  {L"Publisher", L"Orvane's Registry Bits"},
        {L"DisplayIcon", m_saver + L",0"},    {L"DisplayVersion", L"" ASCENDA_VERSION_TEXT},
        {L"UninstallString", uninstaller},    {L"QuietUninstallString", uninstaller + L" /S"},
        {L"InstallLocation", InstallFolder()}};
    for (const auto& [name, value] : entry)
        EXPECT_EQ(value, Value(kApps, name)) << name;
    // In kilobytes: the saver and the uninstaller.
    EXPECT_NEAR(m_packaged.size() / 1024 + 100, std::stoi(Value(kApps, L"EstimatedSize")), 60);
    EXPECT_EQ(kOtherSaver, ReadDesktopValue(L"SCRNSAVE.EXE"));
}

TEST_F(Installer, InstallOverAnEarlierOneReplacesTheSaverAndKeepsTheSettings)
{
    ASSERT_EQ(0, Install());
    SetNumber(kSettings + L"\\Config", L"People", 42);
    std::ofstream(m_saver.c_str(), std::ios::binary | std::ios::trunc) << "an earlier version";
    ASSERT_EQ(0, Install());
    EXPECT_EQ(L"42", Value(kSettings + L"\\Config", L"People"));
    EXPECT_TRUE(Contents(m_saver) == m_packaged) << "the earlier file stayed";
}

// The saver choice goes when it names the installed file, by any spelling of its name; the
// company's key goes when nothing else of the company's is left in it.
TEST_F(Installer, SilentUninstallTakesAllOfItAway)
{
    enum Choice { InstalledInCapitals, InstalledByShortName, Another };
    for (const Choice choice : {InstalledInCapitals, InstalledByShortName, Another}) {
        SCOPED_TRACE(testing::Message() << "saver choice " << choice);
        RemoveEveryTrace();
        ASSERT_EQ(0, Install());
        std::wstring registered(MAX_PATH, L'\0');
        GetShortPathNameW(m_saver.c_str(), &registered[0], MAX_PATH);
        registered = choice == Another ? kOtherSaver : choice == InstalledByShortName ? registered.c_str() : m_saver;
        if (choice == InstalledInCapitals)
            CharUpperW(&registered[0]);
        WriteDesktopValue(L"SCRNSAVE.EXE", registered);
        SetNumber(kSettings + L"\\Config", L"People", 42);
        SetNumber(kSettings + L"\\Counters", L"Resets", 3);
        if (choice != InstalledInCapitals)
            SetNumber(kCompany + L"\\Another Program", L"Kept", 1);

        ASSERT_TRUE(Uninstall()) << "the folder stayed";
        EXPECT_FALSE(KeyExists(kApps));
        EXPECT_FALSE(KeyExists(kSettings));
        EXPECT_EQ(choice != InstalledInCapitals, KeyExists(kCompany));
        EXPECT_EQ(choice == Another ? registered : L"(absent)", ReadDesktopValue(L"SCRNSAVE.EXE"));
        EXPECT_EQ(L"(absent)", Value(kRunOnce, L"Ascenda Vintra removal"));
    }
}

// A running saver keeps its file until the next sign-in; a new install takes that removal back.
TEST_F(Installer, UninstallWhileTheSaverRunsLeavesItsFileToTheNextSignIn)
{
    ASSERT_EQ(0, Install());
    {
        CStartedProgram saver(m_saver, L"/s");
        ASSERT_TRUE(Uninstall(InstallFolder() + L"\\Uninstall.exe")) << "the uninstaller did not finish";
        EXPECT_FALSE(saver.HasExited());
        EXPECT_FALSE(KeyExists(kApps));
    }
    ASSERT_EQ(0, RunCommand(Value(kRunOnce, L"Ascenda Vintra removal")));
    EXPECT_FALSE(Exists(InstallFolder()));
    ASSERT_EQ(0, Install());
    EXPECT_EQ(L"(absent)", Value(kRunOnce, L"Ascenda Vintra removal")) << "the removal would take the new install";
}
