#include "SaverWnd.h"

#include "settings/ViewSettings.h"
#include "view/MonitorLayout.h"
#include "win/WinApp.h"

CSaverWnd::CSaverWnd()
    : CSimView(true), m_inputRule(CInputRule::NO_SLACK),
      m_covers(*this, GetFillColour(), LoadAllMonitors(AfxGetStore()) != 0)
{
}

bool CSaverWnd::CreateFullScreen()
{
    const MonitorLayout layout = g_listMonitors();
    // A refused creation has deleted this object already.
    if (!CreateView(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, layout.primary, nullptr, 0, nullptr))
        return false;
    // After the saver's window, which holds the activation from now on.
    m_covers.CoverMonitors(m_hWnd, layout.others);
    return true;
}

PointerReport CSaverWnd::NotePointer(POINT screenPosition)
{
    return m_inputRule.OnPointerAt(screenPosition.x, screenPosition.y);
}

bool CSaverWnd::OnCoverPointer(POINT screenPosition)
{
    // The saver judges every report against the first one any of its windows had, so a pointer
    // that the user moves from one monitor to another ends it at once.
    if (NotePointer(screenPosition) != POINTER_MOVED)
        return false;
    PostClose();
    return true;
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

void CSaverWnd::OnPaint()
{
    CSimView::OnPaint();
    // The whole picture, fixed parts and all, reaches the covers, whichever painted first.
    RECT client;
    GetClientRect(&client);
    HDC picture = GetDC();
    m_covers.ShowWhole(picture, client.right, client.bottom, GetFillColour());
    ReleaseDC(picture);
}

void CSaverWnd::OnPassDrawn(HDC picture, const RECT& drawn)
{
    RECT client;
    GetClientRect(&client);
    m_covers.ShowPass(picture, drawn, client.right, client.bottom);
}

LRESULT CSaverWnd::OnDisplayChange(WPARAM, LPARAM)
{
    // The change may have moved the pointer (its monitor went away, a new resolution clamped it):
    // where the platform next reports it is where it rests now, not the user.
    m_inputRule.ForgetPointer();
    // A monitor that powers down, a laptop docking, a new resolution: the platform may have moved
    // a cover onto the primary, above the building, and a new monitor would show the desktop.
    const MonitorLayout layout = g_listMonitors();
    m_covers.RemoveCovers();
    const RECT& primary = layout.primary;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, primary.left, primary.top, primary.right - primary.left,
                   primary.bottom - primary.top, SWP_NOACTIVATE);
    m_covers.CoverMonitors(m_hWnd, layout.others);
    return Default();
}
