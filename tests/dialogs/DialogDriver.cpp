#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "dialogs/DialogIds.h"

namespace {
constexpr ULONGLONG WAIT_LIMIT_MILLISECONDS = 15000;
constexpr UINT RUN_ON_UI_MESSAGE = WM_APP + 1;

LRESULT CALLBACK InvokerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RUN_ON_UI_MESSAGE) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateInvoker()
{
    static ATOM windowClass = 0;
    if (windowClass == 0) {
        WNDCLASSA description = {};
        description.lpfnWndProc = InvokerProcedure;
        description.hInstance = GetModuleHandleA(nullptr);
        description.lpszClassName = "AscendaTestInvoker";
        windowClass = RegisterClassA(&description);
    }
    return CreateWindowExA(0, "AscendaTestInvoker", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

bool IsDialogClass(HWND window)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && IsDialogClass(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// Polls condition until it holds or the limit passes.
bool Poll(const std::function<bool()>& condition)
{
    const ULONGLONG end = GetTickCount64() + WAIT_LIMIT_MILLISECONDS;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(10);
    }
}
} // namespace

std::vector<HWND> FindThreadDialogs(DWORD thread)
{
    std::vector<HWND> found;
    EnumThreadWindows(thread, CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

CDriver::CDriver(DWORD uiThread, HWND invoker) : m_uiThread(uiThread), m_invoker(invoker) {}

HWND CDriver::WaitForDialog(const char* caption, const std::function<bool(HWND)>& accept)
{
    HWND result = nullptr;
    const bool found = Poll([&] {
        for (HWND dialog : FindThreadDialogs(m_uiThread)) {
            if (GetText(dialog) == caption && (!accept || accept(dialog))) {
                result = dialog;
                return true;
            }
        }
        return false;
    });
    if (!found)
        throw DriverTimeout{std::string("no dialog \"") + caption + "\" appeared"};
    return result;
}

HWND CDriver::WaitForMessageDialog(const char* heading)
{
    return WaitForDialog("Ascenda Vintra", [&](HWND dialog) {
        return GetDlgItem(dialog, IDC_MESSAGE_HEADING) != nullptr && GetText(dialog, IDC_MESSAGE_HEADING) == heading;
    });
}

void CDriver::WaitGone(HWND window)
{
    if (!Poll([&] { return !IsWindow(window) || !IsWindowVisible(window); }))
        throw DriverTimeout{"a dialog did not close: \"" + GetText(window) + "\""};
}

void CDriver::WaitUntil(const char* what, const std::function<bool()>& condition)
{
    if (!Poll(condition))
        throw DriverTimeout{std::string("timed out waiting until ") + what};
}

void CDriver::Click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CDriver::ClickControl(HWND dialog, int id)
{
    const LRESULT before = SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0);
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    WaitUntil("the check box toggles", [&] { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) != before; });
}

void CDriver::PressKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

void CDriver::SetText(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CDriver::GetText(HWND dialog, int id)
{
    return GetText(GetDlgItem(dialog, id));
}

std::string CDriver::GetText(HWND window)
{
    char text[1024] = "";
    // Sent to the user-interface thread, which answers between its messages.
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    return text;
}

void CDriver::OnUi(const std::function<void()>& work)
{
    DWORD_PTR done = 0;
    if (!SendMessageTimeoutA(m_invoker, RUN_ON_UI_MESSAGE, 0, reinterpret_cast<LPARAM>(&work), SMTO_NORMAL,
                             static_cast<UINT>(WAIT_LIMIT_MILLISECONDS), &done) ||
        done != 1)
        throw DriverTimeout{"the user-interface thread did not answer"};
}

void CDriver::Expect(bool condition, const std::string& what)
{
    if (!condition)
        Fail(what);
}

void CDriver::Fail(const std::string& what)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_failures.push_back(what);
}

std::vector<std::string> CDriver::TakeFailures()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return std::move(m_failures);
}

void RunDriven(const std::function<void()>& modal, const std::function<void(CDriver&)>& script)
{
    HWND invoker = CreateInvoker();
    CDriver driver(GetCurrentThreadId(), invoker);
    std::atomic<bool> modalDone{false};

    std::thread player([&] {
        try {
            script(driver);
        } catch (const DriverTimeout& timeout) {
            driver.Fail(timeout.what);
        }
        // Whatever the script left open is cancelled, innermost first, until the run is over.
        const ULONGLONG end = GetTickCount64() + WAIT_LIMIT_MILLISECONDS;
        while (!modalDone && GetTickCount64() < end) {
            for (HWND dialog : FindThreadDialogs(driver.GetUiThread())) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(dialog, WM_COMMAND, IDNO, 0); // a Yes/No box has no Cancel
            }
            Sleep(50);
        }
    });
    modal();
    modalDone = true;
    player.join();
    DestroyWindow(invoker);

    // A main window destroyed by the run leaves a quit request behind; it must not end the
    // next test's dialogs.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    for (const std::string& failure : driver.TakeFailures())
        ADD_FAILURE() << failure;
}

void ExpectCentredOn(CDriver& driver, HWND window, const RECT& area, const std::string& what)
{
    RECT frame;
    GetWindowRect(window, &frame);
    const int offsetX = (frame.left + frame.right) - (area.left + area.right);
    const int offsetY = (frame.top + frame.bottom) - (area.top + area.bottom);
    driver.Expect(offsetX >= -2 && offsetX <= 2 && offsetY >= -2 && offsetY <= 2,
                  what + ": centred, off by " + std::to_string(offsetX / 2) + ", " + std::to_string(offsetY / 2));
}
