// SPDX-License-Identifier: Apache-2.0
// The controls as the program uses them: sorted lists, selections and their
// notifications, edits and EN_CHANGE, spin buttons with their buddies,
// radio groups, enabling and showing.
#include "framework/testing/TestSeams.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
class ControlsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AfxClearModalDrivers();
        AfxClearMessageBoxLog();
    }
    // Runs the test dialog with check as its driver; the dialog ends after it.
    void Run(const std::function<void(CDialog&)>& check)
    {
        AfxQueueModalDriver(IDD_TEST,
                            [&](CDialog& d)
                            {
                                check(d);
                                d.EndDialog(IDCANCEL);
                            });
        dialog.DoModal();
        EXPECT_EQ(AfxUnfinishedModalCount(), 0);
    }
    static std::vector<std::string> Items(CComboBox& combo)
    {
        std::vector<std::string> items(static_cast<std::size_t>(combo.GetCount()));
        for (int i = 0; i < combo.GetCount(); ++i)
        {
            combo.GetLBText(i, items[static_cast<std::size_t>(i)]);
        }
        return items;
    }
    static std::vector<std::string> Items(CListBox& list)
    {
        std::vector<std::string> items(static_cast<std::size_t>(list.GetCount()));
        for (int i = 0; i < list.GetCount(); ++i)
        {
            list.GetText(i, items[static_cast<std::size_t>(i)]);
        }
        return items;
    }
    TestDialog dialog;
};

TEST_F(ControlsTest, SortedComboInsertsAlphabeticallyWithoutRegardToCaseAfterEqualItems)
{
    Run(
        [](CDialog& d)
        {
            auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_T_SORTED_COMBO));
            EXPECT_EQ(combo->AddString("beta"), 0);
            EXPECT_EQ(combo->AddString("Alpha"), 0);
            EXPECT_EQ(combo->AddString("gamma"), 2);
            EXPECT_EQ(combo->AddString("alpha"), 1);
            EXPECT_EQ(combo->AddString("ALPHA"), 2);
            const std::vector<std::string> expected = {"Alpha", "alpha", "ALPHA", "beta", "gamma"};
            EXPECT_EQ(Items(*combo), expected);
            // Adding never selects.
            EXPECT_EQ(combo->GetCurSel(), CB_ERR);
            EXPECT_EQ(combo->FindStringExact(-1, "GAMMA"), 4);
        });
}

TEST_F(ControlsTest, UnitNamesAddedInAlphabeticalOrderLandAtTheirInsertionIndex)
{
    Run(
        [](CDialog& d)
        {
            auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_T_SORTED_COMBO));
            const char* angles[] = {"arcminutes", "arcseconds",   "degrees",
                                    "grads",      "milliradians", "radians"};
            for (int i = 0; i < 6; ++i)
            {
                EXPECT_EQ(combo->AddString(angles[i]), i);
            }
            const char* pressures[] = {"inchesHg", "kPascals", "millibars", "millimetersHg"};
            combo->ResetContent();
            EXPECT_EQ(combo->GetCount(), 0);
            for (int i = 0; i < 4; ++i)
            {
                EXPECT_EQ(combo->AddString(pressures[i]), i);
            }
        });
}

TEST_F(ControlsTest, UnsortedComboKeepsInsertionOrder)
{
    Run(
        [](CDialog& d)
        {
            auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_T_PLAIN_COMBO));
            EXPECT_EQ(combo->AddString("user"), 0);
            EXPECT_EQ(combo->AddString("admin"), 1);
            EXPECT_EQ(combo->AddString("factory"), 2);
            EXPECT_EQ(Items(*combo), (std::vector<std::string>{"user", "admin", "factory"}));
        });
}

TEST_F(ControlsTest, ComboSelectionByTheOperatorNotifiesAndByTheProgramDoesNot)
{
    Run(
        [&](CDialog& d)
        {
            auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_T_SORTED_COMBO));
            for (const char* unit : {"meters", "feet", "inches"})
            {
                combo->AddString(unit);
            }
            EXPECT_EQ(combo->SetCurSel(2), 2);
            EXPECT_EQ(combo->GetCurSel(), 2);
            EXPECT_FALSE(dialog.Logged("OnComboChange"));
            ASSERT_TRUE(AfxTestSelect(d, IDC_T_SORTED_COMBO, 1));
            EXPECT_EQ(combo->GetCurSel(), 1);
            std::string text;
            combo->GetLBText(combo->GetCurSel(), text);
            EXPECT_EQ(text, "inches");
            EXPECT_EQ(combo->GetWindowText(), "inches");
            EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "OnComboChange"), 1);
            EXPECT_EQ(combo->SetCurSel(-1), CB_ERR);
            EXPECT_EQ(combo->GetCurSel(), CB_ERR);
            EXPECT_EQ(combo->SetCurSel(3), CB_ERR);
            EXPECT_EQ(combo->GetCurSel(), CB_ERR);
        });
}

