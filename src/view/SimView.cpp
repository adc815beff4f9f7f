#include "SimView.h"

#include "resources/ResourceIds.h"
#include "settings/ViewSettings.h"
#include "view/GdiSurface.h"
#include "win/WinApp.h"

std::string g_viewClassName;

const char* RegisterViewClass()
{
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_SAVER_CURSOR));
    return RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, cursor, nullptr, nullptr);
}

CSimView::CSimView(bool autoDelete) : CWnd(), CScene(LoadViewSettings(AfxGetStore())), m_autoDelete(autoDelete) {}

bool CSimView::CreateView(DWORD exStyle, DWORD style, const RECT& rectangle, CWnd* parent, UINT, void*)
{
    if (g_viewClassName.empty()) {
        const char* name = RegisterViewWindowClass();
        if (name == nullptr) {
            EndUnbornWindow(); // as a refused creation ends: no window will ever end this object
            return false;
        }
        g_viewClassName = name;
    }
    HWND parentWindow = parent != nullptr ? parent->m_hWnd : nullptr;
    return CreateEx(exStyle, g_viewClassName.c_str(), "", style, rectangle.left, rectangle.top,
                    rectangle.right - rectangle.left, rectangle.bottom - rectangle.top, parentWindow, nullptr, nullptr);
}

void CSimView::SetColoursAndSpeed(int32_t colours, int32_t speed)
{
    SetColours(colours);
    SetUpdateSpeed(speed);
}

void CSimView::SetUpdateSpeed(int32_t speed)
{
    // The Properties dialog hands on a stored speed as it is, whatever its value.
    KillTimer(TIMER_LIFTS);
    SetTimer(TIMER_LIFTS, static_cast<UINT>(LiftPeriodFromSpeed(speed)));
}

void CSimView::PostNcDestroy()
{
    if (m_autoDelete)
        delete this;
}

int CSimView::OnCreate(CREATESTRUCTA*)
{
    if (Default() == -1)
        return -1;
    SetWindowText("Ascenda Vintra Screen Saver - Running");
    SetUpdateSpeed(LoadUpdateSpeed(AfxGetStore()));
    KillTimer(TIMER_PEOPLE);
    SetTimer(TIMER_PEOPLE, static_cast<UINT>(m_passInterval));
    KillTimer(TIMER_LEGEND);
    SetTimer(TIMER_LEGEND, 1000);
    return 0;
}

void CSimView::OnSize(UINT, int width, int height)
{
    Default();
    SetScreenFactorFromSize(width, height);
}

void CSimView::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(&client);
    CGdiSurface surface(dc);
    Paint(surface, client.right, client.bottom);
    EndPaint(m_hWnd, &paint);
}

void CSimView::OnTimer(UINT_PTR id)
{
    HDC dc = GetDC();
    CGdiSurface surface(dc);
    if (RunTimerPass(id, surface))
        OnPassDrawn(dc, surface.GetDrawnBounds());
    else
        Default();
    ReleaseDC(dc);
}

const char* CSimView::RegisterViewWindowClass() const
{
    return RegisterViewClass();
}

void CSimView::OnPassDrawn(HDC, const RECT&) {}

bool CSimView::RunTimerPass(UINT_PTR id, CGdiSurface& surface)
{
    switch (id) {
    case TIMER_LIFTS:
        RunLiftPass(surface);
        return true;
    case TIMER_PEOPLE:
        RunPeoplePass(surface);
        return true;
    case TIMER_LEGEND:
        RunLegendPass(surface);
        return true;
    default:
        return false;
    }
}
