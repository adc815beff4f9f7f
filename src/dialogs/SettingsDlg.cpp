#include "SettingsDlg.h"

#include <commdlg.h>

#include "AboutDlg.h"
#include "PropertiesDlg.h"
#include "settings/Install.h"
#include "settings/ViewSettings.h"
#include "win/WinApp.h"

namespace {
struct ToolText {
    int controlId;
    const char* text;
};

const ToolText g_toolTexts[] = {
    {IDC_PEOPLE_SLIDER, "Total number of people in system"},
    {IDC_DRIVER_LIST, "Intelligence of lift control computer"},
    {IDC_LIFTS_SLIDER, "Defines number of lifts"},
    {IDC_CAPACITY_SLIDER, "Number of people who fit in a lift"},
    {IDC_SCALE_SLIDER, "Overall screen drawing scale"},
    {IDC_BACK_COLOUR, "Set background color"},
    {IDC_PREVIEW_PLACE, "Preview of screen saver"},
    {IDC_DEFAULT_VIEW, "Return scale to default"},
    {IDC_RESET_ALL, "Removes all stored settings and exits program"},
    {IDC_PROPERTIES, "Accesses further customisation options"},
    {IDC_APPLY_AND_TEST, "Save settings and run in full screen mode"},
};

// The Properties dialog's values, stored and loaded in this order.
void LoadProperties(CSettingsStore& store, CPropertiesDlg& properties)
{
    properties.m_useColours = store.Read(Setting::Colours);
    properties.m_showLegend = store.Read(Setting::Legend);
    properties.m_updateSpeed = store.Read(Setting::UpdSpd);
    properties.m_baseScale = store.Read(Setting::BaseScale);
    properties.m_floors = store.Read(Setting::NoFloors);
    properties.m_liftPause = store.Read(Setting::LiftPause);
    properties.m_personPause = store.Read(Setting::PassPause);
    properties.m_personInterval = store.Read(Setting::PassIntvl);
    properties.m_impatience = store.Read(Setting::Temper);
    properties.m_allMonitors = LoadAllMonitors(store);
}

void StoreProperties(CSettingsStore& store, const CPropertiesDlg& properties)
{
    store.Write(Setting::Colours, properties.m_useColours);
    store.Write(Setting::Legend, properties.m_showLegend);
    store.Write(Setting::UpdSpd, properties.m_updateSpeed);
    store.Write(Setting::BaseScale, properties.m_baseScale);
    store.Write(Setting::NoFloors, properties.m_floors);
    store.Write(Setting::LiftPause, properties.m_liftPause);
    store.Write(Setting::PassPause, properties.m_personPause);
    store.Write(Setting::PassIntvl, properties.m_personInterval);
    store.Write(Setting::Temper, properties.m_impatience);
    store.Write(Setting::AllMonitors, properties.m_allMonitors);
}
} // namespace

CSettingsDlg::CSettingsDlg(CWnd* parent)
    : CDialog(IDD_SETTINGS, parent), m_people(20), m_capacity(1), m_lifts(1), m_driver(0), m_network(0), m_scale(20),
      m_colour(0), m_preview(false)
{
    // The caption's small icon, at the size the system draws it.
    m_icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SAVER_ICON), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

CSettingsDlg::~CSettingsDlg()
{
    if (m_icon != nullptr)
        DestroyIcon(m_icon);
}

void CSettingsDlg::DoDataExchange(CDataExchange& exchange)
{
    DDX_Control(exchange, IDC_DRIVER_LIST, m_driverCombo);
    DDX_Control(exchange, IDC_NETWORK_LIST, m_networkCombo);
    DDX_CBIndex(exchange, IDC_DRIVER_LIST, m_driver);
    DDX_CBIndex(exchange, IDC_NETWORK_LIST, m_network);
}

BOOL CSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    RECT place;
    ::GetWindowRect(GetDlgItemHandle(IDC_PREVIEW_PLACE), &place);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    m_preview.CreateView(0, WS_CHILD | WS_VISIBLE, place, this, 0, nullptr);

    m_peopleSlider.Attach(GetDlgItemHandle(IDC_PEOPLE_SLIDER));
    m_peopleSlider.SetRange(Setting::People.minimum, Setting::People.maximum);
    m_peopleSlider.SetPos(m_people);
    m_liftsSlider.Attach(GetDlgItemHandle(IDC_LIFTS_SLIDER));
    m_liftsSlider.SetRange(Setting::Cars.minimum, Setting::Cars.maximum);
    m_liftsSlider.SetPos(m_lifts);
    m_capacitySlider.Attach(GetDlgItemHandle(IDC_CAPACITY_SLIDER));
    m_capacitySlider.SetRange(Setting::Capacity.minimum, Setting::Capacity.maximum);
    m_capacitySlider.SetPos(m_capacity);
    m_scaleSlider.Attach(GetDlgItemHandle(IDC_SCALE_SLIDER));
    m_scaleSlider.SetRange(Setting::Scale.minimum, Setting::Scale.maximum);
    m_scaleSlider.SetPos(m_scale);

    CenterWindow();

    char aboutText[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUT_MENU_TEXT, aboutText, sizeof aboutText);
    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    if (aboutText[0] != '\0' && systemMenu != nullptr) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT_COMMAND, aboutText);
    }

    m_toolTip.Create(this);
    m_toolTip.Activate(true);
    for (const ToolText& tool : g_toolTexts)
        m_toolTip.AddTool(GetDlgItemHandle(tool.controlId), tool.text);
    return TRUE;
}

