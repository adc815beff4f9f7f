#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../win/WindowTestSupport.h"
#include "settings/MemoryStore.h"
#include "settings/SettingsTable.h"
#include "sim/Building.h"
#include "view/MonitorCover.h"
#include "view/MonitorLayout.h"
#include "view/SaverWnd.h"
#include "view/Scene.h"
#include "view/SimView.h"
#include "win/WinApp.h"

namespace {

int g_viewsDeleted = 0;

// A view that counts its deletion and the timer ids it is handed.
class CSpyView : public CSimView {
public:
    explicit CSpyView(bool autoDelete) : CSimView(autoDelete) {}
    ~CSpyView() override { ++g_viewsDeleted; }

    BEGIN_MSG_MAP(CSpyView)
        ON_WM_TIMER(OnTimerSpy)
    END_MSG_MAP(CSimView)

    void OnTimerSpy(UINT_PTR id)
    {
        m_timerIds.insert(id);
        OnTimer(id);
    }
    std::set<UINT_PTR> m_timerIds;
};

// A full-screen saver whose deletion is counted.
class CSpySaver : public CSaverWnd {
public:
    ~CSpySaver() override { ++g_viewsDeleted; }
};

// The same two whose window class the platform refuses.
template <class View> class CRefused : public View {
public:
    using View::View;

protected:
    const char* RegisterViewWindowClass() const override { return nullptr; }
};

COLORREF PixelOf(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

std::vector<UINT> g_defaultMessages;
std::vector<WPARAM> g_defaultWParams;

// The procedure behind Default(): records what reached the default processing.
LRESULT CALLBACK RecordDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_defaultMessages.push_back(message);
    g_defaultWParams.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ReachedDefault(UINT message, WPARAM wParam)
{
    for (size_t index = 0; index < g_defaultMessages.size(); ++index) {
        if (g_defaultMessages[index] == message && g_defaultWParams[index] == wParam)
            return true;
    }
    return false;
}

// Fresh model and scene for every test, settings from a memory store.
class ViewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        RestartModel();
        RestartScene();
        g_viewsDeleted = 0;
        m_app.SetStore(&m_store);
        PumpMessages();
    }
    void TearDown() override
    {
        if (m_parent != nullptr)
            DestroyWindow(m_parent);
        PumpMessages();
        RestartScene();
        if (m_classReplaced)
            g_viewClassName = m_savedClassName;
    }

    // A visible top-level parent at the screen's corner whose client area is width x height.
    HWND MakeParent(int width, int height)
    {
        RECT frame = {0, 0, width, height};
        AdjustWindowRectEx(&frame, WS_POPUP, FALSE, 0);
        m_parent = CreatePlainWindow(WS_POPUP | WS_VISIBLE, 0, 0, frame.right - frame.left, frame.bottom - frame.top);
        return m_parent;
    }

    CSpyView* MakeChildView(int width, int height, bool autoDelete = true)
    {
        HWND parent = MakeParent(width, height);
        CSpyView* view = new CSpyView(autoDelete);
        RECT client;
        GetClientRect(parent, &client);
        view->CreateView(0, WS_CHILD | WS_VISIBLE, client, CWnd::FromHandle(parent), 0, nullptr);
        return view;
    }

    // Makes the next views default to RecordDefault, so a test sees what a handler passed on.
    void RecordDefaultProcessing()
    {
        static const char* const name = [] {
            WNDCLASSA description = {};
            description.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
            description.lpfnWndProc = RecordDefault;
            description.hInstance = GetModuleHandleA(nullptr);
            description.lpszClassName = "AscendaRecordingView";
            RegisterClassA(&description);
            return "AscendaRecordingView";
        }();
        m_savedClassName = g_viewClassName;
        m_classReplaced = true;
        g_viewClassName = name;
        g_defaultMessages.clear();
        g_defaultWParams.clear();
    }

    CWinApp m_app{"Ascenda"};
    CMemoryStore m_store;
    HWND m_parent = nullptr;
    std::string m_savedClassName;
    bool m_classReplaced = false;
};

TEST_F(ViewWindow, ChildViewExactlyFillsTheRectangleAndNamesItself)
{
    CSpyView* view = MakeChildView(400, 300);
    ASSERT_TRUE(view->IsWindow());
    RECT client;
    view->GetClientRect(&client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_EQ(GetParent(view->m_hWnd), m_parent);
    EXPECT_TRUE(view->IsWindowVisible());
    char title[64] = {};
    view->GetWindowText(title, sizeof title);
    EXPECT_STREQ(title, "Ascenda Vintra Screen Saver - Running");
    EXPECT_EQ(g_screenFactor, 400 / 67 + 1) << "the size message set the mapping";
    // width, height, factor: the width counts up to a 4:3 area of the height.
    const int sizes[][3] = {{67, 51, 2},      {66, 500, 1},  {0, 50, 1},    {1024, 768, 16},
                            {1920, 1080, 22}, {1920, 50, 1}, {400, 1000, 6}};
    for (const auto& size : sizes) {
        view->MoveWindow(0, 0, size[0], size[1]);
        EXPECT_EQ(g_screenFactor, size[2]) << size[0] << " x " << size[1];
    }
}

TEST_F(ViewWindow, ClassIsRegisteredOnceWithRedrawStylesAndNoBackground)
{
    CSpyView* first = MakeChildView(200, 100);
    const std::string className = g_viewClassName;
    ASSERT_FALSE(className.empty());
    WNDCLASSA description = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), className.c_str(), &description));
    EXPECT_EQ(description.style, static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(description.hbrBackground, nullptr);
    EXPECT_EQ(description.hIcon, nullptr);

    CSpyView* second = new CSpyView(true);
    ASSERT_TRUE(second->CreateView(0, WS_CHILD, RECT{0, 0, 50, 50}, first, 0, nullptr));
    char secondClass[128] = {};
    GetClassNameA(second->m_hWnd, secondClass, sizeof secondClass);
    EXPECT_EQ(className, secondClass) << "registered once";
}

