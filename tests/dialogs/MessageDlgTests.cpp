#include <gtest/gtest.h>

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
} // namespace

TEST_F(MessageDialog, WithoutCheckLabelShrinksToTheBodyHeightAndHidesTheCheckBox)
{
    CMessageDlg dialog;
    dialog.m_body = "Base Scale should be between 20 and 50";
    INT_PTR result = 0;
    RunDriven([&] { result = dialog.DoModal(); },
              [&](CDriver& driver) {
                  HWND window = driver.WaitForMessageDialog("WARNING");
                  const RECT frame = ScreenRectangleOf(window);
                  const RECT body = ScreenRectangleOf(GetDlgItem(window, IDC_MESSAGE_BODY));
                  const RECT check = ScreenRectangleOf(GetDlgItem(window, IDC_MESSAGE_CHECK));
                  driver.ExpectEqual(body.bottom - body.top, frame.bottom - frame.top, "window height");
                  driver.ExpectEqual(static_cast<int>((body.right - body.left) * 1.1), frame.right - frame.left,
                                     "window width");
                  driver.Expect(check.top >= frame.bottom, "the check box lies below the window's lower edge");
                  driver.ExpectEqual(std::string("Base Scale should be between 20 and 50"),
                                     driver.GetText(window, IDC_MESSAGE_BODY), "body");
                  driver.Click(window, IDOK);
              });
    EXPECT_EQ(IDOK, result);
}

TEST_F(MessageDialog, WithCheckLabelKeepsTheTemplateSizeWithTheCheckBoxInside)
{
    CMessageDlg dialog;
    dialog.m_heading = "Hello out there ...";
    dialog.m_body = "body";
    dialog.m_checkLabel = "OK, I get the message, don't show this again";
    RunDriven([&] { dialog.DoModal(); },
              [&](CDriver& driver) {
                  HWND window = driver.WaitForMessageDialog("Hello out there ...");
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
                  driver.ExpectEqual(std::string("OK, I get the message, don't show this again"),
                                     driver.GetText(window, IDC_MESSAGE_CHECK_LABEL), "label");
                  driver.Click(window, IDOK);
              });
}

TEST_F(MessageDialog, EmptyBodyNeverShowsTheTemplateText)
{
    CMessageDlg dialog;
    RunDriven([&] { dialog.DoModal(); },
              [&](CDriver& driver) {
                  HWND window = driver.WaitForMessageDialog("WARNING");
                  driver.ExpectEqual(std::string(), driver.GetText(window, IDC_MESSAGE_BODY), "body");
                  driver.Click(window, IDOK);
              });
}

TEST_F(MessageDialog, BoxOpensClearAndOnlyClicksChangeTicked)
{
    CMessageDlg dialog;
    dialog.m_checkLabel = "Please stop greeting me all the time";
    dialog.m_ticked = 1;
    RunDriven([&] { dialog.DoModal(); },
              [&](CDriver& driver) {
                  HWND window = driver.WaitForMessageDialog("WARNING");
                  driver.ExpectEqual(BST_UNCHECKED,
                                     SendDlgItemMessageA(window, IDC_MESSAGE_CHECK, BM_GETCHECK, 0, 0),
                                     "state of the box when it opens");
                  driver.Click(window, IDOK);
              });
    EXPECT_EQ(1, dialog.m_ticked) << "without a click m_ticked keeps what the caller set";
}

TEST_F(MessageDialog, TickingAndClearingLeavesZeroTickingOnceLeavesOne)
{
    for (int clicks : {2, 1}) {
        CMessageDlg dialog;
        dialog.m_checkLabel = "Please stop greeting me all the time";
        INT_PTR result = 0;
        RunDriven([&] { result = dialog.DoModal(); },
                  [&](CDriver& driver) {
                      HWND window = driver.WaitForMessageDialog("WARNING");
                      for (int click = 1; click <= clicks; ++click) {
                          driver.ClickControl(window, IDC_MESSAGE_CHECK);
                          const LRESULT expected = click % 2 == 1 ? BST_CHECKED : BST_UNCHECKED;
                          driver.WaitUntil("the box follows the click", [&] {
                              return SendDlgItemMessageA(window, IDC_MESSAGE_CHECK, BM_GETCHECK, 0, 0) == expected;
                          });
                      }
                      driver.Click(window, IDOK);
                  });
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ(clicks == 1 ? 1 : 0, dialog.m_ticked) << clicks << " clicks";
    }
}

TEST_F(MessageDialog, EscapeEndsWithCancelKeepingTheLastClick)
{
    CMessageDlg dialog;
    dialog.m_checkLabel = "Please stop greeting me all the time";
    dialog.m_ticked = 0;
    INT_PTR result = 0;
    RunDriven([&] { result = dialog.DoModal(); },
              [&](CDriver& driver) {
                  HWND window = driver.WaitForMessageDialog("WARNING");
                  driver.ClickControl(window, IDC_MESSAGE_CHECK);
                  driver.WaitUntil("the box is ticked", [&] {
                      return SendDlgItemMessageA(window, IDC_MESSAGE_CHECK, BM_GETCHECK, 0, 0) == BST_CHECKED;
                  });
                  driver.PressKey(GetDlgItem(window, IDOK), VK_ESCAPE);
              });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, dialog.m_ticked);
}
