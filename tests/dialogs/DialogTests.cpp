#include <gtest/gtest.h>

#include <windows.h>

#include "DialogDriver.h"
#include "TestStore.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/DialogIds.h"
#include "dialogs/MessageDlg.h"

namespace {
using ModalDialog = CDialogTest;

// A dialog to run from inside another's run, as a handler would.
CMessageDlg* g_innerDialog = nullptr;

void CALLBACK RunInnerDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (g_innerDialog != nullptr)
        g_innerDialog->DoModal();
}
} // namespace

TEST_F(ModalDialog, QuitRequestEndsTheRunWithCancelAndStaysPostedForTheOuterLoop)
{
    CAboutDlg dialog;
    INT_PTR result = 0;
    bool quitStillPosted = false;
    WPARAM exitCode = 0;
    RunDriven(
        [&] {
            result = dialog.DoModal();
            MSG message;
            quitStillPosted = PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
            exitCode = message.wParam;
        },
        [&](CDriver& driver) {
            HWND about = driver.WaitForDialog("About Ascenda Vintra Screen Saver");
            driver.Expect(GetWindow(about, GW_OWNER) == nullptr, "an About box with no owner");
            RECT screen;
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
            ExpectCentredOn(driver, about, screen, "the About box on the screen");
            PostThreadMessageA(driver.GetUiThread(), WM_QUIT, 7, 0);
        });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(quitStillPosted);
    EXPECT_EQ(7u, exitCode);
}

TEST_F(ModalDialog, NestedRunIsOwnedByTheRunAroundItWhichIsDisabledUntilItEnds)
{
    CAboutDlg outer;
    CMessageDlg inner;
    g_innerDialog = &inner;
    RunDriven([&] { outer.DoModal(); },
              [&](CDriver& driver) {
                  HWND about = driver.WaitForDialog("About Ascenda Vintra Screen Saver");
                  driver.OnUi([] { SetTimer(nullptr, 0, 0, &RunInnerDialog); });
                  HWND warning = driver.WaitForMessageDialog("WARNING");
                  driver.Expect(GetWindow(warning, GW_OWNER) == about, "owned by the dialog running around it");
                  driver.Expect(!IsWindowEnabled(about), "the owner is disabled while it runs");
                  driver.Click(warning, IDOK);
                  driver.WaitGone(warning);
                  driver.WaitUntil("the owner is enabled again", [&] { return IsWindowEnabled(about) != 0; });
                  driver.Click(about, IDOK);
              });
    g_innerDialog = nullptr;
}
