#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "../win/WindowTestSupport.h"
#include "SaverProcess.h"
#include "settings/RegistryStore.h"
#include "settings/SettingsTable.h"

// The full-screen saver on a system with two monitors: an 800 x 600 primary at the origin and a
// 640 x 480 monitor to its right. This program runs on such a system of its own, with a registry
// of its own (cmake/xephyr-run.sh).

namespace {

const RECT PRIMARY = {0, 0, 800, 600};
const RECT SECOND = {800, 0, 1440, 480};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, RECT*, LPARAM parameter)
{
    MONITORINFO info = {sizeof info, {}, {}, 0};
    GetMonitorInfoA(monitor, &info);
    reinterpret_cast<std::vector<MONITORINFO>*>(parameter)->push_back(info);
    return TRUE;
}

// The saver's two windows: the simulation on the primary and the cover on the second monitor.
struct SaverWindows {
    HWND simulation;
    HWND cover;
};

// Floor 1's slab and lift 1's shaft as the primary shows them, scaled by percent on a monitor whose
// left edge is left: true once the slab and a car in the shaft show there.
bool ShowsTheBuilding(int left, int percent)
{
    auto pixel = [&](int x, int y) { return ScreenPixel(left + x * percent / 100, y * percent / 100); };
    int car = 0;
    for (int y = 0; y < 600; y += 2)
        car += IsOneOf(pixel(468, y), {OLIVE, GREEN, RED}) ? 1 : 0;
    return pixel(300, 520) == BACKGROUND && car > 3;
}

void PressKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<MONITORINFO> monitors;
        EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
        ASSERT_EQ(monitors.size(), 2u) << "this program needs the two-monitor display";
        const MONITORINFO& second = monitors[0].dwFlags & MONITORINFOF_PRIMARY ? monitors[1] : monitors[0];
        ASSERT_TRUE(EqualRect(&second.rcMonitor, &SECOND));
        m_store.Wipe();
        SetCursorPos(400, 300); // over the primary, where it stays until a test moves it
        PumpMessages();
    }
    void TearDown() override { m_store.Wipe(); }

    // Starts the full-screen saver and waits until both of its windows show.
    SaverWindows Start(CSaverProcess& saver)
    {
        SaverWindows windows = {};
        EXPECT_TRUE(saver.Start("/s"));
        PumpUntil([&] {
            windows = {};
            for (HWND window : saver.VisibleWindows()) {
                char title[64] = "";
                GetWindowTextA(window, title, sizeof title);
                if (std::strcmp(title, "Ascenda Vintra Screen Saver - Running") == 0)
                    windows.simulation = window;
                else
                    windows.cover = window;
            }
            return (windows.simulation != nullptr && windows.cover != nullptr) || saver.HasExited();
        });
        return windows;
    }

    CRegistryStore m_store{"Orvane's Registry Bits", "Ascenda"};
};

// At 800 x 600 the screen factor is 12: floor 1's slab covers rows 502 to 540 and floor 2's
// rows 454 to 492; the legend starts at row 560.
TEST_F(TwoMonitors, SecondMonitorShowsTheFillWhileThePrimaryRunsTheSimulationUntilAKey)
{
    const struct {
        int colours;
        COLORREF fill;
    } cases[] = {{1, DIMMED}, {0, RGB(40, 0, 128)}};
    for (const auto& fillCase : cases) {
        SCOPED_TRACE(fillCase.colours);
        m_store.Write(Setting::Colours, fillCase.colours);
        if (fillCase.colours == 0)
            m_store.Write(Setting::ColorRed, 40);
        CSaverProcess saver;
        const SaverWindows windows = Start(saver);
        ASSERT_NE(windows.simulation, nullptr);
        ASSERT_NE(windows.cover, nullptr);
        RECT frame;
        GetWindowRect(windows.simulation, &frame);
        EXPECT_TRUE(EqualRect(&frame, &PRIMARY));
        GetWindowRect(windows.cover, &frame);
        EXPECT_TRUE(EqualRect(&frame, &SECOND));
        EXPECT_NE(GetWindowLongA(windows.cover, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

        const COLORREF fill = fillCase.fill;
        EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(1100, 240) == fill; })) << "the second monitor's fill";
        EXPECT_EQ(ScreenPixel(800, 0), fill);
        EXPECT_EQ(ScreenPixel(1439, 479), fill);
        EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(300, 497) == fill; })) << "the primary's fill, floors 1 and 2";
        if (fillCase.colours == 1) {
            EXPECT_EQ(ScreenPixel(300, 505), BACKGROUND) << "floor 1's slab";
        }
        // The legend comes with the first legend tick, a second after the start: by then the saver
        // would have closed itself if covering the second monitor had cost it the activation.
        EXPECT_TRUE(PumpUntil([] {
            int olive = 0;
            for (int x = 4; x < 400; ++x)
                olive += ScreenPixel(x, 560 + 6) == OLIVE ? 1 : 0;
            return olive > 10;
        })) << "the legend on the primary";
        EXPECT_FALSE(saver.HasExited());
        EXPECT_EQ(GetForegroundWindow(), windows.simulation) << "the simulation holds the activation";

        PressKey(VK_SHIFT);
        ASSERT_TRUE(saver.WaitForExit()) << "a key ends the saver";
        EXPECT_EQ(saver.ExitCode(), 0u);
        m_store.Wipe();
    }
}

TEST_F(TwoMonitors, SecondMonitorShowsTheBuildingOnlyWithEveryMonitorOn)
{
    for (int allMonitors : {1, 0}) {
        SCOPED_TRACE(allMonitors);
        m_store.Write(Setting::AllMonitors, allMonitors);
        CSaverProcess saver;
        ASSERT_NE(Start(saver).cover, nullptr);
        EXPECT_TRUE(PumpUntil([] { return ShowsTheBuilding(0, 100); }));
        EXPECT_EQ(PumpUntil([] { return ShowsTheBuilding(800, 80); }, allMonitors == 1 ? 10000 : 1000),
                  allMonitors == 1)
            << "four fifths of the primary";
        for (int y = 0; allMonitors == 0 && y < 480; ++y) {
            ASSERT_EQ(ScreenPixel(1174, y), DIMMED) << "the fill alone, row " << y;
        }
        PressKey(VK_SHIFT);
        ASSERT_TRUE(saver.WaitForExit());
    }
}

TEST_F(TwoMonitors, PointerMovementOverTheSecondMonitorEndsTheSaver)
{
    CSaverProcess saver;
    const SaverWindows windows = Start(saver);
    ASSERT_NE(windows.cover, nullptr);
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(1100, 240) == DIMMED; }));
    // The platform reports pointer positions as it sees fit: a move may go unreported, and the
    // first report may come over either monitor. A user's movement is a run of positions, and so
    // is this one: it must end the saver before it has gone far.
    int step = 0;
    EXPECT_TRUE(PumpUntil([&] {
        SetCursorPos(1100 + step % 200, 240);
        ++step;
        return saver.HasExited();
    })) << "the pointer moved over the second monitor";
    ASSERT_TRUE(saver.WaitForExit());
    EXPECT_EQ(saver.ExitCode(), 0u);
}

} // namespace