TEST_F(ViewWindow, AllThreeTimersTickAndAdvanceTheModel)
{
    CSpyView* view = MakeChildView(670, 560);
    EXPECT_TRUE(PumpUntil([&] { return view->m_timerIds.size() == 3; }));
    EXPECT_EQ(view->m_timerIds, (std::set<UINT_PTR>{TIMER_LIFTS, TIMER_PEOPLE, TIMER_LEGEND}));
    EXPECT_EQ(g_liftCount, 2);
    // People decide trips and call lifts only on their own ticks: a lit button proves it.
    EXPECT_TRUE(PumpUntil([] { return g_calls > 0 || g_waitStats.count > 0; }, 10000));
}

TEST_F(ViewWindow, TimerPeriodsFollowTheSpeedThePersonIntervalAndTheSecond)
{
    const struct {
        bool stored;
        int32_t speed, interval;
        UINT liftPeriod, peoplePeriod;
    } cases[] = {
        {false, 0, 0, 101, 500}, // the defaults: speed 80, interval 500
        {true, 1, 2000, 496, 2000},
        {true, 100, 100, 1, 100},
        {true, -5, 730, 501, 730},
    };
    CSpyView* view = nullptr;
    for (const auto& periodCase : cases) {
        if (periodCase.stored) {
            m_store.Write(Setting::UpdSpd, periodCase.speed);
            m_store.Write(Setting::PassIntvl, periodCase.interval);
        }
        if (m_parent != nullptr)
            DestroyWindow(m_parent);
        view = MakeChildView(200, 100);
        EXPECT_EQ(view->GetTimerPeriod(TIMER_LIFTS), periodCase.liftPeriod) << periodCase.speed;
        EXPECT_EQ(view->GetTimerPeriod(TIMER_PEOPLE), periodCase.peoplePeriod) << periodCase.interval;
        EXPECT_EQ(view->GetTimerPeriod(TIMER_LEGEND), 1000u);
    }

    // The Properties dialog's setters: the speed restarts the lift timer, even from a stored
    // speed far below 0; a new interval waits for the next window.
    view->SetColoursAndSpeed(1, 40);
    EXPECT_EQ(view->GetTimerPeriod(TIMER_LIFTS), 301u);
    view->SetColoursAndSpeed(1, -1000000000);
    EXPECT_EQ(view->GetTimerPeriod(TIMER_LIFTS), 501u);
    view->SetCustom(10, 15, 50, 900, 10);
    EXPECT_EQ(view->GetTimerPeriod(TIMER_PEOPLE), 730u);
    EXPECT_EQ(view->GetTimerPeriod(TIMER_LEGEND), 1000u);

    // A view whose window was never created starts nothing.
    CSimView windowless(false);
    windowless.SetColoursAndSpeed(1, 100);
    EXPECT_EQ(windowless.GetTimerPeriod(TIMER_LIFTS), 0u);
}

TEST_F(ViewWindow, LiftTickMovesOnlyCarsAndPeopleTickOnlyPeople)
{
    CSpyView* view = MakeChildView(670, 560);
    for (UINT_PTR id : {TIMER_LIFTS, TIMER_PEOPLE, TIMER_LEGEND})
        view->KillTimer(id);
    PumpMessages();
    g_lifts[0].m_position = 100; // a car on its way from floor 1 to floor 6
    g_lifts[0].m_target = 6;
    g_lifts[0].m_direction = 1;
    const auto carPositions = [] {
        std::vector<int32_t> positions;
        for (const CLift& car : g_lifts)
            positions.push_back(car.m_position);
        return positions;
    };
    const auto peopleState = [] { return std::string(reinterpret_cast<const char*>(g_people), sizeof g_people); };

    std::vector<int32_t> cars = carPositions();
    std::string people = peopleState();
    view->SendMessage(WM_TIMER, TIMER_LIFTS);
    EXPECT_NE(carPositions(), cars) << "a lift tick moves the car";
    EXPECT_EQ(peopleState(), people) << "and no person";

    cars = carPositions();
    people = peopleState();
    view->SendMessage(WM_TIMER, TIMER_PEOPLE);
    EXPECT_NE(peopleState(), people) << "a people tick steps the people";
    EXPECT_EQ(carPositions(), cars) << "and moves no car";
}

