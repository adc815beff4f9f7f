#pragma once
#include <windows.h>

#include <utility>
#include <vector>

// CWnd: a window object wrapped around an HWND, with its messages routed through a message map.
//
// How a window gets its messages: CreateEx hooks the creation (a thread CBT hook) and subclasses
// the new window before its first message, so WM_NCCREATE, WM_CREATE and everything after pass
// through the object's map. The window's original procedure (DefWindowProc for classes made by
// RegisterWndClass, DefDlgProc for dialogs) is what Default() calls.
//
// How a dialog class hooks in (CDialog is written on top of this):
//   - Modeless or modal alike, call HookCreation(this) right before CreateDialogIndirectParam (or
//     CreateDialogParam) and UnhookCreation() right after it; the dialog window is then subclassed
//     from its first message on, and Default() reaches DefDlgProc, which calls the DLGPROC. A
//     DLGPROC that returns FALSE for everything but WM_INITDIALOG (where it calls OnInitDialog and
//     returns its result) keeps the platform's dialog behaviour as the default processing.
//   - Or, for a window that already exists, SubclassWindow(hwnd) (UnsubclassWindow to undo).
//     Messages sent before that call are not seen by the map.
//   - A modal loop calls PreTranslateThroughWindows(&message) for every message before
//     IsDialogMessage/TranslateMessage/DispatchMessage, and skips those it returns true for; that
//     reaches the PreTranslateMessage of every one of our windows from the target up to the root.
//   - WM_NCDESTROY ends the binding: the object forgets its HWND, a main window posts WM_QUIT,
//     and PostNcDestroy runs last (a heap object may delete itself there).
//
// A message map reads as a table, one line per message:
//
//   BEGIN_MSG_MAP(CSimView)
//       ON_WM_TIMER(OnTimer)
//       ON_WM_PAINT(OnPaint)
//   END_MSG_MAP(CWnd)
//
// Unlisted messages go to the base class's map (named in END_MSG_MAP) and finally to Default().
// A handler that wants the default processing as well calls Default() itself.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creates the window and binds it to this object. False when the window was not created; the
    // object has then had its PostNcDestroy, as after any window's end, whether the platform
    // refused the creation before or after binding the window.
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu, void* parameter);
    bool DestroyWindow();

    // Binding an existing window: the map sees every message from now on; Default() calls the
    // window's previous procedure.
    bool SubclassWindow(HWND window);
    HWND UnsubclassWindow();

    // The object bound to a window of ours, or nullptr.
    static CWnd* FromHandlePermanent(HWND window);
    // A wrapper for any window: ours if bound, otherwise a temporary object that does not subclass
    // the window and stays valid until DeleteTemporaryWrappers (called by the message loops).
    static CWnd* FromHandle(HWND window);
    static void DeleteTemporaryWrappers();

    // Installs/removes the creation hook that binds the next window created on this thread.
    static void HookCreation(CWnd* window);
    static void UnhookCreation();

    // The default processing of the message being handled.
    LRESULT Default();

    // Called with every queued message aimed at this window or one of its children before it is
    // dispatched; true swallows the message.
    virtual bool PreTranslateMessage(MSG* message);
    // The map: true when a handler took the message, its result in result.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Runs after WM_NCDESTROY, when the object no longer has a window. A heap object that owns
    // itself deletes itself here.
    virtual void PostNcDestroy() {}

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Thin wrappers; each is the platform call of the same name on m_hWnd.
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    int GetWindowText(char* buffer, int size) const { return ::GetWindowTextA(m_hWnd, buffer, size); }
    void GetClientRect(RECT* rectangle) const { ::GetClientRect(m_hWnd, rectangle); }
    void GetWindowRect(RECT* rectangle) const { ::GetWindowRect(m_hWnd, rectangle); }
    bool ShowWindow(int command) { return ::ShowWindow(m_hWnd, command) != 0; }
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true)
    {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint) != 0;
    }
    bool EnableWindow(bool enable = true) { return ::EnableWindow(m_hWnd, enable) != 0; }
    bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != 0; }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HDC GetDC() { return ::GetDC(m_hWnd); }
    int ReleaseDC(HDC dc) { return ::ReleaseDC(m_hWnd, dc); }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam) != 0;
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    // Window timers. Without a window they do nothing: the platform would start a thread timer
    // under a new id instead, which nothing could ever kill.
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds);
    bool KillTimer(UINT_PTR id);
    // The period in milliseconds this object last set for a timer that still runs; 0 for none.
    UINT GetTimerPeriod(UINT_PTR id) const;

    HWND m_hWnd = nullptr;

protected:
    // Handlers shared by every window.
    void OnDestroy() { Default(); }
    // Ends an object whose window was never made, as a destroyed window's object ends: a main
    // window's loop is told to stop, and PostNcDestroy runs (a heap object deletes itself).
    void EndUnbornWindow() { OnFinalNcDestroy(); }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Bind(HWND window);
    void Unbind();
    void OnFinalNcDestroy();

    WNDPROC m_superProcedure = nullptr;
    bool m_temporary = false;
    // The running timers' ids and periods; they end with the window.
    std::vector<std::pair<UINT_PTR, UINT>> m_timers;
};

// Registers (once per distinct set of arguments) a window class whose procedure is DefWindowProc,
// like the class library's AfxRegisterWndClass, and returns its generated name. The name stays
// valid for the life of the process.
const char* RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                             HICON icon = nullptr);

