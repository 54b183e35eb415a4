// SPDX-License-Identifier: Apache-2.0
// The dialog manager's keys: every way of ending a dialog goes through the
// program's handlers, and mnemonics press or focus controls.
#include "framework/testing/TestSeams.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

namespace
{
class KeyboardTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AfxClearModalDrivers();
        AfxClearMessageBoxLog();
    }
    int Run(TestDialog& dialog, const std::function<void(CDialog&)>& driver)
    {
        AfxQueueModalDriver(dialog.GetTemplateId(), driver);
        return dialog.DoModal();
    }
};

TEST_F(KeyboardTest, EnterPressesTheDefaultButtonWhichReachesOnOK)
{
    TestDialog dialog;
    EXPECT_EQ(Run(dialog,
                  [](CDialog& d)
                  {
                      AfxTestType(d, IDC_T_NAME, "abc");
                      AfxTestPressKey(d, AfxKey::Enter);
                  }),
              IDOK);
    EXPECT_TRUE(dialog.Logged("OnOK"));
    EXPECT_FALSE(dialog.Logged("OnCancel"));
}

TEST_F(KeyboardTest, EnterOnAFocusedPushButtonPressesThatButton)
{
    TestDialog dialog;
    Run(dialog,
        [](CDialog& d)
        {
            d.GetDlgItem(IDC_T_APPLY)->SetFocus();
            AfxTestPressKey(d, AfxKey::Enter);
            d.EndDialog(IDCANCEL);
        });
    EXPECT_TRUE(dialog.Logged("OnApply"));
    EXPECT_FALSE(dialog.Logged("OnOK"));
}

TEST_F(KeyboardTest, EnterWithADisabledDefaultButtonDoesNothing)
{
    TestDialog dialog;
    Run(dialog,
        [](CDialog& d)
        {
            d.GetDlgItem(IDOK)->EnableWindow(FALSE);
            AfxTestType(d, IDC_T_NAME, "x\n");
            d.EndDialog(IDCANCEL);
        });
    EXPECT_FALSE(dialog.Logged("OnOK"));
}

TEST_F(KeyboardTest, EnterWithoutADefaultButtonSendsIDOK)
{
    TestDialog dialog(IDD_TEST_NO_DEFAULT);
    EXPECT_EQ(Run(dialog, [](CDialog& d) { AfxTestType(d, IDC_T_NAME, "x\n"); }), IDOK);
    EXPECT_TRUE(dialog.Logged("OnOK"));
}

TEST_F(KeyboardTest, EscapeReachesOnCancelEvenWithoutACancelButton)
{
    TestDialog dialog;
    EXPECT_EQ(Run(dialog, [](CDialog& d) { AfxTestPressKey(d, AfxKey::Escape); }), IDCANCEL);
    EXPECT_EQ(dialog.log, std::vector<std::string>{"OnCancel"});

    TestDialog bare(IDD_TEST_NO_DEFAULT);
    EXPECT_EQ(Run(bare, [](CDialog& d) { AfxTestPressKey(d, AfxKey::Escape); }), IDCANCEL);
    EXPECT_TRUE(bare.Logged("OnCancel"));
}

TEST_F(KeyboardTest, CloseBoxGoesThroughSysCommandAndOnCloseToOnCancel)
{
    TestDialog dialog;
    EXPECT_EQ(Run(dialog, [](CDialog& d) { AfxTestClickCloseBox(d); }), IDCANCEL);
    const std::vector<std::string> expected = {"OnSysCommand " + std::to_string(SC_CLOSE),
                                               "OnClose", "OnCancel"};
    EXPECT_EQ(dialog.log, expected);
}

TEST_F(KeyboardTest, AltF4IsTheCloseBox)
{
    TestDialog dialog;
    EXPECT_EQ(Run(dialog, [](CDialog& d) { AfxTestPressKey(d, AfxKey::F4, true); }), IDCANCEL);
    EXPECT_TRUE(dialog.Logged("OnClose"));
}

TEST_F(KeyboardTest, AltLetterPressesTheButtonWithThatMnemonic)
{
    TestDialog dialog;
    Run(dialog,
        [](CDialog& d)
        {
            AfxTestPressAlt(d, 'a');
            EXPECT_EQ(AfxTestFocusedId(d), IDC_T_APPLY);
            d.EndDialog(IDCANCEL);
        });
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"OnApply"}));
}

TEST_F(KeyboardTest, AltLetterOfARadioButtonChecksItAndNotifies)
{
    TestDialog dialog;
    Run(dialog,
        [](CDialog& d)
        {
            AfxTestPressAlt(d, 'h');
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_THIRD), BST_CHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_FIRST), BST_UNCHECKED);
            d.EndDialog(IDCANCEL);
        });
    EXPECT_TRUE(dialog.Logged("OnRadio " + std::to_string(IDC_T_THIRD)));
}

TEST_F(KeyboardTest, AltLetterOfALabelFocusesTheControlAfterIt)
{
    TestDialog dialog;
    Run(dialog,
        [](CDialog& d)
        {
            d.SetDlgItemText(IDC_T_NAME, "kept");
            d.GetDlgItem(IDC_T_APPLY)->SetFocus();
            AfxTestPressAlt(d, 'n');
            EXPECT_EQ(AfxTestFocusedId(d), IDC_T_NAME);
            EXPECT_EQ(AfxTestSelectedText(d, IDC_T_NAME), "kept");
            d.EndDialog(IDCANCEL);
        });
    EXPECT_FALSE(dialog.Logged("OnApply"));
}

TEST_F(KeyboardTest, MnemonicsOfHiddenOrDisabledControlsAndLiteralAmpersandsDoNothing)
{
    TestDialog dialog;
    Run(dialog,
        [](CDialog& d)
        {
            AfxTestPressAlt(d, 'z'); // "&Zap" is hidden
            d.GetDlgItem(IDC_T_APPLY)->EnableWindow(FALSE);
            AfxTestPressAlt(d, 'a');
            AfxTestPressAlt(d, 's'); // "Plain && simple" has no mnemonic
            d.EndDialog(IDCANCEL);
        });
    EXPECT_EQ(dialog.log, std::vector<std::string>{});
}

TEST_F(KeyboardTest, ArrowKeysMoveWithinARadioGroup)
{
    TestDialog dialog;
    Run(dialog,
        [](CDialog& d)
        {
            AfxTestClick(d, IDC_T_FIRST);
            AfxTestPressKey(d, AfxKey::Down);
            EXPECT_EQ(AfxTestFocusedId(d), IDC_T_SECOND);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_SECOND), BST_CHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_FIRST), BST_UNCHECKED);
            AfxTestPressKey(d, AfxKey::Up);
            AfxTestPressKey(d, AfxKey::Up); // wraps round to the last one
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_THIRD), BST_CHECKED);
            d.EndDialog(IDCANCEL);
        });
}
} // namespace
