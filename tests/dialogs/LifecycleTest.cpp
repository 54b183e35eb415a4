// SPDX-License-Identifier: Apache-2.0
// A dialog's window lives only while DoModal runs; the object outlives it
// and may run again. Icons, painting and the wait cursor belong here too.
#include "framework/testing/TestSeams.h"
#include "res/resource.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

namespace
{
class LifecycleTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AfxClearModalDrivers();
        AfxClearMessageBoxLog();
    }
};

TEST_F(LifecycleTest, DoModalTwiceMakesANewWindowEachTime)
{
    TestDialog dialog;
    int inits = 0;
    dialog.onInit = [&] { ++inits; };
    std::vector<HWND> windows;
    std::vector<HWND> controls;
    AfxSetModalDriver(IDD_TEST,
                      [&](CDialog& d)
                      {
                          windows.push_back(d.GetSafeHwnd());
                          controls.push_back(d.GetDlgItem(IDC_T_NAME)->GetSafeHwnd());
                          EXPECT_EQ(d.GetDlgItem(IDC_T_NAME)->GetWindowText(), "");
                          d.SetDlgItemText(IDC_T_NAME, "left behind");
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(IsWindow(windows[0]));
    EXPECT_FALSE(IsWindow(controls[0]));
    EXPECT_EQ(CWnd::FromHandle(controls[0]), nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_NE(windows[0], windows[1]);
    EXPECT_NE(controls[0], controls[1]);
    EXPECT_EQ(inits, 2);
}

TEST_F(LifecycleTest, HandlesAndIdsOfControls)
{
    TestDialog dialog;
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            CWnd* apply = d.GetDlgItem(IDC_T_APPLY);
                            ASSERT_NE(apply, nullptr);
                            EXPECT_EQ(apply->GetDlgCtrlID(), IDC_T_APPLY);
                            EXPECT_EQ(GetDlgCtrlID(apply->GetSafeHwnd()), IDC_T_APPLY);
                            EXPECT_EQ(GetDlgCtrlID(d.GetSafeHwnd()), 0);
                            EXPECT_EQ(CWnd::FromHandle(apply->GetSafeHwnd()), apply);
                            EXPECT_EQ(apply->GetParent(), &d);
                            EXPECT_EQ(d.GetDlgItem(IDC_T_APPLY),
                                      apply); // the same stand-in each time
                            d.GetDlgItem(IDC_T_NUMBER)->SetFocus();
                            ASSERT_NE(CWnd::GetFocus(), nullptr);
                            EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_T_NUMBER);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
}

TEST_F(LifecycleTest, EndDialogDuringInitialisationNeverShowsTheDialog)
{
    TestDialog dialog;
    dialog.onInit = [&] { dialog.EndDialog(77); };
    bool driven = false;
    AfxQueueModalDriver(IDD_TEST, [&](CDialog&) { driven = true; });
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_FALSE(driven);
    AfxClearModalDrivers();
}

TEST_F(LifecycleTest, DriverThatLeavesTheDialogOpenEndsItWithMinusOne)
{
    TestDialog dialog;
    AfxQueueModalDriver(IDD_TEST, [](CDialog&) {});
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(AfxUnfinishedModalCount(), 1);
    EXPECT_TRUE(dialog.log.empty());
}

TEST_F(LifecycleTest, NestedDialogsEachGetTheirDriver)
{
    TestDialog outer;
    TestDialog inner(IDD_TEST_NO_DEFAULT);
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            AfxQueueModalDriver(IDD_TEST_NO_DEFAULT,
                                                [&](CDialog& nested)
                                                {
                                                    nested.MessageBox("from the inner one");
                                                    nested.EndDialog(5);
                                                });
                            EXPECT_EQ(inner.DoModal(), 5);
                            EXPECT_NE(d.GetSafeHwnd(), nullptr);
                            d.EndDialog(6);
                        });
    EXPECT_EQ(outer.DoModal(), 6);
    ASSERT_EQ(AfxMessageBoxLog().size(), 1u);
    EXPECT_EQ(AfxMessageBoxLog()[0].ownerTemplate, static_cast<UINT>(IDD_TEST_NO_DEFAULT));
}

TEST_F(LifecycleTest, WaitCursorIsCountedAndADialogPutsTheArrowBack)
{
    EXPECT_FALSE(AfxIsWaitCursorShown());
    {
        CWaitCursor outer;
        EXPECT_TRUE(AfxIsWaitCursorShown());
        {
            CWaitCursor inner;
            EXPECT_EQ(AfxWaitCursorCount(), 2);
        }
        EXPECT_TRUE(AfxIsWaitCursorShown());
        TestDialog dialog;
        AfxQueueModalDriver(IDD_TEST,
                            [](CDialog& d)
                            {
                                EXPECT_FALSE(AfxIsWaitCursorShown());
                                d.EndDialog(IDOK);
                            });
        dialog.DoModal();
        EXPECT_FALSE(AfxIsWaitCursorShown());
        EXPECT_EQ(AfxWaitCursorCount(), 1);
        outer.Restore();
        EXPECT_TRUE(AfxIsWaitCursorShown());
    }
    EXPECT_FALSE(AfxIsWaitCursorShown());
    EXPECT_EQ(AfxWaitCursorCount(), 0);
}

TEST_F(LifecycleTest, MainIconLoadsOnceWithBothSizes)
{
    HICON icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(AfxGetApp()->LoadIcon(IDR_MAINFRAME), icon);
    EXPECT_EQ(AfxGetApp()->LoadIcon(4711), nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMICON), 16);

    TestDialog dialog;
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            EXPECT_EQ(d.SetIcon(icon, TRUE), nullptr);
                            d.SetIcon(icon, FALSE);
                            EXPECT_EQ(d.GetIcon(TRUE), icon);
                            EXPECT_EQ(d.GetIcon(FALSE), icon);
                            EXPECT_FALSE(d.IsIconic());
                            d.EndDialog(IDOK);
                        });
    dialog.DoModal();
}

// Paints the icon at a fixed place, as the main window does when minimised.
class PaintingDialog : public TestDialog
{
public:
    int paints = 0;
    bool hadDc = false;

protected:
    afx_msg void OnPaint()
    {
        ++paints;
        CPaintDC dc(this);
        hadDc = dc.GetSafeHdc() != nullptr;
        dc.DrawIcon(10, 10, AfxGetApp()->LoadIcon(IDR_MAINFRAME));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintingDialog, TestDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(LifecycleTest, PaintingReachesOnPaintAndDrawsTheIcon)
{
    PaintingDialog dialog;
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            const int before = dialog.paints;
                            // The laser's spot: red at the middle of the 32 x 32 icon.
                            unsigned rgb = 0;
                            ASSERT_TRUE(AfxTestGrabPixel(d, 10 + 16, 10 + 16, &rgb));
                            EXPECT_GT(dialog.paints, before);
                            EXPECT_TRUE(dialog.hadDc);
                            EXPECT_GT((rgb >> 16) & 0xFF, 180u);
                            EXPECT_LT((rgb >> 8) & 0xFF, 80u);
                            // Outside painting, a device context is empty.
                            CPaintDC outside(&d);
                            EXPECT_EQ(outside.GetSafeHdc(), nullptr);
                            EXPECT_FALSE(
                                outside.DrawIcon(0, 0, AfxGetApp()->LoadIcon(IDR_MAINFRAME)));
                            d.EndDialog(IDOK);
                        });
    dialog.DoModal();
}
} // namespace
