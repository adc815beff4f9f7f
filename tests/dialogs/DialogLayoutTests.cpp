#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "TestStore.h"
#include "app/Configure.h"
#include "dialogs/DialogIds.h"
#include "dialogs/PropertiesDlg.h"
#include "dialogs/SettingsDlg.h"

// What a keyboard user and a reader meet in the dialogs, at the font the dialogs really get: every
// label shown whole, Tab in reading order, and a key of its own for every Properties field.

namespace {
using DialogLayout = CDialogTest;

const char* const MAIN_CAPTION = "Ascenda Vintra Screen Saver";
const char* const PROPERTIES_CAPTION = "Ascenda Vintra Screen Saver Properties";

// Records every text label of the dialog that its rectangle cuts, measured as the label draws it.
void ExpectLabelsWhole(CDriver& driver, HWND dialog, const std::string& name)
{
    driver.OnUi([&] {
        for (HWND label = GetWindow(dialog, GW_CHILD); label != nullptr; label = GetWindow(label, GW_HWNDNEXT)) {
            char className[16] = "", text[1024] = "";
            GetClassNameA(label, className, sizeof className);
            const LONG style = GetWindowLongA(label, GWL_STYLE);
            // Left, centred and right-aligned text; icons, frames and rectangles have none.
            if (lstrcmpiA(className, "Static") != 0 || (style & SS_TYPEMASK) > SS_RIGHT ||
                GetWindowTextA(label, text, sizeof text) == 0)
                continue;
            RECT room, needed;
            GetClientRect(label, &room);
            needed = room;
            HDC context = GetDC(label);
            HGDIOBJ oldFont = SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
            DrawTextA(context, text, -1, &needed,
                      DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
            SelectObject(context, oldFont);
            ReleaseDC(label, context);
            driver.Expect(needed.right <= room.right && needed.bottom <= room.bottom,
                          name + ": \"" + text + "\" needs " + std::to_string(needed.right) + " x " +
                              std::to_string(needed.bottom) + " pixels, has " + std::to_string(room.right) + " x " +
                              std::to_string(room.bottom));
        }
    });
}

// The control that has the keyboard focus, as the dialog's own child (a list's edit field counts as
// the list).
HWND FocusedControl(CDriver& driver, HWND dialog)
{
    HWND focus = nullptr;
    driver.OnUi([&] {
        focus = GetFocus();
        while (focus != nullptr && GetParent(focus) != dialog)
            focus = GetParent(focus);
    });
    return focus;
}

// The letters marked with & in the dialog's texts, with how often each is used.
std::map<char, int> Mnemonics(CDriver& driver, HWND dialog)
{
    std::map<char, int> letters;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = driver.GetText(child);
        for (size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size(); at = text.find('&', at + 2))
            if (text[at + 1] != '&' && IsWindowVisible(child))
                ++letters[static_cast<char>(std::toupper(static_cast<unsigned char>(text[at + 1])))];
    }
    return letters;
}
} // namespace

TEST_F(DialogLayout, EveryLabelOfEveryDialogShowsWhole)
{
    RunDriven([] { RunConfigure(); },
              [&](CDriver& driver) {
                  for (const char* heading : {"Welcome to Ascenda Vintra", "Hello out there ..."}) {
                      HWND message = driver.WaitForMessageDialog(heading);
                      ExpectLabelsWhole(driver, message, heading);
                      driver.Click(message, IDOK);
                  }
                  HWND main = driver.WaitForDialog(MAIN_CAPTION);
                  ExpectLabelsWhole(driver, main, "main dialog");
                  PostMessageA(main, WM_SYSCOMMAND, IDM_ABOUT_COMMAND, 0);
                  HWND about = driver.WaitForDialog("About Ascenda Vintra Screen Saver");
                  ExpectLabelsWhole(driver, about, "About box");
                  driver.Click(about, IDOK);
                  driver.WaitGone(about);
                  driver.Click(main, IDC_PROPERTIES);
                  HWND properties = driver.WaitForDialog(PROPERTIES_CAPTION);
                  ExpectLabelsWhole(driver, properties, "Properties");
                  driver.SetText(properties, IDC_BASE_SCALE, "5");
                  driver.Click(properties, IDOK);
                  ExpectLabelsWhole(driver, driver.WaitForMessageDialog("WARNING"), "warning");
              });
}

