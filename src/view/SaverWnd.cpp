#include "SaverWnd.h"

#include <algorithm>

#include "settings/ViewSettings.h"
#include "view/MonitorCover.h"
#include "view/MonitorLayout.h"
#include "win/WinApp.h"

CSaverWnd::CSaverWnd()
    : CSimView(true), m_firstMouse{-1, -1}, m_firstMouseSeen(false), m_allMonitors(LoadAllMonitors(AfxGetStore()))
{
}

bool CSaverWnd::CreateFullScreen()
{
    const MonitorLayout layout = g_listMonitors();
    // A refused creation has deleted this object already.
    if (!CreateView(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, layout.primary, nullptr, 0, nullptr))
        return false;
    // After the saver's window, which holds the activation from now on.
    CoverMonitors(layout.others);
    return true;
}

void CSaverWnd::CoverMonitors(const std::vector<RECT>& monitors)
{
    for (const RECT& monitor : monitors)
        (new CMonitorCover(*this))->CreateCover(monitor);
}

void CSaverWnd::RemoveCovers()
{
    // Each cover leaves the list as its window ends.
    const std::vector<CMonitorCover*> covers = m_covers;
    for (CMonitorCover* cover : covers)
        cover->DestroyWindow();
}

void CSaverWnd::AddCover(CMonitorCover* cover)
{
    m_covers.push_back(cover);
}

void CSaverWnd::RemoveCover(CMonitorCover* cover)
{
    m_covers.erase(std::remove(m_covers.begin(), m_covers.end(), cover), m_covers.end());
}

PointerReport CSaverWnd::NotePointer(POINT screenPosition)
{
    if (!m_firstMouseSeen) {
        m_firstMouseSeen = true;
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

void CSaverWnd::OnTimer(UINT_PTR id)
{
    if (!ShowsEveryMonitor() || m_covers.empty()) {
        CSimView::OnTimer(id);
        return;
    }
    // One model drives every monitor: the others get a copy of what this pass drew, and only that.
    HDC dc = GetDC();
    CGdiSurface surface(dc);
    if (!RunTimerPass(id, surface))
        Default();
    for (CMonitorCover* cover : m_covers)
        cover->ShowPicture(dc, surface.GetDrawnBounds());
    ReleaseDC(dc);
}

void CSaverWnd::OnPaint()
{
    CSimView::OnPaint();
    if (!ShowsEveryMonitor())
        return;
    for (CMonitorCover* cover : m_covers)
        cover->Invalidate(false);
}

LRESULT CSaverWnd::OnDisplayChange(WPARAM, LPARAM)
{
    // A monitor that powers down, a laptop docking, a new resolution: the platform may have moved
    // a cover onto the primary, above the building, and a new monitor would show the desktop. So
    // fit the window to the primary as it is now and cover exactly the monitors there are.
    const MonitorLayout layout = g_listMonitors();
    RemoveCovers();
    const RECT& primary = layout.primary;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, primary.left, primary.top, primary.right - primary.left,
                   primary.bottom - primary.top, SWP_NOACTIVATE);
    CoverMonitors(layout.others);
    return Default();
}
