#include "HeadlessView.h"

namespace {
ViewSettings SettingsFromOptions(const CRunOptions& options)
{
    // The scene's counters start from zero for every run, as in a new process.
    RestartScene();
    return MakeViewSettings(options);
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
