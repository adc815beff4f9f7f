#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../win/WindowTestSupport.h"
#include "SaverFile.h"
#include "settings/RegistryStore.h"
#include "settings/SettingsTable.h"

// The real ASCENDA.SCR copied to a folder, run from there with /c, and Apply & Test pressed: the
// desktop registration must name a file that exists.

namespace {

const wchar_t* const BEFORE = L"C:\\before.scr";

// Runs the saver at path with /c, presses Apply & Test, then Cancel; returns what was registered.
std::wstring ApplyAndTestFrom(const std::wstring& path)
{
    WriteDesktopValue(L"SCRNSAVE.EXE", BEFORE);
    CStartedProgram saver(path, L"/c");
    EXPECT_TRUE(saver.Started());
    HWND dialog = nullptr;
    PumpUntil([&] {
        dialog = FindProcessWindow(saver.Id(), [](HWND w) { return WindowText(w) == L"Ascenda Vintra Screen Saver"; });
        return dialog != nullptr;
    });
    if (dialog == nullptr) {
        ADD_FAILURE() << "the settings dialog did not appear";
        return L"";
    }
    std::wstring registered;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 3)));
    PumpUntil([&] { return (registered = ReadDesktopValue(L"SCRNSAVE.EXE")) != BEFORE; });
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([&] { return saver.HasExited(); })) << "Cancel did not close the dialog";
    return registered;
}

class ApplyAndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = ReadDesktopValue(L"SCRNSAVE.EXE");
        m_store.Wipe();
        // Straight to the main dialog: no greeting and no monthly reminder.
        m_store.Write(Setting::SuppressFirst, 1);
        m_store.Write(Setting::SuppressReminder, 1);
    }
    void TearDown() override
    {
        for (const std::wstring& copy : m_copies)
            DeleteFileW(copy.c_str());
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
        m_store.Wipe();
        WriteDesktopValue(L"SCRNSAVE.EXE", m_previous);
    }

    // Copies the built saver to folder\name, creating the folder when needed.
    std::wstring CopySaver(const std::wstring& folder, const std::wstring& name)
    {
        if (CreateDirectoryW(folder.c_str(), nullptr))
            m_folders.push_back(folder);
        const std::wstring copy = folder + L"\\" + name;
        EXPECT_TRUE(CopyFileW(BuiltSaverPath().c_str(), copy.c_str(), FALSE)) << "copy to the folder failed";
        m_copies.push_back(copy);
        return copy;
    }

    static std::wstring TempFolder()
    {
        wchar_t temp[MAX_PATH] = {};
        const DWORD length = GetTempPathW(MAX_PATH, temp);
        return std::wstring(temp, length - 1); // without its trailing backslash
    }

    CRegistryStore m_store{"Orvane's Registry Bits", "Ascenda"};
    std::wstring m_previous;
    std::vector<std::wstring> m_copies;
    std::vector<std::wstring> m_folders;
};

} // namespace

TEST_F(ApplyAndTest, RegistersTheRunningFileAndTheSystemCopyByItsUsualName)
{
    const std::wstring fromDownloads = CopySaver(TempFolder() + L"\\Downloads", L"ASCENDA.SCR");
    EXPECT_EQ(fromDownloads, ApplyAndTestFrom(fromDownloads)) << "a copy outside the system directory";

    // Started under a lower-case name, the system copy still registers the one usual path.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring fromSystem = CopySaver(system, L"ascenda.scr");
    EXPECT_EQ(std::wstring(system) + L"\\ASCENDA.SCR", ApplyAndTestFrom(fromSystem)) << "the system directory's copy";

    // A user name outside the ANSI code page: Zoë Ångström.
    const std::wstring fromUser = CopySaver(TempFolder() + L"\\Zo\u00eb \u00c5ngstr\u00f6m", L"ASCENDA.SCR");
    EXPECT_EQ(fromUser, ApplyAndTestFrom(fromUser)) << "a folder with letters outside the code page";
}
