#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../win/WindowTestSupport.h"
#include "SaverProcess.h"
#include "settings/RegistryStore.h"
#include "settings/SettingsTable.h"

// ASCENDA.SCR started as a process with arguments, the way the system starts it.

namespace {

// The saver reads the real application key; every test starts from an empty one and leaves none.
class SaverProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_store.Wipe();
        SetCursorPos(700, 500);
        PumpMessages();
    }
    void TearDown() override
    {
        if (m_parent != nullptr)
            DestroyWindow(m_parent);
        m_store.Wipe();
        PumpMessages();
    }

    // Ends a running full-screen saver the way a user does, and checks it goes cleanly.
    void CloseWithKey(CSaverProcess& saver, HWND window)
    {
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        ASSERT_TRUE(saver.WaitForExit());
        EXPECT_EQ(saver.ExitCode(), 0u);
    }

    // A visible topmost window with a caption and a border, away from the screen's origin, whose
    // client area is width x height: its client area and its window rectangle differ, as the
    // display settings' preview area does from that dialog's.
    HWND MakeParent(int width, int height)
    {
        const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        RECT frame = {0, 0, width, height};
        AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOPMOST);
        m_parent = CreatePlainWindow(style, 150, 120, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                     WS_EX_TOPMOST);
        return m_parent;
    }

    static std::string HandleText(HWND window)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(reinterpret_cast<intptr_t>(window)));
        return text;
    }

    CRegistryStore m_store{"Orvane's Registry Bits", "Ascenda"};
    HWND m_parent = nullptr;
};

TEST_F(SaverProcess, UnknownSwitchesAndPreviewsWithoutAUsableWindowEndAtOnceWithoutAWindow)
{
    HWND dead = CreatePlainWindow(WS_POPUP, 0, 0, 10, 10);
    const std::string deadHandle = HandleText(dead);
    DestroyWindow(dead);
    for (const std::string& arguments : {std::string("//s"), std::string("/x"), std::string("/"), std::string("\"\""),
                                         std::string("/p"), std::string("/p 0"), std::string("/p garbage"),
                                         std::string("/p:"), std::string("/p:0"), "/p " + deadHandle}) {
        CSaverProcess saver;
        ASSERT_TRUE(saver.Start(arguments)) << arguments;
        ASSERT_TRUE(saver.WaitForExit()) << arguments;
        EXPECT_EQ(saver.ExitCode(), 0u) << arguments;
        EXPECT_FALSE(saver.SawWindow()) << arguments;
    }
}

TEST_F(SaverProcess, FullScreenSwitchesCoverTheScreenOnTopUntilAKey)
{
    for (const char* arguments : {"/s", "-S", "s"}) {
        CSaverProcess saver;
        ASSERT_TRUE(saver.Start(arguments)) << arguments;
        HWND window = saver.WaitForWindow();
        ASSERT_NE(window, nullptr) << arguments;
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, 0);
        EXPECT_EQ(frame.top, 0);
        EXPECT_EQ(frame.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(frame.bottom, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        char title[64] = {};
        GetWindowTextA(window, title, sizeof title);
        EXPECT_STREQ(title, "Ascenda Vintra Screen Saver - Running");
        EXPECT_EQ(saver.VisibleWindows().size(), 1u) << "one monitor, one window";
        CloseWithKey(saver, window);
    }
}

TEST_F(SaverProcess, FullScreenEndsOnAButtonAMoveOrTheLossOfActivation)
{
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        CSaverProcess saver;
        ASSERT_TRUE(saver.Start("/s"));
        HWND window = saver.WaitForWindow();
        ASSERT_NE(window, nullptr);
        HWND other = nullptr;
        if (way == 0) {
            PostMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(9, 9));
        } else if (way == 1) {
            // Reported positions may include the platform's own first one; two different positions
            // of ours make at least one movement away from whatever came first.
            PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
            PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(11, 10));
        } else {
            other = CreatePlainWindow(WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, WS_EX_TOPMOST);
            SetForegroundWindow(other);
        }
        const bool ended = saver.WaitForExit();
        if (other != nullptr)
            DestroyWindow(other);
        ASSERT_TRUE(ended);
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

TEST_F(SaverProcess, FullScreenDropsTheRequestToStartAnotherSaver)
{
    CSaverProcess saver;
    ASSERT_TRUE(saver.Start("/s"));
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0, SMTO_BLOCK, 5000, &result);
    SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_BLOCK, 5000, &result);
    // A round trip after the commands: anything they posted has been handled by then.
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
    PostMessageA(window, WM_NULL, 0, 0);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
    EXPECT_FALSE(saver.HasExited());
    EXPECT_TRUE(IsWindow(window));
    CloseWithKey(saver, window);
}

