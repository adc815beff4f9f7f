#include "Dialog.h"

#include <commctrl.h>

#include <cstring>

#include "WinApp.h"
#include "settings/ConfigureRules.h"

namespace {

// The innermost dialog running its modal loop on this (the only) user-interface thread.
CDialog* g_innermostModal = nullptr;

// Resource type of a template's initial data (see the resource script).
constexpr WORD DIALOG_INIT_RESOURCE_TYPE = 240;

void EnsureCommonControls()
{
    static bool done = false;
    if (done)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    done = true;
}

std::string GetWindowString(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

} // namespace

HWND CDataExchange::PrepareControl(int id)
{
    if (m_failed)
        return nullptr;
    return ::GetDlgItem(m_dialog->m_hWnd, id);
}

void CDataExchange::Fail(HWND control)
{
    m_failed = true;
    if (control == nullptr)
        return;
    ::SetFocus(control);
    ::SendMessageA(control, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange& exchange, int id, CWnd& control)
{
    if (control.m_hWnd != nullptr)
        return;
    HWND window = exchange.PrepareControl(id);
    if (window != nullptr)
        control.SubclassWindow(window);
}

void DDX_Text(CDataExchange& exchange, int id, int32_t& value)
{
    HWND control = exchange.PrepareControl(id);
    if (control == nullptr)
        return;
    if (!exchange.m_saveAndValidate) {
        char text[16];
        wsprintfA(text, "%d", static_cast<int>(value));
        ::SetWindowTextA(control, text);
        return;
    }
    int32_t number = 0;
    if (!ParseWholeNumber(GetWindowString(control).c_str(), number)) {
        CWinApp* app = AfxGetApp();
        const char* caption = app != nullptr && app->GetAppName()[0] != '\0' ? app->GetAppName() : nullptr;
        ::MessageBoxA(exchange.m_dialog->m_hWnd, "Please enter an integer.", caption, MB_OK | MB_ICONEXCLAMATION);
        exchange.Fail(control);
        return;
    }
    value = number;
}

void DDX_Text(CDataExchange& exchange, int id, std::string& text)
{
    HWND control = exchange.PrepareControl(id);
    if (control == nullptr)
        return;
    if (exchange.m_saveAndValidate)
        text = GetWindowString(control);
    else
        ::SetWindowTextA(control, text.c_str());
}

void DDX_CBIndex(CDataExchange& exchange, int id, int32_t& index)
{
    HWND control = exchange.PrepareControl(id);
    if (control == nullptr)
        return;
    if (exchange.m_saveAndValidate)
        index = static_cast<int32_t>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

CDialog::CDialog(int templateId, CWnd* parent) : m_parent(parent), m_templateId(templateId) {}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

HWND CDialog::FindOwner() const
{
    if (m_parent != nullptr && m_parent->m_hWnd != nullptr)
        return m_parent->m_hWnd;
    if (g_innermostModal != nullptr && g_innermostModal->m_hWnd != nullptr)
        return g_innermostModal->m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this)
        return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

INT_PTR CDialog::DoModal()
{
    EnsureCommonControls();
    HWND owner = FindOwner();

    m_modalResult = -1;
    m_endRequested = false;
    HookCreation(this);
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner,
                                     &CDialog::DialogProcedure, reinterpret_cast<LPARAM>(this));
    UnhookCreation();
    if (window == nullptr)
        return -1;

    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    m_enclosingModal = g_innermostModal;
    g_innermostModal = this;
    m_runningModal = true;
    // OnInitDialog may already have ended the dialog; then it is never shown.
    if (!m_endRequested)
        ::ShowWindow(window, SW_SHOWNORMAL);
    RunModalLoop();
    m_runningModal = false;
    g_innermostModal = m_enclosingModal;
    m_enclosingModal = nullptr;

    // The owner comes back before the dialog goes, so the activation returns to it and not to some
    // other program.
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (::IsWindow(window)) {
        if (owner != nullptr && ::GetActiveWindow() == window)
            ::SetActiveWindow(owner);
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        ::DestroyWindow(window);
    }
    return m_modalResult;
}

void CDialog::RunModalLoop()
{
    MSG message = {};
    while (!m_endRequested && m_hWnd != nullptr) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: leave the quit request for the loop outside and give up.
            PostQuitMessage(static_cast<int>(message.wParam));
            if (!m_endRequested)
                m_modalResult = IDCANCEL;
            break;
        }
        if (!PreTranslateThroughWindows(&message) && !IsDialogMessageA(m_hWnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        CWnd::DeleteTemporaryWrappers();
    }
}

void CDialog::EndDialog(INT_PTR result)
{
    m_modalResult = result;
    m_endRequested = true;
    // Wakes the modal loop in case the call came from outside a dispatched message.
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.m_failed;
}

void CDialog::ExecuteDialogInit()
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(m_templateId), MAKEINTRESOURCEA(DIALOG_INIT_RESOURCE_TYPE));
    if (found == nullptr)
        return;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const DWORD size = SizeofResource(module, found);
    if (data == nullptr)
        return;
    // Records of: WORD control id, WORD message, DWORD length, the item with its terminating zero.
    const BYTE* end = data + size;
    while (data + 2 <= end) {
        WORD id = 0;
        std::memcpy(&id, data, sizeof id);
        if (id == 0 || data + 8 > end)
            break;
        WORD message = 0;
        DWORD length = 0;
        std::memcpy(&message, data + 2, sizeof message);
        std::memcpy(&length, data + 4, sizeof length);
        data += 8;
        if (length > static_cast<DWORD>(end - data) || length == 0 || data[length - 1] != 0)
            break;
        SendDlgItemMessage(id, message, 0, reinterpret_cast<LPARAM>(data));
        data += length;
    }
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDialogInit();
    UpdateData(false);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::CenterWindow()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT area = monitor.rcWork;

    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = (area.left + area.right - width) / 2;
    int top = (area.top + area.bottom - height) / 2;
    // Keep the whole dialog, its caption above all, on the screen.
    const RECT& work = monitor.rcWork;
    if (left + width > work.right)
        left = work.right - width;
    if (left < work.left)
        left = work.left;
    if (top + height > work.bottom)
        top = work.bottom - height;
    if (top < work.top)
        top = work.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProcedure(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    if (dialog == nullptr || dialog->m_hWnd != window)
        return TRUE;
    return dialog->OnInitDialog();
}

RECT MapDialogRectangle(HWND dialog, int x, int y, int width, int height)
{
    RECT rectangle = {x, y, x + width, y + height};
    ::MapDialogRect(dialog, &rectangle);
    return rectangle;
}
