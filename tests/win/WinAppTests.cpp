#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "WindowTestSupport.h"
#include "settings/MemoryStore.h"
#include "win/WinApp.h"
#include "win/Wnd.h"

namespace {

// A window that destroys itself on its first timer tick, as a user's close would.
class CShortLivedWnd : public CWnd {
public:
    bool Create()
    {
        const char* className = m_className != nullptr ? m_className : RegisterWndClass(0);
        return CreateEx(0, className, "short", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr);
    }
    BEGIN_MSG_MAP(CShortLivedWnd)
        ON_WM_CREATE(OnCreate)
        ON_WM_TIMER(OnTimer)
    END_MSG_MAP(CWnd)

    int OnCreate(CREATESTRUCTA*)
    {
        if (m_refuse)
            return -1;
        SetTimer(1, 10);
        return 0;
    }
    void OnTimer(UINT_PTR) { DestroyWindow(); }
    void PostNcDestroy() override
    {
        ++g_deleted;
        delete this;
    }

    bool m_refuse = false;
    const char* m_className = nullptr;
    static int g_deleted;
};
int CShortLivedWnd::g_deleted = 0;

// Ends a message loop that should have ended by itself, so a fault fails the test instead of
// hanging it.
bool g_watchdogFired = false;
void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR, DWORD)
{
    g_watchdogFired = true;
    PostQuitMessage(99);
}

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("AscendaTestApp") {}
    bool StartUp() override
    {
        ++m_startUps;
        if (!m_makeWindow)
            return false;
        auto* window = new CShortLivedWnd;
        m_pMainWnd = window;
        window->Create();
        return true;
    }
    int m_startUps = 0;
    bool m_makeWindow = true;
};

class Application : public ::testing::Test {
protected:
    void SetUp() override
    {
        PumpMessages();
        g_watchdogFired = false;
        m_watchdog = SetTimer(nullptr, 0, 10000, OnWatchdog);
        CShortLivedWnd::g_deleted = 0;
    }
    void TearDown() override
    {
        KillTimer(nullptr, m_watchdog);
        PumpMessages();
    }
    UINT_PTR m_watchdog = 0;
};

TEST_F(Application, MessageLoopEndsWhenTheMainWindowIsDestroyedOrStartUpFails)
{
    CTestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    char program[] = "saver";
    char* arguments[] = {program, nullptr};
    EXPECT_EQ(RunApplication(nullptr, 1, arguments), 0);
    EXPECT_FALSE(g_watchdogFired);
    EXPECT_EQ(app.m_startUps, 1);
    EXPECT_EQ(app.m_argc, 1);
    EXPECT_EQ(app.m_argv, arguments);
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "the destroyed main window is forgotten";
    EXPECT_EQ(CShortLivedWnd::g_deleted, 1);

    CTestApp refusing; // a StartUp that returns false ends without a loop
    refusing.m_makeWindow = false;
    EXPECT_EQ(RunApplication(nullptr, 0, nullptr), 0);
    EXPECT_EQ(refusing.m_startUps, 1);
    EXPECT_FALSE(g_watchdogFired);
}

TEST_F(Application, LoopReturnsAtOnceWhenTheMainWindowWasNeverCreated)
{
    CTestApp app;
    auto* window = new CShortLivedWnd;
    window->m_refuse = true;
    app.m_pMainWnd = window;
    EXPECT_FALSE(window->Create());
    EXPECT_EQ(CShortLivedWnd::g_deleted, 1) << "the refused window deleted itself";
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "and is no longer the main window";
    auto* unborn = new CShortLivedWnd; // refused before the platform made any window
    unborn->m_className = "AscendaNoSuchClass";
    app.m_pMainWnd = unborn;
    EXPECT_FALSE(unborn->Create());
    EXPECT_EQ(CShortLivedWnd::g_deleted, 2) << "the unborn window deleted itself";
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    app.Run();
    EXPECT_FALSE(g_watchdogFired) << "the loop must not wait for a window that never existed";
}

TEST_F(Application, NoApplicationObjectMeansNoMainWindowBookkeeping)
{
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(RunApplication(nullptr, 0, nullptr), 1);
    // Destroying a window with no application object must not post a quit message.
    auto* window = new CShortLivedWnd;
    ASSERT_TRUE(window->Create());
    ASSERT_TRUE(PumpUntil([] { return CShortLivedWnd::g_deleted == 1; }));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    // Without an application the store reads defaults and keeps nothing.
    AfxGetStore().Write("Config", "People", 12);
    EXPECT_EQ(AfxGetStore().Read("Config", "People", 50), 50);
}

// The registry binding: HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::snprintf(m_company, sizeof m_company, "Ascenda Test Company %lu", GetCurrentProcessId());
        std::snprintf(m_companyPath, sizeof m_companyPath, "Software\\%s", m_company);
        RegDeleteTreeA(HKEY_CURRENT_USER, m_companyPath);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, m_companyPath); }

    bool ReadRegistry(const char* section, const char* key, DWORD& value)
    {
        std::string path = std::string(m_companyPath) + "\\Profile App\\" + section;
        DWORD size = sizeof value;
        return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
               ERROR_SUCCESS;
    }

    char m_company[64];
    char m_companyPath[80];
};

TEST_F(Profile, IntegersLiveUnderTheCompanyAndApplicationKeyFollowingARename)
{
    CWinApp app("Wrong Name");
    app.SetRegistryKey(m_company);
    app.SetAppName("Profile App");
    EXPECT_STREQ(app.GetRegistryKey(), m_company);
    EXPECT_STREQ(app.GetAppName(), "Profile App");
    EXPECT_EQ(app.GetProfileInt("Config", "People", 50), 50) << "missing reads the default";
    app.WriteProfileInt("Config", "People", 77);
    app.WriteProfileInt("Version", "Current Version", -5);
    DWORD value = 0;
    ASSERT_TRUE(ReadRegistry("Config", "People", value));
    EXPECT_EQ(value, 77u);
    ASSERT_TRUE(ReadRegistry("Version", "Current Version", value));
    EXPECT_EQ(static_cast<int32_t>(value), -5);
    EXPECT_EQ(app.GetProfileInt("Config", "People", 50), 77);
    EXPECT_EQ(app.GetStore().Read("Version", "Current Version", 0), -5);
}

TEST_F(Profile, BorrowedStoreTakesOverUntilReleasedAndWithoutRegistryKeyNothingIsKept)
{
    CWinApp app("Profile App");
    app.WriteProfileInt("Config", "People", 11);
    EXPECT_EQ(app.GetProfileInt("Config", "People", 50), 50) << "no registry key yet";
    app.SetRegistryKey(m_company);
    CMemoryStore memory;
    app.SetStore(&memory);
    app.WriteProfileInt("Config", "Scale", 33);
    EXPECT_TRUE(memory.Contains("Config", "Scale"));
    DWORD value = 0;
    EXPECT_FALSE(ReadRegistry("Config", "Scale", value));
    EXPECT_EQ(&AfxGetStore(), &memory);
    app.SetStore(nullptr);
    EXPECT_EQ(app.GetProfileInt("Config", "Scale", 25), 25);
}

} // namespace
