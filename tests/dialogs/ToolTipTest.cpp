// SPDX-License-Identifier: Apache-2.0
// Tooltips on demand: the dialog's TTN_NEEDTEXTA handler is asked with the
// control's window as the tool, and its answer decides what shows.
#include "framework/testing/TestSeams.h"
#include "res/DialogTemplates.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
class ToolTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.onInit = [this] { dialog.EnableToolTips(TRUE); };
        // Answers like the main window: the text for the Apply button in the
        // fixed buffer, a long text by pointer for the list, nothing else.
        dialog.toolTip = [this](UINT, NMHDR* header, LRESULT*) -> BOOL
        {
            auto* tip = reinterpret_cast<TOOLTIPTEXTA*>(header);
            if ((tip->uFlags & TTF_IDISHWND) == 0)
            {
                return FALSE;
            }
            const int id = dialog.GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
            askedIds.push_back(id);
            if (id == IDC_T_APPLY)
            {
                std::strcpy(tip->szText, "Applies the \xB0 settings");
                return TRUE;
            }
            if (id == IDC_T_LIST)
            {
                tip->lpszText = const_cast<char*>(kLong);
                return TRUE;
            }
            if (id == IDC_T_NAME)
            {
                return TRUE; // nothing to say: no tip
            }
            std::strcpy(tip->szText, "declined");
            return FALSE;
        };
    }
    void TearDown() override { AfxClearModalDrivers(); }

    // What is asked before any tooltip shows: the description of the list
    // box, which Qt's own interface reads from the widget, is asked once as
    // the dialog opens (every other control's only when it is read).
    static std::vector<int> OnOpening(std::vector<int> then)
    {
        std::vector<int> asked{IDC_T_LIST};
        asked.insert(asked.end(), then.begin(), then.end());
        return asked;
    }

    static constexpr const char* kLong =
        "A text longer than the eighty characters of the notification's own buffer, by pointer";
    TestDialog dialog;
    std::vector<int> askedIds;
};

TEST_F(ToolTipTest, HandlerTextShowsFromTheBufferOrThePointer)
{
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            std::string text;
                            EXPECT_TRUE(AfxTestToolTip(d, IDC_T_APPLY, &text));
                            EXPECT_EQ(text, "Applies the \xB0 settings");
                            EXPECT_TRUE(AfxTestToolTip(d, IDC_T_LIST, &text));
                            EXPECT_EQ(text, kLong);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(askedIds, OnOpening({IDC_T_APPLY, IDC_T_LIST}));
    // The request comes from the tooltip control, id 0.
    EXPECT_TRUE(dialog.Logged("OnToolTip 0"));
}

TEST_F(ToolTipTest, FalseOrEmptyAnswerShowsNoTip)
{
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            std::string text = "stale";
                            EXPECT_FALSE(AfxTestToolTip(d, IDC_T_SECOND, &text));
                            EXPECT_EQ(text, "");
                            EXPECT_FALSE(AfxTestToolTip(d, IDC_T_NAME, &text));
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(askedIds, OnOpening({IDC_T_SECOND, IDC_T_NAME}));
}

TEST_F(ToolTipTest, DisabledControlsAreAskedStaticsWithoutAnIdAreNot)
{
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            d.GetDlgItem(IDC_T_APPLY)->EnableWindow(FALSE);
                            EXPECT_TRUE(AfxTestToolTip(d, IDC_T_APPLY, nullptr));
                            EXPECT_FALSE(AfxTestToolTip(d, IDC_STATIC, nullptr));
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(askedIds, OnOpening({IDC_T_APPLY}));
}

TEST_F(ToolTipTest, WithoutEnableToolTipsNothingIsAsked)
{
    dialog.onInit = nullptr;
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            EXPECT_FALSE(AfxTestToolTip(d, IDC_T_APPLY, nullptr));
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_TRUE(askedIds.empty());
    EXPECT_FALSE(dialog.Logged("OnToolTip 0"));
}
} // namespace

// A screen reader reads a control's tooltip as its description, asked the
// way the tooltip itself is asked; a control without one has none.
TEST_F(ToolTipTest, TooltipsAreTheControlsAccessibleDescriptions)
{
    AfxAccessibleInfo apply, list, name, first;
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            AfxTestAccessible(d, IDC_T_APPLY, &apply);
                            AfxTestAccessible(d, IDC_T_LIST, &list);
                            AfxTestAccessible(d, IDC_T_NAME, &name);
                            AfxTestAccessible(d, IDC_T_FIRST, &first);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(apply.description, "Applies the \u00B0 settings");
    EXPECT_EQ(list.description, kLong);
    EXPECT_EQ(name.description, "");
    EXPECT_EQ(first.description, "");
}

TEST_F(ToolTipTest, NoDescriptionsWhileTooltipsAreOff)
{
    dialog.onInit = nullptr;
    AfxAccessibleInfo apply;
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            AfxTestAccessible(d, IDC_T_APPLY, &apply);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(apply.description, "");
    EXPECT_TRUE(askedIds.empty());
}