TEST_F(ViewWindow, TimerWithAnotherIdGetsDefaultProcessing)
{
    RecordDefaultProcessing();
    CSpyView* view = MakeChildView(200, 100);
    KillTimer(view->m_hWnd, TIMER_LIFTS);
    KillTimer(view->m_hWnd, TIMER_PEOPLE);
    KillTimer(view->m_hWnd, TIMER_LEGEND);
    PumpMessages();
    g_defaultMessages.clear();
    g_defaultWParams.clear();
    view->SendMessage(WM_TIMER, 7);
    EXPECT_TRUE(ReachedDefault(WM_TIMER, 7));
    for (UINT_PTR id : {TIMER_LIFTS, TIMER_PEOPLE, TIMER_LEGEND}) {
        view->SendMessage(WM_TIMER, id);
        EXPECT_FALSE(ReachedDefault(WM_TIMER, id)) << "the view's own timer " << id;
    }
}

TEST_F(ViewWindow, SelfDeletingViewGoesWithItsParentAndAMemberViewOutlivesItsWindow)
{
    for (bool autoDelete : {true, false}) {
        g_viewsDeleted = 0;
        CSpyView* view = MakeChildView(200, 100, autoDelete);
        ASSERT_TRUE(view->IsWindow());
        DestroyWindow(m_parent);
        m_parent = nullptr;
        EXPECT_EQ(g_viewsDeleted, autoDelete ? 1 : 0) << autoDelete;
        if (!autoDelete) {
            EXPECT_EQ(view->m_hWnd, nullptr);
            delete view;
        }
    }
}

// Width 670: screen factor 11. At scale 25 the ground line is at world y 1187; floor 5's slab
// covers device rows 285 to 319 and floor 6's 241 to 275, so row 280 lies between two slabs and
// row 288 on floor 5's slab above its people; column 200 is clear of buttons and lifts.
constexpr int GAP_X = 200, GAP_Y = 280, SLAB_X = 200, SLAB_Y = 288;
const COLORREF BACKGROUND = RGB(0, 0, 128);
const COLORREF DIMMED = RGB(0, 0, 96);

TEST_F(ViewWindow, PaintingFillsTheDimmedBackgroundAndDrawsTheSlabs)
{
    CSpyView* view = MakeChildView(670, 560);
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(PixelOf(view->m_hWnd, GAP_X, GAP_Y), DIMMED);
    EXPECT_EQ(PixelOf(view->m_hWnd, SLAB_X, SLAB_Y), BACKGROUND);
    EXPECT_EQ(g_originX, 875);
    EXPECT_EQ(g_originY, 1187);
}

TEST_F(ViewWindow, ColoursOffFillsWithTheBackgroundItselfAndPaintsNoSlabs)
{
    m_store.Write(Setting::Colours, 0);
    CSpyView* view = MakeChildView(670, 560);
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(g_bgDivisor, 9);
    EXPECT_EQ(PixelOf(view->m_hWnd, GAP_X, GAP_Y), BACKGROUND);
    // Slabs would have the fill's colour here, so dim the fill to see whether any is painted.
    g_bgDivisor = 12;
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(PixelOf(view->m_hWnd, SLAB_X, SLAB_Y), DIMMED) << "no slab over the fill";
}

TEST_F(ViewWindow, ColoursAndSpeedSetterLeavesTheDimmingAndKeepsTheLiftsRunning)
{
    m_store.Write(Setting::Colours, 0);
    CSpyView* view = MakeChildView(670, 560);
    view->SetColoursAndSpeed(1, 100);
    EXPECT_EQ(view->m_colours, 1);
    EXPECT_EQ(g_bgDivisor, 9) << "the dimmed fill does not come back";
    view->m_timerIds.clear();
    EXPECT_TRUE(PumpUntil([&] { return view->m_timerIds.count(TIMER_LIFTS) != 0; }));
    // A speed beyond the range must not stop the lift timer either.
    view->SetUpdateSpeed(1000);
    view->m_timerIds.clear();
    EXPECT_TRUE(PumpUntil([&] { return view->m_timerIds.count(TIMER_LIFTS) != 0; }));
}

