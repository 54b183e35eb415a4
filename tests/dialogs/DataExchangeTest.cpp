// SPDX-License-Identifier: Apache-2.0
// Data exchange and validation: values in and out of controls, the
// framework's prompts, where the focus goes and where the exchange stops.
#include "framework/testing/TestSeams.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
class DataExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override { AfxClearMessageBoxLog(); }
    void TearDown() override
    {
        AfxClearModalDrivers();
        AfxClearMessageBoxLog();
    }

    // The exchange a Select-Units-like dialog does: number then its bounds,
    // twice, then a text and an unsigned number.
    void Bind(TestDialog& dialog)
    {
        dialog.exchange = [this](CDataExchange* pDX)
        {
            DDX_Text(pDX, IDC_T_NAME, first);
            DDV_MinMaxInt(pDX, first, 1, 9);
            DDX_Text(pDX, IDC_T_SPIN_EDIT, second);
            DDV_MinMaxInt(pDX, second, 1, 3);
            DDX_Text(pDX, IDC_T_PASSWORD, text);
            DDX_Text(pDX, IDC_T_NUMBER, count);
            DDV_MinMaxUInt(pDX, count, 0, 255);
        };
    }

    static std::vector<std::string> Prompts()
    {
        std::vector<std::string> texts;
        for (const AfxMessageBoxInfo& box : AfxMessageBoxLog())
        {
            texts.push_back(box.text);
        }
        return texts;
    }

    int first = 5;
    int second = 2;
    std::string text = "pw";
    UINT count = 7;
};

TEST_F(DataExchangeTest, LoadingPutsTheMembersIntoTheControls)
{
    TestDialog dialog;
    Bind(dialog);
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            EXPECT_EQ(d.GetDlgItem(IDC_T_NAME)->GetWindowText(), "5");
                            EXPECT_EQ(d.GetDlgItem(IDC_T_SPIN_EDIT)->GetWindowText(), "2");
                            EXPECT_EQ(d.GetDlgItem(IDC_T_PASSWORD)->GetWindowText(), "pw");
                            EXPECT_EQ(d.GetDlgItem(IDC_T_NUMBER)->GetWindowText(), "7");
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    // Loading the value into the empty edit was a change of its text.
    EXPECT_EQ(dialog.changedTexts, std::vector<std::string>{"5"});
}

TEST_F(DataExchangeTest, SavingReadsWholeNumbersWithSurroundingSpaces)
{
    TestDialog dialog;
    Bind(dialog);
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            d.SetDlgItemText(IDC_T_NAME, " 8 ");
                            d.SetDlgItemText(IDC_T_SPIN_EDIT, "+3");
                            d.SetDlgItemText(IDC_T_PASSWORD, "secret");
                            d.SetDlgItemText(IDC_T_NUMBER, "255");
                            AfxTestClick(d, IDOK);
                        });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(first, 8);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(text, "secret");
    EXPECT_EQ(count, 255u);
    EXPECT_TRUE(AfxMessageBoxLog().empty());
}

TEST_F(DataExchangeTest, NotANumberPromptsFocusesSelectsAndKeepsTheDialogOpen)
{
    TestDialog dialog;
    Bind(dialog);
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            d.SetDlgItemText(IDC_T_NAME, "4x");
                            d.GetDlgItem(IDOK)->SetFocus();
                            AfxTestPressKey(d, AfxKey::Enter);
                            EXPECT_EQ(AfxTestFocusedId(d), IDC_T_NAME);
                            EXPECT_EQ(AfxTestSelectedText(d, IDC_T_NAME), "4x");
                            EXPECT_EQ(first, 5); // the exchange stopped before assigning
                            ASSERT_EQ(AfxMessageBoxLog().size(), 1u);
                            const AfxMessageBoxInfo box = AfxMessageBoxLog().front();
                            EXPECT_EQ(box.text, "Please enter an integer.");
                            EXPECT_EQ(box.caption, "Kelm Utilities");
                            EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONEXCLAMATION));
                            EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
                            EXPECT_TRUE(box.application);
                            // Corrected, the next OK goes through.
                            AfxTestType(d, IDC_T_NAME, "4\n");
                        });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "OnOK"), 2);
}

TEST_F(DataExchangeTest, EmptyTextIsNotANumber)
{
    TestDialog dialog;
    Bind(dialog);
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            d.SetDlgItemText(IDC_T_NAME, "");
                            EXPECT_FALSE(d.UpdateData(TRUE));
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(Prompts(), std::vector<std::string>{"Please enter an integer."});
}

TEST_F(DataExchangeTest, UnsignedTakesNoMinusSign)
{
    TestDialog dialog;
    Bind(dialog);
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            d.SetDlgItemText(IDC_T_NUMBER, "-1");
                            EXPECT_FALSE(d.UpdateData(TRUE));
                            EXPECT_EQ(AfxTestFocusedId(d), IDC_T_NUMBER);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(Prompts(), std::vector<std::string>{"Please enter a positive integer."});
}

