#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "../win/WindowTestSupport.h"
#include "SaverFile.h"
#include "dialogs/DialogIds.h"
#include "resources/Version.h"

// Run by check-install.sh in a fresh Wine prefix, after it has unpacked the release package and
// copied ASCENDA.SCR into the system directory, as README.txt tells a user to. The cases run in
// order: the settings come first, so that the greeting of a first start shows and Apply & Test
// registers the installed copy; the full-screen case then starts what was registered.

namespace {

std::wstring InstalledPath()
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\ASCENDA.SCR";
}

// The process's visible dialog with this caption whose control id shows text, or null.
HWND FindDialog(const CStartedProgram& program, const std::wstring& caption, int id, const std::wstring& text)
{
    return FindProcessWindow(program.Id(), [&](HWND window) {
        return WindowText(window) == caption && (id == 0 || WindowText(GetDlgItem(window, id)) == text);
    });
}

HWND WaitForDialog(const CStartedProgram& program, const std::wstring& caption, int id = 0,
                   const std::wstring& text = L"")
{
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindDialog(program, caption, id, text)) != nullptr || program.HasExited(); },
              20000);
    return found;
}

void Press(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

} // namespace

TEST(InstalledSaver, CarriesItsNameAndVersion)
{
    const std::wstring file = InstalledPath();
    EXPECT_EQ(L"Ascenda Vintra Screen Saver", VersionString(file, L"FileDescription"));
    EXPECT_EQ(L"Ascenda Vintra", VersionString(file, L"ProductName"));
    EXPECT_EQ(L"Orvane's Registry Bits", VersionString(file, L"CompanyName"));
    EXPECT_EQ(L"ASCENDA.SCR", VersionString(file, L"OriginalFilename"));
    EXPECT_EQ(L"ASCENDA", VersionString(file, L"InternalName"));
    EXPECT_EQ(L"" ASCENDA_VERSION_TEXT, VersionString(file, L"FileVersion"));
    EXPECT_EQ(L"" ASCENDA_VERSION_TEXT, VersionString(file, L"ProductVersion"));
}

TEST(InstalledSaver, SettingsGreetAFirstStartAndApplyAndTestRegistersTheInstalledCopy)
{
    CStartedProgram settings(InstalledPath(), L"/c");
    ASSERT_TRUE(settings.Started());
    HWND greeting = WaitForDialog(settings, L"Ascenda Vintra", IDC_MESSAGE_HEADING, L"Welcome to Ascenda Vintra");
    ASSERT_NE(greeting, nullptr) << "no greeting";
    Press(greeting, IDOK);
    HWND reminder = WaitForDialog(settings, L"Ascenda Vintra", IDC_MESSAGE_HEADING, L"Hello out there ...");
    ASSERT_NE(reminder, nullptr) << "no monthly reminder after the greeting";
    Press(reminder, IDOK);
    HWND main = WaitForDialog(settings, L"Ascenda Vintra Screen Saver");
    ASSERT_NE(main, nullptr) << "no settings dialog";
    Press(main, IDC_APPLY_AND_TEST);
    EXPECT_TRUE(PumpUntil([] { return ReadDesktopValue(L"SCRNSAVE.EXE") == InstalledPath(); }))
        << "registered: " << ReadDesktopValue(L"SCRNSAVE.EXE").c_str();
    EXPECT_EQ(L"1", ReadDesktopValue(L"ScreenSaveActive"));
    Press(main, IDCANCEL);
    EXPECT_TRUE(PumpUntil([&] { return settings.HasExited(); }));
    EXPECT_EQ(0u, settings.ExitCode());
}

TEST(InstalledSaver, RegisteredSaverCoversTheScreenUntilAKey)
{
    const std::wstring registered = ReadDesktopValue(L"SCRNSAVE.EXE");
    ASSERT_EQ(InstalledPath(), registered);
    CStartedProgram saver(registered, L"/s");
    ASSERT_TRUE(saver.Started());
    HWND window = nullptr;
    PumpUntil([&] {
        window = FindProcessWindow(saver.Id(), [](HWND candidate) {
            RECT frame;
            GetWindowRect(candidate, &frame);
            return frame.left == 0 && frame.top == 0 && frame.right == GetSystemMetrics(SM_CXSCREEN) &&
                   frame.bottom == GetSystemMetrics(SM_CYSCREEN);
        });
        return window != nullptr || saver.HasExited();
    });
    ASSERT_NE(window, nullptr) << "no full-screen window";
    PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(PumpUntil([&] { return saver.HasExited(); })) << "a key did not end it";
    EXPECT_EQ(0u, saver.ExitCode());
}
