#include "MonitorCover.h"

#include "view/SaverWnd.h"

CMonitorCover::CMonitorCover(CSaverWnd& saver) : CWnd(), m_saver(saver) {}

bool CMonitorCover::CreateCover(const RECT& monitor)
{
    const char* className = RegisterWndClass(CS_DBLCLKS);
    if (className == nullptr) {
        delete this; // no window will ever delete it
        return false;
    }
    // Hidden at first: a window created visible would be activated as it appears.
    if (!CreateEx(WS_EX_TOPMOST, className, "", WS_POPUP, monitor.left, monitor.top, monitor.right - monitor.left,
                  monitor.bottom - monitor.top, m_saver.m_hWnd, nullptr, nullptr))
        return false; // the failed creation has deleted this object already
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

void CMonitorCover::PostNcDestroy()
{
    delete this;
}

void CMonitorCover::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    HBRUSH brush = CreateSolidBrush(m_saver.GetFillColour());
    RECT client;
    GetClientRect(&client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
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
        m_saver.EndSaver();
    Default();
}

void CMonitorCover::OnActivateApp(BOOL active, DWORD)
{
    if (!active)
        m_saver.EndSaver();
    Default();
}

void CMonitorCover::OnMouseMove(UINT, POINT position)
{
    // The saver judges every report against the first one any of its windows had, so a pointer
    // that the user moves from one monitor to another ends it at once.
    POINT screen = position;
    ::ClientToScreen(m_hWnd, &screen);
    if (m_saver.NotePointer(screen) == POINTER_MOVED) {
        m_saver.EndSaver();
        Default();
    }
}

LRESULT CMonitorCover::OnUserInput(WPARAM, LPARAM)
{
    m_saver.EndSaver();
    return Default();
}
