#include "SaverWnd.h"

#include <vector>

#include "view/MonitorCover.h"

namespace {
BOOL CALLBACK CollectOtherMonitor(HMONITOR monitor, HDC, RECT*, LPARAM parameter)
{
    MONITORINFO info = {sizeof info, {}, {}, 0};
    if (GetMonitorInfoA(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY) == 0)
        reinterpret_cast<std::vector<RECT>*>(parameter)->push_back(info.rcMonitor);
    return TRUE;
}
} // namespace

CSaverWnd::CSaverWnd() : CSimView(true), m_firstMouse{-1, -1} {}

void CSaverWnd::CreateFullScreen()
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const RECT screen = {0, 0, width, height};
    // A refused creation may have deleted this object already.
    if (!CreateView(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, screen, nullptr, 0, nullptr))
        return;
    // After the saver's window, which holds the activation from now on.
    CoverOtherMonitors();
}

void CSaverWnd::CoverOtherMonitors()
{
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectOtherMonitor, reinterpret_cast<LPARAM>(&monitors));
    for (const RECT& monitor : monitors)
        (new CMonitorCover(*this))->CreateCover(monitor);
}

PointerReport CSaverWnd::NotePointer(POINT screenPosition)
{
    if (m_firstMouse.x == -1 && m_firstMouse.y == -1) {
        m_firstMouse = screenPosition;
        return POINTER_FIRST;
    }
    if (screenPosition.x != m_firstMouse.x || screenPosition.y != m_firstMouse.y)
        return POINTER_MOVED;
    return POINTER_STILL;
}

void CSaverWnd::OnSysCommand(UINT code, LPARAM)
{
    // Compared as delivered: another saver must not start over this one, and the system menu's
    // close is not a way out (the keys that produce it close the window as input already).
    if (code == SC_SCREENSAVE || code == SC_CLOSE)
        return;
    Default();
}

void CSaverWnd::OnDestroy()
{
    PostQuitMessage(0);
    CSimView::OnDestroy();
}

BOOL CSaverWnd::OnSetCursor(HWND, UINT, UINT)
{
    SetCursor(nullptr);
    return TRUE;
}

BOOL CSaverWnd::OnNcActivate(BOOL active)
{
    if (active)
        return static_cast<BOOL>(Default());
    return FALSE;
}

void CSaverWnd::OnActivate(UINT state, HWND, BOOL)
{
    if (state == WA_INACTIVE)
        PostClose();
    Default();
}

void CSaverWnd::OnActivateApp(BOOL active, DWORD)
{
    if (!active)
        PostClose();
    Default();
}

void CSaverWnd::OnMouseMove(UINT, POINT position)
{
    // The platform reports a first position as soon as the window lies under the pointer, with no
    // movement at all: only a later, different position is the user.
    if (NotePointer(position) == POINTER_MOVED) {
        PostClose();
        Default();
    }
}

LRESULT CSaverWnd::OnUserInput(WPARAM, LPARAM)
{
    PostClose();
    return Default();
}
