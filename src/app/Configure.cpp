#include "app/Configure.h"

#include <ctime>

#include "dialogs/Contact.h"
#include "dialogs/MessageDlg.h"
#include "dialogs/SettingsDlg.h"
#include "settings/ConfigureRules.h"
#include "settings/Install.h"
#include "win/WinApp.h"

namespace {
const char* const GREETING_HEADING = "Welcome to Ascenda Vintra";
const char* const GREETING_BODY =
    "Welcome to Ascenda - the screen saver that lets you watch others get frustrated .... \n\n\n\n"
    "You are now the proud recipient of Version 1.0.  To be kept informed of updates, please "
    "e-mail " ASCENDA_CONTACT_ADDRESS " to register this freeware and be friendly.";
const char* const GREETING_CHECK_LABEL = "Please stop greeting me all the time";

const char* const REMINDER_HEADING = "Hello out there ...";
const char* const REMINDER_BODY =
    "\nThe software world is a fast moving place, so it is quite likely that there is a later version of "
    "Ascenda Vintra to try out (which may even have some whizzy new features).\n\nIf you haven't already "
    "contacted " ASCENDA_CONTACT_ADDRESS ", now would be a good time.";
const char* const REMINDER_CHECK_LABEL = "OK, I get the message, don't show this again";

int32_t CurrentMonthCount()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* today = std::localtime(&now);
    if (today == nullptr)
        return 0; // no date to be had: no reminder rather than a wrong one
    return MonthCount(today->tm_year, today->tm_mon);
}

// Shows a message dialog with a "don't show this again" box and stores the box's state as key
// when the user pressed OK.
void ShowMessage(CSettingsStore& store, CMessageDlg& dialog, const SettingKey& key, const char* heading,
                 const char* body, const char* checkLabel)
{
    dialog.m_heading = heading;
    dialog.m_body = body;
    dialog.m_checkLabel = checkLabel;
    const bool closedWithOk = dialog.DoModal() == IDOK;
    StoreMessageChoice(store, key, closedWithOk, dialog.m_ticked);
}
} // namespace

void RunConfigure()
{
    CSettingsDlg settingsDialog;
    CMessageDlg greeting;
    CMessageDlg reminder;
    const int32_t monthCount = CurrentMonthCount();
    CSettingsStore& store = AfxGetStore();

    const MainSettings settings = LoadMainSettings(store);
    settingsDialog.m_people = settings.people;
    settingsDialog.m_capacity = settings.capacity;
    settingsDialog.m_driver = settings.driver;
    settingsDialog.m_network = settings.network;
    settingsDialog.m_lifts = settings.lifts;
    settingsDialog.m_scale = settings.scale;
    settingsDialog.m_colour = settings.colour;

    UpdateVersionRecords(store);

    greeting.m_ticked = store.Read(Setting::SuppressFirst);
    const int32_t suppressReminder = store.Read(Setting::SuppressReminder);

    if (greeting.m_ticked == 0)
        ShowMessage(store, greeting, Setting::SuppressFirst, GREETING_HEADING, GREETING_BODY, GREETING_CHECK_LABEL);

    // The date moves on before anything is shown, so a reminder closed any way at all waits for
    // the next month.
    if (AdvanceReminderDate(store, monthCount) && suppressReminder == 0) {
        reminder.m_ticked = 0;
        ShowMessage(store, reminder, Setting::SuppressReminder, REMINDER_HEADING, REMINDER_BODY, REMINDER_CHECK_LABEL);
    }

    CWinApp* app = AfxGetApp();
    if (app != nullptr)
        app->m_pMainWnd = &settingsDialog;
    settingsDialog.DoModal();
    // Normally the dialog's window took the pointer with it; not so when it couldn't be created.
    if (app != nullptr && app->m_pMainWnd == &settingsDialog)
        app->m_pMainWnd = nullptr;
}
