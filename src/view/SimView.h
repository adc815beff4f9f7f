#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "view/GdiSurface.h"
#include "view/Scene.h"
#include "win/Wnd.h"

// The simulation clock: three window timers of the view.
constexpr UINT_PTR TIMER_LIFTS = 1;  // lifts, then call buttons; period from the update speed
constexpr UINT_PTR TIMER_PEOPLE = 2; // people; period m_passInterval
constexpr UINT_PTR TIMER_LEGEND = 3; // the legend, once a second

// The name of the view's window class, registered by the first CreateView of the process.
extern std::string g_viewClassName;

// Registers the view's window class: double clicks, a full redraw on every change of size, the
// program's pointer, no background brush. Returns its name, or nullptr when the platform refuses.
const char* RegisterViewClass();

// The window that runs and shows the simulation: the main dialog's live preview, the shell's
// preview child and, as CSaverWnd, the full-screen saver. Its settings come from the application's
// store when it is constructed; each timer tick runs one drawing pass on the client area.
class CSimView : public CWnd, public CScene {
public:
    // autoDelete: the object deletes itself once its window has been destroyed.
    explicit CSimView(bool autoDelete);
    ~CSimView() override = default;

    // Creates the view's window (registering its class on first use). rectangle is in the
    // parent's client coordinates, or the screen's when there is no parent. The last two
    // arguments are accepted for the callers' sake and ignored. False when no window was made;
    // the object has then ended as after its window's end (a self-deleting one is gone).
    virtual bool CreateView(DWORD exStyle, DWORD style, const RECT& rectangle, CWnd* parent, UINT id = 0,
                            void* context = nullptr);

    // Colours flag and update speed together (the Properties dialog); the dimmed background,
    // once switched off in the process, stays off.
    void SetColoursAndSpeed(int32_t colours, int32_t speed);
    // Restarts the lift timer with the period for this speed.
    void SetUpdateSpeed(int32_t speed);

    void PostNcDestroy() override;

    BEGIN_MSG_MAP(CSimView)
        ON_WM_TIMER(OnTimer)
        ON_WM_PAINT(OnPaint)
        ON_WM_SIZE(OnSize)
        ON_WM_CREATE(OnCreate)
    END_MSG_MAP(CWnd)

protected:
    int OnCreate(CREATESTRUCTA* creation);
    void OnSize(UINT type, int width, int height);
    void OnPaint();
    void OnTimer(UINT_PTR id);
    // Registers the window class when the process has none yet: RegisterViewClass.
    virtual const char* RegisterViewWindowClass() const;
    // Called after each timer pass with the client area's device context, still holding the pass's
    // picture, and the part of it the pass drew (empty when it drew nothing).
    virtual void OnPassDrawn(HDC picture, const RECT& drawn);
    // The pass of timer id on surface; false for an id that is not one of the view's timers.
    bool RunTimerPass(UINT_PTR id, CGdiSurface& surface);

    bool m_autoDelete;
};
