#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Helpers for tests that look at ASCENDA.SCR from outside, as the system and the user see it.

#ifdef ASCENDA_SCR_RELATIVE
// The ASCENDA.SCR of this build, found from the test program's own folder.
inline std::wstring BuiltSaverPath()
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + ASCENDA_SCR_RELATIVE;
}
#endif

// A string of the file's version resource, in its US English Unicode block; empty when absent.
inline std::wstring VersionString(const std::wstring& file, const std::wstring& name)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return L"";
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return L"";
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueW(data.data(), query.c_str(), &value, &length) || length == 0)
        return L"";
    return static_cast<const wchar_t*>(value);
}

// The string value under HKEY_CURRENT_USER\Control Panel\Desktop, or "(absent)".
inline std::wstring ReadDesktopValue(const wchar_t* name)
{
    HKEY desktop = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &desktop) != ERROR_SUCCESS)
        return L"(absent)";
    wchar_t value[4096] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    const LONG result = RegQueryValueExW(desktop, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(desktop);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::wstring(value) : L"(absent)";
}

inline void WriteDesktopValue(const wchar_t* name, const std::wstring& value)
{
    HKEY desktop = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_WRITE, nullptr, &desktop, nullptr);
    RegSetValueExW(desktop, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(desktop);
}

// A visible top-level window of the process that accept() takes, or null.
inline HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& accept)
{
    struct Search {
        DWORD processId;
        const std::function<bool(HWND)>* accept;
        HWND found;
    } search = {processId, &accept, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search->processId || !IsWindowVisible(window) || !(*search->accept)(window))
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::wstring WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// A program started with arguments, ended by force if it still runs when the test is done.
class CStartedProgram {
public:
    CStartedProgram(const std::wstring& path, const std::wstring& arguments)
    {
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &m_info))
            m_info = {};
    }
    CStartedProgram(const CStartedProgram&) = delete;
    CStartedProgram& operator=(const CStartedProgram&) = delete;
    ~CStartedProgram()
    {
        if (m_info.hProcess == nullptr)
            return;
        if (!HasExited()) {
            TerminateProcess(m_info.hProcess, 1);
            WaitForSingleObject(m_info.hProcess, 5000);
        }
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool HasExited() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_info = {};
};
