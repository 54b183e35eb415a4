// SPDX-License-Identifier: Apache-2.0
// The Other Applications dialog as the main window uses it: what it shows,
// which name it hands back and with which result, and that the names stay
// the caller's.
#include "framework/dialogs/AfxWin.h"
#include "framework/testing/TestSeams.h"
#include "otherapps/COtherAppDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Names held as the main window holds them: its own heap buffers, listed.
class CallerNames
{
public:
    CallerNames(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
        {
            char* copy = new char[std::strlen(name) + 1];
            std::strcpy(copy, name);
            list.push_back(copy);
        }
    }
    ~CallerNames()
    {
        for (char* name : list)
        {
            delete[] name;
        }
    }
    CallerNames(const CallerNames&) = delete;
    CallerNames& operator=(const CallerNames&) = delete;

    std::list<char*> list;
};

CListBox& AppList(CDialog& d)
{
    return *static_cast<CListBox*>(d.GetDlgItem(IDC_APP_LIST));
}

std::vector<std::string> Items(CDialog& d)
{
    CListBox& list = AppList(d);
    std::vector<std::string> items(static_cast<std::size_t>(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i)
    {
        list.GetText(i, items[static_cast<std::size_t>(i)]);
    }
    return items;
}

// Where the operator finds name in the list; -1 when it is not shown.
int RowOf(CDialog& d, const std::string& name)
{
    const std::vector<std::string> items = Items(d);
    const auto it = std::find(items.begin(), items.end(), name);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

class OtherAppsDialogTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AfxClearModalDrivers();
        EXPECT_EQ(AfxUnfinishedModalCount(), 0);
    }
    static int Run(COtherAppDlg& dialog, const std::list<char*>& apps,
                   const std::function<void(CDialog&)>& driver)
    {
        AfxQueueModalDriver(IDD_OTHER_APPS, driver);
        return dialog.DoModalWithApps(apps);
    }
};

TEST_F(OtherAppsDialogTest, OpensTitledWithTheNamesSortedAndTheFocusOnTheList)
{
    CallerNames names{"zeta", "alpha", "Beta"};
    std::vector<std::string> shown;
    std::string title, start;
    int focused = 0;
    int selection = 0;
    COtherAppDlg dialog;
    EXPECT_EQ(Run(dialog, names.list,
                  [&](CDialog& d)
                  {
                      shown = Items(d);
                      title = d.GetWindowText();
                      d.GetDlgItemText(IDOK, start);
                      focused = AfxTestFocusedId(d);
                      selection = AppList(d).GetCurSel();
                      AfxTestPressKey(d, AfxKey::Escape);
                  }),
              IDCANCEL);
    EXPECT_EQ(shown, (std::vector<std::string>{"alpha", "Beta", "zeta"}));
    EXPECT_EQ(title, "Other Applications");
    EXPECT_EQ(start, "Start");
    EXPECT_EQ(focused, IDC_APP_LIST);
    EXPECT_EQ(selection, LB_ERR);
}

