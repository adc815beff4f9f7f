#pragma once
#include <windows.h>

#include "view/SaverInput.h"
#include "view/SimView.h"

// What a pointer position reported to one of the saver's windows means.
enum PointerReport {
    POINTER_FIRST, // the first report: where the pointer was when the saver came up
    POINTER_STILL, // the first position again
    POINTER_MOVED, // anywhere else: the user
};

// The full-screen saver: a simulation view over the primary screen, always on top, with the
// pointer hidden, that closes at the first sign of the user and then ends the message loop.
// Every other monitor gets a cover in the fill colour that ends the saver in the same way.
// Always created on the heap; it deletes itself when its window is gone.
class CSaverWnd : public CSimView {
public:
    CSaverWnd();
    ~CSaverWnd() override = default;

    // A topmost popup covering the primary screen, then a cover over each other monitor.
    void CreateFullScreen();

    // Judges a pointer position in screen coordinates against the first one reported to any of
    // the saver's windows (and keeps it when it is the first).
    PointerReport NotePointer(POINT screenPosition);
    // Closes the saver's window; the covers go with it and the message loop ends.
    void EndSaver() { PostClose(); }

    BEGIN_MSG_MAP(CSaverWnd)
        ON_WM_SYSCOMMAND(OnSysCommand)
        ON_WM_DESTROY(OnDestroy)
        ON_WM_SETCURSOR(OnSetCursor)
        ON_WM_NCACTIVATE(OnNcActivate)
        ON_WM_ACTIVATE(OnActivate)
        ON_WM_ACTIVATEAPP(OnActivateApp)
        ON_WM_MOUSEMOVE(OnMouseMove)
        ON_SAVER_INPUT(OnUserInput)
    END_MSG_MAP(CSimView)

    // The first pointer position reported to the window or a cover, (-1, -1) until then. The
    // window covers the primary monitor from the screen's origin, so its client coordinates are
    // screen coordinates.
    POINT m_firstMouse;

protected:
    void OnSysCommand(UINT code, LPARAM position);
    void OnDestroy();
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    BOOL OnNcActivate(BOOL active);
    void OnActivate(UINT state, HWND other, BOOL minimized);
    void OnActivateApp(BOOL active, DWORD threadId);
    void OnMouseMove(UINT flags, POINT position);
    LRESULT OnUserInput(WPARAM wParam, LPARAM lParam);

private:
    // The monitors other than the primary, screen coordinates, as the platform lists them.
    void CoverOtherMonitors();

    // Closing is posted, so the input that caused it finishes its own processing first.
    void PostClose() { PostMessage(WM_CLOSE); }
};