// Floor 1's slab, the people on it and the legend sit where the screen factor puts them: 16 at
// 1024 x 768 as ever, 22 at 1920 x 1080, where the layout follows a 1440-pixel 4:3 area.
TEST_F(ViewWindow, FloorOneItsPeopleAndTheLegendSitAtTheRowsOfTheScreenFactor)
{
    const struct {
        int width, height, factor;
        int slabTop, slabBottom, slabRight, personRow, legendTop;
    } layouts[] = {
        {1024, 768, 16, 670, 720, 528, 695, 746},
        {1920, 1080, 22, 921, 991, 726, 956, 1026},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.width);
        RestartModel();
        if (m_parent != nullptr)
            DestroyWindow(m_parent);
        CSpyView* view = MakeChildView(layout.width, layout.height);
        HWND window = view->m_hWnd;
        view->UpdateWindow();
        EXPECT_EQ(g_screenFactor, layout.factor);
        EXPECT_EQ(PixelOf(window, 300, layout.slabTop - 3), DIMMED);
        EXPECT_EQ(PixelOf(window, 300, layout.slabTop + 3), BACKGROUND);
        EXPECT_EQ(PixelOf(window, 300, layout.slabBottom - 3), BACKGROUND);
        EXPECT_EQ(PixelOf(window, 300, layout.slabBottom + 3), DIMMED);
        EXPECT_TRUE(PumpUntil([&] {
            for (int x = 0; x <= layout.slabRight; ++x) {
                if (!IsOneOf(PixelOf(window, x, layout.personRow), {BACKGROUND, DIMMED}))
                    return true;
            }
            return false;
        })) << "a person on floor 1";
        EXPECT_TRUE(PumpUntil([&] {
            int olive = 0;
            for (int x = 0; x < 600; ++x)
                olive += PixelOf(window, x, layout.legendTop + 6) == RGB(128, 128, 0) ? 1 : 0;
            return olive > 10;
        })) << "the legend";
        EXPECT_NE(PixelOf(window, 300, layout.legendTop - 3), RGB(128, 128, 0)) << "nothing of it above its top";
    }
}

TEST_F(ViewWindow, RunningViewShowsButtonsCarsAndTheLegend)
{
    CSpyView* view = MakeChildView(670, 560);
    // Call buttons at device x 385 (floor 5's up button on rows 287 to 299); lift 0's car at
    // x 429; the legend line from device y 513 and x 11.
    const auto buttonsErased = [&] {
        return IsOneOf(PixelOf(view->m_hWnd, 385, 293), {BACKGROUND, RGB(0, 128, 0), RGB(128, 0, 0)});
    };
    const auto carShown = [&] {
        for (int y = 0; y < 560; y += 2) {
            if (IsOneOf(PixelOf(view->m_hWnd, 429, y), {RGB(128, 128, 0), RGB(0, 128, 0), RGB(128, 0, 0)}))
                return true;
        }
        return false;
    };
    const auto legendShown = [&] {
        int olive = 0;
        for (int x = 11; x < 400; ++x)
            olive += PixelOf(view->m_hWnd, x, 513 + 6) == RGB(128, 128, 0) ? 1 : 0;
        return olive > 10;
    };
    EXPECT_TRUE(PumpUntil(buttonsErased)) << "the button pass redraws its squares in the background";
    EXPECT_TRUE(PumpUntil(carShown));
    EXPECT_TRUE(PumpUntil(legendShown));
}

TEST_F(ViewWindow, LegendOffDrawsNoLegend)
{
    m_store.Write(Setting::Legend, 0);
    CSpyView* view = MakeChildView(670, 560);
    EXPECT_TRUE(PumpUntil([&] { return view->m_timerIds.count(TIMER_LEGEND) != 0; }));
    view->SendMessage(WM_TIMER, TIMER_LEGEND);
    for (int x = 11; x < 400; ++x)
        ASSERT_NE(PixelOf(view->m_hWnd, x, 513 + 6), RGB(128, 128, 0)) << "at x " << x;
}

