#include "XlibSaver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "options/ColourNames.h"
#include "options/CommandLine.h"
#include "runtime/FrameFreeze.h"
#include "runtime/SceneFit.h"
#include "runtime/StopSignals.h"

namespace {

constexpr unsigned int WINDOW_WIDTH = 1024;
constexpr unsigned int WINDOW_HEIGHT = 768;
constexpr int FALLBACK_FONT_ASCENT = 10;

GC CreateSceneGc(Display* display, Window window)
{
    // CapNotLast leaves a line's end point out, as the scene expects of a line.
    XGCValues values{};
    values.cap_style = CapNotLast;
    values.graphics_exposures = False;
    return XCreateGC(display, window, GCCapStyle | GCGraphicsExposures, &values);
}

// The ascent of the GC's font, the server's default fixed font, which the legend is drawn in.
int GetFontAscent(Display* display, GC gc)
{
    int direction = 0;
    int ascent = FALLBACK_FONT_ASCENT;
    int descent = 0;
    XCharStruct extents{};
    XQueryTextExtents(display, XGContextFromGC(gc), "A", 1, &direction, &ascent, &descent, &extents);
    return ascent;
}

// --- finding the window ---

int g_lastXError = Success;

int RecordXError(Display*, XErrorEvent* event)
{
    g_lastXError = event->error_code;
    return 0;
}

// The window's attributes, or false when no such window exists. A missing window is an answer
// here, not an X error that ends the process.
bool QueryWindow(Display* display, Window window, XWindowAttributes& attributes)
{
    XSync(display, False);
    g_lastXError = Success;
    XErrorHandler previous = XSetErrorHandler(RecordXError);
    const Status status = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    return status != 0 && g_lastXError == Success;
}

// X reports the wheel as buttons 4 to 7: up, down, left, right.
bool IsWheelButton(unsigned int button)
{
    return button >= 4 && button <= 7;
}

Window CreateOwnWindow(Display* display)
{
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    // No background: the server clears nothing, the paint fills the window itself.
    attributes.background_pixmap = None;
    // Input only on the saver's own window: on a daemon's window the daemon watches the user.
    attributes.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | ButtonPressMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask;
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    XStoreName(display, window, "Ascenda Vintra");
    XClassHint classHint{};
    char name[] = "ascenda";
    char className[] = "Ascenda";
    classHint.res_name = name;
    classHint.res_class = className;
    XSetClassHint(display, window, &classHint);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XMapWindow(display, window);
    return window;
}

// The window --root or --window-id names, or 0 after saying why there is none.
Window FindTargetWindow(Display* display, const CSaverOptions& options)
{
    if (options.m_target == DrawTarget::WINDOW_ID)
        return options.m_windowId;
    const char* saverWindow = std::getenv("XSCREENSAVER_WINDOW");
    if (saverWindow == nullptr || *saverWindow == '\0')
        return DefaultRootWindow(display);
    uint32_t id = 0;
    if (!ParseWindowId(saverWindow, id)) {
        char shown[64];
        std::fprintf(stderr, "ascenda: XSCREENSAVER_WINDOW is not a window id: \"%s\"\n",
                     ShowOnTerminal(saverWindow, shown, sizeof shown));
        return 0;
    }
    return id;
}

int RunOnDisplay(Display* display, const CSaverOptions& options, int stopFd)
{
    const bool ownWindow = options.m_target == DrawTarget::NEW_WINDOW;
    const Window window = ownWindow ? CreateOwnWindow(display) : FindTargetWindow(display, options);
    if (window == 0)
        return 1;
    XWindowAttributes attributes{};
    if (!QueryWindow(display, window, attributes)) {
        std::fprintf(stderr, "ascenda: there is no window 0x%lx on display %s\n", window, DisplayString(display));
        return 1;
    }
    if (!ownWindow)
        XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    CXlibSaver saver(display, window, attributes, ownWindow, options);
    // Someone else's window is up already and will not be exposed for us.
    if (!ownWindow)
        saver.Repaint();
    return saver.Run(stopFd);
}

} // namespace

CXlibSaver::CXlibSaver(Display* display, Window window, const XWindowAttributes& attributes, bool ownWindow,
                       const CSaverOptions& options)
    : m_display(display), m_window(window), m_ownWindow(ownWindow), m_gc(CreateSceneGc(display, window)),
      m_scene(GetViewSettings(options)),
      m_surface(display, window, m_gc, attributes.visual, attributes.colormap, GetFontAscent(display, m_gc)),
      m_periods(GetTimerPeriods(options)), m_timers(m_periods.lift, m_periods.people, GetMonotonicMs(), false),
      m_painted(false), m_width(attributes.width), m_height(attributes.height), m_exposed(XCreateRegion()),
      m_deleteWindow(XInternAtom(display, "WM_DELETE_WINDOW", False)), m_fitScale(options.m_fitScale),
      m_showFrameRate(options.m_fps), m_frameRate(GetMonotonicMs(), CFrameRate::GetProcessCpuMs()), m_frozen(false)
{
    ApplySize();
}

CXlibSaver::~CXlibSaver()
{
    XDestroyRegion(m_exposed);
    XFreeGC(m_display, m_gc);
    if (m_ownWindow)
        XDestroyWindow(m_display, m_window);
    XFlush(m_display);
}

