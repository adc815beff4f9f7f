#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "DialogDriver.h"
#include "TestStore.h"
#include "dialogs/DialogIds.h"
#include "dialogs/PropertiesDlg.h"

namespace {
using PropertiesDialog = CDialogTest;

// The six internal settings' edit fields, in the order they are checked.
const int g_fields[6] = {IDC_BASE_SCALE,   IDC_FLOORS,          IDC_LIFT_PAUSE,
                         IDC_PERSON_PAUSE, IDC_PERSON_INTERVAL, IDC_IMPATIENCE};

struct Row {
    int field;
    int32_t minimum;
    int32_t maximum;
    int32_t valid;
    const char* warning;
};

const Row g_rows[6] = {
    {IDC_BASE_SCALE, 20, 50, 25, "Base Scale should be between 20 and 50"},
    {IDC_FLOORS, 4, 25, 10, "Number of floors should be between 4 and 25"},
    {IDC_LIFT_PAUSE, 1, 30, 15, "Lift pause should be between 1 and 30 secs"},
    {IDC_PERSON_PAUSE, 10, 300, 50, "Person pause should be between 10 and 300 secs"},
    {IDC_PERSON_INTERVAL, 100, 2000, 500, "Person interval should be between 100 and 2000 msecs"},
    {IDC_IMPATIENCE, 1, 50, 10, "Impatience level should be between 1 and 50"},
};

void LoadStoredDefaults(CPropertiesDlg& dialog)
{
    dialog.m_useColours = 1;
    dialog.m_showLegend = 1;
    dialog.m_updateSpeed = 80;
    dialog.m_baseScale = 20;
    dialog.m_floors = 10;
    dialog.m_liftPause = 15;
    dialog.m_personPause = 50;
    dialog.m_personInterval = 500;
    dialog.m_impatience = 10;
}

const char* const CAPTION = "Ascenda Vintra Screen Saver Properties";

INT_PTR RunProperties(CPropertiesDlg& dialog, const std::function<void(CDriver&, HWND)>& script)
{
    INT_PTR result = 0;
    RunDriven([&] { result = dialog.DoModal(); },
              [&](CDriver& driver) { script(driver, driver.WaitForDialog(CAPTION)); });
    return result;
}

// Presses OK while a value is out of range: the warning names it, and closing the warning leaves
// the Properties dialog open.
void ExpectRefused(CDriver& driver, HWND properties, const std::string& warning)
{
    driver.Click(properties, IDOK);
    HWND message = driver.WaitForMessageDialog("WARNING");
    driver.ExpectEqual(warning, driver.GetText(message, IDC_MESSAGE_BODY), "warning");
    driver.Click(message, IDOK);
    driver.WaitGone(message);
    driver.OnUi([&] {
        driver.ExpectEqual(1u, FindThreadDialogs(GetCurrentThreadId()).size(), "dialogs open after the warning");
        driver.Expect(IsWindowVisible(properties) != 0, "Properties stays open after \"" + warning + "\"");
    });
}
} // namespace

TEST_F(PropertiesDialog, EveryRowPassesAtBothOfItsBounds)
{
    for (bool maxima : {false, true}) {
        CPropertiesDlg dialog;
        LoadStoredDefaults(dialog);
        const INT_PTR result = RunProperties(dialog, [&](CDriver& driver, HWND window) {
            for (const Row& row : g_rows)
                driver.SetText(window, row.field, std::to_string(maxima ? row.maximum : row.minimum));
            driver.Click(window, IDOK);
        });
        EXPECT_EQ(IDOK, result) << (maxima ? "maxima" : "minima");
        EXPECT_EQ(maxima ? 50 : 20, dialog.m_baseScale);
        EXPECT_EQ(maxima ? 25 : 4, dialog.m_floors);
        EXPECT_EQ(maxima ? 30 : 1, dialog.m_liftPause);
        EXPECT_EQ(maxima ? 300 : 10, dialog.m_personPause);
        EXPECT_EQ(maxima ? 2000 : 100, dialog.m_personInterval);
        EXPECT_EQ(maxima ? 50 : 1, dialog.m_impatience);
    }
}

