#pragma once
#include <cstdint>

#include "Controls.h"
#include "DialogIds.h"
#include "sim/Colour.h"
#include "view/SimView.h"
#include "win/Dialog.h"

// The dialog of the configure mode: people, lifts, capacity, intelligence, scale and background
// colour, every change shown at once in a live preview over placeholder 1006. The caller loads the
// members from the store before the run; only OK and Apply & Test store them.
class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);
    ~CSettingsDlg() override;

    CComboBox m_driverCombo;
    CComboBox m_networkCombo;
    int32_t m_people;
    int32_t m_capacity;
    int32_t m_lifts;
    int32_t m_driver;
    // The hidden list's selection; carries nothing, and Network is always stored as 0.
    int32_t m_network;
    int32_t m_scale;
    Colour m_colour;
    CToolTipCtrl m_toolTip;
    HICON m_icon;
    CSliderCtrl m_peopleSlider;
    CSliderCtrl m_liftsSlider;
    CSliderCtrl m_scaleSlider;
    CSliderCtrl m_capacitySlider;
    CSimView m_preview;

    void DoDataExchange(CDataExchange& exchange) override;
    bool PreTranslateMessage(MSG* message) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Writes the members to section Config.
    void SaveSettings();

    BEGIN_MSG_MAP(CSettingsDlg)
        ON_WM_SYSCOMMAND(OnSysCommand)
        ON_WM_HSCROLL(OnSliderMoved)
        ON_MESSAGE(WM_VSCROLL, OnVScroll)
        BEGIN_COMMAND_MAP()
        ON_COMMAND_CODE(IDC_PROPERTIES, BN_CLICKED, OnProperties)
        ON_COMMAND_CODE(IDC_RESET_ALL, BN_CLICKED, OnResetAll)
        ON_COMMAND_CODE(IDC_BACK_COLOUR, BN_CLICKED, OnBackColour)
        ON_COMMAND_CODE(IDC_APPLY_AND_TEST, BN_CLICKED, OnApplyAndTest)
        ON_COMMAND_CODE(IDC_DEFAULT_VIEW, BN_CLICKED, OnDefaultView)
        ON_COMMAND_CODE(IDC_DRIVER_LIST, CBN_SELENDOK, OnDriverSelected)
        ON_COMMAND_CODE(IDC_NETWORK_LIST, CBN_SELENDOK, OnDriverSelected)
        ON_COMMAND_CODE(IDOK, BN_CLICKED, OnOK)
        END_COMMAND_MAP()
    END_MSG_MAP(CDialog)

private:
    void OnSysCommand(UINT command, LPARAM position);
    void OnSliderMoved(UINT code, UINT position, HWND slider);
    LRESULT OnVScroll(WPARAM, LPARAM);
    void OnProperties();
    void OnResetAll();
    void OnBackColour();
    void OnApplyAndTest();
    void OnDefaultView();
    void OnDriverSelected();
    // Repaint request: the preview's whole client area, background included.
    void RepaintPreview();
};
