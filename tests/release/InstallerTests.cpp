#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "../win/WindowTestSupport.h"
#include "SaverFile.h"
#include "resources/Version.h"

// The release installer, run as a user runs it: silently, from the Apps entry's own commands, in
// this build's Wine prefix. Every case starts and ends with no trace of an install.

namespace {

const wchar_t kAppsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\AscendaVintra";
const wchar_t kCompanyKey[] = L"Software\\Orvane's Registry Bits";
const wchar_t kSettingsKey[] = L"Software\\Orvane's Registry Bits\\Ascenda";
const wchar_t kRunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const wchar_t kRunOnceValue[] = L"Ascenda Vintra removal";

std::wstring FromTestFolder(const std::wstring& relative)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + relative;
}

std::wstring InstallFolder()
{
    wchar_t local[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    return std::wstring(local) + L"\\Programs\\Ascenda Vintra";
}

std::wstring InstalledSaver()
{
    return InstallFolder() + L"\\ASCENDA.SCR";
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Contents(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool KeyExists(const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring ReadString(const wchar_t* key, const wchar_t* name)
{
    wchar_t value[2048] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"(absent)";
    return value;
}

DWORD ReadNumber(const wchar_t* key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

void WriteNumber(const std::wstring& key, const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value);
}

void DeleteFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// Runs a command line to its end; its exit code, or -1 when it could not start or did not end.
long RunToEnd(std::wstring commandLine)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    long result = -1;
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code))
        result = static_cast<long>(code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveEveryTrace();
        ASSERT_TRUE(Exists(m_setup)) << "no installer; tools/release.sh builds it";
    }
    void TearDown() override { RemoveEveryTrace(); }

    static void RemoveEveryTrace()
    {
        DeleteFolder(InstallFolder());
        RegDeleteTreeW(HKEY_CURRENT_USER, kAppsKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue);
        WriteDesktopValue(L"SCRNSAVE.EXE", L"C:\\windows\\system32\\other.scr");
    }

    long InstallSilently() const { return RunToEnd(L"\"" + m_setup + L"\" /S"); }

    // Runs the Apps entry's silent uninstall, as the system does, and waits until done() holds.
    // The uninstaller goes on in a copy of itself, so its end is no sign; the last thing it
    // removes is its folder, and before that itself.
    template <class Condition> bool UninstallSilently(Condition done) const
    {
        const std::wstring command = ReadString(kAppsKey, L"QuietUninstallString");
        return RunToEnd(command) == 0 && PumpUntil(done, 20000);
    }
    bool UninstallSilently() const
    {
        return UninstallSilently([] { return !Exists(InstallFolder()); });
    }

    const std::wstring m_setup = FromTestFolder(ASCENDA_SETUP_RELATIVE);
    const std::string m_saver = Contents(FromTestFolder(ASCENDA_PACKAGED_SCR_RELATIVE));
};

} // namespace

TEST_F(Installer, CarriesItsVersionAndCopyright)
{
    EXPECT_EQ(L"" ASCENDA_VERSION_TEXT, VersionString(m_setup, L"ProductVersion"));
    EXPECT_EQ(L"" ASCENDA_COPYRIGHT_TEXT, VersionString(m_setup, L"LegalCopyright"));
    EXPECT_EQ(L"Orvane's Registry Bits", VersionString(m_setup, L"CompanyName"));
}

TEST_F(Installer, SilentInstallPutsTheSaverInPlaceWithAnAppsEntryAndLeavesTheSaverChoice)
{
    ASSERT_EQ(0, InstallSilently());
    ASSERT_FALSE(m_saver.empty());
    EXPECT_TRUE(Contents(InstalledSaver()) == m_saver) << "not the package's ASCENDA.SCR";

    EXPECT_EQ(L"Ascenda Vintra", ReadString(kAppsKey, L"DisplayName"));
    EXPECT_EQ(L"Orvane's Registry Bits", ReadString(kAppsKey, L"Publisher"));
    EXPECT_EQ(L"" ASCENDA_VERSION_TEXT, ReadString(kAppsKey, L"DisplayVersion"));
    EXPECT_EQ(InstalledSaver() + L",0", ReadString(kAppsKey, L"DisplayIcon"));
    const std::wstring uninstaller = L"\"" + InstallFolder() + L"\\Uninstall.exe\"";
    EXPECT_EQ(uninstaller, ReadString(kAppsKey, L"UninstallString"));
    EXPECT_EQ(uninstaller + L" /S", ReadString(kAppsKey, L"QuietUninstallString"));
    // In kilobytes: at least the saver, and not wildly more.
    const DWORD size = ReadNumber(kAppsKey, L"EstimatedSize");
    EXPECT_GE(size, m_saver.size() / 1024);
    EXPECT_LE(size, m_saver.size() / 1024 + 400);

    EXPECT_EQ(L"C:\\windows\\system32\\other.scr", ReadDesktopValue(L"SCRNSAVE.EXE"));
}

