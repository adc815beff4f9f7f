#pragma once
#include <wayland-client.h>

#include <memory>
#include <vector>

#include "CairoSurface.h"
#include "OutputWindow.h"
#include "WaylandOptions.h"
#include "input/InputRule.h"
#include "runtime/FrameRate.h"
#include "runtime/PassScheduler.h"
#include "runtime/SceneLayout.h"
#include "view/Scene.h"

struct xdg_wm_base;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;
struct ext_idle_notifier_v1;

// The saver on a Wayland compositor: a full-screen window on each output, the scene's passes run
// once for all of them, and the end on the user's first input.
//
// The building shows on the first output, or with --every-monitor on each. Every output that shows
// it has a layout fitted to its own pixels, and the passes draw on each in turn in its layout from
// the same model state, so every output shows the same simulation at its own size.
class CWaylandSaver {
public:
    // For this long after a commit, the compositor's events wait to be read together: its buffer
    // release and frame callback come a moment apart (at its next refresh), and waking for each
    // would cost more than the frame's drawing. Input waits at most this long to end the saver.
    static constexpr int EVENTS_HELD_MS = 25;

    explicit CWaylandSaver(const CWaylandOptions& options);
    ~CWaylandSaver();
    CWaylandSaver(const CWaylandSaver&) = delete;
    CWaylandSaver& operator=(const CWaylandSaver&) = delete;

    // Connects, waits for idleness when asked, covers the outputs and runs until the user's input,
    // a window's close request or until `stopFd` becomes readable. Once connected it writes a byte
    // to `readyFd` and closes it, where that is not -1. Returns the exit status: 0 for those, 1
    // when the compositor cannot be used or lacks what --idle needs (the reason on stderr).
    int Run(int stopFd, int readyFd);

private:
    bool Connect();
    bool WaitForIdle(int stopFd);
    // Reads and handles the compositor's events, waiting at most `timeoutMs` (-1: no limit).
    // False when the connection failed or `stopFd` became readable. `held`: events that come
    // meanwhile are read together when the time is up.
    bool Dispatch(int stopFd, int timeoutMs, bool held = false);
    void AddOutput(uint32_t name, uint32_t version);
    void RemoveGlobal(uint32_t name);
    WindowGlobals GetWindowGlobals() const;
    void UpdateLayout();
    void ChooseBuildingOutput();
    // Fits the scene to the window's own pixels: the scene's process-wide scale and screen factor.
    void LayOut(COutputWindow& window);
    void PaintWindow(COutputWindow& window);
    bool ShowsBuilding(const COutputWindow& window) const;
    void RunDuePasses(int64_t nowMs);
    // The frame check's reference picture of the building's output (a test build).
    bool WriteBuildingReference();
    void SetSeatCapabilities(uint32_t capabilities);
    void ReleaseSeat();
    void End() { m_ended = true; }

    static void OnGlobal(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version);
    static void OnGlobalRemove(void* data, wl_registry*, uint32_t name);
    static void OnPing(void*, xdg_wm_base* shell, uint32_t serial);
    static void OnSeatCapabilities(void* data, wl_seat*, uint32_t capabilities);
    static void OnSeatName(void*, wl_seat*, const char*) {}
    static void OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t x,
                               wl_fixed_t y);
    static void OnPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*);
    static void OnPointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y);
    static void OnPointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state);
    static void OnPointerAxis(void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t);
    static void OnKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t);
    static void OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state);
    static void OnTouchDown(void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t, wl_fixed_t);
    static void OnIdled(void* data, struct ext_idle_notification_v1*);

    CWaylandOptions m_options;
    wl_display* m_display;
    wl_registry* m_registry;
    wl_compositor* m_compositor;
    wl_shm* m_shm;
    xdg_wm_base* m_shell;
    wp_viewporter* m_viewporter;
    wp_fractional_scale_manager_v1* m_fractionalScale;
    ext_idle_notifier_v1* m_idleNotifier;
    wl_seat* m_seat;
    uint32_t m_seatName;
    wl_pointer* m_pointer;
    wl_keyboard* m_keyboard;
    wl_touch* m_touch;
    std::vector<std::unique_ptr<COutputWindow>> m_windows; // in the order the outputs came
    bool m_covering;                                       // windows are made for the outputs as they come
    bool m_idle;
    bool m_ended;
    bool m_failed;

    CScene m_scene;
    int32_t m_liftPeriod;
    int32_t m_peoplePeriod;
    CPassScheduler m_timers;
    bool m_painted;                      // the passes wait for the first paint of the building, which sets the origins
    int64_t m_committedMs;               // the last commit, on the monotonic clock
    uint32_t m_buildingOutput;           // the registry name of the output that shows the building; 0: none yet
    std::vector<LayoutTarget> m_targets; // the windows the passes draw on now, kept to spare allocations
    CInputRule m_inputRule;
    CFrameRate m_frameRate;
    bool m_frozen;           // the passes wait: the frame check compares the picture (a test build)
    bool m_referenceWritten; // of this freeze
};

// Makes sure no other saver runs on the display, goes to the background when asked, installs the
// stop signals and runs the saver. Returns the process's exit status.
int RunWaylandSaver(const CWaylandOptions& options);
