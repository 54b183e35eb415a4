// SPDX-License-Identifier: Apache-2.0
// The main window from start-up until it closes, while no tracker is
// connected: its controls, tooltips, the About box, the units argument and
// every way of closing it.
#include "app/CTovAppsDlg.h"
#include "framework/core/AfxStringOverride.h"
#include "framework/testing/TestSeams.h"
#include "settings/CSerialize.h"
#include "tests/support/Bytes.h"
#include "tests/support/DialogTest.h"
#include "tests/support/TempDir.h"
#include "units/UnitsArgument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sys/stat.h>

namespace
{
const int kAppButtons[] = {IDC_READINESS_TEST,  IDC_STATUS_REPORT,  IDC_ACCURACY_AUDIT,
                           IDC_BEAM_LOOP_TEST,  IDC_DEVICE_CONSOLE, IDC_SURVEY_CONSOLE,
                           IDC_PARTS_INSPECTOR, IDC_EVENT_MONITOR,  IDC_CALIB_SUITE,
                           IDC_ROM_INSTALLER};

class MainWindowStartupTest : public DialogTest
{
protected:
    // Runs the main window with driver, which must close it.
    int Run(const std::function<void(CDialog&)>& driver)
    {
        AfxQueueModalDriver(IDD_TOVAPPS_DIALOG, driver);
        return window.DoModal();
    }

    CTovAppsDlg window;
};

struct ControlState
{
    bool visible;
    bool enabled;
    std::string text;
};

ControlState State(CDialog& d, int id)
{
    CWnd* control = d.GetDlgItem(id);
    return {control->IsWindowVisible() != FALSE, control->IsWindowEnabled() != FALSE,
            control->GetWindowText()};
}
} // namespace