// Hands a queued message to PreTranslateMessage of each of our windows from its target up through
// its parents; true when one of them swallowed it. Message loops call this before dispatching.
bool PreTranslateThroughWindows(MSG* message);

// Message maps. Each entry line decodes the parameters and calls an On... handler.
// clang-format off
#define BEGIN_MSG_MAP(theClass)                                                                               \
public:                                                                                                       \
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override          \
    {                                                                                                         \
        (void)wParam;                                                                                         \
        (void)lParam;                                                                                         \
        switch (message) {
#define END_MSG_MAP(baseClass)                                                                                \
        default:                                                                                              \
            break;                                                                                            \
        }                                                                                                     \
        return baseClass::ProcessWindowMessage(message, wParam, lParam, result);                             \
    }

// LRESULT handler(WPARAM, LPARAM): any message, raw.
#define ON_MESSAGE(msg, handler)                                                                              \
    case msg:                                                                                                 \
        result = handler(wParam, lParam);                                                                     \
        return true;
// int OnCreate(CREATESTRUCTA*): -1 refuses the creation.
#define ON_WM_CREATE(handler)                                                                                 \
    case WM_CREATE:                                                                                           \
        result = handler(reinterpret_cast<CREATESTRUCTA*>(lParam));                                           \
        return true;
// void OnDestroy()
#define ON_WM_DESTROY(handler)                                                                                \
    case WM_DESTROY:                                                                                          \
        handler();                                                                                            \
        result = 0;                                                                                           \
        return true;
// void OnPaint()
#define ON_WM_PAINT(handler)                                                                                  \
    case WM_PAINT:                                                                                            \
        handler();                                                                                            \
        result = 0;                                                                                           \
        return true;
// void OnSize(UINT type, int width, int height): the sizes are unsigned 16-bit values.
#define ON_WM_SIZE(handler)                                                                                   \
    case WM_SIZE:                                                                                             \
        handler(static_cast<UINT>(wParam), static_cast<int>(LOWORD(lParam)),                                  \
                static_cast<int>(HIWORD(lParam)));                                                            \
        result = 0;                                                                                           \
        return true;
// void OnTimer(UINT_PTR id)
#define ON_WM_TIMER(handler)                                                                                  \
    case WM_TIMER:                                                                                            \
        handler(static_cast<UINT_PTR>(wParam));                                                               \
        result = 0;                                                                                           \
        return true;
// void OnSysCommand(UINT code, LPARAM position)
#define ON_WM_SYSCOMMAND(handler)                                                                             \
    case WM_SYSCOMMAND:                                                                                       \
        handler(static_cast<UINT>(wParam), lParam);                                                           \
        result = 0;                                                                                           \
        return true;
// BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage)
#define ON_WM_SETCURSOR(handler)                                                                              \
    case WM_SETCURSOR:                                                                                        \
        result = handler(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));                     \
        return true;
// BOOL OnNcActivate(BOOL active)
#define ON_WM_NCACTIVATE(handler)                                                                             \
    case WM_NCACTIVATE:                                                                                       \
        result = handler(static_cast<BOOL>(wParam));                                                          \
        return true;
// void OnActivate(UINT state, HWND other, BOOL minimized)
#define ON_WM_ACTIVATE(handler)                                                                               \
    case WM_ACTIVATE:                                                                                         \
        handler(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam) != 0);                         \
        result = 0;                                                                                           \
        return true;
// void OnActivateApp(BOOL active, DWORD threadId)
#define ON_WM_ACTIVATEAPP(handler)                                                                            \
    case WM_ACTIVATEAPP:                                                                                      \
        handler(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));                                       \
        result = 0;                                                                                           \
        return true;
// void OnMouseMove(UINT flags, POINT position): position in client coordinates, signed.
#define ON_WM_MOUSEMOVE(handler)                                                                              \
    case WM_MOUSEMOVE:                                                                                        \
        handler(static_cast<UINT>(wParam),                                                                    \
                POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});               \
        result = 0;                                                                                           \
        return true;
// void OnHScroll(UINT code, UINT position, HWND scrollBar)
#define ON_WM_HSCROLL(handler)                                                                                \
    case WM_HSCROLL:                                                                                          \
        handler(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));                              \
        result = 0;                                                                                           \
        return true;
// void handler(): a WM_COMMAND from control or menu id (any notification code). Several
// ON_COMMAND lines share one case, so they sit between BEGIN_COMMAND_MAP and END_COMMAND_MAP.
#define BEGIN_COMMAND_MAP()                                                                                   \
    case WM_COMMAND:                                                                                          \
        switch (LOWORD(wParam)) {
#define ON_COMMAND(id, handler)                                                                               \
    case id:                                                                                                  \
        handler();                                                                                            \
        result = 0;                                                                                           \
        return true;
// void handler(): a WM_COMMAND from control id with one notification code (for example BN_CLICKED).
#define ON_COMMAND_CODE(id, code, handler)                                                                    \
    case id:                                                                                                  \
        if (HIWORD(wParam) != (code))                                                                         \
            break;                                                                                            \
        handler();                                                                                            \
        result = 0;                                                                                           \
        return true;
#define END_COMMAND_MAP()                                                                                     \
    default:                                                                                                  \
        break;                                                                                                \
        }                                                                                                     \
        break;
// clang-format on
