#include "TestStore.h"

#include <windows.h>

#include <algorithm>
#include <ctime>
#include <shlwapi.h>

#include "settings/ConfigureRules.h"
#include "win/WinApp.h"

namespace {
// The application object of the test program; the dialogs reach the store through it.
CWinApp g_testApp("Ascenda");

// Under Wine with no window manager in the virtual display, hiding a window that Wine hands to
// the window manager waits two seconds for an answer that never comes. This program's windows
// are left unmanaged instead (Wine then draws their frames itself). The setting applies to this
// program only and is read when its first window is made, so it is written before main runs.
struct CUnmanagedWindowsUnderWine {
    CUnmanagedWindowsUnderWine()
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\dialogs_tests.exe\\X11 Driver", 0, nullptr,
                            0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
        RegCloseKey(key);
    }
} g_unmanagedWindows;

std::string CompanyKey()
{
    return "Ascenda Dialog Tests " + std::to_string(GetCurrentProcessId());
}

std::string ApplicationPath()
{
    return "Software\\" + CompanyKey() + "\\Ascenda";
}

void ListValues(HKEY key, const std::string& section, std::vector<std::string>& lines)
{
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD data = 0;
        DWORD dataSize = sizeof data;
        const LONG status =
            RegEnumValueA(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            return;
        std::string line = section + "/" + name + "=";
        line += type == REG_DWORD ? std::to_string(static_cast<int32_t>(data)) : std::string("(not a number)");
        lines.push_back(line);
    }
}
} // namespace

void CDialogTest::SetUp()
{
    g_testApp.SetStore(nullptr);
    g_testApp.SetRegistryKey(CompanyKey().c_str());
    g_testApp.m_pMainWnd = nullptr;
    AfxGetStore().Wipe();
}

void CDialogTest::TearDown()
{
    g_testApp.SetStore(nullptr);
    g_testApp.m_pMainWnd = nullptr;
    SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + CompanyKey()).c_str());
}

void Store(const SettingKey& key, int32_t value)
{
    AfxGetStore().Write(key, value);
}

bool ReadStored(const SettingKey& key, int32_t& value)
{
    const std::string path = ApplicationPath() + "\\" + key.section;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key.name, RRF_RT_ANY, &type, &data, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    value = static_cast<int32_t>(data);
    return true;
}

int32_t StoredOr(const SettingKey& key, int32_t absent)
{
    int32_t value = 0;
    return ReadStored(key, value) ? value : absent;
}

bool IsStored(const SettingKey& key)
{
    int32_t value = 0;
    return ReadStored(key, value);
}

std::vector<std::string> ListStored()
{
    std::vector<std::string> lines;
    HKEY application = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ApplicationPath().c_str(), 0, KEY_READ, &application) != ERROR_SUCCESS)
        return lines;
    ListValues(application, "", lines);
    for (DWORD index = 0;; ++index) {
        char section[256];
        DWORD sectionLength = sizeof section;
        if (RegEnumKeyExA(application, index, section, &sectionLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY sectionKey = nullptr;
        if (RegOpenKeyExA(application, section, 0, KEY_READ, &sectionKey) == ERROR_SUCCESS) {
            ListValues(sectionKey, section, lines);
            RegCloseKey(sectionKey);
        }
    }
    RegCloseKey(application);
    std::sort(lines.begin(), lines.end());
    return lines;
}

int32_t TodayMonthCount()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* today = std::localtime(&now);
    return MonthCount(today->tm_year, today->tm_mon);
}
