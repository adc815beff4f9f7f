#pragma once
#include <windows.h>

#include <vector>

class CMonitorCover;
class CSaverWnd;

// The covers over every monitor but the primary while the full-screen saver runs. It makes them
// after the saver's window, makes them again whenever the displays change, and, when the saver
// shows every monitor, keeps them showing the saver's picture: what each pass drew, and the whole
// picture again after the saver's window is painted.
class CMonitorCovers {
public:
    // mirror: the covers show the saver's picture rather than the fill colour.
    CMonitorCovers(CSaverWnd& saver, bool mirror) : m_saver(saver), m_mirror(mirror) {}
    CMonitorCovers(const CMonitorCovers&) = delete;
    CMonitorCovers& operator=(const CMonitorCovers&) = delete;

    // A cover over each of monitors (screen coordinates).
    void CoverMonitors(const std::vector<RECT>& monitors);
    // The displays changed: fits the saver's window to the primary as it is now and covers exactly
    // the other monitors there are.
    void FollowDisplays();

    // Copies area (the saver's client coordinates) of the saver's picture, read from picture, to
    // every cover.
    void ShowPass(HDC picture, const RECT& area);
    // The saver's window was painted: every cover copies the new picture.
    void OnSaverPainted();

    bool Mirrors() const { return m_mirror; }
    // A cover's window has ended; it is no longer one of the covers.
    void Forget(CMonitorCover* cover);
    const std::vector<CMonitorCover*>& GetCovers() const { return m_covers; }

private:
    void RemoveCovers();

    CSaverWnd& m_saver;
    const bool m_mirror;
    std::vector<CMonitorCover*> m_covers;
};
