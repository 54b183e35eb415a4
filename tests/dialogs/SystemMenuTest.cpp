// SPDX-License-Identifier: Apache-2.0
// The system menu: the layer shows it (Alt+Space, Shift+F10, the Menu key,
// right-click on the background) with Close and the program's items; commands reach
// OnSysCommand, and Close ends the dialog the close-box way.
#include "framework/testing/TestSeams.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
constexpr UINT kAbout = 0x0010;

class SystemMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.onInit = [this]
        {
            CMenu* menu = dialog.GetSystemMenu(FALSE);
            ASSERT_NE(menu, nullptr);
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, kAbout, "&About Kelm Utilities...");
        };
    }
    void TearDown() override
    {
        AfxSetPopupMenuHandler(nullptr);
        AfxClearModalDrivers();
    }
    TestDialog dialog;
};

TEST_F(SystemMenuTest, MenuHoldsCloseThenTheProgramsItems)
{
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            const std::vector<AfxMenuItemInfo> items = AfxTestSystemMenuItems(d);
                            ASSERT_EQ(items.size(), 3u);
                            EXPECT_EQ(items[0].id, static_cast<UINT>(SC_CLOSE));
                            EXPECT_TRUE(items[1].separator);
                            EXPECT_EQ(items[2].id, kAbout);
                            EXPECT_EQ(items[2].text, "&About Kelm Utilities...");
                            CMenu* menu = d.GetSystemMenu(FALSE);
                            EXPECT_EQ(menu->GetMenuItemCount(), 3u);
                            EXPECT_EQ(menu->GetMenuItemID(1), 0u);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
}

TEST_F(SystemMenuTest, ProgramItemReachesOnSysCommandAndLeavesTheDialogOpen)
{
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            EXPECT_TRUE(AfxTestInvokeSystemMenu(d, kAbout));
                            EXPECT_TRUE(dialog.Logged("OnSysCommand " + std::to_string(kAbout)));
                            EXPECT_FALSE(dialog.Logged("OnClose"));
                            EXPECT_FALSE(AfxTestInvokeSystemMenu(d, 0x4242)); // not in the menu
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
}

TEST_F(SystemMenuTest, CloseItemEndsTheDialogThroughOnClose)
{
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d) { EXPECT_TRUE(AfxTestInvokeSystemMenu(d, SC_CLOSE)); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    const std::vector<std::string> expected = {"OnSysCommand " + std::to_string(SC_CLOSE),
                                               "OnClose", "OnCancel"};
    EXPECT_EQ(dialog.log, expected);
}

TEST_F(SystemMenuTest, RightClickOnTheBackgroundOpensItButNotOnAControl)
{
    int shown = 0;
    AfxSetPopupMenuHandler(
        [&](const std::vector<AfxMenuItemInfo>& items)
        {
            ++shown;
            EXPECT_EQ(items.size(), 3u);
            return kAbout;
        });
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            const CRect apply = AfxTestControlRect(d, IDC_T_APPLY);
                            AfxTestRightClickBackground(d, apply.left + 2, apply.top + 2);
                            EXPECT_EQ(shown, 0);
                            // Below OK and Cancel nothing covers the dialog.
                            CRect client;
                            d.GetClientRect(&client);
                            AfxTestRightClickBackground(d, 2, client.bottom - 2);
                            EXPECT_EQ(shown, 1);
                            // A label does not take the mouse: the dialog beneath it does.
                            const CRect label = AfxTestControlRect(d, IDC_T_PLAIN);
                            AfxTestRightClickBackground(d, label.left + 1, label.top + 1);
                            EXPECT_EQ(shown, 2);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(
        std::count(dialog.log.begin(), dialog.log.end(), "OnSysCommand " + std::to_string(kAbout)),
        2);
}

// Window managers take Alt+Space for their own menu; Shift+F10 and the Menu
// key are left to the program, so the window's menu opens with them too.
TEST_F(SystemMenuTest, ShiftF10AndTheMenuKeyOpenItFromTheKeyboard)
{
    int shown = 0;
    AfxSetPopupMenuHandler(
        [&](const std::vector<AfxMenuItemInfo>& items)
        {
            ++shown;
            EXPECT_EQ(items.size(), 3u);
            return shown == 1 ? kAbout : 0u;
        });
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            d.GetDlgItem(IDC_T_FIRST)->SetFocus();
                            AfxTestPressKey(d, AfxKey::F10, false, true);
                            EXPECT_EQ(shown, 1);
                            AfxTestPressKey(d, AfxKey::Menu);
                            EXPECT_EQ(shown, 2);
                            // F10 alone and Alt+F10 are not the menu's keys.
                            AfxTestPressKey(d, AfxKey::F10);
                            AfxTestPressKey(d, AfxKey::F10, true);
                            EXPECT_EQ(shown, 2);
                            // The keys went to the menu, not to the focused
                            // radio button.
                            EXPECT_EQ(d.IsDlgButtonChecked(IDC_T_FIRST), 0u);
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(
        std::count(dialog.log.begin(), dialog.log.end(), "OnSysCommand " + std::to_string(kAbout)),
        1);
}

TEST_F(SystemMenuTest, RevertRestoresTheStandardMenu)
{
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            EXPECT_EQ(d.GetSystemMenu(TRUE), nullptr);
                            ASSERT_EQ(AfxTestSystemMenuItems(d).size(), 1u);
                            EXPECT_EQ(AfxTestSystemMenuItems(d)[0].id, static_cast<UINT>(SC_CLOSE));
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
}

TEST(SystemMenuAbsentTest, DialogWithoutSysMenuStyleHasNone)
{
    TestDialog bare(IDD_TEST_NO_DEFAULT);
    AfxQueueModalDriver(IDD_TEST_NO_DEFAULT,
                        [&](CDialog& d)
                        {
                            EXPECT_EQ(d.GetSystemMenu(FALSE), nullptr);
                            EXPECT_FALSE(AfxTestInvokeSystemMenu(d, SC_CLOSE));
                            EXPECT_FALSE(AfxTestClickCloseBox(d));
                            d.EndDialog(IDCANCEL);
                        });
    EXPECT_EQ(bare.DoModal(), IDCANCEL);
    EXPECT_TRUE(bare.log.empty());
    AfxClearModalDrivers();
}
} // namespace