int CXlibSaver::Run(int stopFd)
{
    const int connection = ConnectionNumber(m_display);
    for (;;) {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (!OnEvent(event))
                return 0;
        }
        RunDuePasses();
        XFlush(m_display);
        if (XEventsQueued(m_display, QueuedAlready) > 0)
            continue;
        int64_t wait = m_painted ? m_timers.GetWait(GetMonotonicMs()) : -1;
        if (wait > INT_MAX)
            wait = INT_MAX;
        pollfd watched[3] = {{connection, POLLIN, 0}, {stopFd, POLLIN, 0}, {GetFrameFreezeFd(), POLLIN, 0}};
        if (poll(watched, 3, static_cast<int>(wait)) < 0 && errno != EINTR) {
            std::perror("ascenda: poll");
            return 1;
        }
        if ((watched[1].revents & POLLIN) != 0)
            return 0;
        if ((watched[2].revents & POLLIN) != 0)
            OnFrameFreeze();
        // A broken connection is reported by the next XPending, through Xlib's I/O error handler.
    }
}

bool CXlibSaver::OnEvent(const XEvent& event)
{
    switch (event.type) {
    case Expose:
        OnExpose(event.xexpose);
        return true;
    case ConfigureNotify:
        OnConfigure(event.xconfigure);
        return true;
    case KeyPress:
        return !(m_ownWindow && CInputRule::Ends(UserInput::KEY_PRESS));
    case ButtonPress:
        return !(m_ownWindow &&
                 CInputRule::Ends(IsWheelButton(event.xbutton.button) ? UserInput::WHEEL : UserInput::BUTTON));
    case EnterNotify:
        // The pointer came to rest over the window, the window appeared under it: not the user.
        m_inputRule.OnPointerRests(event.xcrossing.x, event.xcrossing.y);
        return true;
    case LeaveNotify:
        m_inputRule.ForgetPointer();
        return true;
    case MotionNotify:
        return !(m_ownWindow && m_inputRule.OnPointerAt(event.xmotion.x, event.xmotion.y) == POINTER_MOVED);
    case ClientMessage:
        return !(m_ownWindow && static_cast<Atom>(event.xclient.data.l[0]) == m_deleteWindow);
    case DestroyNotify:
        // The window we draw on is gone (the daemon took it away): nothing left to do.
        return event.xdestroywindow.window != m_window;
    default:
        return true;
    }
}

void CXlibSaver::OnExpose(const XExposeEvent& event)
{
    XRectangle area{static_cast<short>(event.x), static_cast<short>(event.y), static_cast<unsigned short>(event.width),
                    static_cast<unsigned short>(event.height)};
    XUnionRectWithRegion(&area, m_exposed, m_exposed);
    if (event.count > 0)
        return; // more of the same exposure follows; paint once, for all of it
    Paint(m_exposed);
    XDestroyRegion(m_exposed);
    m_exposed = XCreateRegion();
}

void CXlibSaver::OnConfigure(const XConfigureEvent& event)
{
    if (event.window != m_window || (event.width == m_width && event.height == m_height))
        return;
    m_width = event.width;
    m_height = event.height;
    ApplySize();
    // A new size moves everything: the whole window is painted again, as after a resize on Windows.
    Repaint();
}

void CXlibSaver::ApplySize()
{
    FitSceneToWindow(m_scene, m_fitScale, m_width, m_height,
                     [this](const char* text, int32_t length, int32_t& width, int32_t& height) {
                         int direction = 0;
                         int ascent = 0;
                         int descent = 0;
                         XCharStruct extents{};
                         XQueryTextExtents(m_display, XGContextFromGC(m_gc), text, length, &direction, &ascent,
                                           &descent, &extents);
                         width = extents.width;
                         height = ascent + descent;
                     });
}

void CXlibSaver::OnFrameFreeze()
{
    m_frozen = TakeFrameFreezeRequests(m_frozen);
    if (m_frozen)
        WriteFrameReference(m_scene, m_width, m_height);
}

void CXlibSaver::Repaint()
{
    Paint(nullptr);
}

void CXlibSaver::Paint(Region clip)
{
    // The whole picture, cut to the exposed areas: shafts, cars, people and the legend at once,
    // not as their next ticks come by.
    if (clip != nullptr)
        XSetRegion(m_display, m_gc, clip);
    m_scene.DrawWhole(m_surface, m_width, m_height);
    if (clip != nullptr)
        XSetClipMask(m_display, m_gc, None);
    if (!m_painted) {
        m_painted = true;
        m_timers = CPassScheduler(m_periods.lift, m_periods.people, GetMonotonicMs(), false);
    }
}

void CXlibSaver::RunDuePasses()
{
    if (!m_painted || m_frozen)
        return;
    ::RunDuePasses(m_timers, m_scene, m_surface, &m_frameRate, m_showFrameRate, GetMonotonicMs());
}

int RunXlibSaver(const CSaverOptions& options)
{
    Display* display = XOpenDisplay(options.m_display);
    if (display == nullptr) {
        char shown[64];
        std::fprintf(stderr, "ascenda: cannot open display \"%s\"\n",
                     ShowOnTerminal(XDisplayName(options.m_display), shown, sizeof shown));
        return 1;
    }
    if (!InstallStopSignals()) {
        std::perror("ascenda: signals");
        XCloseDisplay(display);
        return 1;
    }
    CSaverOptions resolved = options;
    ReadBackColour("ascenda", resolved);
    const int status = RunOnDisplay(display, resolved, GetStopSignalFd());
    XCloseDisplay(display);
    EndByStopSignal();
    return status;
}
