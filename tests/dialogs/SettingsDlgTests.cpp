#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "TestStore.h"
#include "dialogs/Contact.h"
#include "dialogs/DialogIds.h"
#include "dialogs/SettingsDlg.h"
#include "settings/MemoryStore.h"
#include "sim/Building.h"
#include "view/Scene.h"
#include "win/WinApp.h"

namespace {
using SettingsDialog = CDialogTest;

const char* const CAPTION = "Ascenda Vintra Screen Saver";
const char* const PROPERTIES_CAPTION = "Ascenda Vintra Screen Saver Properties";

void Load(CSettingsDlg& dialog, int32_t people = 50, int32_t capacity = 5, int32_t lifts = 2, int32_t driver = 0,
          int32_t scale = 25, Colour colour = MakeColour(0, 0, 128))
{
    dialog.m_people = people;
    dialog.m_capacity = capacity;
    dialog.m_lifts = lifts;
    dialog.m_driver = driver;
    dialog.m_network = 0;
    dialog.m_scale = scale;
    dialog.m_colour = colour;
}

// Runs the main dialog modally while script plays the user on it; returns what DoModal returned.
INT_PTR RunMain(CSettingsDlg& dialog, const std::function<void(CDriver&, HWND)>& script)
{
    INT_PTR result = 0;
    RunDriven([&] { result = dialog.DoModal(); },
              [&](CDriver& driver) { script(driver, driver.WaitForDialog(CAPTION)); });
    return result;
}

LRESULT SliderPosition(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0);
}

// The text of a message box's message, and the icon it shows.
std::string MessageBoxText(HWND box)
{
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

HICON MessageBoxIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

std::string ReadDesktopString(const char* name, DWORD& type, DWORD& size)
{
    char data[1024] = "";
    size = sizeof data;
    type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", name, RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                     &size) != ERROR_SUCCESS)
        return "(absent)";
    return std::string(data);
}

// The window procedure of the tooltip control, wrapped to see what the dialog relays to it.
WNDPROC g_tooltipProcedure = nullptr;
std::vector<std::pair<HWND, UINT>> g_relayed;

LRESULT CALLBACK WatchRelays(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TTM_RELAYEVENT) {
        const MSG* relayed = reinterpret_cast<const MSG*>(lParam);
        g_relayed.emplace_back(relayed->hwnd, relayed->message);
    }
    return CallWindowProcA(g_tooltipProcedure, window, message, wParam, lParam);
}

// Records the system commands this thread takes from its queue.
std::atomic<WPARAM> g_queuedSystemCommand{0};
std::atomic<HWND> g_queuedSystemCommandWindow{nullptr};