TEST_F(DataExchangeTest, OutOfRangeNamesTheBoundsAndFocusesTheLastExchangedControl)
{
    TestDialog dialog;
    Bind(dialog);
    AfxQueueModalDriver(
        IDD_TEST,
        [&](CDialog& d)
        {
            d.SetDlgItemText(IDC_T_NAME, "10");
            d.SetDlgItemText(IDC_T_SPIN_EDIT, "0");
            d.GetDlgItem(IDC_T_APPLY)->SetFocus();
            // Both out of range: only the first in exchange order is reported.
            EXPECT_FALSE(d.UpdateData(TRUE));
            EXPECT_EQ(AfxTestFocusedId(d), IDC_T_NAME);
            EXPECT_EQ(Prompts(),
                      std::vector<std::string>{"Please enter an integer between 1 and 9."});
            AfxClearMessageBoxLog();
            d.SetDlgItemText(IDC_T_NAME, "9");
            EXPECT_FALSE(d.UpdateData(TRUE));
            EXPECT_EQ(AfxTestFocusedId(d), IDC_T_SPIN_EDIT);
            EXPECT_EQ(Prompts(),
                      std::vector<std::string>{"Please enter an integer between 1 and 3."});
            AfxClearMessageBoxLog();
            d.SetDlgItemText(IDC_T_SPIN_EDIT, "1");
            d.SetDlgItemText(IDC_T_NUMBER, "256");
            EXPECT_FALSE(d.UpdateData(TRUE));
            EXPECT_EQ(Prompts(),
                      std::vector<std::string>{"Please enter an integer between 0 and 255."});
            d.EndDialog(IDCANCEL);
        });
    dialog.DoModal();
    // Members before the failing one were already saved, as the platform does.
    EXPECT_EQ(first, 9);
    EXPECT_EQ(second, 1);
}

TEST_F(DataExchangeTest, NumbersTooLargeForTheirTypeAreNotNumbers)
{
    TestDialog dialog;
    Bind(dialog);
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            d.SetDlgItemText(IDC_T_NAME, "2147483648");
                            EXPECT_FALSE(d.UpdateData(TRUE));
                            d.SetDlgItemText(IDC_T_NAME, "1");
                            d.SetDlgItemText(IDC_T_SPIN_EDIT, "1");
                            d.SetDlgItemText(IDC_T_NUMBER, "4294967296");
                            EXPECT_FALSE(d.UpdateData(TRUE));
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    const std::vector<std::string> expected = {"Please enter an integer.",
                                               "Please enter a positive integer."};
    EXPECT_EQ(Prompts(), expected);
}

TEST_F(DataExchangeTest, RadioIndexLoadsAndSaves)
{
    TestDialog dialog;
    int choice = -1;
    dialog.exchange = [&](CDataExchange* pDX) { DDX_Radio(pDX, IDC_T_FIRST, choice); };
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            for (int id : {IDC_T_FIRST, IDC_T_SECOND, IDC_T_THIRD})
                            {
                                EXPECT_EQ(d.IsDlgButtonChecked(id), BST_UNCHECKED);
                            }
                            choice = 2;
                            d.UpdateData(FALSE);
                            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_THIRD), BST_CHECKED);
                            AfxTestClick(d, IDC_T_SECOND);
                            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_THIRD), BST_UNCHECKED);
                            AfxTestClick(d, IDOK);
                        });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(choice, 1);
}

TEST_F(DataExchangeTest, ControlMembersAreBoundForEachRunOfTheDialog)
{
    TestDialog dialog;
    CEdit name;
    CButton apply;
    dialog.exchange = [&](CDataExchange* pDX)
    {
        DDX_Control(pDX, IDC_T_NAME, name);
        DDX_Control(pDX, IDC_T_APPLY, apply);
    };
    HWND firstHandle = nullptr;
    for (int run = 0; run < 2; ++run)
    {
        AfxQueueModalDriver(IDD_TEST,
                            [&](CDialog& d)
                            {
                                ASSERT_NE(name.GetSafeHwnd(), nullptr);
                                EXPECT_NE(name.GetSafeHwnd(), firstHandle);
                                firstHandle = name.GetSafeHwnd();
                                name.SetWindowText("bound");
                                EXPECT_EQ(d.GetDlgItem(IDC_T_NAME), &name);
                                EXPECT_EQ(d.GetDlgItem(IDC_T_NAME)->GetWindowText(), "bound");
                                apply.EnableWindow(FALSE);
                                EXPECT_FALSE(AfxTestClick(d, IDC_T_APPLY));
                                d.EndDialog(IDCANCEL);
                            });
        dialog.DoModal();
        EXPECT_EQ(name.GetSafeHwnd(), nullptr);
        name.SetWindowText("nowhere"); // unbound: does nothing
        EXPECT_EQ(name.GetWindowText(), "");
    }
    EXPECT_FALSE(dialog.Logged("OnApply"));
}
} // namespace
