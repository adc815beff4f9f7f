#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>

#include "win/Wnd.h"

// Thin objects over the dialogs' controls; each call is the control's own message.

// A check box.
class CButton : public CWnd {
public:
    int32_t GetCheck() const { return static_cast<int32_t>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int32_t state) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0); }
};

class CComboBox : public CWnd {
public:
    int32_t GetCurSel() const { return static_cast<int32_t>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    int32_t GetCount() const { return static_cast<int32_t>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
};

// A slider (trackbar). Its window belongs to the dialog; the object only talks to it.
class CSliderCtrl {
public:
    void Attach(HWND window) { m_hWnd = window; }
    void SetRange(int32_t minimum, int32_t maximum, bool redraw = true)
    {
        ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, FALSE, minimum);
        ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, redraw, maximum);
    }
    void SetPos(int32_t position, bool redraw = true) { ::SendMessageA(m_hWnd, TBM_SETPOS, redraw, position); }
    int32_t GetPos() const { return static_cast<int32_t>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0)); }

    HWND m_hWnd = nullptr;
};

// A tooltip window whose tools are whole controls. The tools are registered without subclassing,
// so the owner hands it every message with RelayEvent.
class CToolTipCtrl : public CWnd {
public:
    bool Create(CWnd* owner, DWORD style = 0)
    {
        return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, owner != nullptr ? owner->m_hWnd : nullptr, nullptr, nullptr);
    }
    void Activate(bool active) { ::SendMessageA(m_hWnd, TTM_ACTIVATE, active, 0); }
    // The tool is the control's own window (no rectangle, no id of its own).
    bool AddTool(HWND control, const char* text)
    {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE; // understood by every version of the control
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = ::GetParent(control);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<char*>(text);
        return ::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    }
    int32_t GetToolCount() const { return static_cast<int32_t>(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
    void RelayEvent(MSG* message)
    {
        if (m_hWnd != nullptr)
            ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
    }
};
