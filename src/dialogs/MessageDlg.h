#pragma once
#include <cstdint>
#include <string>

#include "Controls.h"
#include "DialogIds.h"
#include "win/Dialog.h"

// The program's own message box: icon, heading, body, an optional check box with its label, OK.
// The caller fills in the texts, runs it and reads m_ticked. Without a check-box label the window
// shrinks to its upper part (the compact form used for warnings).
class CMessageDlg : public CDialog {
public:
    CMessageDlg();

    CButton m_checkBox;
    // 1 when the last click left the box ticked, 0 when it left it clear; untouched without a
    // click, so a caller that reads it sets it first. The box itself always opens clear.
    int32_t m_ticked;
    std::string m_heading;
    std::string m_body;
    std::string m_checkLabel;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& exchange) override;

    BEGIN_MSG_MAP(CMessageDlg)
        BEGIN_COMMAND_MAP()
        ON_COMMAND_CODE(IDC_MESSAGE_CHECK, BN_CLICKED, OnCheckClicked)
        END_COMMAND_MAP()
    END_MSG_MAP(CDialog)

private:
    void OnCheckClicked();
};
