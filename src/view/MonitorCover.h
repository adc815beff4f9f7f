#pragma once
#include <windows.h>

#include "view/SaverInput.h"
#include "win/Wnd.h"

class CMonitorCovers;

// A top-most window over one of the monitors the simulation does not run on, so that no desktop
// content shows there while the saver runs. It paints what its covers give it (the saver's fill
// colour, or the saver's picture scaled to fit with the fill around it when the saver shows every
// monitor), hides the pointer, and hands every sign of the user on to its covers, which tell the
// saver. The saver's window owns it, so it goes with that window; it deletes itself when its
// window is gone.
class CMonitorCover : public CWnd {
public:
    explicit CMonitorCover(CMonitorCovers& covers);

    // Shows the cover over monitor (screen coordinates), owned by owner, without taking the
    // activation from the owner, which would end the saver.
    bool CreateCover(HWND owner, const RECT& monitor);
    // Copies area of picture (the saver's, width x height) to its place here.
    void ShowPicture(HDC picture, const RECT& area, int width, int height);

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
    // Valid for the cover's whole life: the covers belong to the saver, which outlives its window,
    // and an owner's window destroys the windows it owns before its own.
    CMonitorCovers& m_covers;
};
