#include "Wnd.h"

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "WinApp.h"

namespace {

// Windows bound to objects, and the temporary wrappers of foreign windows. One thread uses them.
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& TemporaryMap()
{
    static std::unordered_map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

// The message being handled, for Default(). Kept outside the object, because a handler may
// destroy the window and so delete the object before the dispatch returns.
struct CurrentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage g_currentMessage = {};

CWnd* g_windowBeingCreated = nullptr;
HHOOK g_creationHook = nullptr;

bool IsImeWindow(const CBT_CREATEWNDA* creation)
{
    const char* className = creation->lpcs->lpszClass;
    if (IS_INTRESOURCE(className))
        return false;
    return lstrcmpiA(className, "IME") == 0;
}

LRESULT CALLBACK CreationHookProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g_windowBeingCreated != nullptr &&
        !IsImeWindow(reinterpret_cast<CBT_CREATEWNDA*>(lParam))) {
        CWnd* window = g_windowBeingCreated;
        g_windowBeingCreated = nullptr;
        window->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(g_creationHook, code, wParam, lParam);
}

} // namespace

CWnd::~CWnd()
{
    // An object deleted while it still has a window: the window lives on without it.
    if (m_hWnd != nullptr && !m_temporary) {
        if (::IsWindow(m_hWnd))
            UnsubclassWindow();
        else
            Unbind();
    }
}

void CWnd::HookCreation(CWnd* window)
{
    UnhookCreation();
    g_windowBeingCreated = window;
    g_creationHook = SetWindowsHookExA(WH_CBT, CreationHookProcedure, nullptr, GetCurrentThreadId());
}

void CWnd::UnhookCreation()
{
    if (g_creationHook != nullptr)
        UnhookWindowsHookEx(g_creationHook);
    g_creationHook = nullptr;
    g_windowBeingCreated = nullptr;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, void* parameter)
{
    HookCreation(this);
    HWND window = CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menu,
                                  GetModuleHandleA(nullptr), parameter);
    // The hook clears the pending object when it binds the new window.
    const bool bound = g_windowBeingCreated != this;
    UnhookCreation();
    if (window != nullptr)
        return true;
    // Refused after binding: WM_NCDESTROY has run, and PostNcDestroy may have deleted this object,
    // so touch nothing of it. Refused before (no such class, a bad owner): no message ever came,
    // so end the object here, or a self-deleting one would leak.
    if (!bound)
        EndUnbornWindow();
    return false;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT milliseconds)
{
    if (m_hWnd == nullptr)
        return 0;
    const UINT_PTR result = ::SetTimer(m_hWnd, id, milliseconds, nullptr);
    if (result == 0)
        return 0;
    for (auto& timer : m_timers) {
        if (timer.first == id) {
            timer.second = milliseconds;
            return result;
        }
    }
    m_timers.emplace_back(id, milliseconds);
    return result;
}

bool CWnd::KillTimer(UINT_PTR id)
{
    if (m_hWnd == nullptr)
        return false;
    for (auto timer = m_timers.begin(); timer != m_timers.end(); ++timer) {
        if (timer->first == id) {
            m_timers.erase(timer);
            break;
        }
    }
    return ::KillTimer(m_hWnd, id) != 0;
}

UINT CWnd::GetTimerPeriod(UINT_PTR id) const
{
    for (const auto& timer : m_timers) {
        if (timer.first == id)
            return timer.second;
    }
    return 0;
}

bool CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd) != 0;
}

void CWnd::Bind(HWND window)
{
    m_hWnd = window;
    PermanentMap()[window] = this;
    // A temporary wrapper of the same window would now shadow nothing; drop it.
    TemporaryMap().erase(window);
}

void CWnd::Unbind()
{
    m_timers.clear();
    auto& map = PermanentMap();
    auto found = map.find(m_hWnd);
    if (found != map.end() && found->second == this)
        map.erase(found);
    m_hWnd = nullptr;
}

bool CWnd::SubclassWindow(HWND window)
{
    if (window == nullptr || m_hWnd != nullptr || FromHandlePermanent(window) != nullptr)
        return false;
    Bind(window);
    m_superProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProcedure)));
    return true;
}

HWND CWnd::UnsubclassWindow()
{
    HWND window = m_hWnd;
    if (window == nullptr)
        return nullptr;
    if (m_superProcedure != nullptr)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProcedure));
    m_superProcedure = nullptr;
    Unbind();
    return window;
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    auto& map = PermanentMap();
    auto found = map.find(window);
    return found == map.end() ? nullptr : found->second;
}

CWnd* CWnd::FromHandle(HWND window)
{
    if (window == nullptr)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(window))
        return permanent;
    auto& temporary = TemporaryMap()[window];
    if (!temporary) {
        temporary.reset(new CWnd);
        temporary->m_hWnd = window;
        temporary->m_temporary = true;
    }
    return temporary.get();
}

void CWnd::DeleteTemporaryWrappers()
{
    TemporaryMap().clear();
}

LRESULT CWnd::Default()
{
    const CurrentMessage& current = g_currentMessage;
    if (m_superProcedure != nullptr)
        return CallWindowProcA(m_superProcedure, m_hWnd, current.message, current.wParam, current.lParam);
    return DefWindowProcA(m_hWnd, current.message, current.wParam, current.lParam);
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

bool CWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CALLBACK CWnd::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* object = FromHandlePermanent(window);
    if (object == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);

    const CurrentMessage saved = g_currentMessage;
    g_currentMessage = {window, message, wParam, lParam};
    LRESULT result = 0;
    if (!object->ProcessWindowMessage(message, wParam, lParam, result))
        result = object->Default();
    g_currentMessage = saved;

    // WM_NCDESTROY is the window's last message, so the object is still alive here whatever the
    // handlers did; any other message may have destroyed the window and deleted the object.
    if (message == WM_NCDESTROY)
        object->OnFinalNcDestroy();
    return result;
}

void CWnd::OnFinalNcDestroy()
{
    UnsubclassWindow();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    PostNcDestroy();
}

bool PreTranslateThroughWindows(MSG* message)
{
    for (HWND window = message->hwnd; window != nullptr; window = ::GetParent(window)) {
        CWnd* object = CWnd::FromHandlePermanent(window);
        if (object != nullptr && object->PreTranslateMessage(message))
            return true;
    }
    return false;
}

const char* RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // Every distinct set of arguments is one class; its name encodes them.
    static std::vector<std::unique_ptr<std::string>> names;
    char name[96];
    std::snprintf(name, sizeof name, "Ascenda:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    for (const auto& known : names) {
        if (*known == name)
            return known->c_str();
    }

    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    names.push_back(std::make_unique<std::string>(name));
    return names.back()->c_str();
}
