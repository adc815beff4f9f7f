#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "TestStore.h"
#include "app/Configure.h"
#include "dialogs/Contact.h"
#include "dialogs/DialogIds.h"
#include "win/WinApp.h"
#include "win/Wnd.h"

namespace {
using ConfigureSequence = CDialogTest;

const char* const MAIN_CAPTION = "Ascenda Vintra Screen Saver";
const char* const GREETING = "Welcome to Ascenda Vintra";
const char* const REMINDER = "Hello out there ...";

std::string Entry(const SettingKey& key, int32_t value)
{
    return std::string(key.section) + "/" + key.name + "=" + std::to_string(value);
}

// Skips both messages, so that the main dialog is the first thing shown.
void SuppressBothMessages()
{
    Store(Setting::SuppressFirst, 1);
    Store(Setting::SuppressReminder, 1);
}

// Closes the main dialog, the last step of every run.
void CancelMainDialog(CDriver& driver)
{
    driver.Click(driver.WaitForDialog(MAIN_CAPTION), IDCANCEL);
}

void RunConfigureDriven(const std::function<void(CDriver&)>& script)
{
    RunDriven([] { RunConfigure(); }, script);
}
} // namespace

TEST_F(ConfigureSequence, FirstStartWritesTheVersionThenGreetsThenRemindsThenOpensTheMainDialog)
{
    const int32_t month = TodayMonthCount();
    RunConfigureDriven([&](CDriver& driver) {
        HWND greeting = driver.WaitForMessageDialog(GREETING);
        driver.ExpectEqual(0, StoredOr(Setting::PreviousVersion, -1), "Previous Version before the greeting");
        driver.ExpectEqual(100, StoredOr(Setting::CurrentVersion, -1), "Current Version");
        driver.ExpectEqual(0, StoredOr(Setting::CurrentUpdate, -1), "Current Update");
        driver.Expect(!IsStored(Setting::Date), "the date waits until the greeting is done");
        driver.ExpectEqual(std::string("Welcome to Ascenda - the screen saver that lets you watch others get "
                                       "frustrated .... \n\n\n\nYou are now the proud recipient of Version "
                                       "1.0.  To be kept informed of updates, please e-mail " ASCENDA_CONTACT_ADDRESS
                                       " to register this freeware and be friendly."),
                           driver.GetText(greeting, IDC_MESSAGE_BODY), "greeting body");
        driver.ExpectEqual(std::string("Please stop greeting me all the time"),
                           driver.GetText(greeting, IDC_MESSAGE_CHECK_LABEL), "greeting label");
        driver.Click(greeting, IDOK);

        HWND reminder = driver.WaitForMessageDialog(REMINDER);
        driver.ExpectEqual(month, StoredOr(Setting::Date, -1), "Date, written before the reminder shows");
        driver.ExpectEqual(
            std::string("\nThe software world is a fast moving place, so it is quite likely that "
                        "there is a later version of Ascenda Vintra to try out (which may even "
                        "have some whizzy new features).\n\nIf you haven't already contacted " ASCENDA_CONTACT_ADDRESS
                        ", now would be a good time."),
            driver.GetText(reminder, IDC_MESSAGE_BODY), "reminder body");
        driver.ExpectEqual(std::string("OK, I get the message, don't show this again"),
                           driver.GetText(reminder, IDC_MESSAGE_CHECK_LABEL), "reminder label");
        driver.Click(reminder, IDOK);

        HWND main = driver.WaitForDialog(MAIN_CAPTION);
        driver.ExpectEqual(50, SendDlgItemMessageA(main, IDC_PEOPLE_SLIDER, TBM_GETPOS, 0, 0), "people");
        driver.ExpectEqual(25, SendDlgItemMessageA(main, IDC_SCALE_SLIDER, TBM_GETPOS, 0, 0), "scale");
        driver.OnUi([&] {
            CWnd* mainWindow = AfxGetApp()->m_pMainWnd;
            driver.Expect(mainWindow != nullptr && mainWindow->m_hWnd == main, "the main dialog is the main window");
            driver.Expect(GetWindow(main, GW_OWNER) == nullptr, "the main dialog has no owner");
        });
        driver.Click(main, IDCANCEL);
    });
    EXPECT_EQ(nullptr, AfxGetApp()->m_pMainWnd);
    EXPECT_EQ((std::vector<std::string>{Entry(Setting::CurrentUpdate, 0), Entry(Setting::CurrentVersion, 100),
                                        Entry(Setting::Date, month), Entry(Setting::PreviousVersion, 0),
                                        Entry(Setting::SuppressFirst, 0), Entry(Setting::SuppressReminder, 0)}),
              ListStored());
}

