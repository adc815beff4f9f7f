#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "TestStore.h"
#include "app/Configure.h"
#include "dialogs/DialogIds.h"
#include "dialogs/PropertiesDlg.h"
#include "dialogs/SettingsDlg.h"

// What a reader and a keyboard user meet in the dialogs, at the font the dialogs really get.

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
            DrawTextA(context, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            SelectObject(context, oldFont);
            ReleaseDC(label, context);
            driver.Expect(needed.right <= room.right && needed.bottom <= room.bottom,
                          name + ": \"" + text + "\" needs " + std::to_string(needed.right) + " x " +
                              std::to_string(needed.bottom) + " pixels, has " + std::to_string(room.right) + " x " +
                              std::to_string(room.bottom));
        }
    });
}

// The dialog's child that has the keyboard focus (a list's edit field counts as the list).
int FocusedId(CDriver& driver, HWND dialog)
{
    HWND focus = nullptr;
    driver.OnUi([&] {
        for (focus = GetFocus(); focus != nullptr && GetParent(focus) != dialog;)
            focus = GetParent(focus);
    });
    return GetDlgCtrlID(focus);
}

// A key as the keyboard reports it, to the window that has the focus.
void PressOnFocus(CDriver& driver, UINT message, WPARAM key, LPARAM flags)
{
    driver.OnUi([&] { PostMessageA(GetFocus(), message, key, flags); });
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

TEST_F(DialogLayout, TabFollowsTheReadingOrderAndEveryPropertiesFieldHasAKeyOfItsOwn)
{
    struct Stop {
        int id;
        char key; // the underlined letter of its label that leads to it; 0 where not tried
    };
    struct DialogCase {
        const char* caption;
        CDialog* dialog;
        std::vector<Stop> readingOrder; // every tab stop, group by group, top left to bottom right
    };
    CSettingsDlg main;
    CPropertiesDlg properties;
    const DialogCase cases[] = {
        {MAIN_CAPTION,
         &main,
         {{IDC_DRIVER_LIST, 0},
          {IDC_PEOPLE_SLIDER, 0},
          {IDC_LIFTS_SLIDER, 0},
          {IDC_BACK_COLOUR, 0},
          {IDC_DEFAULT_VIEW, 0},
          {IDC_CAPACITY_SLIDER, 0},
          {IDC_SCALE_SLIDER, 0},
          {IDC_RESET_ALL, 0},
          {IDC_PROPERTIES, 0},
          {IDOK, 0},
          {IDCANCEL, 0},
          {IDC_APPLY_AND_TEST, 0}}},
        {PROPERTIES_CAPTION,
         &properties,
         {{IDC_USE_COLOURS, 'c'},
          {IDC_SHOW_LEGEND, 'l'},
          {IDC_ALL_MONITORS, 'm'},
          {IDC_SPEED_SLIDER, 's'},
          {IDC_BASE_SCALE, 'b'},
          {IDC_FLOORS, 'f'},
          {IDC_LIFT_PAUSE, 'p'},
          {IDC_PERSON_PAUSE, 't'},
          {IDC_PERSON_INTERVAL, 'a'},
          {IDC_IMPATIENCE, 'i'},
          {IDC_USE_DEFAULTS, 'd'},
          {IDOK, 0},
          {IDCANCEL, 0}}},
    };
    for (const DialogCase& dialogCase : cases) {
        SCOPED_TRACE(dialogCase.caption);
        RunDriven([&] { dialogCase.dialog->DoModal(); },
                  [&](CDriver& driver) {
                      HWND dialog = driver.WaitForDialog(dialogCase.caption);
                      const std::vector<Stop>& stops = dialogCase.readingOrder;
                      for (size_t step = 0; step <= stops.size(); ++step) { // once round and back to the first
                          const int focused = FocusedId(driver, dialog);
                          driver.ExpectEqual(stops[step % stops.size()].id, focused,
                                             "tab stop " + std::to_string(step));
                          PressOnFocus(driver, WM_KEYDOWN, VK_TAB, 1);
                          driver.WaitUntil("Tab moves on", [&] { return FocusedId(driver, dialog) != focused; });
                      }
                      std::string letters;
                      for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                          const std::string text = driver.GetText(child);
                          const size_t at = text.find('&');
                          if (IsWindowVisible(child) && at != std::string::npos && at + 1 < text.size() &&
                              text[at + 1] != '&')
                              letters += static_cast<char>(std::toupper(static_cast<unsigned char>(text[at + 1])));
                      }
                      std::sort(letters.begin(), letters.end());
                      driver.Expect(std::adjacent_find(letters.begin(), letters.end()) == letters.end(),
                                    "a letter underlined twice among " + letters);
                      for (const Stop& stop : stops) {
                          if (stop.key != 0) {
                              PressOnFocus(driver, WM_SYSCHAR, static_cast<WPARAM>(stop.key), 1 << 29); // with Alt
                              driver.WaitUntil((std::string("Alt+") + stop.key + " leads to its field").c_str(),
                                               [&] { return FocusedId(driver, dialog) == stop.id; });
                          }
                      }
                      driver.Click(dialog, IDCANCEL);
                  });
    }
}
