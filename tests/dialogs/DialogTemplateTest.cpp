// SPDX-License-Identifier: Apache-2.0
// Dialogs are built from their templates as the platform builds them:
// rectangles in dialog units of the template font, template order as tab
// order, styles honoured.
#include "framework/core/AfxResources.h"
#include "framework/testing/TestSeams.h"
#include "res/resource.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace
{
class DialogTemplateTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AfxClearModalDrivers();
        AfxClearMessageBoxLog();
    }

    // Runs the program's template id and hands the open dialog to check.
    static void Inspect(UINT id, const std::function<void(CDialog&)>& check)
    {
        CDialog dialog(id);
        AfxQueueModalDriver(id,
                            [&](CDialog& d)
                            {
                                check(d);
                                d.EndDialog(IDCANCEL);
                            });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(AfxUnfinishedModalCount(), 0);
    }
};

TEST_F(DialogTemplateTest, EveryControlSitsAtItsTemplateRectangleInDialogUnits)
{
    for (UINT id :
         {IDD_ABOUTBOX, IDD_TOVAPPS_DIALOG, IDD_TRACKER_CONNECT, IDD_OTHER_APPS, IDD_SELECT_UNITS})
    {
        SCOPED_TRACE(id);
        const ResDialogTemplate* tmpl = AfxFindDialogTemplate(id);
        ASSERT_NE(tmpl, nullptr);
        Inspect(id,
                [&](CDialog& d)
                {
                    int baseX = 0;
                    int baseY = 0;
                    AfxTestBaseUnits(d, &baseX, &baseY);
                    ASSERT_GT(baseX, 3);
                    ASSERT_GT(baseY, 8);
                    CRect client;
                    d.GetClientRect(&client);
                    EXPECT_EQ(client.Width(), (tmpl->cx * baseX + 2) / 4);
                    EXPECT_EQ(client.Height(), (tmpl->cy * baseY + 4) / 8);
                    for (std::size_t i = 0; i < tmpl->itemCount; ++i)
                    {
                        const ResDialogItem& item = tmpl->items[i];
                        // Combo boxes take their font's height, icons their own size, and
                        // spin buttons with their buddies are laid out in their own test.
                        const bool buddy =
                            i + 1 < tmpl->itemCount &&
                            std::strcmp(tmpl->items[i + 1].className, RES_CLASS_UPDOWN) == 0;
                        const bool sized = std::strcmp(item.className, RES_CLASS_COMBOBOX) != 0 &&
                                           std::strcmp(item.className, RES_CLASS_UPDOWN) != 0 &&
                                           !buddy &&
                                           !(std::strcmp(item.className, RES_CLASS_STATIC) == 0 &&
                                             (item.style & SS_TYPEMASK) == SS_ICON);
                        if (!sized)
                        {
                            continue;
                        }
                        SCOPED_TRACE(item.id);
                        const CRect px = AfxTestControlRect(d, item.id);
                        EXPECT_EQ(px.left, (item.x * baseX + 2) / 4);
                        EXPECT_EQ(px.top, (item.y * baseY + 4) / 8);
                        EXPECT_EQ(px.right, ((item.x + item.cx) * baseX + 2) / 4);
                        EXPECT_EQ(px.bottom, ((item.y + item.cy) * baseY + 4) / 8);
                    }
                });
    }
}

TEST_F(DialogTemplateTest, MissingTemplateFontIsDrawnInItsFreeStandInOfTheSameLetterWidths)
{
    Inspect(IDD_SELECT_UNITS,
            [](CDialog& d)
            {
                // MS Sans Serif 8 pt: FreeSans at 10 pixels, installed with the program.
                EXPECT_EQ(AfxTestFontFamily(d), "FreeSans");
                EXPECT_EQ(AfxTestFontPixelSize(d), 10);
            });
}

TEST_F(DialogTemplateTest, TabOrderIsTemplateOrderOfTabStops)
{
    Inspect(IDD_TRACKER_CONNECT,
            [](CDialog& d)
            {
                const std::vector<int> expected = {
                    IDC_USER_NAME, IDC_PASSWORD, IDC_TYPE_CORVO,    IDC_IP1, IDC_IP2,
                    IDC_IP3,       IDC_IP4,      IDC_FIND_TRACKERS, IDOK,    IDCANCEL};
                EXPECT_EQ(AfxTestTabOrder(d), expected);
                // The focus starts on the first tab stop and Tab walks the same way.
                EXPECT_EQ(AfxTestFocusedId(d), IDC_USER_NAME);
                for (std::size_t i = 1; i < expected.size(); ++i)
                {
                    AfxTestPressKey(d, AfxKey::Tab);
                    EXPECT_EQ(AfxTestFocusedId(d), expected[i]);
                }
            });
}

