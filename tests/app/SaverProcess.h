#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "../win/WindowTestSupport.h"

// ASCENDA.SCR started as a process with arguments, the way the system starts it, and the screen
// it draws on.

inline std::string SaverPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + ASCENDA_SCR_RELATIVE;
}

struct FoundWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

inline BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM parameter)
{
    auto* found = reinterpret_cast<FoundWindows*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == found->processId && IsWindowVisible(window))
        found->windows.push_back(window);
    return TRUE;
}

class CSaverProcess {
public:
    CSaverProcess() = default;
    CSaverProcess(const CSaverProcess&) = delete;
    CSaverProcess& operator=(const CSaverProcess&) = delete;
    ~CSaverProcess()
    {
        if (m_info.hProcess == nullptr)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_info.hProcess, 1);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }

    // arguments as they follow the program on the command line. Under a heavily loaded Wine a
    // start is now and then refused for the moment, so a refusal is tried again for a few seconds;
    // a saver that cannot start at all still fails. StartError() tells the last refusal's code.
    bool Start(const std::string& arguments)
    {
        const std::string path = SaverPath();
        return PumpUntil(
            [&] {
                std::string commandLine = "\"" + path + "\" " + arguments;
                STARTUPINFOA startup = {};
                startup.cb = sizeof startup;
                if (CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &m_info) != 0)
                    return true;
                m_startError = GetLastError();
                return false;
            },
            5000);
    }
    DWORD StartError() const { return m_startError; }

    // The process's visible top-level windows now.
    std::vector<HWND> VisibleWindows() const
    {
        FoundWindows found = {m_info.dwProcessId, {}};
        EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&found));
        return found.windows;
    }

    bool HasExited() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0; }

    // Waits (pumping this thread's messages) for the process to end; notes whether a visible
    // window of it was seen meanwhile.
    bool WaitForExit(DWORD timeoutMilliseconds = 15000)
    {
        return PumpUntil(
            [&] {
                if (!VisibleWindows().empty())
                    m_sawWindow = true;
                return HasExited();
            },
            timeoutMilliseconds);
    }

    // Waits for the saver's full-screen window.
    HWND WaitForWindow(DWORD timeoutMilliseconds = 15000)
    {
        HWND window = nullptr;
        PumpUntil(
            [&] {
                const std::vector<HWND> windows = VisibleWindows();
                window = windows.empty() ? nullptr : windows.front();
                return window != nullptr || HasExited();
            },
            timeoutMilliseconds);
        return window;
    }

    DWORD ExitCode() const
    {
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }
    HANDLE Process() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool SawWindow() const { return m_sawWindow; }

private:
    PROCESS_INFORMATION m_info = {};
    DWORD m_startError = ERROR_SUCCESS;
    bool m_sawWindow = false;
};

inline COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

const COLORREF BACKGROUND = RGB(0, 0, 128);
const COLORREF DIMMED = RGB(0, 0, 96);
const COLORREF OLIVE = RGB(128, 128, 0);
const COLORREF GREEN = RGB(0, 128, 0);
const COLORREF RED = RGB(128, 0, 0);
