#pragma once
#include <windows.h>

#include "view/SaverInput.h"
#include "win/Wnd.h"

class CSaverWnd;

// A top-most window over one of the monitors the simulation does not run on, so that no desktop
// content shows there while the saver runs. It paints the saver's fill colour, or the saver's
// picture scaled to fit with the fill around it when the saver shows every monitor; it hides the
// pointer and ends the whole saver on the same signs of the user as the saver's own window. The
// saver's window owns it, so it goes with that window; it deletes itself when its window is gone.
class CMonitorCover : public CWnd {
public:
    explicit CMonitorCover(CSaverWnd& saver);

    // Shows the cover over monitor (screen coordinates) without taking the activation from the
    // saver's window, which would end the saver.
    bool CreateCover(const RECT& monitor);
    // Copies area (the saver's client coordinates) of the saver's picture, read from picture, to
    // its place on the cover: the whole picture scaled to fit the cover with its aspect kept.
    void ShowPicture(HDC picture, const RECT& area);

    void PostNcDestroy() override;

    BEGIN_MSG_MAP(CMonitorCover)
        ON_WM_PAINT(OnPaint)
        ON_WM_SETCURSOR(OnSetCursor)
        ON_WM_ACTIVATE(OnActivate)
        ON_WM_ACTIVATEAPP(OnActivateApp)
        ON_WM_MOUSEMOVE(OnMouseMove)
        ON_SAVER_INPUT(OnUserInput)
    END_MSG_MAP(CWnd)

protected:
    void OnPaint();
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    void OnActivate(UINT state, HWND other, BOOL minimized);
    void OnActivateApp(BOOL active, DWORD threadId);
    void OnMouseMove(UINT flags, POINT position);
    LRESULT OnUserInput(WPARAM wParam, LPARAM lParam);

private:
    // Copies area of the saver's picture into dc; returns where the whole picture goes.
    RECT CopyPicture(HDC dc, HDC picture, const RECT& area);

    // Valid for the cover's whole life: an owner's window destroys the windows it owns before its
    // own, and the saver object outlives its window.
    CSaverWnd& m_saver;
};
