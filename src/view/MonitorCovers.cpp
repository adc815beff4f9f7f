#include "MonitorCovers.h"

#include <algorithm>

#include "view/MonitorCover.h"
#include "view/MonitorLayout.h"
#include "view/SaverWnd.h"

void CMonitorCovers::CoverMonitors(const std::vector<RECT>& monitors)
{
    for (const RECT& monitor : monitors) {
        CMonitorCover* cover = new CMonitorCover(m_saver);
        // A refused cover has deleted itself.
        if (cover->CreateCover(monitor))
            m_covers.push_back(cover);
    }
}

void CMonitorCovers::FollowDisplays()
{
    // A monitor that powers down, a laptop docking, a new resolution: the platform may have moved
    // a cover onto the primary, above the building, and a new monitor would show the desktop.
    const MonitorLayout layout = g_listMonitors();
    RemoveCovers();
    const RECT& primary = layout.primary;
    ::SetWindowPos(m_saver.m_hWnd, HWND_TOPMOST, primary.left, primary.top, primary.right - primary.left,
                   primary.bottom - primary.top, SWP_NOACTIVATE);
    CoverMonitors(layout.others);
}

void CMonitorCovers::RemoveCovers()
{
    // Each cover leaves the list as its window ends.
    const std::vector<CMonitorCover*> covers = m_covers;
    for (CMonitorCover* cover : covers)
        cover->DestroyWindow();
}

void CMonitorCovers::ShowPass(HDC picture, const RECT& area)
{
    // One model drives every monitor: the others get a copy of what the pass drew, and only that.
    if (!m_mirror)
        return;
    for (CMonitorCover* cover : m_covers)
        cover->ShowPicture(picture, area);
}

void CMonitorCovers::OnSaverPainted()
{
    if (!m_mirror)
        return;
    for (CMonitorCover* cover : m_covers)
        cover->Invalidate(false);
}

void CMonitorCovers::Forget(CMonitorCover* cover)
{
    m_covers.erase(std::remove(m_covers.begin(), m_covers.end(), cover), m_covers.end());
}
