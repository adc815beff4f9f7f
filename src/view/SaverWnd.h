#pragma once
#include <windows.h>

#include "view/SimView.h"

// The full-screen saver: a simulation view over the primary screen, always on top, with the
// pointer hidden, that closes at the first sign of the user and then ends the message loop.
// Always created on the heap; it deletes itself when its window is gone.
class CSaverWnd : public CSimView {
public:
    CSaverWnd();
    ~CSaverWnd() override = default;

    // A topmost popup covering the primary screen.
    void CreateFullScreen();

    BEGIN_MSG_MAP(CSaverWnd)
        ON_WM_SYSCOMMAND(OnSysCommand)
        ON_WM_DESTROY(OnDestroy)
        ON_WM_SETCURSOR(OnSetCursor)
        ON_WM_NCACTIVATE(OnNcActivate)
        ON_WM_ACTIVATE(OnActivate)
        ON_WM_ACTIVATEAPP(OnActivateApp)
        ON_WM_MOUSEMOVE(OnMouseMove)
        ON_MESSAGE(WM_LBUTTONDOWN, OnUserInput)
        ON_MESSAGE(WM_MBUTTONDOWN, OnUserInput)
        ON_MESSAGE(WM_RBUTTONDOWN, OnUserInput)
        ON_MESSAGE(WM_LBUTTONDBLCLK, OnUserInput)
        ON_MESSAGE(WM_RBUTTONDBLCLK, OnUserInput)
        ON_MESSAGE(WM_KEYDOWN, OnUserInput)
        ON_MESSAGE(WM_SYSKEYDOWN, OnUserInput)
    END_MSG_MAP(CSimView)

    // The first pointer position reported to the window, client coordinates; (-1, -1) until then.
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
    // Closing is posted, so the input that caused it finishes its own processing first.
    void PostClose() { PostMessage(WM_CLOSE); }
};
