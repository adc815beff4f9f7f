#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "SaverOptions.h"
#include "XlibSurface.h"
#include "input/InputRule.h"
#include "runtime/FrameRate.h"
#include "runtime/PassScheduler.h"
#include "view/Scene.h"

// The saver on one X11 window: the scene's three passes on their timers, painting on exposure and
// the screen factor (and, unless the user gave one, the scale) from the window's size. Between ticks it sleeps in
// poll() on the X connection.
class CXlibSaver {
public:
    // `ownWindow`: the window is the saver's own top-level window, which ends as the saver does on
    // the user's input (CInputRule) and on the window manager's close button; any other window is
    // only drawn on.
    CXlibSaver(Display* display, Window window, const XWindowAttributes& attributes, bool ownWindow,
               const CSaverOptions& options);
    ~CXlibSaver();
    CXlibSaver(const CXlibSaver&) = delete;
    CXlibSaver& operator=(const CXlibSaver&) = delete;

    // Runs until the user closes the own window, the window is destroyed, or `stopFd` becomes
    // readable (the stop signals write to it). Returns the exit status, 0 for all of these.
    int Run(int stopFd);
    // Paints the whole window now: for a window that exists already and will not be exposed.
    void Repaint();

private:
    // Returns false when the event ends the saver.
    bool OnEvent(const XEvent& event);
    void OnExpose(const XExposeEvent& event);
    void OnConfigure(const XConfigureEvent& event);
    void RunDuePasses();
    void Paint(Region clip);
    // Takes m_width and m_height: the screen factor, and the fitting scale unless one was given.
    void ApplySize();
    // The frame check's freeze or thaw (a test build's signal).
    void OnFrameFreeze();

    Display* m_display;
    Window m_window;
    bool m_ownWindow;
    GC m_gc;
    CScene m_scene;
    CXlibSurface m_surface;
    TimerPeriods m_periods;
    CPassScheduler m_timers;
    bool m_painted; // the passes wait for the first paint, which sets the scene's origins
    int32_t m_width;
    int32_t m_height;
    Region m_exposed; // the areas exposed since the last paint
    Atom m_deleteWindow;
    bool m_fitScale;
    bool m_showFrameRate;
    CInputRule m_inputRule; // in the own window's pixels
    CFrameRate m_frameRate;
    bool m_frozen; // the passes wait: the frame check compares the picture
};

// Opens the display, finds or makes the window the options name, and runs the saver until it is
// stopped. Stopped by SIGTERM, SIGINT or SIGHUP, it cleans up and then ends the process by that
// signal. Otherwise returns the process's exit status: 0 when it ends as asked, 1 when the display
// or the window cannot be used (the reason goes to stderr).
int RunXlibSaver(const CSaverOptions& options);
