#include "PropertiesDlg.h"

#include "MessageDlg.h"
#include "settings/ConfigureRules.h"
#include "settings/SettingsTable.h"

namespace {
struct ToolText {
    int controlId;
    const char* text;
};

const ToolText g_toolTexts[] = {
    {IDC_USE_COLOURS, "Use colour options in screen saver"},
    {IDC_SHOW_LEGEND, "Display legend and counters"},
    {IDC_SPEED_SLIDER, "Refresh rate"},
    {IDC_BASE_SCALE, "Scale used for Default button on main dialog"},
    {IDC_FLOORS, "Number of floors in the building"},
    {IDC_LIFT_PAUSE, "Waiting time when stopping at floors"},
    {IDC_PERSON_PAUSE, "Time before wanting to move"},
    {IDC_PERSON_INTERVAL, "Time between person redraws"},
    {IDC_IMPATIENCE, "Rate at which person gets upset"},
    {IDC_USE_DEFAULTS, "Reset to default values"},
    {IDC_ALL_MONITORS, "Show the building on every monitor, not only the main one"},
};
} // namespace

CPropertiesDlg::CPropertiesDlg()
    : CDialog(IDD_PROPERTIES), m_useColours(0), m_showLegend(0), m_updateSpeed(24), m_baseScale(0), m_floors(0),
      m_liftPause(0), m_personPause(0), m_personInterval(0), m_impatience(0), m_allMonitors(0)
{
}

void CPropertiesDlg::DoDataExchange(CDataExchange& exchange)
{
    DDX_Control(exchange, IDC_USE_COLOURS, m_colourCheck);
    DDX_Control(exchange, IDC_SHOW_LEGEND, m_legendCheck);
    DDX_Control(exchange, IDC_ALL_MONITORS, m_monitorsCheck);
    DDX_Text(exchange, IDC_BASE_SCALE, m_baseScale);
    DDX_Text(exchange, IDC_FLOORS, m_floors);
    DDX_Text(exchange, IDC_LIFT_PAUSE, m_liftPause);
    DDX_Text(exchange, IDC_PERSON_PAUSE, m_personPause);
    DDX_Text(exchange, IDC_PERSON_INTERVAL, m_personInterval);
    DDX_Text(exchange, IDC_IMPATIENCE, m_impatience);
}

BOOL CPropertiesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_colourCheck.SetCheck(m_useColours);
    m_legendCheck.SetCheck(m_showLegend);
    m_monitorsCheck.SetCheck(m_allMonitors);

    m_speedSlider.Attach(GetDlgItemHandle(IDC_SPEED_SLIDER));
    m_speedSlider.SetRange(Setting::UpdSpd.minimum, Setting::UpdSpd.maximum);
    m_speedSlider.SetPos(m_updateSpeed);

    CenterWindow();

    m_toolTip.Create(this);
    m_toolTip.Activate(true);
    for (const ToolText& tool : g_toolTexts)
        m_toolTip.AddTool(GetDlgItemHandle(tool.controlId), tool.text);
    return TRUE;
}

bool CPropertiesDlg::PreTranslateMessage(MSG* message)
{
    m_toolTip.RelayEvent(message);
    return CDialog::PreTranslateMessage(message);
}

void CPropertiesDlg::OnOptionClicked()
{
    m_useColours = m_colourCheck.GetCheck();
    m_showLegend = m_legendCheck.GetCheck();
    m_allMonitors = m_monitorsCheck.GetCheck();
}

void CPropertiesDlg::OnSpeedMoved(UINT, UINT, HWND)
{
    m_updateSpeed = m_speedSlider.GetPos();
}

void CPropertiesDlg::OnUseDefaults()
{
    const InternalSettings defaults = DefaultInternalSettings();
    m_baseScale = defaults.baseScale;
    m_floors = defaults.floors;
    m_liftPause = defaults.liftPause;
    m_personPause = defaults.personPause;
    m_personInterval = defaults.personInterval;
    m_impatience = defaults.impatience;
    UpdateData(false);
}

void CPropertiesDlg::OnOK()
{
    CMessageDlg warning;
    // An entry that isn't a whole number has had its own prompt; the user corrects it first, so
    // a typo is never stored or taken for a valid value.
    if (!UpdateData(true))
        return;
    const InternalSettings settings = {m_baseScale,   m_floors,         m_liftPause,
                                       m_personPause, m_personInterval, m_impatience};
    if (const char* message = FindInternalSettingsWarning(settings))
        warning.m_body = message;
    if (!warning.m_body.empty()) {
        warning.DoModal();
        return;
    }
    EndDialog(IDOK);
}
