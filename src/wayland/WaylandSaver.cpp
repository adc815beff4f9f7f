#include "WaylandSaver.h"

#include "SaverLock.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ext-idle-notify-v1-client.h"
#include "fractional-scale-v1-client.h"
#include "options/CommandLine.h"
#include "runtime/FrameFreeze.h"
#include "runtime/SceneFit.h"
#include "runtime/SceneLayout.h"
#include "runtime/StopSignals.h"
#include "viewporter-client.h"
#include "xdg-shell-client.h"

namespace {

// The legend's text height in logical pixels, about that of the X11 saver's fixed font.
constexpr double FONT_SIZE = 12.0;
// The versions this program knows; a compositor may offer newer ones.
constexpr uint32_t COMPOSITOR_VERSION = 4;
constexpr uint32_t OUTPUT_VERSION = 4;
constexpr uint32_t SEAT_VERSION = 5;

// Destroying a seat's object only forgets it on this side; the compositor keeps it, and its
// events, until it is released (where the compositor's version knows the request).
template <class Object>
void ReleaseSeatObject(Object*& object, uint32_t releaseSince, void (*release)(Object*), void (*destroy)(Object*))
{
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(object)) >= releaseSince)
        release(object);
    else
        destroy(object);
    object = nullptr;
}

} // namespace

CWaylandSaver::CWaylandSaver(const CWaylandOptions& options)
    : m_options(options), m_display(nullptr), m_registry(nullptr), m_compositor(nullptr), m_shm(nullptr),
      m_shell(nullptr), m_viewporter(nullptr), m_fractionalScale(nullptr), m_idleNotifier(nullptr), m_seat(nullptr),
      m_seatName(0), m_pointer(nullptr), m_keyboard(nullptr), m_touch(nullptr), m_covering(false), m_idle(false),
      m_ended(false), m_failed(false), m_scene(GetViewSettings(options)), m_liftPeriod(options.GetLiftInterval()),
      m_peoplePeriod(options.m_passInterval), m_timers(m_liftPeriod, m_peoplePeriod, GetMonotonicMs(), true),
      m_painted(false), m_committedMs(INT64_MIN / 2), m_buildingOutput(0),
      m_frameRate(GetMonotonicMs(), CFrameRate::GetProcessCpuMs()), m_frozen(false), m_referenceWritten(false)
{
}

CWaylandSaver::~CWaylandSaver()
{
    m_windows.clear();
    if (m_seat != nullptr)
        ReleaseSeat();
    if (m_idleNotifier != nullptr)
        ext_idle_notifier_v1_destroy(m_idleNotifier);
    if (m_fractionalScale != nullptr)
        wp_fractional_scale_manager_v1_destroy(m_fractionalScale);
    if (m_viewporter != nullptr)
        wp_viewporter_destroy(m_viewporter);
    if (m_shell != nullptr)
        xdg_wm_base_destroy(m_shell);
    if (m_shm != nullptr)
        wl_shm_destroy(m_shm);
    if (m_compositor != nullptr)
        wl_compositor_destroy(m_compositor);
    if (m_registry != nullptr)
        wl_registry_destroy(m_registry);
    if (m_display != nullptr) {
        wl_display_flush(m_display);
        wl_display_disconnect(m_display);
    }
}

// --- connecting ---

bool CWaylandSaver::Connect()
{
    m_display = wl_display_connect(nullptr);
    if (m_display == nullptr) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        char shown[64];
        std::fprintf(stderr, "ascenda-wayland: cannot connect to the Wayland compositor \"%s\"\n",
                     ShowOnTerminal(name != nullptr ? name : "wayland-0", shown, sizeof shown));
        return false;
    }
    m_registry = wl_display_get_registry(m_display);
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    wl_registry_add_listener(m_registry, &listener, this);
    // The first round trip brings the globals, the second the outputs' modes and scales.
    if (wl_display_roundtrip(m_display) < 0 || wl_display_roundtrip(m_display) < 0) {
        std::fprintf(stderr, "ascenda-wayland: the compositor closed the connection\n");
        return false;
    }
    if (m_compositor == nullptr || m_shm == nullptr || m_shell == nullptr) {
        std::fprintf(stderr, "ascenda-wayland: the compositor offers no %s\n",
                     m_shell == nullptr ? "xdg-shell windows" : "shared-memory buffers");
        return false;
    }
    return true;
}

