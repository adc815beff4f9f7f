#include "MessageDlg.h"

#include "DialogIds.h"

CMessageDlg::CMessageDlg() : CDialog(IDD_MESSAGE), m_ticked(0), m_heading("WARNING") {}

void CMessageDlg::DoDataExchange(CDataExchange& exchange)
{
    DDX_Control(exchange, IDC_MESSAGE_CHECK, m_checkBox);
    DDX_Text(exchange, IDC_MESSAGE_CHECK_LABEL, m_checkLabel);
    DDX_Text(exchange, IDC_MESSAGE_HEADING, m_heading);
    DDX_Text(exchange, IDC_MESSAGE_BODY, m_body);
}

BOOL CMessageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_checkLabel.empty()) {
        // Just the heading, OK and the top of the body: as high as the body control, caption and
        // frame included, and a tenth wider than it.
        RECT body;
        ::GetWindowRect(GetDlgItemHandle(IDC_MESSAGE_BODY), &body);
        const int width = static_cast<int>((body.right - body.left) * 1.1);
        const int height = body.bottom - body.top;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOZORDER);
    }
    CenterWindow();
    return TRUE;
}

void CMessageDlg::OnCheckClicked()
{
    m_ticked = m_checkBox.GetCheck();
}