TEST_F(ControlsTest, SortedListThroughMessagesAndDoubleClickNotification)
{
    Run(
        [&](CDialog& d)
        {
            CWnd* list = d.GetDlgItem(IDC_T_LIST);
            list->SendMessage(LB_RESETCONTENT);
            for (const char* name : {"zeta", "alpha", "Beta", "alpha"})
            {
                list->SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            }
            auto* box = static_cast<CListBox*>(list);
            EXPECT_EQ(Items(*box), (std::vector<std::string>{"alpha", "alpha", "Beta", "zeta"}));
            EXPECT_EQ(list->SendMessage(LB_GETCURSEL), LB_ERR);
            ASSERT_TRUE(AfxTestSelect(d, IDC_T_LIST, 2));
            EXPECT_EQ(list->SendMessage(LB_GETCURSEL), 2);
            EXPECT_TRUE(dialog.Logged("OnListSelChange"));
            char buffer[16] = {};
            EXPECT_EQ(list->SendMessage(LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 4);
            EXPECT_STREQ(buffer, "Beta");
            EXPECT_FALSE(dialog.Logged("OnListDblClk"));
            ASSERT_TRUE(AfxTestDoubleClickItem(d, IDC_T_LIST, 3));
            EXPECT_TRUE(dialog.Logged("OnListDblClk"));
            EXPECT_EQ(box->GetCurSel(), 3);
            box->SetCurSel(-1);
            EXPECT_EQ(box->GetCurSel(), LB_ERR);
        });
}

TEST_F(ControlsTest, EditTextChangesSendEnChangeWhetherTypedOrSet)
{
    Run(
        [&](CDialog& d)
        {
            dialog.changedTexts.clear();
            d.SetDlgItemText(IDC_T_NAME, "12");
            EXPECT_EQ(dialog.changedTexts, std::vector<std::string>{"12"});
            d.GetDlgItem(IDC_T_NAME)->SetWindowText("12"); // the same text: still a notification
            EXPECT_EQ(dialog.changedTexts.size(), 2u);
            dialog.changedTexts.clear();
            AfxTestType(d, IDC_T_NAME, "ab\b");
            EXPECT_EQ(dialog.changedTexts, (std::vector<std::string>{"a", "ab", "a"}));
        });
}

TEST_F(ControlsTest, DigitsOnlyEditRefusesTypedLettersButNotSetText)
{
    Run(
        [&](CDialog& d)
        {
            AfxTestType(d, IDC_T_NUMBER, "1a-2 3");
            EXPECT_EQ(d.GetDlgItem(IDC_T_NUMBER)->GetWindowText(), "123");
            EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "OnNumberChange"), 3);
            d.SetDlgItemText(IDC_T_NUMBER, "x9");
            EXPECT_EQ(d.GetDlgItem(IDC_T_NUMBER)->GetWindowText(), "x9");
        });
}

TEST_F(ControlsTest, LimitTextBoundsTypingOnly)
{
    Run(
        [](CDialog& d)
        {
            auto* edit = static_cast<CEdit*>(d.GetDlgItem(IDC_T_NAME));
            edit->SetLimitText(3);
            EXPECT_EQ(edit->GetLimitText(), 3u);
            AfxTestType(d, IDC_T_NAME, "abcde");
            EXPECT_EQ(edit->GetWindowText(), "abc");
            edit->SetWindowText("longer text");
            EXPECT_EQ(edit->GetWindowText(), "longer text");
            edit->SetSel(0, 3);
            int start = -1;
            int end = -1;
            edit->GetSel(start, end);
            EXPECT_EQ(start, 0);
            EXPECT_EQ(end, 3);
            EXPECT_EQ(AfxTestSelectedText(d, IDC_T_NAME), "lon");
        });
}

