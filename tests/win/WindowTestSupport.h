#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

// Helpers for tests that drive real windows: waiting means pumping this thread's messages and
// polling a condition until it holds or the time is up.

// How many WM_QUIT messages the pump has taken off this thread's queue so far.
inline int& QuitMessagesSeen()
{
    static int count = 0;
    return count;
}

// Dispatches every message waiting for this thread. A WM_QUIT is counted and dropped.
inline void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ++QuitMessagesSeen();
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Pumps messages until condition() is true or timeoutMilliseconds have passed; returns the final
// value of the condition. The default ceiling only bounds a failing test: what a test waits for
// comes within a second or two even under Wine, and a loaded machine may take many times longer.
template <class Condition> bool PumpUntil(Condition condition, DWORD timeoutMilliseconds = 20000)
{
    const ULONGLONG end = GetTickCount64() + timeoutMilliseconds;
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// A plain top-level window of a class whose procedure is DefWindowProc, for parents and
// bystanders.
inline HWND CreatePlainWindow(DWORD style, int x, int y, int width, int height, HWND parent = nullptr,
                              DWORD exStyle = 0)
{
    static ATOM windowClass = 0;
    if (windowClass == 0) {
        WNDCLASSA description = {};
        description.lpfnWndProc = DefWindowProcA;
        description.hInstance = GetModuleHandleA(nullptr);
        description.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        description.lpszClassName = "AscendaTestPlain";
        windowClass = RegisterClassA(&description);
    }
    return CreateWindowExA(exStyle, "AscendaTestPlain", "plain", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// How many more GDI objects the process may create, measured by creating brushes until refused and
// deleting them again: Wine keeps no per-process GDI object count, so this free room stands in for it.
inline int CountFreeGdiHandles()
{
    std::vector<HBRUSH> brushes;
    brushes.reserve(70000);
    for (HBRUSH brush; brushes.size() < 200000 && (brush = CreateSolidBrush(RGB(1, 2, 3))) != nullptr;)
        brushes.push_back(brush);
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

inline bool IsOneOf(COLORREF pixel, std::initializer_list<COLORREF> colours)
{
    for (COLORREF colour : colours)
        if (pixel == colour)
            return true;
    return false;
}
