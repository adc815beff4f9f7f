#pragma once
#include <cstdint>

#include "Controls.h"
#include "DialogIds.h"
#include "win/Dialog.h"

// The settings the main dialog doesn't show: three screen options, the update speed and six
// internal settings of the simulation. OK refuses to close while an internal setting is out of
// range, naming the first offender in a message dialog. The caller loads the nine values before
// the run and stores them after an OK.
class CPropertiesDlg : public CDialog {
public:
    CPropertiesDlg();

    CButton m_colourCheck;
    CButton m_legendCheck;
    CButton m_monitorsCheck;
    int32_t m_useColours;
    int32_t m_showLegend;
    int32_t m_updateSpeed;
    int32_t m_baseScale;
    int32_t m_floors;
    int32_t m_liftPause;
    int32_t m_personPause;
    int32_t m_personInterval;
    int32_t m_impatience;
    int32_t m_allMonitors; // full screen: the building on every monitor, 0 or 1
    CToolTipCtrl m_toolTip;
    CSliderCtrl m_speedSlider;

    void DoDataExchange(CDataExchange& exchange) override;
    bool PreTranslateMessage(MSG* message) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(CPropertiesDlg)
        BEGIN_COMMAND_MAP()
        ON_COMMAND_CODE(IDC_USE_COLOURS, BN_CLICKED, OnOptionClicked)
        ON_COMMAND_CODE(IDC_SHOW_LEGEND, BN_CLICKED, OnOptionClicked)
        ON_COMMAND_CODE(IDC_ALL_MONITORS, BN_CLICKED, OnOptionClicked)
        ON_COMMAND_CODE(IDC_USE_DEFAULTS, BN_CLICKED, OnUseDefaults)
        ON_COMMAND_CODE(IDOK, BN_CLICKED, OnOK)
        END_COMMAND_MAP()
        ON_WM_HSCROLL(OnSpeedMoved)
    END_MSG_MAP(CDialog)

private:
    void OnOptionClicked();
    void OnSpeedMoved(UINT code, UINT position, HWND slider);
    void OnUseDefaults();
};
