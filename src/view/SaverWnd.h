#pragma once
#include <windows.h>

#include "input/InputRule.h"
#include "view/MonitorCovers.h"
#include "view/SaverInput.h"
#include "view/SimView.h"

// The full-screen saver: a simulation view over the primary screen, always on top, with the
// pointer hidden, that closes at the first sign of the user and then ends the message loop.
// Every other monitor gets a cover (CMonitorCovers) that ends the saver in the same way. Always
// created on the heap; it deletes itself when its window is gone.
class CSaverWnd : public CSimView, private CCoverOwner {
public:
    CSaverWnd();
    ~CSaverWnd() override = default;

    // A topmost popup covering the primary screen, then a cover over each other monitor. False
    // when the window could not be made; the object has then deleted itself.
    bool CreateFullScreen();

    // Judges a pointer position in screen coordinates against the first one reported to any of
    // the saver's windows (and keeps it when it is the first).
    PointerReport NotePointer(POINT screenPosition);
    // The pointer's first reported position, as the saver judges later ones against it.
    const CInputRule& GetInputRule() const { return m_inputRule; }
    // Starts again from no position: the next report is where the pointer rests.
    void ForgetPointer() { m_inputRule.ForgetPointer(); }
    // Closes the saver's window; the covers go with it and the message loop ends.
    void EndSaver() { PostClose(); }
    // The covers over the other monitors, and whether they show the saver's picture.
    CMonitorCovers& GetMonitorCovers() { return m_covers; }

    // What the user did on a cover, judged as on the saver's own window.
    bool OnCoverPointer(POINT screenPosition) override;
    void OnCoverInput() override { PostClose(); }

    BEGIN_MSG_MAP(CSaverWnd)
        ON_WM_SYSCOMMAND(OnSysCommand)
        ON_WM_DESTROY(OnDestroy)
        ON_WM_SETCURSOR(OnSetCursor)
        ON_WM_NCACTIVATE(OnNcActivate)
        ON_WM_ACTIVATE(OnActivate)
        ON_WM_ACTIVATEAPP(OnActivateApp)
        ON_WM_MOUSEMOVE(OnMouseMove)
        ON_SAVER_INPUT(OnUserInput)
        ON_WM_PAINT(OnPaint)
        ON_MESSAGE(WM_DISPLAYCHANGE, OnDisplayChange)
    END_MSG_MAP(CSimView)

protected:
    void OnSysCommand(UINT code, LPARAM position);
    void OnDestroy();
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    BOOL OnNcActivate(BOOL active);
    void OnActivate(UINT state, HWND other, BOOL minimized);
    void OnActivateApp(BOOL active, DWORD threadId);
    void OnMouseMove(UINT flags, POINT position);
    LRESULT OnUserInput(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    LRESULT OnDisplayChange(WPARAM bitsPerPixel, LPARAM size);
    void OnPassDrawn(HDC picture, const RECT& drawn) override;

private:
    // Closing is posted, so the input that caused it finishes its own processing first.
    void PostClose() { PostMessage(WM_CLOSE); }

    // The shared rule at no slack, in screen coordinates: the first position reported to the
    // window or a cover, forgotten on a display change, which may move the pointer. The window
    // covers the primary monitor from the screen's origin, so its client coordinates are screen
    // coordinates; every point, (-1, -1) too, lies on some monitor.
    CInputRule m_inputRule;
    CMonitorCovers m_covers;
};
