#include <gtest/gtest.h>

#include <functional>

#include "DialogDriver.h"
#include "TestStore.h"
#include "dialogs/DialogIds.h"
#include "dialogs/MessageDlg.h"

namespace {
using MessageDialog = CDialogTest;

RECT ScreenRectangleOf(HWND window)
{
    RECT rectangle = {};
    GetWindowRect(window, &rectangle);
    return rectangle;
}

INT_PTR RunMessage(CMessageDlg& dialog, const std::function<void(CDriver&, HWND)>& script)
{
    INT_PTR result = 0;
    RunDriven([&] { result = dialog.DoModal(); },
              [&](CDriver& driver) { script(driver, driver.WaitForMessageDialog(dialog.m_heading.c_str())); });
    return result;
}
} // namespace

TEST_F(MessageDialog, WithoutCheckLabelShrinksToTheBodyHeightAndHidesTheCheckBox)
{
    CMessageDlg dialog;
    dialog.m_body = "Base Scale should be between 20 and 50";
    EXPECT_EQ(IDOK, RunMessage(dialog, [&](CDriver& driver, HWND window) {
                  const RECT frame = ScreenRectangleOf(window);
                  const RECT body = ScreenRectangleOf(GetDlgItem(window, IDC_MESSAGE_BODY));
                  const RECT check = ScreenRectangleOf(GetDlgItem(window, IDC_MESSAGE_CHECK));
                  driver.ExpectEqual(body.bottom - body.top, frame.bottom - frame.top, "window height");
                  driver.ExpectEqual(static_cast<int>((body.right - body.left) * 1.1), frame.right - frame.left,
                                     "window width");
                  driver.Expect(check.top >= frame.bottom, "the check box lies below the window's lower edge");
                  driver.ExpectEqual(dialog.m_body, driver.GetText(window, IDC_MESSAGE_BODY), "body");
                  driver.Click(window, IDOK);
              }));
    CMessageDlg empty;
    RunMessage(empty, [&](CDriver& driver, HWND window) {
        driver.ExpectEqual(std::string(), driver.GetText(window, IDC_MESSAGE_BODY),
                           "an empty body, not the template's");
        driver.Click(window, IDOK);
    });
}

TEST_F(MessageDialog, WithCheckLabelKeepsTheTemplateSizeWithTheCheckBoxInside)
{
    CMessageDlg dialog;
    dialog.m_heading = "Hello out there ...";
    dialog.m_body = "body";
    dialog.m_checkLabel = "OK, I get the message, don't show this again";
    RunMessage(dialog, [&](CDriver& driver, HWND window) {
        RECT client = {};
        GetClientRect(window, &client);
        RECT expected = {0, 0, 192, 139};
        MapDialogRect(window, &expected);
        driver.ExpectEqual(expected.right, client.right, "client width");
        driver.ExpectEqual(expected.bottom, client.bottom, "client height");
        const RECT frame = ScreenRectangleOf(window);
        const RECT check = ScreenRectangleOf(GetDlgItem(window, IDC_MESSAGE_CHECK));
        driver.Expect(check.bottom <= frame.bottom && IsWindowVisible(GetDlgItem(window, IDC_MESSAGE_CHECK)),
                      "the check box shows inside the window");
        driver.ExpectEqual(dialog.m_checkLabel, driver.GetText(window, IDC_MESSAGE_CHECK_LABEL), "label");
        driver.Click(window, IDOK);
    });
}

TEST_F(MessageDialog, BoxOpensClearAndOnlyClicksChangeTickedEscapeGivingCancel)
{
    // Clicks on the box, then whether Escape ends the dialog; m_ticked starts at 1.
    const struct {
        int clicks;
        bool escape;
        int32_t ticked;
    } cases[] = {{0, false, 1}, {2, false, 0}, {1, false, 1}, {1, true, 1}, {2, true, 0}};
    for (const auto& tickCase : cases) {
        SCOPED_TRACE(testing::Message() << tickCase.clicks << " clicks, escape " << tickCase.escape);
        CMessageDlg dialog;
        dialog.m_checkLabel = "Please stop greeting me all the time";
        dialog.m_ticked = 1;
        const INT_PTR result = RunMessage(dialog, [&](CDriver& driver, HWND window) {
            driver.ExpectEqual(BST_UNCHECKED, SendDlgItemMessageA(window, IDC_MESSAGE_CHECK, BM_GETCHECK, 0, 0),
                               "state of the box when it opens");
            for (int click = 0; click < tickCase.clicks; ++click)
                driver.ClickControl(window, IDC_MESSAGE_CHECK);
            if (tickCase.escape)
                driver.PressKey(GetDlgItem(window, IDOK), VK_ESCAPE);
            else
                driver.Click(window, IDOK);
        });
        EXPECT_EQ(tickCase.escape ? IDCANCEL : IDOK, result);
        EXPECT_EQ(tickCase.ticked, dialog.m_ticked);
    }
}