TEST_F(PropertiesDialog, EveryRowIsRefusedOneBeyondEitherBoundWithItsOwnWarning)
{
    CPropertiesDlg dialog;
    LoadStoredDefaults(dialog);
    const INT_PTR result = RunProperties(dialog, [&](CDriver& driver, HWND window) {
        for (const Row& row : g_rows) {
            driver.SetText(window, row.field, std::to_string(row.minimum - 1));
            ExpectRefused(driver, window, row.warning);
            driver.SetText(window, row.field, std::to_string(row.maximum + 1));
            ExpectRefused(driver, window, row.warning);
            driver.ExpectEqual(std::to_string(row.maximum + 1), driver.GetText(window, row.field),
                               "the field keeps what the user typed");
            driver.SetText(window, row.field, std::to_string(row.valid));
        }
        driver.Click(window, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(PropertiesDialog, OnlyTheFirstOffenderIsNamedAndTheNextOkNamesTheNext)
{
    CPropertiesDlg dialog;
    LoadStoredDefaults(dialog);
    RunProperties(dialog, [&](CDriver& driver, HWND window) {
        driver.SetText(window, IDC_BASE_SCALE, "60");
        driver.SetText(window, IDC_FLOORS, "3");
        ExpectRefused(driver, window, "Base Scale should be between 20 and 50");
        driver.SetText(window, IDC_BASE_SCALE, "30");
        ExpectRefused(driver, window, "Number of floors should be between 4 and 25");
        driver.Click(window, IDCANCEL);
    });
}

TEST_F(PropertiesDialog, AnEntryThatIsNoWholeNumberIsPromptedForAndKeepsTheDialogOpen)
{
    CPropertiesDlg dialog;
    LoadStoredDefaults(dialog);
    const INT_PTR result = RunProperties(dialog, [&](CDriver& driver, HWND window) {
        for (const char* entry : {"abc", "", "7x", "1.5", "4294967297"}) {
            driver.SetText(window, IDC_FLOORS, entry);
            driver.Click(window, IDOK);
            HWND prompt = driver.WaitForDialog(
                "Ascenda", [&](HWND box) { return driver.GetText(box, 0xFFFF) == "Please enter an integer."; });
            driver.Click(prompt, IDOK);
            driver.WaitGone(prompt);
            driver.OnUi([&] {
                driver.Expect(IsWindowVisible(window) != 0,
                              std::string("Properties stays open after \"") + entry + "\"");
                driver.ExpectEqual(10, dialog.m_floors, "the floors keep their value");
            });
        }
        driver.SetText(window, IDC_FLOORS, " 12 ");
        driver.Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, result) << "a corrected entry lets OK close the dialog";
    EXPECT_EQ(12, dialog.m_floors);
}

TEST_F(PropertiesDialog, UseDefaultsFillsTheSixFieldsAndLeavesOptionsAndSpeedAlone)
{
    CPropertiesDlg dialog;
    dialog.m_useColours = 0;
    dialog.m_showLegend = 1;
    dialog.m_updateSpeed = 33;
    dialog.m_baseScale = 21;
    dialog.m_floors = 11;
    dialog.m_liftPause = 16;
    dialog.m_personPause = 51;
    dialog.m_personInterval = 501;
    dialog.m_impatience = 11;
    RunProperties(dialog, [&](CDriver& driver, HWND window) {
        driver.ExpectEqual(std::string("21"), driver.GetText(window, IDC_BASE_SCALE), "loaded base scale");
        driver.Click(window, IDC_USE_DEFAULTS);
        const char* const defaults[6] = {"20", "10", "15", "50", "500", "10"};
        driver.WaitUntil("the fields show the defaults", [&] {
            for (int field = 0; field < 6; ++field) {
                if (driver.GetText(window, g_fields[field]) != defaults[field])
                    return false;
            }
            return true;
        });
        driver.ExpectEqual(BST_UNCHECKED, SendDlgItemMessageA(window, IDC_USE_COLOURS, BM_GETCHECK, 0, 0),
                           "Use Colour Settings");
        driver.ExpectEqual(BST_CHECKED, SendDlgItemMessageA(window, IDC_SHOW_LEGEND, BM_GETCHECK, 0, 0), "Show Legend");
        driver.ExpectEqual(33, SendDlgItemMessageA(window, IDC_SPEED_SLIDER, TBM_GETPOS, 0, 0), "speed");
        driver.Click(window, IDOK);
    });
    EXPECT_EQ(20, dialog.m_baseScale);
    EXPECT_EQ(500, dialog.m_personInterval);
    EXPECT_EQ(0, dialog.m_useColours);
    EXPECT_EQ(33, dialog.m_updateSpeed);
}

TEST_F(PropertiesDialog, OptionsAndSpeedFollowTheirControls)
{
    CPropertiesDlg dialog;
    LoadStoredDefaults(dialog);
    dialog.m_updateSpeed = 150; // out of range as stored: the thumb sits at the fast end
    RunProperties(dialog, [&](CDriver& driver, HWND window) {
        HWND slider = GetDlgItem(window, IDC_SPEED_SLIDER);
        driver.ExpectEqual(100, SendMessageA(slider, TBM_GETPOS, 0, 0), "thumb of a stored 150");
        driver.ExpectEqual(1, SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), "slowest");
        driver.ExpectEqual(100, SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), "fastest");
        driver.OnUi([&] { driver.ExpectEqual(150, dialog.m_updateSpeed, "speed before a move"); });
        driver.ClickControl(window, IDC_USE_COLOURS);
        driver.PressKey(slider, VK_LEFT);
        driver.WaitUntil("the thumb moves", [&] { return SendMessageA(slider, TBM_GETPOS, 0, 0) == 99; });
        driver.Click(window, IDOK);
    });
    EXPECT_EQ(0, dialog.m_useColours);
    EXPECT_EQ(1, dialog.m_showLegend);
    EXPECT_EQ(99, dialog.m_updateSpeed);
}

TEST_F(PropertiesDialog, RegistersElevenTooltipsWithTheirTextsOnItsControls)
{
    CPropertiesDlg dialog;
    LoadStoredDefaults(dialog);
    RunProperties(dialog, [&](CDriver& driver, HWND window) {
        driver.OnUi([&] {
            const struct {
                int id;
                const char* text;
            } tools[11] = {
                {IDC_USE_COLOURS, "Use colour options in screen saver"},
                {IDC_SHOW_LEGEND, "Display legend and counters"},
                {IDC_SPEED_SLIDER, "Refresh rate"},
                {IDC_BASE_SCALE, "Scale used for Default button on main dialog"},
                {IDC_FLOORS, "Number of floors in the building"},
                {IDC_LIFT_PAUSE, "Waiting time when stopping at floors"},
                {IDC_PERSON_PAUSE, "Time before wanting to move"},
                {IDC_PERSON_INTERVAL, "Time between person redraws"},
                {IDC_IMPATIENCE, "Rate at which person gets upset"},
                {IDC_USE_DEFAULTS, "Reset to default values"},
                {IDC_ALL_MONITORS, "Show the building on every monitor, not only the main one"},
            };
            HWND tips = dialog.m_toolTip.m_hWnd;
            driver.ExpectEqual(11, SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), "tools");
            for (int index = 0; index < 11; ++index) {
                const std::string name = "tool " + std::to_string(index);
                TOOLINFOA tool = {};
                tool.cbSize = TTTOOLINFOA_V2_SIZE;
                SendMessageA(tips, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&tool));
                driver.ExpectEqual(reinterpret_cast<UINT_PTR>(GetDlgItem(window, tools[index].id)), tool.uId,
                                   name + " is its control");
                driver.Expect((tool.uFlags & TTF_SUBCLASS) == 0, "tools are not subclassed");
                char text[128] = "";
                tool.lpszText = text;
                SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
                driver.ExpectEqual(std::string(tools[index].text), std::string(text), name + " text");
            }
        });
        driver.Click(window, IDCANCEL);
    });
}
