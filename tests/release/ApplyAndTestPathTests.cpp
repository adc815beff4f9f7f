#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../win/WindowTestSupport.h"
#include "settings/RegistryStore.h"
#include "settings/SettingsTable.h"

// The real ASCENDA.SCR copied to a folder, run from there with /c, and Apply & Test pressed: the
// desktop registration must name a file that exists.

namespace {

std::wstring BuiltSaverPath()
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + ASCENDA_SCR_RELATIVE;
}

std::wstring SystemDirectory()
{
    wchar_t directory[MAX_PATH] = {};
    GetSystemDirectoryW(directory, MAX_PATH);
    return directory;
}

std::wstring ReadRegisteredSaver()
{
    wchar_t value[4096] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    HKEY desktop = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &desktop) != ERROR_SUCCESS)
        return L"(no key)";
    const LONG result =
        RegQueryValueExW(desktop, L"SCRNSAVE.EXE", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(desktop);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return L"(absent)";
    return value;
}

void SetRegisteredSaver(const std::wstring& path)
{
    HKEY desktop = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_WRITE, nullptr, &desktop, nullptr);
    RegSetValueExW(desktop, L"SCRNSAVE.EXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(desktop);
}

struct ProcessWindow {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindSettingsDialog(HWND window, LPARAM parameter)
{
    auto* found = reinterpret_cast<ProcessWindow*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (processId == found->processId && IsWindowVisible(window) &&
        std::wstring(title) == L"Ascenda Vintra Screen Saver") {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

// Runs the saver at path with /c, presses Apply & Test, then Cancel; returns what was registered.
std::wstring ApplyAndTestFrom(const std::wstring& path)
{
    SetRegisteredSaver(L"C:\\before.scr");
    std::wstring commandLine = L"\"" + path + L"\" /c";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "could not start the copy";
        return L"";
    }
    ProcessWindow found = {process.dwProcessId, nullptr};
    EXPECT_TRUE(PumpUntil([&] {
        EnumWindows(FindSettingsDialog, reinterpret_cast<LPARAM>(&found));
        return found.window != nullptr;
    })) << "the settings dialog did not appear";
    std::wstring registered;
    if (found.window != nullptr) {
        PostMessageW(found.window, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(found.window, 3)));
        EXPECT_TRUE(PumpUntil([&] { return (registered = ReadRegisteredSaver()) != L"C:\\before.scr"; }))
            << "Apply & Test registered nothing";
        PostMessageW(found.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }))
        << "the dialog did not close";
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return registered;
}

class ApplyAndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = ReadRegisteredSaver();
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
        SetRegisteredSaver(m_previous);
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

    std::wstring TempFolder() const
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        std::wstring folder(temp);
        return folder.substr(0, folder.size() - 1); // without its trailing backslash
    }

    CRegistryStore m_store{"Orvane's Registry Bits", "Ascenda"};
    std::wstring m_previous;
    std::vector<std::wstring> m_copies;
    std::vector<std::wstring> m_folders;
};

} // namespace

TEST_F(ApplyAndTest, RegistersTheRunningFileAndTheSystemCopyByItsUsualName)
{
    const std::wstring downloads = TempFolder() + L"\\Downloads";
    const std::wstring fromDownloads = CopySaver(downloads, L"ASCENDA.SCR");
    EXPECT_EQ(fromDownloads, ApplyAndTestFrom(fromDownloads)) << "a copy outside the system directory";

    // Started under a lower-case name, the system copy still registers the one usual path.
    const std::wstring system = SystemDirectory();
    const std::wstring fromSystem = CopySaver(system, L"ascenda.scr");
    EXPECT_EQ(system + L"\\ASCENDA.SCR", ApplyAndTestFrom(fromSystem)) << "the system directory's copy";

    // A user name outside the ANSI code page: Zoë Ångström.
    const std::wstring user = TempFolder() + L"\\Zo\u00eb \u00c5ngstr\u00f6m";
    const std::wstring fromUser = CopySaver(user, L"ASCENDA.SCR");
    EXPECT_EQ(fromUser, ApplyAndTestFrom(fromUser)) << "a folder with letters outside the code page";
}