TEST_F(OtherAppsDialogTest, RepeatedNamesAreShownAsOftenAsGiven)
{
    CallerNames names{"Probe", "Audit", "Probe"};
    std::vector<std::string> shown;
    std::string chosen;
    COtherAppDlg dialog;
    EXPECT_EQ(Run(dialog, names.list,
                  [&](CDialog& d)
                  {
                      shown = Items(d);
                      AfxTestSelect(d, IDC_APP_LIST, 2);
                      AfxTestClick(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(shown, (std::vector<std::string>{"Audit", "Probe", "Probe"}));
    EXPECT_EQ(dialog.GetSelectedApp(), "Probe");

    // A second run of the same object adds to the names it already has.
    CallerNames more{"Zero"};
    Run(dialog, more.list,
        [&](CDialog& d)
        {
            shown = Items(d);
            AfxTestClickCloseBox(d);
        });
    EXPECT_EQ(shown, (std::vector<std::string>{"Audit", "Probe", "Probe", "Zero"}));
}

TEST_F(OtherAppsDialogTest, EveryWayOfChoosingHandsBackTheNameByteForByte)
{
    enum class Way
    {
        Start,
        DoubleClick,
        Enter
    };
    // 0xB5 is the micro sign in the narrow code page.
    const char* const wanted[] = {"\xB5Scan Utility", "ReadinessTEST", "alpha"};
    for (Way way : {Way::Start, Way::DoubleClick, Way::Enter})
    {
        for (const char* name : wanted)
        {
            SCOPED_TRACE("way " + ::testing::PrintToString(static_cast<int>(way)) + ", name " +
                         ::testing::PrintToString(std::string(name)));
            CallerNames names{"zeta", "\xB5Scan Utility", "ReadinessTEST", "alpha", "Beta"};
            int row = -1;
            COtherAppDlg dialog;
            const int result = Run(dialog, names.list,
                                   [&](CDialog& d)
                                   {
                                       row = RowOf(d, name);
                                       switch (way)
                                       {
                                       case Way::Start:
                                           AfxTestSelect(d, IDC_APP_LIST, row);
                                           AfxTestClick(d, IDOK);
                                           break;
                                       case Way::DoubleClick:
                                           AfxTestDoubleClickItem(d, IDC_APP_LIST, row);
                                           break;
                                       case Way::Enter:
                                           AfxTestSelect(d, IDC_APP_LIST, row);
                                           AfxTestPressKey(d, AfxKey::Enter);
                                           break;
                                       }
                                   });
            ASSERT_NE(row, -1) << "the name is not shown as given";
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(dialog.GetSelectedApp(), name);
        }
    }
}

TEST_F(OtherAppsDialogTest, StartWithNothingChosenIsOkWithoutAName)
{
    CallerNames names{"Probe", "Audit"};
    COtherAppDlg dialog;
    EXPECT_EQ(Run(dialog, names.list, [](CDialog& d) { AfxTestClick(d, IDOK); }), IDOK);
    EXPECT_EQ(dialog.GetSelectedApp(), "");

    const std::list<char*> none;
    int count = -1;
    COtherAppDlg empty;
    EXPECT_EQ(Run(empty, none,
                  [&](CDialog& d)
                  {
                      count = AppList(d).GetCount();
                      AfxTestClick(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(empty.GetSelectedApp(), "");
}

TEST_F(OtherAppsDialogTest, EscapeAndTheCloseBoxCancelAndLeaveNoName)
{
    CallerNames names{"Probe", "Audit"};
    COtherAppDlg escaped;
    EXPECT_EQ(Run(escaped, names.list,
                  [](CDialog& d)
                  {
                      AfxTestSelect(d, IDC_APP_LIST, 0);
                      AfxTestPressKey(d, AfxKey::Escape);
                  }),
              IDCANCEL);
    EXPECT_EQ(escaped.GetSelectedApp(), "");

    COtherAppDlg closed;
    EXPECT_EQ(Run(closed, names.list,
                  [](CDialog& d)
                  {
                      AfxTestSelect(d, IDC_APP_LIST, 1);
                      AfxTestClickCloseBox(d);
                  }),
              IDCANCEL);
    EXPECT_EQ(closed.GetSelectedApp(), "");
}

// Under the address sanitizer a dialog that freed, kept reading or leaked
// a copy of the caller's names fails here.
TEST_F(OtherAppsDialogTest, TheNamesStayTheCallersToKeepAndToFree)
{
    CallerNames kept{"Track", "Audit"};
    {
        COtherAppDlg dialog;
        Run(dialog, kept.list, [](CDialog& d) { AfxTestPressKey(d, AfxKey::Escape); });
    }
    EXPECT_STREQ(kept.list.front(), "Track");
    EXPECT_STREQ(kept.list.back(), "Audit");

    auto freed =
        std::make_unique<CallerNames>(std::initializer_list<const char*>{"Track", "Audit"});
    {
        COtherAppDlg dialog;
        EXPECT_EQ(Run(dialog, freed->list,
                      [](CDialog& d)
                      {
                          AfxTestSelect(d, IDC_APP_LIST, RowOf(d, "Track"));
                          AfxTestClick(d, IDOK);
                      }),
                  IDOK);
        // The caller may free its names as soon as the dialog has returned.
        freed.reset();
        EXPECT_EQ(dialog.GetSelectedApp(), "Track");
    }
}
} // namespace
