#include "MonitorCover.h"

#include "view/MonitorLayout.h"
#include "view/SaverWnd.h"

CMonitorCover::CMonitorCover(CSaverWnd& saver) : CWnd(), m_saver(saver) {}

bool CMonitorCover::CreateCover(const RECT& monitor)
{
    const char* className = RegisterWndClass(CS_DBLCLKS);
    if (className == nullptr) {
        EndUnbornWindow(); // no window will ever delete this object
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
    m_saver.GetMonitorCovers().Forget(this);
    delete this;
}

void CMonitorCover::ShowPicture(HDC picture, const RECT& area)
{
    if (IsRectEmpty(&area))
        return;
    HDC dc = GetDC();
    CopyPicture(dc, picture, area);
    ReleaseDC(dc);
}

RECT CMonitorCover::CopyPicture(HDC dc, HDC picture, const RECT& area)
{
    RECT size, client;
    m_saver.GetClientRect(&size);
    GetClientRect(&client);
    const RECT fitted = FitPicture(size.right, size.bottom, client);
    const PictureSpan x = MapPictureSpan(area.left, area.right, size.right, fitted.right - fitted.left);
    const PictureSpan y = MapPictureSpan(area.top, area.bottom, size.bottom, fitted.bottom - fitted.top);
    // Colour on colour keeps the scene's flat colours exact, and costs least.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, fitted.left + x.targetFrom, fitted.top + y.targetFrom, x.targetTo - x.targetFrom,
               y.targetTo - y.targetFrom, picture, x.sourceFrom, y.sourceFrom, x.sourceTo - x.sourceFrom,
               y.sourceTo - y.sourceFrom, SRCCOPY);
    return fitted;
}

void CMonitorCover::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (m_saver.GetMonitorCovers().Mirrors()) {
        // The fill goes around the picture only, so the picture never flickers.
        RECT whole;
        m_saver.GetClientRect(&whole);
        HDC picture = m_saver.GetDC();
        const RECT fitted = CopyPicture(dc, picture, whole);
        m_saver.ReleaseDC(picture);
        ExcludeClipRect(dc, fitted.left, fitted.top, fitted.right, fitted.bottom);
    }
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