TEST_F(ViewWindow, LongRunLeavesTheGdiAndUserObjectCountsFlat)
{
    m_store.Write(Setting::People, 100);
    m_store.Write(Setting::Cars, 10);
    CSpyView* view = MakeChildView(670, 560);
    const auto runPasses = [&](int rounds) {
        for (int round = 0; round < rounds; ++round) {
            view->SendMessage(WM_TIMER, TIMER_LIFTS);
            view->SendMessage(WM_TIMER, TIMER_PEOPLE);
            if (round % 20 == 0) {
                view->SendMessage(WM_TIMER, TIMER_LEGEND);
                RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
        }
    };
    runPasses(20);
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const int freeBefore = CountFreeGdiHandles();
    runPasses(400);
    EXPECT_EQ(CountFreeGdiHandles(), freeBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
}

BOOL CALLBACK CountOwnedWindow(HWND window, LPARAM parameter)
{
    auto* counted = reinterpret_cast<std::pair<HWND, int>*>(parameter);
    if (GetWindow(window, GW_OWNER) == counted->first)
        ++counted->second;
    return TRUE;
}

int CountOwnedWindows(HWND owner)
{
    std::pair<HWND, int> counted(owner, 0);
    EnumThreadWindows(GetCurrentThreadId(), CountOwnedWindow, reinterpret_cast<LPARAM>(&counted));
    return counted.second;
}

bool CloseIsQueued(HWND window)
{
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

class FullScreen : public ViewWindow {
protected:
    void SetUp() override
    {
        ViewWindow::SetUp();
        SetCursorPos(600, 400);
        QuitMessagesSeen() = 0;
    }
    void TearDown() override
    {
        if (m_window != nullptr && IsWindow(m_window))
            DestroyWindow(m_window);
        g_listMonitors = ListDisplayMonitors;
        ViewWindow::TearDown();
    }

    CSaverWnd* MakeSaver()
    {
        CSaverWnd* saver = new CSaverWnd;
        saver->CreateFullScreen();
        m_window = saver->m_hWnd;
        // Let the platform report whatever it reports on its own, then start from no position.
        PumpMessages();
        saver->ForgetPointer();
        return saver;
    }

    bool ClosesAfter(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        CSaverWnd* saver = MakeSaver();
        HWND window = saver->m_hWnd;
        SendMessageA(window, message, wParam, lParam);
        return PumpUntil([&] { return !IsWindow(window); });
    }

    HWND m_window = nullptr;
};

TEST_F(FullScreen, CoversThePrimaryScreenOnTopAndHidesThePointer)
{
    CSaverWnd* saver = MakeSaver();
    RECT frame;
    saver->GetWindowRect(&frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(frame.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NE(GetWindowLongA(saver->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const LONG style = GetWindowLongA(saver->m_hWnd, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_NE(style & WS_VISIBLE, 0);
    EXPECT_EQ(GetParent(saver->m_hWnd), nullptr);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "the virtual display";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(g_screenFactor, 22) << "the layout of a 1440 x 1080 area";
    EXPECT_EQ(CountOwnedWindows(saver->m_hWnd), 0) << "one monitor: nothing to cover";

    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    ASSERT_NE(GetCursor(), nullptr);
    EXPECT_TRUE(
        saver->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(saver->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), nullptr) << "the pointer is hidden";
}

TEST_F(FullScreen, FirstMouseMoveAndLaterOnesAtTheSamePlaceKeepItOpen)
{
    RecordDefaultProcessing();
    CSaverWnd* saver = MakeSaver();
    g_defaultMessages.clear();
    g_defaultWParams.clear();
    saver->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(saver->GetInputRule().GetRestX(), 300);
    EXPECT_EQ(saver->GetInputRule().GetRestY(), 200);
    EXPECT_FALSE(ReachedDefault(WM_MOUSEMOVE, 0)) << "the first report is swallowed";
    saver->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    EXPECT_FALSE(CloseIsQueued(saver->m_hWnd));
    PumpMessages();
    EXPECT_TRUE(IsWindow(m_window));
    saver->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 201));
    EXPECT_TRUE(CloseIsQueued(m_window));
    EXPECT_TRUE(ReachedDefault(WM_MOUSEMOVE, 0));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(m_window); }));

    saver = MakeSaver();
    saver->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    saver->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(299, 200));
    EXPECT_TRUE(CloseIsQueued(m_window)) << "one unit sideways";
}

TEST_F(FullScreen, KeysEveryButtonTheWheelAndAnotherActiveApplicationCloseItAndEndTheProcess)
{
    const struct {
        UINT message;
        WPARAM wParam;
    } closers[] = {{WM_KEYDOWN, VK_SPACE},
                   {WM_SYSKEYDOWN, VK_MENU},
                   {WM_LBUTTONDOWN, MK_LBUTTON},
                   {WM_MBUTTONDOWN, MK_MBUTTON},
                   {WM_RBUTTONDOWN, MK_RBUTTON},
                   {WM_LBUTTONDBLCLK, MK_LBUTTON},
                   {WM_RBUTTONDBLCLK, MK_RBUTTON},
                   {WM_ACTIVATEAPP, FALSE},
                   {WM_MOUSEWHEEL, WHEEL_DELTA << 16},
                   {WM_MOUSEHWHEEL, WHEEL_DELTA << 16}};
    for (const auto& closer : closers) {
        QuitMessagesSeen() = 0;
        EXPECT_TRUE(ClosesAfter(closer.message, closer.wParam, MAKELPARAM(5, 5))) << closer.message;
        EXPECT_GE(QuitMessagesSeen(), 1) << closer.message;
        EXPECT_EQ(CWnd::FromHandlePermanent(m_window), nullptr) << "the object deleted itself";
    }
}

TEST_F(FullScreen, LosingTheActivationCloses)
{
    CSaverWnd* saver = MakeSaver();
    HWND other = CreatePlainWindow(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, WS_EX_TOPMOST);
    ASSERT_NE(other, nullptr);
    SetActiveWindow(saver->m_hWnd);
    SetActiveWindow(other);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(m_window); }));
    DestroyWindow(other);
}

TEST_F(FullScreen, OnlyLosingTheActivationClosesAndAReleasedKeyDoesNot)
{
    CSaverWnd* saver = MakeSaver();
    saver->SendMessage(WM_ACTIVATEAPP, TRUE, 0);
    saver->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    saver->SendMessage(WM_KEYUP, VK_RETURN, 0xC0000001); // the release of the key that started it
    EXPECT_FALSE(CloseIsQueued(m_window));
    saver->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(CloseIsQueued(m_window));
}