TEST_F(SaverProcess, PreviewFillsTheGivenWindowAndEndsWithIt)
{
    for (const char* form : {"/p ", "/p:", "/P ", "-p ", "/p: "}) {
        HWND parent = MakeParent(670, 560);
        ASSERT_NE(parent, nullptr);
        CSaverProcess saver;
        ASSERT_TRUE(saver.Start(form + HandleText(parent))) << form;
        HWND child = nullptr;
        // The child shows itself once its creation has finished.
        ASSERT_TRUE(PumpUntil([&] {
            child = GetWindow(parent, GW_CHILD);
            return (child != nullptr && IsWindowVisible(child)) || saver.HasExited();
        })) << form;
        ASSERT_NE(child, nullptr) << form;
        DWORD owner = 0;
        GetWindowThreadProcessId(child, &owner);
        EXPECT_EQ(owner, saver.Id());
        EXPECT_NE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD, 0);
        EXPECT_TRUE(IsWindowVisible(child));
        RECT childFrame, parentClient, parentFrame;
        GetWindowRect(child, &childFrame);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&childFrame), 2);
        GetClientRect(parent, &parentClient);
        GetWindowRect(parent, &parentFrame);
        ASSERT_GE(parentFrame.left, 150) << "a parent whose window rectangle is not its client area";
        EXPECT_EQ(parentClient.right, 670);
        EXPECT_EQ(parentClient.bottom, 560);
        EXPECT_EQ(childFrame.left, parentClient.left);
        EXPECT_EQ(childFrame.top, parentClient.top);
        EXPECT_EQ(childFrame.right, parentClient.right);
        EXPECT_EQ(childFrame.bottom, parentClient.bottom);

        DestroyWindow(parent);
        m_parent = nullptr;
        ASSERT_TRUE(saver.WaitForExit()) << "the preview ends with the window it lives in (" << form << ")";
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

// At 1920 x 1080 the layout follows the 1440 pixels of a 4:3 area: screen factor 22. With scale 25
// the ground line lies at row 1044; floor 1's slab covers rows 921 to 991 and x up to 726, its
// people rows 939 to 973; the legend starts at row 1026; floor 5's slab covers rows 569 to 639 and
// floor 6's 481 to 551; the button column is at x 770, lift 0's shaft at x 858.
TEST_F(SaverProcess, FullScreenPictureShowsFloorOneItsPeopleTheLegendButtonsAndCars)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "the geometry below is for the virtual display";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    CSaverProcess saver;
    ASSERT_TRUE(saver.Start("/s"));
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(300, 560) == DIMMED; })) << "dimmed fill between slabs";
    EXPECT_EQ(ScreenPixel(300, 575), BACKGROUND) << "floor 5's slab";
    EXPECT_EQ(ScreenPixel(300, 915), DIMMED) << "above floor 1's slab";
    EXPECT_EQ(ScreenPixel(300, 925), BACKGROUND) << "floor 1's slab, above its people";
    EXPECT_EQ(ScreenPixel(300, 987), BACKGROUND) << "floor 1's slab, below its people";
    EXPECT_EQ(ScreenPixel(300, 1000), DIMMED) << "below floor 1's slab";
    EXPECT_TRUE(PumpUntil([] {
        for (int x = 0; x <= 726; ++x) {
            if (!IsOneOf(ScreenPixel(x, 956), {BACKGROUND, DIMMED}))
                return true;
        }
        return false;
    })) << "a person standing on floor 1's slab";
    EXPECT_TRUE(PumpUntil([] {
        int olive = 0;
        for (int x = 8; x < 600; ++x)
            olive += ScreenPixel(x, 1026 + 6) == OLIVE ? 1 : 0;
        return olive > 10;
    })) << "the legend under floor 1";
    EXPECT_TRUE(PumpUntil([] {
        return IsOneOf(ScreenPixel(770, 586), {BACKGROUND, GREEN, RED});
    })) << "floor 5's up button, redrawn by the button pass";
    EXPECT_TRUE(PumpUntil(
        [] {
            for (int y = 0; y < 1080; y += 4) {
                if (IsOneOf(ScreenPixel(858, y), {OLIVE, GREEN, RED}))
                    return true;
            }
            return false;
        },
        30000))
        << "lift 0's car in one of its colours";
    CloseWithKey(saver, window);
}

TEST_F(SaverProcess, ColoursOffFillsWithTheBackgroundItself)
{
    m_store.Write(Setting::Colours, 0);
    m_store.Write(Setting::ColorRed, 40);
    CSaverProcess saver;
    ASSERT_TRUE(saver.Start("/s"));
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(300, 738) == RGB(40, 0, 128); }));
    EXPECT_EQ(ScreenPixel(1900, 20), RGB(40, 0, 128));
    CloseWithKey(saver, window);
}

// Every setting of the store at one extreme value: the saver runs, keeps its window answering,
// keeps its object counts, and still ends cleanly on a key.
TEST_F(SaverProcess, SurvivesEverySettingAtItsExtremes)
{
    for (int32_t value : {INT32_MIN, INT32_MAX, 0, -1}) {
        for (int32_t index = 0; index < Setting::AllCount; ++index)
            m_store.Write(*Setting::All[index], value);
        CSaverProcess saver;
        ASSERT_TRUE(saver.Start("/s")) << value << ", refused with error " << saver.StartError();
        HWND window = saver.WaitForWindow();
        ASSERT_NE(window, nullptr) << value;
        // Runs the saver for a while, checking all the while that its window answers.
        bool answering = true;
        const auto runFor = [&](ULONGLONG milliseconds) {
            const ULONGLONG end = GetTickCount64() + milliseconds;
            PumpUntil(
                [&] {
                    DWORD_PTR result = 0;
                    answering = answering && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result) != 0;
                    return !answering || GetTickCount64() >= end;
                },
                20000);
        };
        runFor(1000);
        const DWORD gdiStart = GetGuiResources(saver.Process(), GR_GDIOBJECTS);
        const DWORD userStart = GetGuiResources(saver.Process(), GR_USEROBJECTS);
        runFor(3000);
        EXPECT_TRUE(answering) << value;
        EXPECT_FALSE(saver.HasExited()) << value;
        EXPECT_EQ(GetGuiResources(saver.Process(), GR_GDIOBJECTS), gdiStart) << value;
        EXPECT_EQ(GetGuiResources(saver.Process(), GR_USEROBJECTS), userStart) << value;
        CloseWithKey(saver, window);
        m_store.Wipe();
    }
}

} // namespace