// The digits rule holds for every way text enters: a paste or an input
// method's commit that brings in anything else is refused whole, with no
// EN_CHANGE; digits go in like typed ones.
TEST_F(ControlsTest, DigitsOnlyEditRefusesPastedAndComposedNonDigits)
{
    Run(
        [&](CDialog& d)
        {
            CWnd* number = d.GetDlgItem(IDC_T_NUMBER);
            d.SetDlgItemText(IDC_T_NUMBER, "12");
            dialog.log.clear();
            for (const char* refused : {" 5 ", "5 ", "-5", "3a", "\xB2"})
            {
                EXPECT_TRUE(AfxTestPaste(d, IDC_T_NUMBER, refused));
                EXPECT_EQ(number->GetWindowText(), "12") << refused;
            }
            EXPECT_TRUE(AfxTestCommitInputMethod(d, IDC_T_NUMBER, "x"));
            EXPECT_EQ(number->GetWindowText(), "12");
            EXPECT_TRUE(dialog.log.empty());

            // The edit has the focus and its text is still selected.
            EXPECT_TRUE(AfxTestPaste(d, IDC_T_NUMBER, "5"));
            EXPECT_EQ(number->GetWindowText(), "5");
            EXPECT_TRUE(AfxTestCommitInputMethod(d, IDC_T_NUMBER, "07"));
            EXPECT_EQ(number->GetWindowText(), "507");
            EXPECT_TRUE(AfxTestPaste(d, IDC_T_NUMBER, "9 "));
            EXPECT_EQ(number->GetWindowText(), "507");
            EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "OnNumberChange"), 2);
        });
}

// The limit holds for pastes and input methods too: what fits of a paste
// goes in, a change of which nothing fits is refused; deleting always works,
// and the program's own text may exceed the limit.
TEST_F(ControlsTest, LimitTextKeepsWhatFitsOfPastedAndComposedText)
{
    Run(
        [&](CDialog& d)
        {
            auto* edit = static_cast<CEdit*>(d.GetDlgItem(IDC_T_NAME));
            edit->SetLimitText(5);
            dialog.changedTexts.clear();
            EXPECT_TRUE(AfxTestPaste(d, IDC_T_NAME, "abcdefgh"));
            EXPECT_EQ(edit->GetWindowText(), "abcde");
            EXPECT_TRUE(AfxTestPaste(d, IDC_T_NAME, "x"));
            EXPECT_TRUE(AfxTestCommitInputMethod(d, IDC_T_NAME, "y"));
            EXPECT_EQ(edit->GetWindowText(), "abcde");
            EXPECT_EQ(dialog.changedTexts, std::vector<std::string>{"abcde"});

            // "bc" selected: three characters stay, two of the paste fit.
            edit->SetSel(1, 3);
            EXPECT_TRUE(AfxTestPaste(d, IDC_T_NAME, "WXYZ"));
            EXPECT_EQ(edit->GetWindowText(), "aWXde");
            int start = -1;
            int end = -1;
            edit->GetSel(start, end);
            EXPECT_EQ(start, 3);
            EXPECT_EQ(end, 3);
            edit->SetSel(0, 1);
            EXPECT_TRUE(AfxTestCommitInputMethod(d, IDC_T_NAME, "123"));
            EXPECT_EQ(edit->GetWindowText(), "1WXde");

            edit->SetWindowText("longer than five");
            AfxTestPressKey(d, AfxKey::Backspace);
            EXPECT_EQ(edit->GetWindowText(), "longer than fiv");
            EXPECT_TRUE(AfxTestPaste(d, IDC_T_NAME, "q"));
            EXPECT_EQ(edit->GetWindowText(), "longer than fiv");
        });
}

// Undo goes back to what the program had set, even where it breaks the
// rules, and the rules still hold for the next paste.
TEST_F(ControlsTest, UndoToTheProgramsTextKeepsTheRulesInForce)
{
    Run(
        [&](CDialog& d)
        {
            CWnd* number = d.GetDlgItem(IDC_T_NUMBER);
            d.SetDlgItemText(IDC_T_NUMBER, "x9");
            AfxTestType(d, IDC_T_NUMBER, "5");
            EXPECT_EQ(number->GetWindowText(), "5");
            AfxTestPressKey(d, AfxKey::Undo);
            EXPECT_EQ(number->GetWindowText(), "x9");
            EXPECT_TRUE(AfxTestPaste(d, IDC_T_NUMBER, " 5 "));
            EXPECT_EQ(number->GetWindowText(), "x9");
            AfxTestType(d, IDC_T_NUMBER, "a");
            EXPECT_EQ(number->GetWindowText(), "x9");
        });
}

TEST_F(ControlsTest, SpinStaysInItsRangeAndWritesItsBuddy)
{
    Run(
        [](CDialog& d)
        {
            auto* spin = static_cast<CSpinButtonCtrl*>(d.GetDlgItem(IDC_T_SPIN));
            CWnd* buddy = d.GetDlgItem(IDC_T_SPIN_EDIT);
            spin->SetRange(1, 3);
            int lower = 0;
            int upper = 0;
            spin->GetRange(lower, upper);
            EXPECT_EQ(lower, 1);
            EXPECT_EQ(upper, 3);
            spin->SetPos(2);
            EXPECT_EQ(buddy->GetWindowText(), "2");
            AfxTestClickSpin(d, IDC_T_SPIN, true);
            EXPECT_EQ(buddy->GetWindowText(), "3");
            AfxTestClickSpin(d, IDC_T_SPIN, true);
            EXPECT_EQ(buddy->GetWindowText(), "3");
            EXPECT_EQ(spin->GetPos(), 3);
            for (int i = 0; i < 4; ++i)
            {
                AfxTestClickSpin(d, IDC_T_SPIN, false);
            }
            EXPECT_EQ(buddy->GetWindowText(), "1");
            EXPECT_EQ(spin->SetPos(10), 1);
            EXPECT_EQ(buddy->GetWindowText(), "3");
        });
}

