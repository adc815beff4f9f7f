#pragma once
#include <windows.h>

#include <vector>

class CMonitorCover;

// What the covers tell the saver they belong to: the signs of the user on them. The saver judges
// them by its own rule.
class CCoverOwner {
public:
    // The pointer was reported at screenPosition over a cover. True when that was the user, whom
    // the saver has then answered.
    virtual bool OnCoverPointer(POINT screenPosition) = 0;
    // A key, a button, or the loss of activation on a cover.
    virtual void OnCoverInput() = 0;

protected:
    ~CCoverOwner() = default;
};

// The covers over every monitor but the primary while the full-screen saver runs, and what they
// show. When the saver shows every monitor, each pass's drawing is copied to them as it is drawn,
// and they keep a copy of the picture of the saver's last full paint: a cover the platform asks to
// paint, before or after the saver's window, shows that, and the moving parts come back with their
// next pass, as on the saver's own window.
class CMonitorCovers {
public:
    // fill: the colour around (or instead of) the picture; mirror: the covers show the picture.
    CMonitorCovers(CCoverOwner& owner, COLORREF fill, bool mirror) : m_owner(owner), m_fill(fill), m_mirror(mirror) {}
    ~CMonitorCovers();
    CMonitorCovers(const CMonitorCovers&) = delete;
    CMonitorCovers& operator=(const CMonitorCovers&) = delete;

    // A cover over each of monitors (screen coordinates), owned by the saver's window.
    void CoverMonitors(HWND saverWindow, const std::vector<RECT>& monitors);
    // Ends every cover.
    void RemoveCovers();

    // A pass drew area (client coordinates of picture, a width x height window): every cover shows
    // that part.
    void ShowPass(HDC picture, const RECT& area, int width, int height);
    // The saver's window was painted whole with fill around the building: every cover shows all of it.
    void ShowWhole(HDC picture, int width, int height, COLORREF fill);

    // For the covers: paints one whose client area is client.
    void PaintCover(HDC dc, const RECT& client) const;
    // Copies area of picture (width x height) to its place in client, the picture fitted there.
    static void CopyPicture(HDC dc, const RECT& client, HDC picture, const RECT& area, int width, int height);
    // For the covers: what the user did there, handed to the saver.
    bool PointerReported(POINT screenPosition) { return m_owner.OnCoverPointer(screenPosition); }
    void UserInput() { m_owner.OnCoverInput(); }
    // A cover's window has ended; it is no longer one of the covers.
    void Forget(CMonitorCover* cover);

    bool Mirrors() const { return m_mirror; }
    const std::vector<CMonitorCover*>& GetCovers() const { return m_covers; }

private:
    // Copies picture into the kept copy, made afresh at a new size.
    void KeepPicture(HDC picture, int width, int height);
    void ReleasePicture();

    CCoverOwner& m_owner;
    COLORREF m_fill;
    const bool m_mirror;
    std::vector<CMonitorCover*> m_covers;
    // The copy of the saver's last full paint, m_width x m_height, while mirroring.
    HDC m_picture = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_formerBitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
};