TEST_F(DialogTemplateTest, MainWindowStartsWithRangeCalibAndOtherApplicationsHidden)
{
    Inspect(IDD_TOVAPPS_DIALOG,
            [](CDialog& d)
            {
                EXPECT_FALSE(d.GetDlgItem(IDC_RANGE_CALIB)->IsWindowVisible());
                EXPECT_FALSE(d.GetDlgItem(IDC_OTHER_APPLICATIONS)->IsWindowVisible());
                EXPECT_TRUE(d.GetDlgItem(IDC_ROM_INSTALLER)->IsWindowVisible());
                EXPECT_EQ(d.GetDlgItem(IDC_SURVEY_CONSOLE)->GetWindowText(), "Sur&vey Console");
                EXPECT_NE(d.GetSystemMenu(FALSE), nullptr);
                // No default button: Enter falls back to IDOK.
                EXPECT_EQ(static_cast<CDialog&>(d).GetDefID(), static_cast<UINT>(IDOK));
            });
}

TEST_F(DialogTemplateTest, ConnectDialogControlsHaveTheirKinds)
{
    Inspect(IDD_TRACKER_CONNECT,
            [](CDialog& d)
            {
                EXPECT_TRUE(AfxTestIsPassword(d, IDC_PASSWORD));
                EXPECT_FALSE(AfxTestIsPassword(d, IDC_IP1));
                EXPECT_EQ(d.GetDefID(), static_cast<UINT>(IDOK));
                auto* users = static_cast<CComboBox*>(d.GetDlgItem(IDC_USER_NAME));
                // Unsorted: positions are insertion order.
                EXPECT_EQ(users->AddString("user"), 0);
                EXPECT_EQ(users->AddString("admin"), 1);
                EXPECT_EQ(users->AddString("factory"), 2);
                EXPECT_EQ(users->GetCurSel(), CB_ERR);
                EXPECT_EQ(d.GetDlgItem(IDC_TYPE_GROUP)->GetWindowText(), "Tracker Type");
            });
}

TEST_F(DialogTemplateTest, SelectUnitsSpinsSitAtTheirBuddiesRightEdge)
{
    Inspect(
        IDD_SELECT_UNITS,
        [](CDialog& d)
        {
            const std::pair<int, int> pairs[] = {{IDC_LENGTH_PRECISION, IDC_LENGTH_SPIN},
                                                 {IDC_ANGLE_PRECISION, IDC_ANGLE_SPIN},
                                                 {IDC_PRESSURE_PRECISION, IDC_PRESSURE_SPIN},
                                                 {IDC_TEMPERATURE_PRECISION, IDC_TEMPERATURE_SPIN}};
            for (auto [editId, spinId] : pairs)
            {
                SCOPED_TRACE(spinId);
                const CRect edit = AfxTestControlRect(d, editId);
                const CRect spin = AfxTestControlRect(d, spinId);
                const CRect templateEdit = AfxTestMapDialogRect(d, AfxTestTemplateRect(d, editId));
                EXPECT_EQ(spin.right, templateEdit.right);
                EXPECT_EQ(spin.top, edit.top);
                EXPECT_EQ(spin.Height(), edit.Height());
                EXPECT_LT(edit.Width(), templateEdit.Width());
                EXPECT_GT(edit.right, spin.left); // overlaps the buddy's border
                auto* buddy = static_cast<CSpinButtonCtrl*>(d.GetDlgItem(spinId))->GetBuddy();
                ASSERT_NE(buddy, nullptr);
                EXPECT_EQ(buddy->GetDlgCtrlID(), editId);
            }
        });
}

TEST_F(DialogTemplateTest, TemplateTextsAreExact)
{
    Inspect(IDD_SELECT_UNITS,
            [](CDialog& d)
            {
                // The footnote is the one static with id -1.
                CWnd* footnote = d.GetDlgItem(IDC_STATIC);
                ASSERT_NE(footnote, nullptr);
                EXPECT_EQ(
                    footnote->GetWindowText(),
                    "*Select Units does not affect PartsInspector and CalibSuite\napplications");
            });
    Inspect(IDD_OTHER_APPS,
            [](CDialog& d)
            {
                EXPECT_EQ(d.GetWindowText(), "Other Applications");
                EXPECT_EQ(d.GetDlgItem(IDOK)->GetWindowText(), "Start");
            });
}

TEST_F(DialogTemplateTest, MissingTemplateGivesMinusOne)
{
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTemplateTest, ScreenshotsOfTheProgramsDialogs)
{
    for (UINT id : {IDD_TOVAPPS_DIALOG, IDD_TRACKER_CONNECT, IDD_SELECT_UNITS})
    {
        Inspect(id,
                [id](CDialog& d)
                {
                    const std::string path = "dialog-" + std::to_string(id) + ".png";
                    ASSERT_TRUE(AfxGrabWindow(d, path));
                    std::ifstream png(path, std::ios::binary);
                    char magic[4] = {};
                    png.read(magic, 4);
                    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
                });
    }
}
} // namespace
