#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "win/WinApp.h"
#include "win/Wnd.h"

namespace {

constexpr UINT WM_TEST_BASE = WM_APP + 1;
constexpr UINT WM_TEST_DERIVED = WM_APP + 2;
constexpr UINT WM_TEST_SHARED = WM_APP + 3;

int g_liveWindows = 0;

// A window that records what its handlers saw.
class CRecordingWnd : public CWnd {
public:
    CRecordingWnd() { ++g_liveWindows; }
    ~CRecordingWnd() override { --g_liveWindows; }

    bool Create(HWND parent = nullptr, DWORD style = WS_POPUP)
    {
        return CreateEx(0, RegisterWndClass(0), "recording", style, 0, 0, 200, 100, parent, nullptr, nullptr);
    }

    BEGIN_MSG_MAP(CRecordingWnd)
        ON_WM_CREATE(OnCreate)
        ON_MESSAGE(WM_NCCREATE, OnNcCreate)
        ON_MESSAGE(WM_TEST_BASE, OnTestBase)
        ON_MESSAGE(WM_TEST_SHARED, OnTestShared)
        ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
        ON_WM_TIMER(OnTimer)
        ON_WM_SIZE(OnSize)
    END_MSG_MAP(CWnd)

    void PostNcDestroy() override
    {
        ++m_postNcDestroyCalls;
        if (m_deleteSelf)
            delete this;
    }

    int OnCreate(CREATESTRUCTA* creation)
    {
        m_createdWithName = creation->lpszName;
        if (Default() == -1)
            return -1;
        return m_refuseCreation ? -1 : 0;
    }
    LRESULT OnNcCreate(WPARAM, LPARAM)
    {
        m_sawNcCreate = true;
        return Default();
    }
    LRESULT OnTestBase(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    LRESULT OnTestShared(WPARAM, LPARAM) { return 1; }
    // Default processing first, then our own addition: the default result must reach us.
    LRESULT OnGetTextLength(WPARAM, LPARAM) { return Default() + 1000; }
    void OnTimer(UINT_PTR id) { m_timerIds.push_back(id); }
    void OnSize(UINT, int width, int height)
    {
        m_lastWidth = width;
        m_lastHeight = height;
        Default();
    }

    bool m_sawNcCreate = false;
    bool m_refuseCreation = false;
    bool m_deleteSelf = false;
    int m_postNcDestroyCalls = 0;
    std::string m_createdWithName;
    std::vector<UINT_PTR> m_timerIds;
    int m_lastWidth = -1;
    int m_lastHeight = -1;
};

class CDerivedWnd : public CRecordingWnd {
public:
    BEGIN_MSG_MAP(CDerivedWnd)
        ON_MESSAGE(WM_TEST_DERIVED, OnTestDerived)
        ON_MESSAGE(WM_TEST_SHARED, OnTestSharedHere)
    END_MSG_MAP(CRecordingWnd)

    LRESULT OnTestDerived(WPARAM, LPARAM) { return 77; }
    LRESULT OnTestSharedHere(WPARAM, LPARAM) { return 2; }
};

class WindowLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        PumpMessages();
        g_liveWindows = 0;
    }
    void TearDown() override
    {
        CWnd::DeleteTemporaryWrappers();
        PumpMessages();
    }
};

TEST_F(WindowLibrary, MessagesFromNcCreateOnReachTheMapChainedToTheBaseOthersGetDefaultProcessing)
{
    CDerivedWnd window;
    ASSERT_TRUE(window.Create());
    EXPECT_TRUE(window.m_sawNcCreate) << "base entries still see the creation";
    EXPECT_EQ(window.m_createdWithName, "recording");
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
    EXPECT_EQ(window.SendMessage(WM_TEST_BASE, 40, 2), 42);
    EXPECT_EQ(window.SendMessage(WM_TEST_DERIVED), 77);
    EXPECT_EQ(window.SendMessage(WM_TEST_SHARED), 2) << "the derived entry wins";
    window.SendMessage(WM_TIMER, 7, 0);
    ASSERT_EQ(window.m_timerIds.size(), 1u);
    EXPECT_EQ(window.m_timerIds[0], 7u);
    window.MoveWindow(0, 0, 321, 123);
    RECT client;
    window.GetClientRect(&client);
    EXPECT_EQ(window.m_lastWidth, client.right);
    EXPECT_EQ(window.m_lastHeight, client.bottom);
    // WM_SETTEXT has no entry: only the default processing stores the text.
    window.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12345"));
    char text[32] = {};
    GetWindowTextA(window.m_hWnd, text, sizeof text);
    EXPECT_STREQ(text, "12345");
    EXPECT_EQ(window.SendMessage(WM_GETTEXTLENGTH), 1005) << "a handler calling Default gets its result";
    EXPECT_EQ(window.SendMessage(WM_APP + 50, 1, 1), 0);
    window.DestroyWindow();
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(window.m_postNcDestroyCalls, 1);
}