LRESULT CALLBACK WatchQueue(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_SYSCOMMAND) {
        g_queuedSystemCommand = message->wParam;
        g_queuedSystemCommandWindow = message->hwnd;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

TEST_F(SettingsDialog, OpensWithSlidersListAndPreviewInPlace)
{
    CSettingsDlg dialog;
    Load(dialog, 500, 5, 3, 1, 25, MakeColour(0, 0, 128)); // 500 people: above the slider's range
    RunMain(dialog, [&](CDriver& driver, HWND window) {
        struct SliderCase {
            int id;
            LRESULT minimum, maximum, position;
        };
        for (const SliderCase& slider :
             {SliderCase{IDC_PEOPLE_SLIDER, 10, 100, 100}, SliderCase{IDC_LIFTS_SLIDER, 1, 10, 3},
              SliderCase{IDC_CAPACITY_SLIDER, 1, 10, 5}, SliderCase{IDC_SCALE_SLIDER, 20, 50, 25}}) {
            const std::string name = "slider " + std::to_string(slider.id);
            driver.ExpectEqual(slider.minimum, SendDlgItemMessageA(window, slider.id, TBM_GETRANGEMIN, 0, 0),
                               name + " minimum");
            driver.ExpectEqual(slider.maximum, SendDlgItemMessageA(window, slider.id, TBM_GETRANGEMAX, 0, 0),
                               name + " maximum");
            driver.ExpectEqual(slider.position, SliderPosition(window, slider.id), name + " position");
        }
        HWND list = GetDlgItem(window, IDC_DRIVER_LIST);
        driver.ExpectEqual(4, SendMessageA(list, CB_GETCOUNT, 0, 0), "intelligence items");
        const char* const items[4] = {"Primitive", "Auto ground", "Random", "Smart"};
        for (int index = 0; index < 4; ++index) {
            char text[32] = "";
            SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
            driver.ExpectEqual(std::string(items[index]), std::string(text), "item " + std::to_string(index));
        }
        driver.ExpectEqual(1, SendMessageA(list, CB_GETCURSEL, 0, 0), "selected intelligence");
        driver.ExpectEqual(0, SendDlgItemMessageA(window, IDC_NETWORK_LIST, CB_GETCOUNT, 0, 0), "network items");
        driver.OnUi([&] {
            RECT place = {};
            GetWindowRect(GetDlgItem(window, IDC_PREVIEW_PLACE), &place);
            RECT preview = {};
            GetWindowRect(dialog.m_preview.m_hWnd, &preview);
            driver.Expect(EqualRect(&place, &preview) != 0, "the preview covers the placeholder exactly");
            driver.Expect(IsWindowVisible(dialog.m_preview.m_hWnd) != 0, "the preview shows");
            driver.Expect(!IsWindowVisible(GetDlgItem(window, IDC_PREVIEW_PLACE)), "the placeholder is hidden");
            driver.Expect(GetParent(dialog.m_preview.m_hWnd) == window, "the preview is the dialog's child");
        });
        driver.Click(window, IDOK);
    });
    EXPECT_EQ(500, StoredOr(Setting::People, -1)) << "a slider never moved writes the stored value back";
    EXPECT_EQ(1, StoredOr(Setting::Driver, -1));
}

TEST_F(SettingsDialog, MovingOneSliderRereadsAllFourAndResetsTheBuilding)
{
    CSettingsDlg dialog;
    Load(dialog);
    const INT_PTR result = RunMain(dialog, [&](CDriver& driver, HWND window) {
        // The other three thumbs move without telling anyone.
        driver.OnUi([&] {
            SendDlgItemMessageA(window, IDC_LIFTS_SLIDER, TBM_SETPOS, TRUE, 4);
            SendDlgItemMessageA(window, IDC_SCALE_SLIDER, TBM_SETPOS, TRUE, 30);
            SendDlgItemMessageA(window, IDC_CAPACITY_SLIDER, TBM_SETPOS, TRUE, 8);
        });
        driver.PressKey(GetDlgItem(window, IDC_PEOPLE_SLIDER), VK_RIGHT);
        driver.WaitUntil("the people slider moves", [&] { return SliderPosition(window, IDC_PEOPLE_SLIDER) == 51; });
        driver.OnUi([&] {
            driver.ExpectEqual(51, dialog.m_people, "m_people");
            driver.ExpectEqual(4, dialog.m_lifts, "m_lifts");
            driver.ExpectEqual(30, dialog.m_scale, "m_scale");
            driver.ExpectEqual(8, dialog.m_capacity, "m_capacity");
            driver.ExpectEqual(51, dialog.m_preview.m_people, "preview people");
            driver.ExpectEqual(8, dialog.m_preview.m_capacity, "preview capacity");
            driver.ExpectEqual(30, g_scale, "preview scale");
            driver.ExpectEqual(4, g_liftCount, "preview lifts");
            driver.ExpectEqual(4, g_building.m_liftCount, "the building was reset with four lifts");
        });
        driver.Click(window, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(std::vector<std::string>(), ListStored()) << "Cancel stores nothing";
}

TEST_F(SettingsDialog, ChoosingRandomSetsDriverTwoAndOkStoresNetworkZero)
{
    CSettingsDlg dialog;
    Load(dialog);
    dialog.m_network = 5;
    RunMain(dialog, [&](CDriver& driver, HWND window) {
        HWND list = GetDlgItem(window, IDC_DRIVER_LIST);
        SendMessageA(list, CB_SETCURSEL, 2, 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_DRIVER_LIST, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
        // Sent work overtakes posted messages: wait for the selection to be handled.
        driver.WaitUntil("the selection is handled", [&] {
            bool handled = false;
            driver.OnUi([&] { handled = dialog.m_preview.m_driver == 2; });
            return handled;
        });
        driver.OnUi([&] {
            driver.ExpectEqual(2, dialog.m_driver, "m_driver");
            driver.ExpectEqual(-1, dialog.m_network, "m_network from the empty hidden list");
            driver.ExpectEqual(2, dialog.m_preview.m_driver, "preview driver");
            driver.ExpectEqual(2, g_building.m_driverMode, "the building was reset with Random");
        });
        driver.Click(window, IDOK);
    });
    EXPECT_EQ(2, StoredOr(Setting::Driver, -1));
    EXPECT_EQ(0, StoredOr(Setting::Network, -1));
}

TEST_F(SettingsDialog, TextTypedInTheIntelligenceBoxReachesNeitherPreviewNorStore)
{
    // Letters typed into the box, or its list closed on no item: what the box shows, the preview
    // runs and OK stores remain one and the same intelligence.
    for (const char* typed : {"Banana", ""}) {
        SCOPED_TRACE(typed);
        Store(Setting::Driver, 3); // the preview loads it too
        CSettingsDlg dialog;
        Load(dialog, 50, 5, 2, 3);
        char shown[32] = "";
        RunMain(dialog, [&](CDriver& driver, HWND window) {
            HWND list = GetDlgItem(window, IDC_DRIVER_LIST);
            driver.OnUi([&] {
                SetFocus(list);
                for (const char* letter = typed; *letter != '\0'; ++letter)
                    SendMessageA(GetFocus(), WM_CHAR, static_cast<WPARAM>(*letter), 1);
                if (*typed == '\0')
                    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_DRIVER_LIST, CBN_SELENDOK),
                             reinterpret_cast<LPARAM>(list));
                GetWindowTextA(list, shown, sizeof shown);
                driver.ExpectEqual(dialog.m_driver, dialog.m_preview.m_driver, "preview driver");
            });
            driver.Click(window, IDOK);
        });
        const char* const names[] = {"Primitive", "Auto ground", "Random", "Smart"};
        const int32_t stored = StoredOr(Setting::Driver, -1);
        ASSERT_TRUE(stored >= 0 && stored <= 3) << stored;
        EXPECT_EQ(std::string(*typed != '\0' ? shown : "Smart"), names[stored]);
    }
}

TEST_F(SettingsDialog, DefaultViewReturnsToTheStoredBaseScaleOrTwenty)
{
    for (int32_t baseScale : {0, 35}) {
        if (baseScale != 0)
            Store(Setting::BaseScale, baseScale);
        const int32_t expected = baseScale != 0 ? baseScale : 20;
        CSettingsDlg dialog;
        Load(dialog, 50, 5, 2, 0, 44, MakeColour(0, 0, 128));
        RunMain(dialog, [&](CDriver& driver, HWND window) {
            driver.Click(window, IDC_DEFAULT_VIEW);
            driver.WaitUntil("the scale slider moves",
                             [&] { return SliderPosition(window, IDC_SCALE_SLIDER) == expected; });
            driver.OnUi([&] {
                driver.ExpectEqual(expected, dialog.m_scale, "m_scale");
                driver.ExpectEqual(expected, g_scale, "preview scale");
                driver.ExpectEqual(50, dialog.m_people, "people untouched");
            });
            driver.Click(window, IDCANCEL);
        });
    }
}

TEST_F(SettingsDialog, ColourPickerCancelledChangesNothingAndChosenColourIsKept)
{
    for (bool choose : {false, true}) {
        CSettingsDlg dialog;
        const Colour initial = MakeColour(1, 2, 3);
        Load(dialog, 50, 5, 2, 0, 25, initial);
        Colour previewColour = 0;
        RunMain(dialog, [&](CDriver& driver, HWND window) {
            driver.OnUi([&] { previewColour = dialog.m_preview.m_backColour; });
            driver.Click(window, IDC_BACK_COLOUR);
            HWND picker = nullptr;
            driver.WaitUntil("the colour picker opens", [&] {
                for (HWND candidate : FindThreadDialogs(driver.GetUiThread())) {
                    if (GetWindow(candidate, GW_OWNER) == window)
                        picker = candidate;
                }
                return picker != nullptr;
            });
            if (choose) {
                // The picker's red, green and blue fields.
                driver.SetText(picker, 706, "200");
                driver.SetText(picker, 707, "100");
                driver.SetText(picker, 708, "50");
            }
            driver.Click(picker, choose ? IDOK : IDCANCEL);
            driver.WaitGone(picker);
            driver.OnUi([&] {
                const Colour expected = choose ? MakeColour(200, 100, 50) : initial;
                driver.ExpectEqual(expected, dialog.m_colour, "m_colour");
                driver.ExpectEqual(choose ? expected : previewColour, dialog.m_preview.m_backColour, "preview colour");
            });
            driver.Click(window, choose ? IDOK : IDCANCEL);
        });
        if (choose) {
            EXPECT_EQ(200, StoredOr(Setting::ColorRed, -1));
            EXPECT_EQ(100, StoredOr(Setting::ColorGreen, -1));
            EXPECT_EQ(50, StoredOr(Setting::ColorBlue, -1));
        } else {
            EXPECT_EQ(std::vector<std::string>(), ListStored());
        }
    }
}

TEST_F(SettingsDialog, OkWritesTheNineConfigKeysAndCancelEscapeAndCloseBoxWriteNothing)
{
    for (int way = 0; way < 4; ++way) {
        CSettingsDlg dialog;
        Load(dialog, 77, 6, 9, 3, 33, MakeColour(10, 20, 30));
        dialog.m_network = 5;
        const INT_PTR result = RunMain(dialog, [&](CDriver& driver, HWND window) {
            if (way == 0)
                driver.Click(window, IDOK);
            else if (way == 1)
                driver.Click(window, IDCANCEL);
            else if (way == 2)
                driver.PressKey(GetDlgItem(window, IDOK), VK_ESCAPE);
            else
                PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        SCOPED_TRACE(way);
        EXPECT_EQ(way == 0 ? IDOK : IDCANCEL, result);
        if (way == 0)
            EXPECT_EQ((std::vector<std::string>{"Config/Capacity=6", "Config/Cars=9", "Config/ColorBlue=30",
                                                "Config/ColorGreen=20", "Config/ColorRed=10", "Config/Driver=3",
                                                "Config/Network=0", "Config/People=77", "Config/Scale=33"}),
                      ListStored());
        else
            EXPECT_EQ(std::vector<std::string>(), ListStored());
        AfxGetStore().Wipe();
    }
}

TEST_F(SettingsDialog, PropertiesOkStoresItsNineKeysInOrderHandsThemToThePreviewAndMainCancelKeepsThem)
{
    // Nine keys with nine values, so that a value loaded from the wrong key shows.
    const struct {
        const SettingKey* key;
        int32_t value;
        int control;
    } stored[] = {
        {&Setting::Colours, 0, IDC_USE_COLOURS},      {&Setting::Legend, 1, IDC_SHOW_LEGEND},
        {&Setting::UpdSpd, 40, IDC_SPEED_SLIDER},     {&Setting::BaseScale, 23, IDC_BASE_SCALE},
        {&Setting::NoFloors, 11, IDC_FLOORS},         {&Setting::LiftPause, 6, IDC_LIFT_PAUSE},
        {&Setting::PassPause, 110, IDC_PERSON_PAUSE}, {&Setting::PassIntvl, 800, IDC_PERSON_INTERVAL},
        {&Setting::Temper, 7, IDC_IMPATIENCE},        {&Setting::AllMonitors, 1, IDC_ALL_MONITORS},
    };
    CMemoryStore memory;
    for (const auto& entry : stored)
        memory.Write(*entry.key, entry.value);
    AfxGetApp()->SetStore(&memory);
    CSettingsDlg dialog;
    Load(dialog, 77);
    memory.ClearLogs();
    RunMain(dialog, [&](CDriver& driver, HWND window) {
        driver.Click(window, IDC_PROPERTIES);
        HWND properties = driver.WaitForDialog(PROPERTIES_CAPTION);
        driver.Expect(!IsWindowEnabled(window), "the main dialog waits while Properties is open");
        for (const auto& entry : stored) {
            HWND control = GetDlgItem(properties, entry.control);
            LRESULT shown = 0;
            if (entry.key->maximum == 1) // the check boxes
                shown = SendMessageA(control, BM_GETCHECK, 0, 0);
            else if (entry.control == IDC_SPEED_SLIDER)
                shown = SendMessageA(control, TBM_GETPOS, 0, 0);
            else
                shown = std::stol(driver.GetText(properties, entry.control));
            driver.ExpectEqual(static_cast<LRESULT>(entry.value), shown, std::string("loaded ") + entry.key->name);
        }
        driver.ClickControl(properties, IDC_USE_COLOURS);
        driver.ClickControl(properties, IDC_ALL_MONITORS);
        driver.SetText(properties, IDC_FLOORS, "12");
        driver.SetText(properties, IDC_LIFT_PAUSE, "7");
        driver.SetText(properties, IDC_PERSON_PAUSE, "120");
        driver.SetText(properties, IDC_PERSON_INTERVAL, "900");
        driver.Click(properties, IDOK);
        driver.WaitGone(properties);
        driver.OnUi([&] {
            driver.ExpectEqual(1, dialog.m_preview.m_colours, "preview colours");
            driver.ExpectEqual(12, dialog.m_preview.m_floors, "preview floors");
            driver.ExpectEqual(7, dialog.m_preview.m_liftPause, "preview lift pause");
            driver.ExpectEqual(120, dialog.m_preview.m_passPause, "preview pass pause");
            driver.ExpectEqual(900, dialog.m_preview.m_passInterval, "preview pass interval");
            driver.ExpectEqual(7, dialog.m_preview.m_temper, "preview temper");
            driver.ExpectEqual(12, g_building.m_floorCount, "the building was reset with 12 floors");
            driver.ExpectEqual(77, dialog.m_people, "the main dialog's values stay");
        });
        driver.Click(window, IDCANCEL);
    });
    AfxGetApp()->SetStore(nullptr);
    std::vector<std::string> writes;
    for (const CMemoryStore::Access& access : memory.m_writes)
        writes.push_back(access.section + "/" + access.key + "=" + std::to_string(access.value));
    EXPECT_EQ(
        (std::vector<std::string>{"Config/Colours=1", "Config/Legend=1", "Config/UpdSpd=40", "Custom/BaseScale=23",
                                  "Custom/NoFloors=12", "Custom/LiftPause=7", "Custom/PassPause=120",
                                  "Custom/PassIntvl=900", "Custom/Temper=7", "Config/AllMonitors=0"}),
        writes)
        << "and the main dialog's Cancel writes nothing more";
}

TEST_F(SettingsDialog, StoredThirtyFloorsIsShownRefusedAndNothingIsStoredOnCancel)
{
    Store(Setting::NoFloors, 30);
    CSettingsDlg dialog;
    Load(dialog);
    RunMain(dialog, [&](CDriver& driver, HWND window) {
        driver.Click(window, IDC_PROPERTIES);
        HWND properties = driver.WaitForDialog(PROPERTIES_CAPTION);
        driver.ExpectEqual(std::string("30"), driver.GetText(properties, IDC_FLOORS), "floors shown");
        driver.Click(properties, IDOK);
        HWND warning = driver.WaitForMessageDialog("WARNING");
        driver.ExpectEqual(std::string("Number of floors should be between 4 and 25"),
                           driver.GetText(warning, IDC_MESSAGE_BODY), "warning");
        driver.Click(warning, IDOK);
        driver.WaitGone(warning);
        driver.Click(properties, IDC_USE_DEFAULTS);
        driver.WaitUntil("Use Defaults fills the floors",
                         [&] { return driver.GetText(properties, IDC_FLOORS) == "10"; });
        driver.Click(properties, IDCANCEL);
        driver.WaitGone(properties);
        driver.Click(window, IDCANCEL);
    });
    EXPECT_EQ(std::vector<std::string>{"Custom/NoFloors=30"}, ListStored());
}

TEST_F(SettingsDialog, RegistersElevenTooltipsAndRelaysMessagesToThem)
{
    CSettingsDlg dialog;
    Load(dialog);
    g_relayed.clear();
    RunMain(dialog, [&](CDriver& driver, HWND window) {
        struct Tool {
            int id;
            const char* text;
        };
        const Tool tools[11] = {
            {IDC_PEOPLE_SLIDER, "Total number of people in system"},
            {IDC_DRIVER_LIST, "Intelligence of lift control computer"},
            {IDC_LIFTS_SLIDER, "Defines number of lifts"},
            {IDC_CAPACITY_SLIDER, "Number of people who fit in a lift"},
            {IDC_SCALE_SLIDER, "Overall screen drawing scale"},
            {IDC_BACK_COLOUR, "Set background color"},
            {IDC_PREVIEW_PLACE, "Preview of screen saver"},
            {IDC_DEFAULT_VIEW, "Return scale to default"},
            {IDC_RESET_ALL, "Removes all stored settings and exits program"},
            {IDC_PROPERTIES, "Accesses further customisation options"},
            {IDC_APPLY_AND_TEST, "Save settings and run in full screen mode"},
        };
        driver.OnUi([&] {
            HWND tips = dialog.m_toolTip.m_hWnd;
            driver.ExpectEqual(11, SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), "tools");
            for (int index = 0; index < 11; ++index) {
                TOOLINFOA tool = {};
                tool.cbSize = TTTOOLINFOA_V2_SIZE;
                SendMessageA(tips, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&tool));
                const std::string name = "tool " + std::to_string(index);
                driver.ExpectEqual(reinterpret_cast<UINT_PTR>(GetDlgItem(window, tools[index].id)), tool.uId,
                                   name + " is its control");
                driver.Expect((tool.uFlags & TTF_IDISHWND) != 0 && (tool.uFlags & TTF_SUBCLASS) == 0,
                              name + " is the whole control, not subclassed");
                char text[128] = "";
                tool.lpszText = text;
                SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
                driver.ExpectEqual(std::string(tools[index].text), std::string(text), name + " text");
            }
            g_tooltipProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(tips, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchRelays)));
        });
        HWND button = GetDlgItem(window, IDC_BACK_COLOUR);
        PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        bool relayed = false;
        driver.WaitUntil("the mouse move reaches the tooltip", [&] {
            driver.OnUi([&] {
                for (const auto& message : g_relayed)
                    relayed = relayed || (message.first == button && message.second == WM_MOUSEMOVE);
            });
            return relayed;
        });
        driver.Click(window, IDCANCEL);
    });
}

TEST_F(SettingsDialog, SystemMenuAboutItemOpensTheAboutBox)
{
    CSettingsDlg dialog;
    Load(dialog, 66, 5, 2, 0, 25, MakeColour(0, 0, 128));
    RunMain(dialog, [&](CDriver& driver, HWND window) {
        driver.OnUi([&] {
            HMENU menu = GetSystemMenu(window, FALSE);
            const int count = GetMenuItemCount(menu);
            driver.ExpectEqual(static_cast<UINT>(IDM_ABOUT_COMMAND), GetMenuItemID(menu, count - 1),
                               "last item's command");
            char text[64] = "";
            GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
            driver.ExpectEqual(std::string("&About Ascenda Vintra..."), std::string(text), "item text");
            driver.Expect((GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR) != 0, "a separator before it");
        });
        // Away from the screen's centre, so that centring on the owner and on the screen differ.
        SetWindowPos(window, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageA(window, WM_SYSCOMMAND, IDM_ABOUT_COMMAND, 0);
        HWND about = driver.WaitForDialog("About Ascenda Vintra Screen Saver");
        RECT owner;
        GetWindowRect(window, &owner);
        driver.ExpectEqual(40L, owner.left, "the main dialog moved");
        ExpectCentredOn(driver, about, owner, "the About box on the main dialog");
        driver.ExpectEqual(std::string("Ascenda Vintra Screen Saver"), driver.GetText(about, IDC_ABOUT_TITLE),
                           "title line");
        bool contact = false;
        for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            contact = contact || driver.GetText(child).find(ASCENDA_CONTACT_ADDRESS) != std::string::npos;
        driver.Expect(contact, "the About box shows the contact address");
        driver.Click(about, IDOK);
        driver.WaitGone(about);
        driver.OnUi([&] {
            driver.Expect(IsWindowVisible(window) && IsWindowEnabled(window), "back to the main dialog");
            driver.ExpectEqual(66, dialog.m_people, "values unchanged");
        });
        driver.Click(window, IDOK);
    });
    EXPECT_EQ(66, StoredOr(Setting::People, -1));
}

TEST_F(SettingsDialog, ApplyAndTestSavesRegistersTheSaverAndAsksToStartIt)
{
    DWORD type = 0;
    DWORD size = 0;
    const std::string previousPath = ReadDesktopString("SCRNSAVE.EXE", type, size);
    const std::string previousActive = ReadDesktopString("ScreenSaveActive", type, size);

    CSettingsDlg dialog;
    Load(dialog, 77, 6, 9, 3, 33, MakeColour(10, 20, 30));
    g_queuedSystemCommand = 0;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, GetCurrentThreadId());
    HWND window = nullptr;
    RunDriven([&] { dialog.DoModal(); },
              [&](CDriver& driver) {
                  window = driver.WaitForDialog(CAPTION);
                  driver.Click(window, IDC_APPLY_AND_TEST);
                  driver.WaitUntil("the screen saver command is posted",
                                   [&] { return g_queuedSystemCommand == SC_SCREENSAVE; });
                  driver.Expect(g_queuedSystemCommandWindow == window, "posted to the main dialog");
                  driver.OnUi([&] { driver.Expect(IsWindowVisible(window) != 0, "the dialog stays open"); });
                  driver.Click(window, IDCANCEL);
              });
    UnhookWindowsHookEx(hook);

    // This program runs from the build folder, not the system directory, so it registers itself.
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string expectedPath = program;
    EXPECT_EQ(expectedPath, ReadDesktopString("SCRNSAVE.EXE", type, size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(expectedPath.size() + 1, size) << "the terminating zero is counted";
    EXPECT_EQ("1", ReadDesktopString("ScreenSaveActive", type, size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(2u, size);
    EXPECT_EQ(1, StoredOr(Setting::Running, -1));
    EXPECT_EQ(77, StoredOr(Setting::People, -1)) << "Apply & Test saves, and a later Cancel keeps it";
    EXPECT_EQ(0, StoredOr(Setting::Network, -1));

    HKEY desktop = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_WRITE, &desktop) == ERROR_SUCCESS) {
        for (const auto& value :
             {std::make_pair("SCRNSAVE.EXE", previousPath), std::make_pair("ScreenSaveActive", previousActive)}) {
            if (value.second == "(absent)")
                RegDeleteValueA(desktop, value.first);
            else
                RegSetValueExA(desktop, value.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.second.c_str()),
                               static_cast<DWORD>(value.second.size() + 1));
        }
        RegCloseKey(desktop);
    }
}

TEST_F(SettingsDialog, ResetAllAnsweredNoOrEnterChangesNothingAndYesKeepsOnlyPreviousVersionCountingTheReset)
{
    // Answer No, then Yes without and with a stored Previous Version.
    for (int32_t previousVersion : {-1, 0, 7}) {
        SCOPED_TRACE(previousVersion);
        const bool yes = previousVersion >= 0;
        AfxGetStore().Wipe();
        if (previousVersion > 0)
            Store(Setting::PreviousVersion, previousVersion);
        Store(Setting::People, 70);
        Store(Setting::Resets, 3);
        Store(Setting::NoFloors, 12);
        Store(Setting::AllMonitors, 1);
        const std::vector<std::string> before = ListStored();
        CSettingsDlg dialog;
        Load(dialog, 55);
        const INT_PTR result = RunMain(dialog, [&](CDriver& driver, HWND window) {
            driver.Click(window, IDC_RESET_ALL);
            HWND box = driver.WaitForDialog("Ascenda Vintra Reset Warning");
            driver.ExpectEqual(std::string("Are you sure you want to delete all Ascenda settings?"),
                               MessageBoxText(box), "question");
            driver.Expect(GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr &&
                              GetDlgItem(box, IDOK) == nullptr,
                          "Yes and No buttons");
            driver.Expect(GetWindow(box, GW_OWNER) == window, "owned by the main dialog");
            driver.OnUi([&] {
                driver.Expect(MessageBoxIcon(box) == LoadIconA(nullptr, IDI_HAND), "stop-sign icon");
                driver.Expect(GetFocus() == GetDlgItem(box, IDNO), "No is the default button");
            });
            if (yes)
                driver.Click(box, IDYES);
            else // a stray Enter
                driver.OnUi([&] { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); });
            if (!yes) {
                driver.WaitGone(box);
                driver.OnUi([&] { driver.Expect(IsWindowVisible(window) != 0, "the dialog stays open"); });
                driver.Click(window, IDCANCEL);
                return;
            }
            HWND done = driver.WaitForDialog("Ascenda Vintra Reset Completed");
            driver.ExpectEqual(std::string("All settings removed\nAscenda Vintra will now close"), MessageBoxText(done),
                               "completion text");
            driver.Expect(GetDlgItem(done, IDOK) != nullptr && GetDlgItem(done, IDNO) == nullptr, "an OK button");
            driver.OnUi([&] {
                driver.Expect(MessageBoxIcon(done) == LoadIconA(nullptr, IDI_INFORMATION), "information icon");
            });
            driver.Click(done, IDOK);
        });
        EXPECT_EQ(yes ? IDOK : IDCANCEL, result);
        const std::string kept =
            "Version/Previous Version=" + std::to_string(previousVersion > 0 ? previousVersion : 100);
        EXPECT_EQ(yes ? (std::vector<std::string>{"Counters/Resets=4", kept}) : before, ListStored());
    }
}