bool CSettingsDlg::PreTranslateMessage(MSG* message)
{
    m_toolTip.RelayEvent(message);
    return CDialog::PreTranslateMessage(message);
}

void CSettingsDlg::RepaintPreview()
{
    m_preview.Invalidate(true);
}

void CSettingsDlg::OnSysCommand(UINT command, LPARAM)
{
    if ((command & 0xFFF0) == IDM_ABOUT_COMMAND) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CSettingsDlg::OnSliderMoved(UINT, UINT, HWND)
{
    // Whichever slider moved, all four are read again, so the preview follows a drag as it goes.
    m_people = m_peopleSlider.GetPos();
    m_preview.SetPeople(m_people);
    m_lifts = m_liftsSlider.GetPos();
    m_preview.SetCars(m_lifts);
    m_scale = m_scaleSlider.GetPos();
    m_preview.SetScale(m_scale);
    m_capacity = m_capacitySlider.GetPos();
    m_preview.SetCapacity(m_capacity);
    RepaintPreview();
}

LRESULT CSettingsDlg::OnVScroll(WPARAM, LPARAM)
{
    RepaintPreview();
    return 0;
}

void CSettingsDlg::OnDriverSelected()
{
    // A list that selects nothing names no intelligence: the one chosen before stands.
    const int32_t driver = m_driverCombo.GetCurSel();
    if (driver == CB_ERR)
        return;
    m_driver = driver;
    m_network = m_networkCombo.GetCurSel();
    m_preview.SetDriver(m_driver, m_network);
    RepaintPreview();
}

void CSettingsDlg::OnDefaultView()
{
    m_scale = AfxGetStore().Read(Setting::BaseScale);
    m_scaleSlider.SetPos(m_scale);
    m_preview.SetScale(m_scale);
    RepaintPreview();
}

void CSettingsDlg::OnBackColour()
{
    static COLORREF customColours[16] = {};
    CHOOSECOLORA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = m_hWnd;
    chooser.rgbResult = m_colour;
    chooser.lpCustColors = customColours;
    chooser.Flags = CC_RGBINIT;
    if (ChooseColorA(&chooser)) {
        m_colour = chooser.rgbResult;
        m_preview.SetBackColour(m_colour);
    }
    RepaintPreview();
}

void CSettingsDlg::OnProperties()
{
    CSettingsStore& store = AfxGetStore();
    CPropertiesDlg properties;
    LoadProperties(store, properties);
    if (properties.DoModal() == IDOK) {
        StoreProperties(store, properties);
        m_preview.SetColoursAndSpeed(properties.m_useColours, properties.m_updateSpeed);
        m_preview.SetCustom(properties.m_floors, properties.m_liftPause, properties.m_personPause,
                            properties.m_personInterval, properties.m_impatience);
    }
    RepaintPreview();
}

void CSettingsDlg::SaveSettings()
{
    SaveMainSettings(AfxGetStore(),
                     MainSettings{m_people, m_capacity, m_lifts, m_driver, m_network, m_scale, m_colour});
}

void CSettingsDlg::OnOK()
{
    SaveSettings();
    EndDialog(IDOK);
}

void CSettingsDlg::OnApplyAndTest()
{
    SaveSettings();
    const std::wstring directory = GetSystemDirectoryPath();
    AfxGetStore().Write(Setting::Running, 1);
    RegisterDesktopSaver(ChooseRegisteredSaverPath(GetModulePath(), directory));
    // The system's own handling of this command starts the screen saver just registered.
    PostMessage(WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

void CSettingsDlg::OnResetAll()
{
    // No is the default, so that a stray Enter cannot wipe every setting.
    if (MessageBoxA(m_hWnd, "Are you sure you want to delete all Ascenda settings?", "Ascenda Vintra Reset Warning",
                    MB_YESNO | MB_ICONHAND | MB_DEFBUTTON2) != IDYES)
        return;
    ResetAllSettings(AfxGetStore());
    MessageBoxA(m_hWnd, "All settings removed\nAscenda Vintra will now close", "Ascenda Vintra Reset Completed",
                MB_OK | MB_ICONINFORMATION);
    EndDialog(IDOK);
}