void CWaylandSaver::OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    auto* saver = static_cast<CWaylandSaver*>(data);
    auto bind = [&](const wl_interface* type, uint32_t known) {
        return wl_registry_bind(registry, name, type, std::min(version, known));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        saver->m_compositor = static_cast<wl_compositor*>(bind(&wl_compositor_interface, COMPOSITOR_VERSION));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        saver->m_shm = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        saver->m_shell = static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface, 1));
        static const xdg_wm_base_listener shellListener = {OnPing};
        xdg_wm_base_add_listener(saver->m_shell, &shellListener, saver);
    } else if (std::strcmp(interface, wp_viewporter_interface.name) == 0) {
        saver->m_viewporter = static_cast<wp_viewporter*>(bind(&wp_viewporter_interface, 1));
    } else if (std::strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0) {
        saver->m_fractionalScale =
            static_cast<wp_fractional_scale_manager_v1*>(bind(&wp_fractional_scale_manager_v1_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
        saver->m_idleNotifier = static_cast<ext_idle_notifier_v1*>(bind(&ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && saver->m_seat == nullptr) {
        // One seat: the one whose user the saver is for.
        saver->m_seat = static_cast<wl_seat*>(bind(&wl_seat_interface, SEAT_VERSION));
        saver->m_seatName = name;
        static const wl_seat_listener seatListener = {OnSeatCapabilities, OnSeatName};
        wl_seat_add_listener(saver->m_seat, &seatListener, saver);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        saver->AddOutput(name, version);
    }
}

void CWaylandSaver::OnGlobalRemove(void* data, wl_registry*, uint32_t name)
{
    static_cast<CWaylandSaver*>(data)->RemoveGlobal(name);
}

void CWaylandSaver::OnPing(void*, xdg_wm_base* shell, uint32_t serial)
{
    xdg_wm_base_pong(shell, serial);
}

void CWaylandSaver::AddOutput(uint32_t name, uint32_t version)
{
    auto* output = static_cast<wl_output*>(
        wl_registry_bind(m_registry, name, &wl_output_interface, std::min(version, OUTPUT_VERSION)));
    m_windows.push_back(std::make_unique<COutputWindow>(name, output));
    if (m_covering)
        m_windows.back()->CreateWindow(GetWindowGlobals());
}

void CWaylandSaver::RemoveGlobal(uint32_t name)
{
    if (name == m_seatName && m_seat != nullptr) {
        ReleaseSeat();
        return;
    }
    // The output's window goes with it; the next layout finds the building's output again.
    const size_t count = m_windows.size();
    m_windows.erase(
        std::remove_if(m_windows.begin(), m_windows.end(),
                       [name](const std::unique_ptr<COutputWindow>& window) { return window->GetName() == name; }),
        m_windows.end());
    if (m_windows.size() == count)
        return;
    // The compositor moves the gone output's workspaces to those left and may show one of them
    // in front of our window there (sway shows the one that had the focus): asked again, each
    // window is put back in front on its own output.
    for (auto& window : m_windows)
        window->AskForFullScreen();
}

WindowGlobals CWaylandSaver::GetWindowGlobals() const
{
    return {m_compositor, m_shm, m_shell, m_viewporter, m_fractionalScale};
}

// --- input: a key press, a button, the wheel, a touch or a move beyond the slack ends the saver ---

void CWaylandSaver::SetSeatCapabilities(uint32_t capabilities)
{
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool touch = (capabilities & WL_SEAT_CAPABILITY_TOUCH) != 0;
    if (pointer && m_pointer == nullptr) {
        // Every event needs a handler, those that change nothing too.
        static const wl_pointer_listener listener = {
            OnPointerEnter,
            OnPointerLeave,
            OnPointerMotion,
            OnPointerButton,
            OnPointerAxis,
            [](void*, wl_pointer*) {},
            [](void*, wl_pointer*, uint32_t) {},
            [](void*, wl_pointer*, uint32_t, uint32_t) {},
            [](void*, wl_pointer*, uint32_t, int32_t) {},
            [](void*, wl_pointer*, uint32_t, int32_t) {},
        };
        m_pointer = wl_seat_get_pointer(m_seat);
        wl_pointer_add_listener(m_pointer, &listener, this);
    } else if (!pointer && m_pointer != nullptr) {
        ReleaseSeatObject(m_pointer, WL_POINTER_RELEASE_SINCE_VERSION, wl_pointer_release, wl_pointer_destroy);
    }
    if (keyboard && m_keyboard == nullptr) {
        static const wl_keyboard_listener listener = {
            OnKeymap,
            [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
            [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
            OnKey,
            [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
            [](void*, wl_keyboard*, int32_t, int32_t) {},
        };
        m_keyboard = wl_seat_get_keyboard(m_seat);
        wl_keyboard_add_listener(m_keyboard, &listener, this);
    } else if (!keyboard && m_keyboard != nullptr) {
        ReleaseSeatObject(m_keyboard, WL_KEYBOARD_RELEASE_SINCE_VERSION, wl_keyboard_release, wl_keyboard_destroy);
    }
    if (touch && m_touch == nullptr) {
        static const wl_touch_listener listener = {
            OnTouchDown,
            [](void*, wl_touch*, uint32_t, uint32_t, int32_t) {},
            [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {},
            [](void*, wl_touch*) {},
            [](void*, wl_touch*) {},
            [](void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {},
            [](void*, wl_touch*, int32_t, wl_fixed_t) {},
        };
        m_touch = wl_seat_get_touch(m_seat);
        wl_touch_add_listener(m_touch, &listener, this);
    } else if (!touch && m_touch != nullptr) {
        ReleaseSeatObject(m_touch, WL_TOUCH_RELEASE_SINCE_VERSION, wl_touch_release, wl_touch_destroy);
    }
}

void CWaylandSaver::ReleaseSeat()
{
    SetSeatCapabilities(0);
    ReleaseSeatObject(m_seat, WL_SEAT_RELEASE_SINCE_VERSION, wl_seat_release, wl_seat_destroy);
    m_seatName = 0;
}

void CWaylandSaver::OnSeatCapabilities(void* data, wl_seat*, uint32_t capabilities)
{
    static_cast<CWaylandSaver*>(data)->SetSeatCapabilities(capabilities);
}

void CWaylandSaver::OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t x,
                                   wl_fixed_t y)
{
    // No pointer image over the saver.
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    static_cast<CWaylandSaver*>(data)->m_inputRule.OnPointerRests(wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void CWaylandSaver::OnPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*)
{
    static_cast<CWaylandSaver*>(data)->m_inputRule.ForgetPointer();
}

void CWaylandSaver::OnPointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    auto* saver = static_cast<CWaylandSaver*>(data);
    if (saver->m_inputRule.OnPointerAt(wl_fixed_to_double(x), wl_fixed_to_double(y)) == POINTER_MOVED)
        saver->End();
}

void CWaylandSaver::OnPointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_POINTER_BUTTON_STATE_PRESSED && CInputRule::Ends(UserInput::BUTTON))
        static_cast<CWaylandSaver*>(data)->End();
}

void CWaylandSaver::OnPointerAxis(void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t)
{
    if (CInputRule::Ends(UserInput::WHEEL))
        static_cast<CWaylandSaver*>(data)->End();
}

void CWaylandSaver::OnKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t)
{
    close(fd); // keys end the saver whatever they mean
}

void CWaylandSaver::OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    // A key already down when the window got the focus (the one that started the saver from a
    // terminal) comes as the focus's key list, not as a press: it does not end it.
    const UserInput input = state == WL_KEYBOARD_KEY_STATE_PRESSED ? UserInput::KEY_PRESS : UserInput::KEY_RELEASE;
    if (CInputRule::Ends(input))
        static_cast<CWaylandSaver*>(data)->End();
}

void CWaylandSaver::OnTouchDown(void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t, wl_fixed_t)
{
    if (CInputRule::Ends(UserInput::TOUCH))
        static_cast<CWaylandSaver*>(data)->End();
}

// --- waiting for idleness ---

void CWaylandSaver::OnIdled(void* data, ext_idle_notification_v1*)
{
    static_cast<CWaylandSaver*>(data)->m_idle = true;
}

bool CWaylandSaver::WaitForIdle(int stopFd)
{
    if (m_idleNotifier == nullptr || m_seat == nullptr) {
        std::fprintf(stderr, "ascenda-wayland: --idle needs idle notifications (ext-idle-notify-v1), which this "
                             "compositor does not offer; start it from an idle daemon instead\n");
        m_failed = true;
        return false;
    }
    ext_idle_notification_v1* notification = ext_idle_notifier_v1_get_idle_notification(
        m_idleNotifier, static_cast<uint32_t>(m_options.m_idleSeconds) * 1000, m_seat);
    static const ext_idle_notification_v1_listener listener = {OnIdled, [](void*, ext_idle_notification_v1*) {}};
    ext_idle_notification_v1_add_listener(notification, &listener, this);
    while (!m_idle) {
        if (!Dispatch(stopFd, -1))
            break;
    }
    ext_idle_notification_v1_destroy(notification);
    return m_idle;
}

// --- the loop ---

bool CWaylandSaver::Dispatch(int stopFd, int timeoutMs, bool held)
{
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0)
            return false;
    }
    // A full socket keeps the rest of the requests here: the poll then waits for room to write
    // them as well, and they go as soon as there is.
    const bool full = wl_display_flush(m_display) < 0;
    if (full && errno != EAGAIN) {
        wl_display_cancel_read(m_display);
        m_failed = true;
        return false;
    }
    held = held && !full;
    const short events = static_cast<short>(full ? POLLIN | POLLOUT : POLLIN);
    pollfd watched[3] = {
        {stopFd, POLLIN, 0}, {GetFrameFreezeFd(), POLLIN, 0}, {wl_display_get_fd(m_display), events, 0}};
    if (poll(watched, held ? 2 : 3, timeoutMs) < 0 && errno != EINTR) {
        wl_display_cancel_read(m_display);
        m_failed = true;
        return false;
    }
    pollfd& display = watched[2];
    if (held && poll(&display, 1, 0) < 0 && errno != EINTR) {
        wl_display_cancel_read(m_display);
        m_failed = true;
        return false;
    }
    if ((display.revents & POLLIN) != 0) {
        if (wl_display_read_events(m_display) < 0) {
            m_failed = true;
            return false;
        }
    } else {
        wl_display_cancel_read(m_display);
    }
    if ((watched[1].revents & POLLIN) != 0) {
        m_frozen = TakeFrameFreezeRequests(m_frozen);
        m_referenceWritten = false;
    }
    if (wl_display_dispatch_pending(m_display) < 0 || (display.revents & (POLLERR | POLLHUP)) != 0 ||
        ((display.revents & POLLOUT) != 0 && wl_display_flush(m_display) < 0 && errno != EAGAIN)) {
        m_failed = true;
        return false;
    }
    return (watched[0].revents & POLLIN) == 0;
}

int CWaylandSaver::Run(int stopFd, int readyFd)
{
    if (!Connect())
        return 1;
    if (readyFd >= 0) {
        const char byte = 1;
        const ssize_t written = write(readyFd, &byte, 1);
        (void)written; // a caller that has gone needs no answer
        close(readyFd);
    }
    if (m_options.m_idleSeconds > 0 && !WaitForIdle(stopFd))
        return m_failed ? 1 : 0;
    m_covering = true;
    for (auto& window : m_windows)
        window->CreateWindow(GetWindowGlobals());
    while (!m_ended) {
        const int64_t now = GetMonotonicMs();
        UpdateLayout();
        for (auto& window : m_windows) {
            if (window->NeedsPaint())
                PaintWindow(*window);
        }
        RunDuePasses(now);
        for (auto& window : m_windows) {
            if (window->Present(now))
                m_committedMs = now;
        }
        if (m_frozen && !m_referenceWritten)
            m_referenceWritten = WriteBuildingReference();
        int64_t wait = m_painted ? m_timers.GetWait(GetMonotonicMs()) : -1;
        if (wait > INT_MAX)
            wait = INT_MAX;
        const int64_t held = m_committedMs + EVENTS_HELD_MS - GetMonotonicMs();
        if (held > 0 && (wait < 0 || wait > held))
            wait = held;
        if (!Dispatch(stopFd, static_cast<int>(wait), held > 0))
            break;
        for (auto& window : m_windows) {
            if (window->IsCloseRequested())
                End();
        }
    }
    if (m_failed)
        std::fprintf(stderr, "ascenda-wayland: the connection to the compositor failed\n");
    return m_failed ? 1 : 0;
}

// --- layout and painting ---

void CWaylandSaver::UpdateLayout()
{
    ChooseBuildingOutput();
    // Each output that shows the building has a layout of its own, fitted to its own pixels, so
    // its legend is as large as on any other; a new size or scale lays it out again.
    for (auto& window : m_windows) {
        if (window->IsReady() && ShowsBuilding(*window) && !window->IsLaidOut())
            PaintWindow(*window);
    }
}

void CWaylandSaver::ChooseBuildingOutput()
{
    // The building stays on the output it was laid out on for as long as that output is there,
    // whatever comes and goes beside it; when it goes, the first output left takes it for good.
    for (auto& window : m_windows) {
        if (window->GetName() == m_buildingOutput)
            return;
    }
    m_buildingOutput = 0;
    for (auto& window : m_windows) {
        if (window->IsReady()) {
            m_buildingOutput = window->GetName();
            PaintWindow(*window);
            return;
        }
    }
}

bool CWaylandSaver::ShowsBuilding(const COutputWindow& window) const
{
    return m_buildingOutput != 0 && (m_options.m_everyMonitor || window.GetName() == m_buildingOutput);
}

void CWaylandSaver::LayOut(COutputWindow& window)
{
    CCairoSurface& drawing = window.GetDrawing();
    drawing.SetFontSize(FONT_SIZE * window.GetPixelRatio());
    FitSceneToWindow(m_scene, m_options.m_fitScale, window.GetWidth(), window.GetHeight(),
                     [&drawing](const char* text, int32_t, int32_t& width, int32_t& height) {
                         drawing.MeasureText(text, width, height);
                     });
}

bool CWaylandSaver::WriteBuildingReference()
{
    // The frame check compares the output that shows the building (with --every-monitor, the
    // first of them) with a whole drawing in its layout.
    for (auto& window : m_windows) {
        if (window->GetName() == m_buildingOutput && window->IsLaidOut()) {
            ApplySceneLayout(window->GetLayout());
            return WriteFrameReference(m_scene, window->GetWidth(), window->GetHeight());
        }
    }
    return false;
}

void CWaylandSaver::PaintWindow(COutputWindow& window)
{
    CCairoSurface& drawing = window.GetDrawing();
    drawing.Clear(m_scene.GetFillColour());
    window.SetPainted();
    if (!ShowsBuilding(window))
        return;
    LayOut(window);
    m_scene.DrawWhole(drawing, window.GetWidth(), window.GetHeight());
    window.SetLayout(GetSceneLayout());
    if (!m_painted) {
        m_painted = true;
        m_timers = CPassScheduler(m_liftPeriod, m_peoplePeriod, GetMonotonicMs(), true);
    }
}

void CWaylandSaver::RunDuePasses(int64_t nowMs)
{
    if (!m_painted || m_frozen)
        return;
    m_targets.clear();
    for (auto& window : m_windows) {
        if (ShowsBuilding(*window) && window->IsLaidOut() && window->TakeShown(nowMs))
            m_targets.push_back({window->GetLayout(), &window->GetDrawing()});
    }
    // With no output to show it, the model goes on all the same.
    RunDuePassesOnEach(m_timers, m_scene, m_targets.data(), static_cast<int>(m_targets.size()), &m_frameRate,
                       m_options.m_fps, nowMs);
}

int RunWaylandSaver(const CWaylandOptions& options)
{
    CSaverLock lock;
    if (!lock.Open())
        return 1;
    if (!lock.TryTake()) {
        // An idle daemon starts the saver again each time the seat idles; one is enough.
        std::fprintf(stderr, "ascenda-wayland: a saver runs already on this display (process %ld)\n",
                     static_cast<long>(lock.GetHolder()));
        return 0;
    }
    int readyFd = -1;
    if (options.m_background) {
        const int status = StartInBackground(lock, readyFd);
        if (status >= 0)
            return status;
    } else {
        lock.SetHolder(getpid());
    }
    if (!InstallStopSignals()) {
        std::perror("ascenda-wayland: signals");
        return 1;
    }
    int status = 0;
    {
        CWaylandSaver saver(options);
        status = saver.Run(GetStopSignalFd(), readyFd);
    }
    CCairoSurface::ReleaseFontCaches();
    lock.Close();
    EndByStopSignal();
    return status;
}
