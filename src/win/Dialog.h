#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "Wnd.h"

class CDialog;

// One run of a dialog's data exchange: into the controls (load) or out of them (save). A save
// that meets an entry it can't read marks the exchange failed; the helpers after it do nothing.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate) : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}

    // The control's window, or nullptr when the exchange has already failed or there is no such
    // control.
    HWND PrepareControl(int id);
    // Gives the user's attention back to the control that could not be read, and stops the
    // exchange.
    void Fail(HWND control);

    CDialog* m_dialog;
    bool m_saveAndValidate;
    bool m_failed = false;
};

// Binds a control object to the dialog's control id (on the first exchange only).
void DDX_Control(CDataExchange& exchange, int id, CWnd& control);
// A whole number in an edit field. Saving text that isn't one (blanks around the number are
// allowed) prompts "Please enter an integer.", leaves value as it was and fails the exchange.
void DDX_Text(CDataExchange& exchange, int id, int32_t& value);
// A control's text.
void DDX_Text(CDataExchange& exchange, int id, std::string& text);
// The selected index of a combo box (-1 for none).
void DDX_CBIndex(CDataExchange& exchange, int id, int32_t& index);

// A dialog from a resource template, run modally by DoModal.
//
// The window is bound to the object from its first message on, so the derived class's message map
// sees everything; messages it doesn't take reach the platform's dialog procedure. The modal loop
// is our own: every message passes PreTranslateMessage of our windows (target and its parents)
// before the dialog's keyboard handling, so a dialog can relay messages to its tooltips there.
// The owner (the parent given, else the innermost dialog running modally, else the main window)
// is disabled while the dialog runs.
class CDialog : public CWnd {
public:
    explicit CDialog(int templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, runs it until EndDialog and destroys it. Returns the result given to
    // EndDialog, or -1 when the dialog could not be created.
    INT_PTR DoModal();
    // Ends the modal run with result once the current message has been handled.
    void EndDialog(INT_PTR result);

    // Runs the data exchange in one direction; false when a saved entry could not be read.
    bool UpdateData(bool saveAndValidate = true);

    // The template's initial data (items for its lists), then the data exchange into the controls.
    // Returns TRUE so that the platform gives the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange& exchange);
    // OK reads the controls back; when they all read, the dialog ends with IDOK.
    virtual void OnOK();
    virtual void OnCancel();

    // Centres the window over its owner, or on the screen's work area when it has none showing.
    void CenterWindow();
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
    }
    HWND GetDlgItemHandle(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetTemplateId() const { return m_templateId; }
    bool IsRunningModal() const { return m_runningModal; }

    BEGIN_MSG_MAP(CDialog)
        BEGIN_COMMAND_MAP()
        ON_COMMAND(IDOK, OnOK)
        ON_COMMAND(IDCANCEL, OnCancel)
        END_COMMAND_MAP()
    END_MSG_MAP(CWnd)

protected:
    CWnd* m_parent;

private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FindOwner() const;
    void RunModalLoop();
    void ExecuteDialogInit();

    int m_templateId;
    INT_PTR m_modalResult = -1;
    bool m_endRequested = false;
    bool m_runningModal = false;
    // The dialog whose modal run encloses this one, restored when this run ends.
    CDialog* m_enclosingModal = nullptr;
};

// Dialog units of a dialog to pixels (x and width by the horizontal unit, y and height by the
// vertical one), as the platform places the template's controls.
RECT MapDialogRectangle(HWND dialog, int x, int y, int width, int height);