TEST_F(FullScreen, ScreenSaveAndCloseCommandsAndTheInactiveLookAreDropped)
{
    RecordDefaultProcessing();
    CSaverWnd* saver = MakeSaver();
    g_defaultMessages.clear();
    g_defaultWParams.clear();
    saver->SendMessage(WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    saver->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(ReachedDefault(WM_SYSCOMMAND, SC_SCREENSAVE));
    EXPECT_FALSE(ReachedDefault(WM_SYSCOMMAND, SC_CLOSE));
    PumpMessages();
    EXPECT_TRUE(IsWindow(m_window)) << "SC_CLOSE's default processing would have closed it";
    saver->SendMessage(WM_SYSCOMMAND, SC_ARRANGE, 0);
    EXPECT_TRUE(ReachedDefault(WM_SYSCOMMAND, SC_ARRANGE)) << "other commands get default processing";

    EXPECT_EQ(saver->SendMessage(WM_NCACTIVATE, FALSE, 0), FALSE) << "the inactive look is refused";
    EXPECT_FALSE(ReachedDefault(WM_NCACTIVATE, FALSE));
    saver->SendMessage(WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(ReachedDefault(WM_NCACTIVATE, TRUE));
}

// A cover as the saver puts one over a monitor other than the primary; here over a corner of the
// one monitor there is.
const RECT COVERED = {1500, 100, 1700, 300};

// One more cover of saver's, over monitor.
CMonitorCover* AddCover(CSaverWnd* saver, const RECT& monitor)
{
    saver->GetMonitorCovers().CoverMonitors(saver->m_hWnd, {monitor});
    return saver->GetMonitorCovers().GetCovers().back();
}

TEST_F(FullScreen, CoverFillsItsMonitorOnTopHidesThePointerAndLeavesTheActivation)
{
    CSaverWnd* saver = MakeSaver();
    ASSERT_EQ(GetActiveWindow(), m_window);
    CMonitorCover* cover = AddCover(saver, COVERED);
    HWND coverWindow = cover->m_hWnd;
    RECT frame;
    GetWindowRect(coverWindow, &frame);
    EXPECT_TRUE(EqualRect(&frame, &COVERED));
    EXPECT_TRUE(IsWindowVisible(coverWindow));
    EXPECT_NE(GetWindowLongA(coverWindow, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(coverWindow, GW_OWNER), m_window);
    PumpMessages();
    EXPECT_TRUE(IsWindow(m_window)) << "covering a monitor does not end the saver";
    EXPECT_EQ(GetActiveWindow(), m_window);
    UpdateWindow(coverWindow);
    EXPECT_EQ(PixelOf(coverWindow, 100, 100), DIMMED);
    EXPECT_EQ(PixelOf(coverWindow, 199, 199), DIMMED);

    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_TRUE(cover->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(coverWindow), MAKELPARAM(HTCLIENT, 0)));
    EXPECT_EQ(GetCursor(), nullptr) << "the pointer is hidden";

    DestroyWindow(m_window);
    EXPECT_FALSE(IsWindow(coverWindow)) << "the cover goes with the saver's window";
    EXPECT_EQ(CWnd::FromHandlePermanent(coverWindow), nullptr);
}

TEST_F(FullScreen, CoverEndsTheWholeSaverOnInputTheLossOfActivationOrAMove)
{
    const struct {
        UINT message;
        WPARAM wParam;
    } closers[] = {
        {WM_KEYDOWN, VK_SPACE},         {WM_SYSKEYDOWN, VK_MENU},
        {WM_LBUTTONDOWN, MK_LBUTTON},   {WM_MBUTTONDOWN, MK_MBUTTON},
        {WM_RBUTTONDOWN, MK_RBUTTON},   {WM_LBUTTONDBLCLK, MK_LBUTTON},
        {WM_RBUTTONDBLCLK, MK_RBUTTON}, {WM_ACTIVATE, WA_INACTIVE},
        {WM_ACTIVATEAPP, FALSE},        {WM_MOUSEMOVE, 0}}; // (5, 5) on the cover, away from the saver's first position
    for (const auto& closer : closers) {
        QuitMessagesSeen() = 0;
        CSaverWnd* saver = MakeSaver();
        saver->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
        CMonitorCover* cover = AddCover(saver, COVERED);
        HWND coverWindow = cover->m_hWnd;
        cover->SendMessage(closer.message, closer.wParam, MAKELPARAM(5, 5));
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(m_window) && !IsWindow(coverWindow); })) << closer.message;
        EXPECT_GE(QuitMessagesSeen(), 1) << closer.message;
    }
}

TEST_F(FullScreen, CoverJudgesThePointerAgainstTheFirstPositionOfAnyOfTheSaversWindows)
{
    CSaverWnd* saver = MakeSaver();
    CMonitorCover* cover = AddCover(saver, COVERED);
    cover->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 7));
    EXPECT_EQ(saver->GetInputRule().GetRestX(), 1505) << "kept in screen coordinates";
    EXPECT_EQ(saver->GetInputRule().GetRestY(), 107);
    cover->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 7));
    EXPECT_FALSE(CloseIsQueued(m_window)) << "the same place again";
    cover->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 8));
    EXPECT_TRUE(CloseIsQueued(m_window)) << "one unit away";
}