TEST_F(MainWindowStartupTest, StartsDisconnectedWithEveryApplicationButtonDisabled)
{
    std::map<int, ControlState> states;
    std::string title;
    Run(
        [&](CDialog& d)
        {
            title = d.GetWindowText();
            for (int id :
                 {IDC_CONNECT, IDC_READINESS_TEST, IDC_STATUS_REPORT, IDC_ACCURACY_AUDIT,
                  IDC_BEAM_LOOP_TEST, IDC_DEVICE_CONSOLE, IDC_SURVEY_CONSOLE, IDC_PARTS_INSPECTOR,
                  IDC_EVENT_MONITOR, IDC_CALIB_SUITE, IDC_ROM_INSTALLER, IDC_RANGE_CALIB,
                  IDC_OTHER_APPLICATIONS, IDC_SELECT_UNITS, IDCANCEL})
            {
                states[id] = State(d, id);
            }
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(title, "Kelm Utilities");
    EXPECT_TRUE(states[IDC_CONNECT].visible && states[IDC_CONNECT].enabled);
    EXPECT_EQ(states[IDC_CONNECT].text, "Co&nnect...");
    for (int id : kAppButtons)
    {
        EXPECT_TRUE(states[id].visible) << id;
        EXPECT_FALSE(states[id].enabled) << id;
    }
    EXPECT_EQ(states[IDC_READINESS_TEST].text, "&Readiness Test");
    EXPECT_EQ(states[IDC_ROM_INSTALLER].text, "ROM Installer");
    EXPECT_FALSE(states[IDC_RANGE_CALIB].visible);
    EXPECT_FALSE(states[IDC_OTHER_APPLICATIONS].visible);
    EXPECT_FALSE(states[IDC_OTHER_APPLICATIONS].enabled);
    EXPECT_TRUE(states[IDC_SELECT_UNITS].visible && states[IDC_SELECT_UNITS].enabled);
    EXPECT_EQ(states[IDC_SELECT_UNITS].text, "Select &Units...");
    EXPECT_TRUE(states[IDCANCEL].visible && states[IDCANCEL].enabled);
    EXPECT_EQ(states[IDCANCEL].text, "Clos&e");
}

TEST_F(MainWindowStartupTest, EveryButtonButConnectAndCloseShowsItsOwnTooltip)
{
    std::map<int, std::pair<bool, std::string>> tips;
    Run(
        [&](CDialog& d)
        {
            for (int id : {IDC_CONNECT, IDC_READINESS_TEST, IDC_STATUS_REPORT, IDC_ACCURACY_AUDIT,
                           IDC_BEAM_LOOP_TEST, IDC_DEVICE_CONSOLE, IDC_SURVEY_CONSOLE,
                           IDC_PARTS_INSPECTOR, IDC_EVENT_MONITOR, IDC_CALIB_SUITE,
                           IDC_ROM_INSTALLER, IDC_SELECT_UNITS, IDCANCEL})
            {
                std::string text;
                bool shown = AfxTestToolTip(d, id, &text);
                tips[id] = {shown, text};
            }
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_FALSE(tips[IDC_CONNECT].first);
    EXPECT_FALSE(tips[IDCANCEL].first);
    for (int id : {IDC_READINESS_TEST, IDC_STATUS_REPORT, IDC_ACCURACY_AUDIT, IDC_BEAM_LOOP_TEST,
                   IDC_DEVICE_CONSOLE, IDC_SURVEY_CONSOLE, IDC_PARTS_INSPECTOR, IDC_EVENT_MONITOR,
                   IDC_CALIB_SUITE, IDC_ROM_INSTALLER, IDC_SELECT_UNITS})
    {
        std::string expected;
        ASSERT_TRUE(AfxLoadString(static_cast<UINT>(id), expected));
        EXPECT_TRUE(tips[id].first) << id;
        EXPECT_EQ(tips[id].second, expected) << id;
    }
    EXPECT_EQ(tips[IDC_ACCURACY_AUDIT].second,
              "Checks accuracy and repeatablity of the Tracker over work volume");
}

TEST_F(MainWindowStartupTest, AboutItemStandsBelowASeparatorInTheSystemMenu)
{
    std::vector<AfxMenuItemInfo> items;
    std::vector<std::string> about;
    AfxSetModalDriver(IDD_ABOUTBOX,
                      [&](CDialog& d)
                      {
                          about = {d.GetWindowText(),
                                   d.GetDlgItem(IDC_VERSION_LINE)->GetWindowText(),
                                   d.GetDlgItem(IDC_SECOND_LINE)->GetWindowText(),
                                   d.GetDlgItem(IDOK)->GetWindowText()};
                          AfxTestClick(d, IDOK);
                      });
    Run(
        [&](CDialog& d)
        {
            items = AfxTestSystemMenuItems(d);
            AfxTestInvokeSystemMenu(d, IDM_ABOUTBOX);
            AfxTestClick(d, IDCANCEL);
        });
    ASSERT_GE(items.size(), 2u);
    EXPECT_TRUE(items[items.size() - 2].separator);
    EXPECT_EQ(items.back().id, 16u);
    EXPECT_EQ(items.back().text, "&About Kelm Utilities...");
    ASSERT_EQ(about.size(), 4u);
    EXPECT_EQ(about[0], "About Kelm Utilities");
    EXPECT_EQ(about[1], "Kelm Utilities Version 2.2.2");
    EXPECT_NE(about[2], "");
    EXPECT_EQ(about[3], "OK");
}

TEST_F(MainWindowStartupTest, CommandsSixteenToThirtyOneAllOpenTheAboutBox)
{
    int opened = 0;
    AfxSetModalDriver(IDD_ABOUTBOX,
                      [&](CDialog& d)
                      {
                          ++opened;
                          AfxTestPressKey(d, AfxKey::Enter);
                      });
    Run(
        [&](CDialog& d)
        {
            for (UINT id = 15; id <= 32; ++id)
            {
                d.SendMessage(WM_SYSCOMMAND, id, 0);
            }
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(opened, 16);
}

TEST_F(MainWindowStartupTest, EmptyAboutStringAddsNoMenuItem)
{
    AfxOverrideString(IDS_ABOUTBOX, "");
    std::vector<AfxMenuItemInfo> items;
    Run(
        [&](CDialog& d)
        {
            items = AfxTestSystemMenuItems(d);
            AfxTestClick(d, IDCANCEL);
        });
    for (const AfxMenuItemInfo& item : items)
    {
        EXPECT_FALSE(item.separator);
        EXPECT_NE(item.id, 16u);
    }
    EXPECT_FALSE(items.empty()) << "the standard items remain";
}

TEST_F(MainWindowStartupTest, EveryWayOfClosingEndsAtOnceWhileDisconnected)
{
    EXPECT_EQ(Run([](CDialog& d) { AfxTestPressKey(d, AfxKey::Escape); }), IDCANCEL);
    EXPECT_EQ(Run([](CDialog& d) { AfxTestClick(d, IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(Run([](CDialog& d) { AfxTestClickCloseBox(d); }), IDCANCEL);
    EXPECT_EQ(Run([](CDialog& d) { AfxTestPressAlt(d, 'e'); }), IDCANCEL);
    EXPECT_EQ(Run([](CDialog& d) { AfxTestInvokeSystemMenu(d, SC_CLOSE); }), IDCANCEL);
    // Enter has no default button to press here: the window stays open.
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      AfxTestPressKey(d, AfxKey::Enter);
                      EXPECT_TRUE(d.IsWindowVisible());
                      AfxTestClick(d, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_TRUE(AfxMessageBoxLog().empty());
}

TEST_F(MainWindowStartupTest, UnitsArgumentComesFromTheSettingsFile)
{
    Run([](CDialog& d) { AfxTestClick(d, IDCANCEL); });
    EXPECT_EQ(window.GetAppUnitsArgument(), UnitsArgument::kBuiltInDefault);

    WriteBytes(theSettings.GetFilePath(), SettingsFile(0, 1, "1.2.3.4", {5, 3, 1, 1, 0, 2, 1, 1}));
    CTovAppsDlg second;
    AfxQueueModalDriver(IDD_TOVAPPS_DIALOG, [](CDialog& d) { AfxTestClick(d, IDCANCEL); });
    second.DoModal();
    EXPECT_EQ(second.GetAppUnitsArgument(), "-uLength=mm,1000,3 -uAngular=asec,206265,1 "
                                            "-uPressure=inHg,0.03937008,2 -uTemperature=\xB0"
                                            "F,1.8,32.0,1");
}

// A FIFO in the settings file's place: the window comes up with the
// built-in choices instead of waiting for a writer, a new choice works for
// the session, and nothing is stored: the FIFO stays a FIFO.
TEST_F(MainWindowStartupTest, AFifoInPlaceOfTheSettingsFileBlocksNothing)
{
    const std::string path = theSettings.GetFilePath();
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    AfxQueueModalDriver(IDD_SELECT_UNITS,
                        [](CDialog& d)
                        {
                            AfxTestSelect(d, IDC_LENGTH_UNIT, 0);
                            AfxTestClick(d, IDOK);
                        });
    std::vector<std::string> seen;
    Run(
        [&](CDialog& d)
        {
            seen.push_back(window.GetAppUnitsArgument());
            AfxTestClick(d, IDC_SELECT_UNITS);
            seen.push_back(window.GetAppUnitsArgument());
            AfxTestClick(d, IDCANCEL);
        });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], UnitsArgument::kBuiltInDefault);
    EXPECT_NE(seen[1], UnitsArgument::kBuiltInDefault);
    struct stat st{};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(MainWindowStartupTest, SelectUnitsOkReplacesTheArgumentAndCancelKeepsIt)
{
    std::vector<std::string> seen;
    AfxQueueModalDriver(IDD_SELECT_UNITS,
                        [](CDialog& d)
                        {
                            AfxTestSelect(d, IDC_LENGTH_UNIT, 5);
                            AfxTestClick(d, IDCANCEL);
                        });
    AfxQueueModalDriver(IDD_SELECT_UNITS,
                        [](CDialog& d)
                        {
                            AfxTestSelect(d, IDC_LENGTH_UNIT, 0);
                            AfxTestClick(d, IDOK);
                        });
    Run(
        [&](CDialog& d)
        {
            AfxTestClick(d, IDC_SELECT_UNITS);
            seen.push_back(window.GetAppUnitsArgument());
            AfxTestPressAlt(d, 'u');
            seen.push_back(window.GetAppUnitsArgument());
            AfxTestClick(d, IDCANCEL);
        });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], UnitsArgument::kBuiltInDefault);
    EXPECT_EQ(seen[1], "-uLength=cm,100,6 -uAngular=\xB0,57.29578,6 -uPressure=mmHg,1,2 "
                       "-uTemperature=\xB0"
                       "C,1,0,3");
}
