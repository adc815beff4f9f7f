#pragma once
#include <cstdint>

// The scene's three passes, in the order they run when due at the same moment.
enum class Pass { LIFTS, PEOPLE, LEGEND };
constexpr int PASS_COUNT = 3;

// The passes to run now, in the order they fell due.
struct DuePasses {
    int count;
    Pass passes[PASS_COUNT];
};

// When the view's three passes run, on one monotonic clock in milliseconds that the front end
// reads and hands in: the lift pass every lift period, the people pass every people period, the
// legend every second. Like window timers, a pass that is late runs once and then keeps its
// period from then on, rather than catching up with a burst after the process was stopped, the
// machine slept or the page was hidden.
//
// Grouped, a pass that falls due within a quarter of its own period of another's run runs with
// it and keeps its schedule: a front end whose every drawn frame costs far more than the drawing
// (a browser's canvas, a compositor's buffer) then makes one frame for both. Each pass still
// keeps its period on average.
class CPassScheduler {
public:
    // Periods below 1 ms (a speed above 100 gives 0 or less) run as 1 ms, the fastest tick.
    CPassScheduler(int32_t liftPeriod, int32_t peoplePeriod, int64_t now, bool grouped);

    // Starts the pass's schedule again with this period, as setting a window timer again does.
    void SetPeriod(Pass pass, int32_t period, int64_t now);
    // The passes to run at `now`, each rescheduled; none when none is due.
    DuePasses TakeDue(int64_t now);
    // Milliseconds from `now` to the next due pass; 0 when one is due already.
    int64_t GetWait(int64_t now) const;

    static constexpr int32_t LEGEND_PERIOD = 1000;

private:
    int64_t m_periods[PASS_COUNT];
    int64_t m_due[PASS_COUNT];
    bool m_grouped;
};

class CScene;
class CSurface;
class CFrameRate;
// Runs one of the scene's passes on a surface, as every front end does when the pass is due.
void RunScenePass(CScene& scene, Pass pass, CSurface& surface);

// The monotonic clock every front end hands the scheduler, in milliseconds.
int64_t GetMonotonicMs();

// The --fps line's distance from the window's top left corner, in pixels.
constexpr int32_t FRAME_RATE_MARGIN = 4;
// Runs the passes due at `nowMs` on `surface`, in the order they fell due. With a `frameRate`,
// each lift pass counts towards the --fps line, and when `showFrameRate` the line is drawn after
// each legend pass.
void RunDuePasses(CPassScheduler& scheduler, CScene& scene, CSurface& surface, CFrameRate* frameRate,
                  bool showFrameRate, int64_t nowMs);
