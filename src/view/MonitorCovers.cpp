#include "MonitorCovers.h"

#include <algorithm>

#include "view/MonitorCover.h"
#include "view/MonitorLayout.h"

CMonitorCovers::~CMonitorCovers()
{
    ReleasePicture();
}

void CMonitorCovers::CoverMonitors(HWND saverWindow, const std::vector<RECT>& monitors)
{
    for (const RECT& monitor : monitors) {
        CMonitorCover* cover = new CMonitorCover(*this);
        // A refused cover has deleted itself.
        if (cover->CreateCover(saverWindow, monitor))
            m_covers.push_back(cover);
    }
}

void CMonitorCovers::RemoveCovers()
{
    // Each cover leaves the list as its window ends.
    const std::vector<CMonitorCover*> covers = m_covers;
    for (CMonitorCover* cover : covers)
        cover->DestroyWindow();
}

void CMonitorCovers::ShowPass(HDC picture, const RECT& area, int width, int height)
{
    // One model drives every monitor: the others get a copy of what the pass drew, and only that.
    if (!m_mirror || IsRectEmpty(&area))
        return;
    for (CMonitorCover* cover : m_covers)
        cover->ShowPicture(picture, area, width, height);
}

void CMonitorCovers::ShowWhole(HDC picture, int width, int height, COLORREF fill)
{
    const bool newFill = fill != m_fill;
    m_fill = fill;
    const RECT whole = {0, 0, width, height};
    if (m_mirror)
        KeepPicture(picture, width, height);
    for (CMonitorCover* cover : m_covers) {
        if (newFill)
            cover->Invalidate(false);
        else if (m_mirror)
            cover->ShowPicture(picture, whole, width, height);
    }
}

void CMonitorCovers::ReleasePicture()
{
    if (m_picture != nullptr) {
        SelectObject(m_picture, m_formerBitmap);
        DeleteObject(m_bitmap);
        DeleteDC(m_picture);
    }
    m_picture = nullptr;
    m_bitmap = nullptr;
    m_width = 0;
    m_height = 0;
}

void CMonitorCovers::KeepPicture(HDC picture, int width, int height)
{
    if (width != m_width || height != m_height || m_picture == nullptr) {
        ReleasePicture();
        if (width <= 0 || height <= 0)
            return;
        m_picture = CreateCompatibleDC(picture);
        m_bitmap = CreateCompatibleBitmap(picture, width, height);
        if (m_picture == nullptr || m_bitmap == nullptr) {
            DeleteObject(m_bitmap);
            DeleteDC(m_picture);
            m_picture = nullptr;
            m_bitmap = nullptr;
            return;
        }
        m_formerBitmap = SelectObject(m_picture, m_bitmap);
        m_width = width;
        m_height = height;
    }
    BitBlt(m_picture, 0, 0, width, height, picture, 0, 0, SRCCOPY);
}

void CMonitorCovers::CopyPicture(HDC dc, const RECT& client, HDC picture, const RECT& area, int width, int height)
{
    const RECT fitted = FitPicture(width, height, client);
    const PictureSpan x = MapPictureSpan(area.left, area.right, width, fitted.right - fitted.left);
    const PictureSpan y = MapPictureSpan(area.top, area.bottom, height, fitted.bottom - fitted.top);
    // Colour on colour keeps the scene's flat colours exact, and costs least.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, fitted.left + x.targetFrom, fitted.top + y.targetFrom, x.targetTo - x.targetFrom,
               y.targetTo - y.targetFrom, picture, x.sourceFrom, y.sourceFrom, x.sourceTo - x.sourceFrom,
               y.sourceTo - y.sourceFrom, SRCCOPY);
}

void CMonitorCovers::PaintCover(HDC dc, const RECT& client) const
{
    if (m_picture != nullptr) {
        // The fill goes around the picture only, so the picture never flickers.
        const RECT whole = {0, 0, m_width, m_height};
        CopyPicture(dc, client, m_picture, whole, m_width, m_height);
        const RECT fitted = FitPicture(m_width, m_height, client);
        ExcludeClipRect(dc, fitted.left, fitted.top, fitted.right, fitted.bottom);
    }
    HBRUSH brush = CreateSolidBrush(m_fill);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
}

void CMonitorCovers::Forget(CMonitorCover* cover)
{
    m_covers.erase(std::remove(m_covers.begin(), m_covers.end(), cover), m_covers.end());
}