TEST_F(WindowLibrary, SelfDeletingWindowsGoAfterTheirWindowEvenWhenRefusedOrDestroyedWithTheParent)
{
    CRecordingWnd* window = new CRecordingWnd;
    window->m_deleteSelf = true;
    ASSERT_TRUE(window->Create());
    HWND handle = window->m_hWnd;
    EXPECT_EQ(g_liveWindows, 1);
    DestroyWindow(handle);
    EXPECT_EQ(g_liveWindows, 0);
    EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);

    CRecordingWnd parent;
    ASSERT_TRUE(parent.Create());
    CRecordingWnd* child = new CRecordingWnd;
    child->m_deleteSelf = true;
    ASSERT_TRUE(child->Create(parent.m_hWnd, WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(g_liveWindows, 2);
    parent.DestroyWindow();
    EXPECT_EQ(g_liveWindows, 1) << "the child object deleted itself";

    CRecordingWnd* refused = new CRecordingWnd;
    refused->m_refuseCreation = true;
    refused->m_deleteSelf = true;
    EXPECT_FALSE(refused->Create());
    EXPECT_EQ(g_liveWindows, 1) << "PostNcDestroy ran for the refused window";
}

TEST_F(WindowLibrary, FromHandleWrapsAForeignWindowWithoutTakingItsMessages)
{
    HWND foreign = CreatePlainWindow(WS_POPUP, 0, 0, 50, 50);
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    CWnd* wrapper = CWnd::FromHandle(foreign);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), wrapper) << "one wrapper per window until the wrappers are dropped";
    EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(DefWindowProcA));
    wrapper->SetWindowText("wrapped");
    char text[16] = {};
    GetWindowTextA(foreign, text, sizeof text);
    EXPECT_STREQ(text, "wrapped");
    CWnd::DeleteTemporaryWrappers();
    EXPECT_TRUE(IsWindow(foreign)) << "dropping the wrapper leaves the window alone";
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    DestroyWindow(foreign);
}

TEST_F(WindowLibrary, SubclassedWindowRoutesThroughTheMapAndDefaultsToItsOldProcedure)
{
    HWND edit =
        CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    {
        CRecordingWnd window;
        ASSERT_TRUE(window.SubclassWindow(edit));
        EXPECT_FALSE(CRecordingWnd().SubclassWindow(edit)) << "a window binds to one object only";
        EXPECT_EQ(window.SendMessage(WM_TEST_BASE, 5, 6), 11);
        SetWindowTextA(edit, "abc");
        // The edit control's own procedure answers the length; our handler adds to it.
        EXPECT_EQ(window.SendMessage(WM_GETTEXTLENGTH), 1003);
        EXPECT_EQ(window.UnsubclassWindow(), edit);
        EXPECT_EQ(window.m_hWnd, nullptr);
    }
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 3);
    DestroyWindow(edit);
}

TEST_F(WindowLibrary, ObjectDeletedBeforeItsWindowLeavesAWorkingWindow)
{
    HWND handle = nullptr;
    {
        CRecordingWnd window;
        ASSERT_TRUE(window.Create());
        handle = window.m_hWnd;
    }
    ASSERT_TRUE(IsWindow(handle));
    EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
    EXPECT_EQ(SendMessageA(handle, WM_TEST_BASE, 1, 1), 0) << "no handler of a deleted object runs";
    DestroyWindow(handle);
}

// PreTranslateMessage of every window of ours from the target up to the root.
class CFilteringWnd : public CRecordingWnd {
public:
    bool PreTranslateMessage(MSG* message) override
    {
        ++m_seen;
        return message->message == WM_KEYDOWN;
    }
    int m_seen = 0;
};

TEST_F(WindowLibrary, PreTranslateReachesEveryOwnWindowFromTheTargetUpToTheRoot)
{
    CFilteringWnd parent;
    ASSERT_TRUE(parent.Create());
    HWND foreignChild = CreatePlainWindow(WS_CHILD, 0, 0, 10, 10, parent.m_hWnd);
    ASSERT_NE(foreignChild, nullptr);
    MSG key = {foreignChild, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
    EXPECT_TRUE(PreTranslateThroughWindows(&key));
    MSG character = {foreignChild, WM_CHAR, 'x', 0, 0, {0, 0}};
    EXPECT_FALSE(PreTranslateThroughWindows(&character));
    EXPECT_EQ(parent.m_seen, 2);
    MSG threadMessage = {nullptr, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
    EXPECT_FALSE(PreTranslateThroughWindows(&threadMessage));
    parent.DestroyWindow();
}

TEST_F(WindowLibrary, RegisteredClassesAreReusedPerDistinctArguments)
{
    const char* first = RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    EXPECT_STRNE(first, RegisterWndClass(CS_HREDRAW));
}

TEST_F(WindowLibrary, TimersTickUntilKilledKeepTheirPeriodsAndNeedAWindow)
{
    CRecordingWnd unbound;
    // Without a window the platform would start a thread timer under a new id: nothing may start.
    EXPECT_EQ(unbound.SetTimer(5, 10), 0u);
    EXPECT_EQ(unbound.GetTimerPeriod(5), 0u);
    EXPECT_FALSE(unbound.KillTimer(5));

    CRecordingWnd window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(window.SetTimer(5, 10), 5u);
    window.SetTimer(6, 700);
    EXPECT_TRUE(PumpUntil([&] { return !window.m_timerIds.empty(); }));
    EXPECT_EQ(window.m_timerIds.front(), 5u);
    EXPECT_EQ(window.GetTimerPeriod(5), 10u);
    EXPECT_EQ(window.GetTimerPeriod(6), 700u);
    window.SetTimer(5, 30);
    EXPECT_EQ(window.GetTimerPeriod(5), 30u) << "setting a running timer again replaces its period";
    EXPECT_TRUE(window.KillTimer(5));
    EXPECT_FALSE(window.KillTimer(5));
    EXPECT_EQ(window.GetTimerPeriod(5), 0u);
    EXPECT_EQ(window.GetTimerPeriod(6), 700u);
    window.DestroyWindow();
    EXPECT_EQ(window.GetTimerPeriod(6), 0u) << "timers end with the window";
}

} // namespace