TEST_F(DialogLayout, TabVisitsTheControlsInReadingOrderAndMnemonicsAreUnique)
{
    struct DialogCase {
        const char* caption;
        std::function<void()> run;
        std::vector<int> readingOrder; // every tab stop, group by group, top left to bottom right
    };
    CSettingsDlg main;
    CPropertiesDlg properties;
    const DialogCase cases[] = {
        {MAIN_CAPTION,
         [&] { main.DoModal(); },
         {IDC_DRIVER_LIST, IDC_PEOPLE_SLIDER, IDC_LIFTS_SLIDER, IDC_BACK_COLOUR, IDC_DEFAULT_VIEW, IDC_CAPACITY_SLIDER,
          IDC_SCALE_SLIDER, IDC_RESET_ALL, IDC_PROPERTIES, IDOK, IDCANCEL, IDC_APPLY_AND_TEST}},
        {PROPERTIES_CAPTION,
         [&] { properties.DoModal(); },
         {IDC_USE_COLOURS, IDC_SHOW_LEGEND, IDC_SPEED_SLIDER, IDC_BASE_SCALE, IDC_FLOORS, IDC_LIFT_PAUSE,
          IDC_PERSON_PAUSE, IDC_PERSON_INTERVAL, IDC_IMPATIENCE, IDC_USE_DEFAULTS, IDOK, IDCANCEL}},
    };
    for (const DialogCase& dialogCase : cases) {
        SCOPED_TRACE(dialogCase.caption);
        RunDriven(dialogCase.run, [&](CDriver& driver) {
            HWND dialog = driver.WaitForDialog(dialogCase.caption);
            std::vector<int> visited;
            // Once round and back to the first.
            for (size_t step = 0;; ++step) {
                HWND focus = nullptr;
                driver.OnUi([&] { focus = GetFocus(); });
                HWND control = FocusedControl(driver, dialog);
                visited.push_back(GetDlgCtrlID(control));
                if (step == dialogCase.readingOrder.size())
                    break; // once round and back to the first
                driver.PressKey(focus, VK_TAB);
                driver.WaitUntil("Tab moves the focus", [&] { return FocusedControl(driver, dialog) != control; });
            }
            std::vector<int> expected = dialogCase.readingOrder;
            expected.push_back(expected.front());
            std::string order;
            for (int id : visited)
                order += " " + std::to_string(id);
            driver.Expect(expected == visited, "Tab visits" + order);
            for (const auto& letter : Mnemonics(driver, dialog))
                driver.ExpectEqual(1, letter.second, std::string("uses of the mnemonic ") + letter.first);
            driver.Click(dialog, IDCANCEL);
        });
    }
}

TEST_F(DialogLayout, EveryPropertiesFieldHasAKeyThatLeadsToIt)
{
    const std::pair<char, int> keys[] = {
        {'c', IDC_USE_COLOURS}, {'l', IDC_SHOW_LEGEND},  {'s', IDC_SPEED_SLIDER}, {'b', IDC_BASE_SCALE},
        {'f', IDC_FLOORS},      {'p', IDC_LIFT_PAUSE},   {'t', IDC_PERSON_PAUSE}, {'a', IDC_PERSON_INTERVAL},
        {'i', IDC_IMPATIENCE},  {'d', IDC_USE_DEFAULTS},
    };
    CPropertiesDlg properties;
    RunDriven([&] { properties.DoModal(); },
              [&](CDriver& driver) {
                  HWND dialog = driver.WaitForDialog(PROPERTIES_CAPTION);
                  for (const auto& key : keys) {
                      HWND focus = nullptr;
                      driver.OnUi([&] { focus = GetFocus(); });
                      // Alt and the letter, as the keyboard reports it.
                      PostMessageA(focus, WM_SYSCHAR, static_cast<WPARAM>(key.first), 1 << 29);
                      driver.WaitUntil((std::string("Alt+") + key.first + " leads to its field").c_str(),
                                       [&] { return GetDlgCtrlID(FocusedControl(driver, dialog)) == key.second; });
                  }
                  driver.Click(dialog, IDCANCEL);
              });
}
