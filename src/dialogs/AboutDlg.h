#pragma once
#include "win/Dialog.h"

// The About box: program name, version, authorship, distribution notice and contact line, OK.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    BOOL OnInitDialog() override;
};