TEST_F(FullScreen, FirstPointerReportAtMinusOneOnAMonitorLeftOfThePrimaryCountsAsTheFirst)
{
    CSaverWnd* saver = MakeSaver();
    CMonitorCover* cover = AddCover(saver, {-200, -200, 0, 0});
    cover->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(199, 199)); // (-1, -1) on the screen
    EXPECT_FALSE(CloseIsQueued(m_window)) << "the first report";
    cover->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(198, 199));
    EXPECT_TRUE(CloseIsQueued(m_window)) << "one unit away from the first report";
}

MonitorLayout g_fakeMonitors;

TEST_F(FullScreen, DisplayChangeFitsThePrimaryAndCoversExactlyTheMonitorsThereAre)
{
    g_fakeMonitors = {{0, 0, 1920, 1080}, {{1920, 0, 2560, 480}, {-640, 0, 0, 480}}};
    g_listMonitors = [] { return g_fakeMonitors; };
    CSaverWnd* saver = MakeSaver();
    ASSERT_EQ(saver->GetMonitorCovers().GetCovers().size(), 2u);
    // What the platform does with the window of a monitor that went away.
    ::SetWindowPos(saver->GetMonitorCovers().GetCovers()[1]->m_hWnd, nullptr, 100, 100, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);
    g_fakeMonitors = {{0, 0, 1280, 1024}, {{1280, 0, 1920, 480}}};
    saver->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));

    RECT frame;
    saver->GetWindowRect(&frame);
    EXPECT_TRUE(EqualRect(&frame, &g_fakeMonitors.primary));
    EXPECT_EQ(CountOwnedWindows(m_window), 1);
    ASSERT_EQ(saver->GetMonitorCovers().GetCovers().size(), 1u);
    saver->GetMonitorCovers().GetCovers()[0]->GetWindowRect(&frame);
    EXPECT_TRUE(EqualRect(&frame, &g_fakeMonitors.others[0]));
}

// Sends the pointer report the platform makes for screen position to the window that lies there
// (the saver's or a cover), in its client coordinates.
void ReportPointer(POINT screen)
{
    HWND window = WindowFromPoint(screen);
    ScreenToClient(window, &screen);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
}

TEST_F(FullScreen, PointerThatADisplayChangeMovedDoesNotEndItButTheNextMovementDoes)
{
    // Before the change the pointer rests at first, over the primary or the cover of COVERED; the
    // change moves it to rest, over the primary or a cover again.
    const struct {
        const char* change;
        MonitorLayout after;
        POINT first, rest;
    } changes[] = {
        {"its monitor went away", {{0, 0, 1920, 1080}, {}}, {1600, 200}, {1000, 500}},
        {"a new resolution clamped it", {{0, 0, 1920, 1080}, {{1500, 100, 1650, 250}}}, {600, 400}, {1649, 249}},
    };
    g_listMonitors = [] { return g_fakeMonitors; };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.change);
        g_fakeMonitors = {{0, 0, 1920, 1080}, {COVERED}};
        SetCursorPos(change.first.x, change.first.y);
        CSaverWnd* saver = MakeSaver();
        ReportPointer(change.first);
        SetCursorPos(change.rest.x, change.rest.y);
        g_fakeMonitors = change.after;
        saver->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
        PumpMessages(); // the platform's own report of the new place, if it makes one
        ASSERT_TRUE(IsWindow(m_window));
        ReportPointer(change.rest);
        PumpMessages();
        ASSERT_TRUE(IsWindow(m_window)) << "the pointer's new place is a new first position";
        ReportPointer({change.rest.x, change.rest.y + 1});
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(m_window); })) << "a movement after the change";
    }
}

// How many of every other pixel of window's client area, across and down, have colour.
int CountPixels(HWND window, COLORREF colour)
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < client.bottom; y += 2) {
        for (int x = 0; x < client.right; x += 2)
            count += GetPixel(dc, x, y) == colour ? 1 : 0;
    }
    ReleaseDC(window, dc);
    return count;
}

