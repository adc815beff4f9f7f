#include "MonitorCover.h"

#include "view/MonitorCovers.h"

CMonitorCover::CMonitorCover(CMonitorCovers& covers) : CWnd(), m_covers(covers) {}

bool CMonitorCover::CreateCover(HWND owner, const RECT& monitor)
{
    const char* className = RegisterWndClass(CS_DBLCLKS);
    if (className == nullptr) {
        EndUnbornWindow(); // no window will ever delete this object
        return false;
    }
    // Hidden at first: a window created visible would be activated as it appears.
    if (!CreateEx(WS_EX_TOPMOST, className, "", WS_POPUP, monitor.left, monitor.top, monitor.right - monitor.left,
                  monitor.bottom - monitor.top, owner, nullptr, nullptr))
        return false; // the failed creation has deleted this object already
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

void CMonitorCover::PostNcDestroy()
{
    m_covers.Forget(this);
    delete this;
}

void CMonitorCover::ShowPicture(HDC picture, const RECT& area, int width, int height)
{
    if (IsRectEmpty(&area))
        return;
    HDC dc = GetDC();
    RECT client;
    GetClientRect(&client);
    CMonitorCovers::CopyPicture(dc, client, picture, area, width, height);
    ReleaseDC(dc);
}

void CMonitorCover::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(&client);
    m_covers.PaintCover(dc, client);
    EndPaint(m_hWnd, &paint);
}

BOOL CMonitorCover::OnSetCursor(HWND, UINT, UINT)
{
    SetCursor(nullptr);
    return TRUE;
}

void CMonitorCover::OnActivate(UINT state, HWND, BOOL)
{
    if (state == WA_INACTIVE)
        m_covers.UserInput();
    Default();
}

void CMonitorCover::OnActivateApp(BOOL active, DWORD)
{
    if (!active)
        m_covers.UserInput();
    Default();
}

void CMonitorCover::OnMouseMove(UINT, POINT position)
{
    POINT screen = position;
    ::ClientToScreen(m_hWnd, &screen);
    if (m_covers.PointerReported(screen))
        Default();
}

LRESULT CMonitorCover::OnUserInput(WPARAM, LPARAM)
{
    m_covers.UserInput();
    return Default();
}
