#include "SaverWnd.h"

#include "settings/ViewSettings.h"
#include "view/MonitorLayout.h"
#include "win/WinApp.h"

CSaverWnd::CSaverWnd()
    : CSimView(true), m_inputRule(CInputRule::NO_SLACK), m_covers(*this, LoadAllMonitors(AfxGetStore()) != 0)
{
}

bool CSaverWnd::CreateFullScreen()
{
    const MonitorLayout layout = g_listMonitors();
    // A refused creation has deleted this object already.
    if (!CreateView(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, layout.primary, nullptr, 0, nullptr))
        return false;
    // After the saver's window, which holds the activation from now on.
    m_covers.CoverMonitors(layout.others);
    return true;
}

PointerReport CSaverWnd::NotePointer(POINT screenPosition)
{
    return m_inputRule.OnPointerAt(screenPosition.x, screenPosition.y);
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
    m_covers.OnSaverPainted();
}

void CSaverWnd::OnPassDrawn(HDC picture, const RECT& drawn)
{
    m_covers.ShowPass(picture, drawn);
}

LRESULT CSaverWnd::OnDisplayChange(WPARAM, LPARAM)
{
    // The change may have moved the pointer (its monitor went away, a new resolution clamped it):
    // where the platform next reports it is where it rests now, not the user.
    m_inputRule.ForgetPointer();
    m_covers.FollowDisplays();
    return Default();
}