TEST_F(ConfigureSequence, MainDialogStartsFromTheStoredValuesUnlimited)
{
    SuppressBothMessages();
    Store(Setting::People, 500);
    Store(Setting::Scale, 60);
    Store(Setting::Network, 5);
    Store(Setting::ColorRed, 300);
    RunConfigureDriven([&](CDriver& driver) { driver.Click(driver.WaitForDialog(MAIN_CAPTION), IDOK); });
    EXPECT_EQ(500, StoredOr(Setting::People, -1));
    EXPECT_EQ(60, StoredOr(Setting::Scale, -1));
    EXPECT_EQ(0, StoredOr(Setting::Network, -1));
    EXPECT_EQ(44, StoredOr(Setting::ColorRed, -1)) << "only the low byte of 300 counts";
    EXPECT_EQ(128, StoredOr(Setting::ColorBlue, -1));
}

TEST_F(ConfigureSequence, VersionBelowCurrentIsRecordedAndCurrentOrAboveIsLeftAlone)
{
    for (int32_t version : {-5, 100, 250}) {
        AfxGetStore().Wipe();
        SuppressBothMessages();
        Store(Setting::CurrentVersion, version);
        RunConfigureDriven(CancelMainDialog);
        EXPECT_EQ(version < 100 ? 100 : version, StoredOr(Setting::CurrentVersion, -1)) << version;
        EXPECT_EQ(version < 100 ? version : -1, StoredOr(Setting::PreviousVersion, -1)) << version;
        EXPECT_EQ(version < 100 ? 0 : -1, StoredOr(Setting::CurrentUpdate, -1)) << version;
    }
}

TEST_F(ConfigureSequence, NoReminderInTheSameMonthOrWithTheClockSetBack)
{
    const int32_t month = TodayMonthCount();
    for (int32_t date : {month, month + 3}) {
        AfxGetStore().Wipe();
        Store(Setting::SuppressFirst, 1);
        Store(Setting::Date, date);
        // A reminder would stand in front of the main dialog and keep it from appearing.
        RunConfigureDriven(CancelMainDialog);
        EXPECT_EQ(date, StoredOr(Setting::Date, -1));
        EXPECT_FALSE(IsStored(Setting::SuppressReminder));
    }
}

TEST_F(ConfigureSequence, EscapeOnATickedGreetingStoresNothingSoItReturnsWhileOkStopsIt)
{
    // Escape on the first and second start, then OK.
    for (int start = 1; start <= 3; ++start) {
        RunConfigureDriven([&](CDriver& driver) {
            HWND greeting = driver.WaitForMessageDialog(GREETING);
            driver.ClickControl(greeting, IDC_MESSAGE_CHECK);
            if (start == 3)
                driver.Click(greeting, IDOK);
            else
                driver.PressKey(GetDlgItem(greeting, IDOK), VK_ESCAPE);
            if (start == 1)
                driver.Click(driver.WaitForMessageDialog(REMINDER), IDOK);
            CancelMainDialog(driver);
        });
        EXPECT_EQ(start == 3 ? 1 : -1, StoredOr(Setting::SuppressFirst, -1)) << "start " << start;
    }
    // The next start goes straight to the main dialog (same month: no reminder either).
    RunConfigureDriven(CancelMainDialog);
}

TEST_F(ConfigureSequence, EscapeOnTheReminderStillAdvancesTheDateAndATickedReminderSuppressesItsShowing)
{
    for (bool escape : {true, false}) {
        AfxGetStore().Wipe();
        Store(Setting::SuppressFirst, 1);
        RunConfigureDriven([&](CDriver& driver) {
            HWND reminder = driver.WaitForMessageDialog(REMINDER);
            driver.ClickControl(reminder, IDC_MESSAGE_CHECK);
            if (escape)
                driver.PressKey(GetDlgItem(reminder, IDOK), VK_ESCAPE);
            else
                driver.Click(reminder, IDOK);
            CancelMainDialog(driver);
        });
        EXPECT_EQ(TodayMonthCount(), StoredOr(Setting::Date, -1)) << escape;
        EXPECT_EQ(escape ? -1 : 1, StoredOr(Setting::SuppressReminder, -1)) << escape;
    }
    // A later month: the date moves on, but no reminder stands before the main dialog.
    Store(Setting::Date, 20);
    RunConfigureDriven(CancelMainDialog);
    EXPECT_EQ(TodayMonthCount(), StoredOr(Setting::Date, -1));
}
