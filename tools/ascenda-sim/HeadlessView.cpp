#include "HeadlessView.h"

namespace {
// The view's settings as the runner's options give them; the display settings keep their defaults.
ViewSettings SettingsFromOptions(const CRunOptions& options)
{
    // The scene's counters start from zero for every run, as in a new process.
    RestartScene();
    ViewSettings settings{};
    settings.people = options.m_people;
    settings.driver = options.m_driver;
    settings.capacity = options.m_capacity;
    settings.colours = Setting::Colours.defaultValue;
    settings.legend = Setting::Legend.defaultValue;
    settings.floors = options.m_floors;
    settings.liftPause = options.m_liftPause;
    settings.passPause = options.m_passPause;
    settings.passInterval = options.m_passInterval;
    settings.temper = options.m_temper;
    settings.backColour = MakeColour(static_cast<uint32_t>(Setting::ColorRed.defaultValue),
                                     static_cast<uint32_t>(Setting::ColorGreen.defaultValue),
                                     static_cast<uint32_t>(Setting::ColorBlue.defaultValue));
    settings.scale = Setting::Scale.defaultValue;
    settings.cars = options.m_cars;
    settings.updateSpeed = options.m_speed;
    return settings;
}
} // namespace

CHeadlessView::CHeadlessView(const CRunOptions& options, PassMode passes)
    : m_scene(SettingsFromOptions(options)), m_stepper(m_scene), m_passes(passes)
{
}

void CHeadlessView::RunLiftPass()
{
    if (m_passes == PassMode::ModelOnly)
        m_stepper.RunLiftPass();
    else
        m_scene.RunLiftPass(m_surface);
}

void CHeadlessView::RunPeoplePass()
{
    if (m_passes == PassMode::ModelOnly)
        m_stepper.RunPeoplePass();
    else
        m_scene.RunPeoplePass(m_surface);
}

int32_t CHeadlessView::FormatLegend(char* buffer, size_t bufferSize) const
{
    return m_scene.FormatLegend(buffer, static_cast<int32_t>(bufferSize));
}