TEST_F(FullScreen, MirroringCoverShowsTheBuildingAgainWhenUncoveredOrAfterADisplayChange)
{
    m_store.Write(Setting::AllMonitors, 1);
    // The primary and the other monitor side by side on the one real screen.
    g_fakeMonitors = {{0, 0, 1280, 1024}, {{1400, 100, 1720, 356}}};
    g_listMonitors = [] { return g_fakeMonitors; };
    CSaverWnd* saver = MakeSaver();
    const auto& covers = saver->GetMonitorCovers().GetCovers();
    const COLORREF white = RGB(255, 255, 255);
    // The slabs have the background colour, the fill around them the dimmed one.
    const auto showsTheBuilding = [&] {
        return covers.size() == 1 && CountPixels(covers[0]->m_hWnd, BACKGROUND) > 500 &&
               CountPixels(covers[0]->m_hWnd, white) == 0;
    };
    EXPECT_TRUE(PumpUntil(showsTheBuilding)) << "from the start";

    // What lay over the cover has left its picture there when the platform asks for a repaint.
    HWND cover = covers[0]->m_hWnd;
    HDC dc = GetDC(cover);
    RECT client;
    GetClientRect(cover, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(cover, dc);
    RedrawWindow(cover, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(showsTheBuilding()) << "uncovered";

    g_fakeMonitors = {{0, 0, 1024, 768}, {{1100, 300, 1740, 780}}};
    saver->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_TRUE(PumpUntil(showsTheBuilding)) << "after a display change";
}

TEST_F(FullScreen, FullRepaintReachesEveryMirroringCoverWhicheverPaintsFirst)
{
    // The slabs, in the background colour, are fixed parts that only a full paint draws; nothing
    // pumps the timers here, so no pass runs. The display changes to the same monitors (as at the
    // start: nothing painted yet), then to a smaller primary.
    m_store.Write(Setting::AllMonitors, 1);
    g_listMonitors = [] { return g_fakeMonitors; };
    for (bool coversFirst : {true, false}) {
        g_fakeMonitors = {{0, 0, 1280, 1024}, {{1400, 100, 1720, 356}, {1400, 400, 1600, 700}}};
        CSaverWnd* saver = new CSaverWnd;
        ASSERT_TRUE(saver->CreateFullScreen());
        m_window = saver->m_hWnd;
        for (const RECT primary : {RECT{0, 0, 1280, 1024}, RECT{0, 0, 1024, 768}}) {
            g_fakeMonitors.primary = primary;
            saver->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(primary.right, primary.bottom));
            const auto& covers = saver->GetMonitorCovers().GetCovers();
            for (size_t index = 0; coversFirst && index < covers.size(); ++index)
                UpdateWindow(covers[index]->m_hWnd);
            UpdateWindow(m_window);
            EXPECT_EQ(covers.size(), 2u);
            for (CMonitorCover* cover : covers)
                EXPECT_GT(CountPixels(cover->m_hWnd, BACKGROUND), 500) << coversFirst << " " << primary.right;
        }
        DestroyWindow(m_window);
        PumpMessages();
    }
}

TEST_F(FullScreen, PictureKeepsItsAspectCentredOnAnyMonitor)
{
    const struct {
        int width, height;
        RECT target, fitted;
    } cases[] = {{1920, 1080, {0, 0, 1280, 1024}, {0, 152, 1280, 872}},
                 {1280, 1024, {-1920, 0, 0, 1080}, {-1635, 0, -285, 1080}},
                 {0, 600, {0, 0, 100, 100}, {50, 50, 50, 50}}};
    for (const auto& fit : cases) {
        const RECT fitted = FitPicture(fit.width, fit.height, fit.target);
        EXPECT_TRUE(EqualRect(&fitted, &fit.fitted)) << fit.width << " x " << fit.height;
    }
    // {from, to, picture, fitted} gives {source from, source to, target from, target to}.
    const int spans[][8] = {{6, 7, 800, 640, 5, 10, 4, 8},
                            {1910, 1990, 1920, 1920, 1910, 1920, 1910, 1920},
                            {0, 10, 0, 100, 0, 0, 0, 0},
                            {7, 7, 800, 640, 0, 0, 0, 0}};
    for (const auto& span : spans) {
        const PictureSpan mapped = MapPictureSpan(span[0], span[1], span[2], span[3]);
        EXPECT_EQ((std::vector<int>{mapped.sourceFrom, mapped.sourceTo, mapped.targetFrom, mapped.targetTo}),
                  std::vector<int>(span + 4, span + 8));
    }
}

TEST_F(ViewWindow, ViewWhoseClassIsRefusedEndsCleanlyInPreviewAndFullScreen)
{
    m_savedClassName = g_viewClassName;
    m_classReplaced = true;
    g_viewClassName.clear();
    HWND parent = MakeParent(200, 100);
    // The view as the program makes it: the application's main window before its creation.
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen);
        g_viewsDeleted = 0;
        QuitMessagesSeen() = 0;
        bool created = true;
        if (fullScreen) {
            CSpySaver* saver = new CRefused<CSpySaver>;
            m_app.m_pMainWnd = saver;
            created = saver->CreateFullScreen();
        } else {
            CSpyView* view = new CRefused<CSpyView>(true);
            m_app.m_pMainWnd = view;
            created = view->CreateView(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 100}, CWnd::FromHandle(parent));
        }
        EXPECT_FALSE(created);
        EXPECT_EQ(g_viewsDeleted, 1) << "the object deleted itself, once";
        EXPECT_EQ(m_app.m_pMainWnd, nullptr);
        PumpMessages();
        EXPECT_EQ(QuitMessagesSeen(), 1) << "the message loop is told to end";
        EXPECT_TRUE(g_viewClassName.empty()) << "a later view tries again";
    }
}

TEST_F(ViewWindow, SizesAbove32767AreReadUnsigned)
{
    MakeChildView(300, 200)->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1920, 40000));
    EXPECT_EQ(g_screenFactor, 1920 / 67 + 1);
}

} // namespace