TEST_F(Installer, InstallOverAnEarlierOneReplacesTheSaverAndKeepsTheSettings)
{
    ASSERT_EQ(0, InstallSilently());
    WriteNumber(std::wstring(kSettingsKey) + L"\\Config", L"People", 42);
    std::ofstream(InstalledSaver().c_str(), std::ios::binary | std::ios::trunc) << "an earlier version";

    ASSERT_EQ(0, InstallSilently());
    EXPECT_EQ(42u, ReadNumber((std::wstring(kSettingsKey) + L"\\Config").c_str(), L"People"));
    EXPECT_TRUE(Contents(InstalledSaver()) == m_saver) << "the earlier file stayed";
}

// The saver choice goes only when it is this install's file (in any case, or by its short name),
// and the company key only when nothing else of the company's is left in it.
TEST_F(Installer, SilentUninstallTakesAllOfItAway)
{
    struct Case {
        const wchar_t* choice;
        bool otherProgramsKey;
        bool choiceCleared;
    };
    wchar_t shortPath[MAX_PATH] = {};
    const Case cases[] = {
        {L"ours", false, true},
        {L"OURS IN CAPITALS", true, true},
        {L"short", false, true},
        {L"C:\\windows\\system32\\other.scr", false, false},
        {L"C:\\Users\\Someone\\Ascenda Vintra\\ASCENDA.SCR", true, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << "saver choice " << test.choice);
        RemoveEveryTrace();
        ASSERT_EQ(0, InstallSilently());
        std::wstring choice = test.choice;
        if (choice == L"ours") {
            choice = InstalledSaver();
        } else if (choice == L"OURS IN CAPITALS") {
            choice = InstalledSaver();
            CharUpperW(&choice[0]);
        } else if (choice == L"short") {
            GetShortPathNameW(InstalledSaver().c_str(), shortPath, MAX_PATH);
            choice = shortPath;
        }
        WriteDesktopValue(L"SCRNSAVE.EXE", choice);
        WriteNumber(std::wstring(kSettingsKey) + L"\\Config", L"People", 42);
        WriteNumber(std::wstring(kSettingsKey) + L"\\Counters", L"Resets", 3);
        if (test.otherProgramsKey)
            WriteNumber(std::wstring(kCompanyKey) + L"\\Other", L"Kept", 1);

        ASSERT_TRUE(UninstallSilently()) << "the folder stayed";
        EXPECT_FALSE(KeyExists(kAppsKey)) << "the Apps entry stayed";
        EXPECT_FALSE(KeyExists(kSettingsKey)) << "the settings stayed";
        EXPECT_EQ(test.otherProgramsKey, KeyExists(kCompanyKey));
        EXPECT_EQ(test.choiceCleared ? L"(absent)" : choice, ReadDesktopValue(L"SCRNSAVE.EXE"));
        EXPECT_EQ(L"(absent)", ReadString(kRunOnceKey, kRunOnceValue));
    }
}

// A running saver keeps its file; the rest goes at once, and the file and folder at the next
// sign-in, by a command that a new install takes back.
TEST_F(Installer, UninstallWhileTheSaverRunsLeavesItsFileToTheNextSignIn)
{
    ASSERT_EQ(0, InstallSilently());
    WriteNumber(std::wstring(kSettingsKey) + L"\\Config", L"People", 42);
    {
        CStartedProgram saver(InstalledSaver(), L"/s");
        ASSERT_TRUE(saver.Started());
        ASSERT_TRUE(UninstallSilently([] { return !Exists(InstallFolder() + L"\\Uninstall.exe"); }))
            << "the uninstaller did not finish";
        EXPECT_FALSE(saver.HasExited());
        EXPECT_FALSE(KeyExists(kAppsKey));
        EXPECT_FALSE(KeyExists(kSettingsKey));
        EXPECT_TRUE(Exists(InstalledSaver()));
    }
    // At the next sign-in the saver no longer runs.
    const std::wstring removal = ReadString(kRunOnceKey, kRunOnceValue);
    ASSERT_NE(L"(absent)", removal);
    EXPECT_EQ(0, RunToEnd(removal));
    EXPECT_FALSE(Exists(InstallFolder()));

    ASSERT_EQ(0, InstallSilently());
    EXPECT_EQ(L"(absent)", ReadString(kRunOnceKey, kRunOnceValue)) << "the removal would take the new install";
}