TEST_F(ControlsTest, SpinStepsFromWhatWasTypedAndAnswersArrowKeysInItsBuddy)
{
    Run(
        [](CDialog& d)
        {
            auto* spin = static_cast<CSpinButtonCtrl*>(d.GetDlgItem(IDC_T_SPIN));
            CWnd* buddy = d.GetDlgItem(IDC_T_SPIN_EDIT);
            spin->SetRange(1, 9);
            d.SetDlgItemText(IDC_T_SPIN_EDIT, "6");
            EXPECT_EQ(spin->GetPos(), 6);
            AfxTestClickSpin(d, IDC_T_SPIN, true);
            EXPECT_EQ(buddy->GetWindowText(), "7");
            AfxTestType(d, IDC_T_SPIN_EDIT, "4");
            AfxTestPressKey(d, AfxKey::Up);
            EXPECT_EQ(buddy->GetWindowText(), "5");
            AfxTestPressKey(d, AfxKey::Down);
            AfxTestPressKey(d, AfxKey::Down);
            EXPECT_EQ(buddy->GetWindowText(), "3");
            // A typed number beyond the range is brought back into it.
            AfxTestType(d, IDC_T_SPIN_EDIT, "12");
            AfxTestPressKey(d, AfxKey::Up);
            EXPECT_EQ(buddy->GetWindowText(), "9");
        });
}

TEST_F(ControlsTest, SetCheckLeavesTheGroupAloneButCheckRadioButtonClearsIt)
{
    Run(
        [](CDialog& d)
        {
            static_cast<CButton*>(d.GetDlgItem(IDC_T_FIRST))->SetCheck(BST_CHECKED);
            static_cast<CButton*>(d.GetDlgItem(IDC_T_SECOND))->SetCheck(BST_CHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_FIRST), BST_CHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_SECOND), BST_CHECKED);
            d.CheckRadioButton(IDC_T_FIRST, IDC_T_THIRD, IDC_T_THIRD);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_FIRST), BST_UNCHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_SECOND), BST_UNCHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_THIRD), BST_CHECKED);
            // Clicking a checked radio button keeps it checked.
            AfxTestClick(d, IDC_T_THIRD);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_THIRD), BST_CHECKED);
            EXPECT_EQ(static_cast<CButton*>(d.GetDlgItem(IDC_T_APPLY))->GetCheck(),
                      static_cast<int>(BST_UNCHECKED));
        });
}

TEST_F(ControlsTest, DisabledAndHiddenControlsTakeNoClicksAndComeBack)
{
    Run(
        [&](CDialog& d)
        {
            CWnd* apply = d.GetDlgItem(IDC_T_APPLY);
            EXPECT_FALSE(apply->EnableWindow(FALSE));
            EXPECT_FALSE(apply->IsWindowEnabled());
            EXPECT_FALSE(AfxTestClick(d, IDC_T_APPLY));
            EXPECT_TRUE(apply->EnableWindow(TRUE));
            EXPECT_TRUE(apply->ShowWindow(SW_HIDE));
            EXPECT_FALSE(apply->IsWindowVisible());
            EXPECT_FALSE(AfxTestClick(d, IDC_T_APPLY));
            EXPECT_FALSE(apply->ShowWindow(SW_SHOW));
            EXPECT_TRUE(apply->IsWindowVisible());
            EXPECT_TRUE(AfxTestClick(d, IDC_T_APPLY));
            EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "OnApply"), 1);
            // A hidden control exists and says so.
            EXPECT_FALSE(d.GetDlgItem(IDC_T_HIDDEN)->IsWindowVisible());
            EXPECT_EQ(d.GetDlgItem(4711), nullptr);
        });
}

TEST_F(ControlsTest, PasswordEditKeepsItsTextHidden)
{
    Run(
        [](CDialog& d)
        {
            EXPECT_TRUE(AfxTestIsPassword(d, IDC_T_PASSWORD));
            AfxTestType(d, IDC_T_PASSWORD, "s3cret");
            EXPECT_EQ(d.GetDlgItem(IDC_T_PASSWORD)->GetWindowText(), "s3cret");
        });
}
} // namespace
