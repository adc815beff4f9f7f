#include "WebSaver.h"

#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdio>

namespace {
constexpr int32_t LEGEND_PERIOD = 1000;
// The legend's line height against the screen factor: 13 pixels at 1024 x 768, and in proportion
// to the building on any other screen, so the line always fits beside it.
constexpr int32_t FONT_PER_FACTOR_NUMERATOR = 4, FONT_PER_FACTOR_DENOMINATOR = 5;

EM_BOOL OnWindowResize(int, const EmscriptenUiEvent*, void* saver)
{
    static_cast<CWebSaver*>(saver)->OnSize();
    return EM_FALSE;
}
} // namespace

CWebSaver::CWebSaver(const char* selector, const CDisplayOptions& options)
    : m_selector{}, m_options(options), m_scene(GetViewSettings(options)), m_surface(), m_clocks{}, m_browserTimer(0),
      m_width(0), m_height(0)
{
    std::snprintf(m_selector, sizeof m_selector, "%s", selector);
    SetTimer(TIMER_LIFTS, m_options.GetLiftInterval());
    SetTimer(TIMER_PEOPLE, m_options.m_passInterval);
    SetTimer(TIMER_LEGEND, LEGEND_PERIOD);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnWindowResize);
    OnSize();
}

void CWebSaver::OnSize()
{
    double cssWidth = 0;
    double cssHeight = 0;
    emscripten_get_element_css_size(m_selector, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int32_t width = static_cast<int32_t>(std::lround(cssWidth * ratio));
    const int32_t height = static_cast<int32_t>(std::lround(cssHeight * ratio));
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    CScene::SetScreenFactorFromSize(width, height);
    CCanvasSurface::SetSize(width, height, g_screenFactor * FONT_PER_FACTOR_NUMERATOR / FONT_PER_FACTOR_DENOMINATOR);
    Repaint();
}

bool CWebSaver::Set(const char* name, const char* value)
{
    const PageSetting* setting = SetPageOption(m_options, name, value);
    if (setting == nullptr)
        return false;
    Apply(setting->setter);
    Repaint();
    return true;
}

void CWebSaver::Apply(PageSetter setter)
{
    const CDisplayOptions& options = m_options;
    switch (setter) {
    case PageSetter::PEOPLE:
        m_scene.SetPeople(options.m_people);
        break;
    case PageSetter::CARS:
        m_scene.SetCars(options.m_cars);
        break;
    case PageSetter::CAPACITY:
        m_scene.SetCapacity(options.m_capacity);
        break;
    case PageSetter::DRIVER:
        m_scene.SetDriver(options.m_driver, 0);
        break;
    case PageSetter::SCALE:
        m_scene.SetScale(options.m_scale);
        break;
    case PageSetter::BACK_COLOUR:
        m_scene.SetBackColour(options.m_backColour);
        break;
    case PageSetter::COLOURS:
        m_scene.SetColours(options.m_colours);
        break;
    case PageSetter::LEGEND:
        m_scene.SetLegend(options.m_legend);
        break;
    case PageSetter::SPEED:
        SetTimer(TIMER_LIFTS, options.GetLiftInterval());
        break;
    case PageSetter::CUSTOM:
        m_scene.SetCustom(options.m_floors, options.m_liftPause, options.m_passPause, options.m_passInterval,
                          options.m_temper);
        // The page has no window to create again: a new people tick takes effect at once.
        SetTimer(TIMER_PEOPLE, options.m_passInterval);
        break;
    }
}

void CWebSaver::SetTimer(Timer timer, int32_t period)
{
    // The speed's own limits keep the period at 1 ms or more.
    m_clocks[timer] = {static_cast<double>(period), emscripten_get_now() + period};
    RunDuePasses();
}

void CWebSaver::Repaint()
{
    m_scene.Paint(m_surface, m_width, m_height);
}

void CWebSaver::RunDuePasses()
{
    const double now = emscripten_get_now();
    bool anyDue = false;
    for (const PassClock& clock : m_clocks)
        anyDue = anyDue || (clock.period > 0 && clock.due <= now);
    bool ran[TIMER_COUNT] = {};
    while (anyDue) {
        int next = -1;
        for (int timer = 0; timer < TIMER_COUNT; ++timer) {
            const PassClock& clock = m_clocks[timer];
            if (!ran[timer] && clock.period > 0 && clock.due <= now + clock.period / 4 &&
                (next < 0 || clock.due < m_clocks[next].due))
                next = timer;
        }
        if (next < 0)
            break;
        ran[next] = true;
        RunPass(static_cast<Timer>(next));
        PassClock& clock = m_clocks[next];
        clock.due += clock.period;
        if (clock.due <= now) // fallen behind, as a hidden page does: late, not in a burst
            clock.due = now + clock.period;
    }
    double nextDue = m_clocks[TIMER_LIFTS].due;
    for (const PassClock& clock : m_clocks)
        nextDue = clock.period > 0 && clock.due < nextDue ? clock.due : nextDue;
    if (m_browserTimer != 0)
        emscripten_clear_timeout(m_browserTimer);
    m_browserTimer = emscripten_set_timeout(OnTimer, nextDue - now, this);
}

void CWebSaver::RunPass(Timer timer)
{
    switch (timer) {
    case TIMER_LIFTS:
        m_scene.RunLiftPass(m_surface);
        break;
    case TIMER_PEOPLE:
        m_scene.RunPeoplePass(m_surface);
        break;
    case TIMER_LEGEND:
        m_scene.RunLegendPass(m_surface);
        break;
    case TIMER_COUNT:
        break;
    }
}

void CWebSaver::OnTimer(void* saver)
{
    CWebSaver& self = *static_cast<CWebSaver*>(saver);
    self.m_browserTimer = 0;
    self.RunDuePasses();
}
