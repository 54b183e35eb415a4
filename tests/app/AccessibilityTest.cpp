// SPDX-License-Identifier: Apache-2.0
// Every window of the program as a screen reader meets it: each control's
// role, name, description, value and states, as the toolkit's accessibility
// interface hands them to the desktop's service.
#include "app/CTovAppsDlg.h"
#include "otherapps/COtherAppDlg.h"
#include "res/resource.h"
#include "tests/support/MainWindowFixture.h"
#include "units/UnitsArgument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct Expected
{
    int id;           // 0: the dialog itself; IDC_STATIC rows are found by template position
    const char* role; // "": no object of its own (part of another)
    const char* name;
    const char* description;
    bool enabled;
    bool visible;
};

// What differs from expected, one line per difference.
std::string Differences(const AfxAccessibleInfo& got, const Expected& want)
{
    std::string out;
    auto differ = [&](const char* what, const std::string& g, const std::string& w)
    {
        if (g != w)
        {
            out += std::to_string(want.id) + " " + what + ": \"" + g + "\", wanted \"" + w + "\"\n";
        }
    };
    differ("role", got.role, want.role);
    differ("name", got.name, want.name);
    differ("description", got.description, want.description);
    differ("enabled", got.enabled ? "yes" : "no", want.enabled ? "yes" : "no");
    differ("visible", got.visible ? "yes" : "no", want.visible ? "yes" : "no");
    return out;
}

std::string Check(CDialog& d, const std::vector<Expected>& rows)
{
    std::string out;
    for (const Expected& row : rows)
    {
        AfxAccessibleInfo info;
        const bool reached = AfxTestAccessible(d, row.id, &info);
        if (reached != (*row.role != '\0'))
        {
            out += std::to_string(row.id) +
                   (reached ? ": an object of its own\n" : ": no interface\n");
            continue;
        }
        out += reached ? Differences(info, row) : std::string();
    }
    return out;
}

AfxAccessibleInfo Info(CDialog& d, int id)
{
    AfxAccessibleInfo info;
    EXPECT_TRUE(AfxTestAccessible(d, id, &info)) << id;
    return info;
}

AfxAccessibleInfo InfoAt(CDialog& d, int index)
{
    AfxAccessibleInfo info;
    EXPECT_TRUE(AfxTestAccessibleAt(d, index, &info)) << index;
    return info;
}

const std::vector<Expected> kMainDisconnected = {
    {0, "Dialog", "Kelm Utilities", "", true, true},
    {IDC_CONNECT, "Button", "Connect...", "", true, true},
    {IDC_READINESS_TEST, "Button", "Readiness Test",
     "Checks tracker status and performs initialization routine when ready", false, true},
    {IDC_STATUS_REPORT, "Button", "Status Report",
     "Provides a snap shot information of current Tracker health", false, true},
    {IDC_ACCURACY_AUDIT, "Button", "Accuracy Audit",
     "Checks accuracy and repeatablity of the Tracker over work volume", false, true},
    {IDC_BEAM_LOOP_TEST, "Button", "Beam Loop Test",
     "Opens the beam loop window to check for interferometer count loss", false, true},
    {IDC_DEVICE_CONSOLE, "Button", "Device Console", "Provides utilities that controls the Tracker",
     false, true},
    {IDC_SURVEY_CONSOLE, "Button", "Survey Console",
     "Provides the full measurement capabilities of the Tracker", false, true},
    {IDC_PARTS_INSPECTOR, "Button", "Parts Inspector",
     "Provides inspection for all the various components of the Tracker", false, true},
    {IDC_EVENT_MONITOR, "Button", "Event Monitor",
     "Views the asynchronous messages from the Tracker", false, true},
    {IDC_CALIB_SUITE, "Button", "Calib Suite", "Provides compensation programs for the Tracker",
     false, true},
    {IDC_ROM_INSTALLER, "Button", "ROM Installer",
     "Provides interface to load firmware into the Tracker", false, true},
    {IDC_RANGE_CALIB, "Button", "Range Calib",
     "Performs compensation for the ADM laser measurements", false, false},
    {IDC_OTHER_APPLICATIONS, "Button", "Other Applications", "Launches Other Applications", false,
     false},
    {IDC_SELECT_UNITS, "Button", "Select Units...",
     "Allows to change the units of the Applications", true, true},
    {IDCANCEL, "Button", "Close", "", true, true},
};

const std::vector<Expected> kConnect = {
    {0, "Dialog", "Connect to Tracker", "", true, true},
    {IDC_USER_NAME, "ComboBox", "User Name", "", true, true},
    {IDC_PASSWORD, "EditableText", "Password", "", false, true},
    {IDC_TYPE_CORVO, "RadioButton", "Corvo", "", true, true},
    {IDC_TYPE_KELM, "RadioButton", "Kelm", "", true, true},
    {IDC_IP1, "EditableText", "IP address, part 1 of 4", "", true, true},
    {IDC_IP2, "EditableText", "IP address, part 2 of 4", "", true, true},
    {IDC_IP3, "EditableText", "IP address, part 3 of 4", "", true, true},
    {IDC_IP4, "EditableText", "IP address, part 4 of 4", "", true, true},
    {IDC_FIND_TRACKERS, "Button", "Find Trackers...",
     "Finds the IP address of the Trackers on the network", true, true},
    {IDOK, "Button", "OK", "", true, true},
    {IDCANCEL, "Button", "Cancel", "", true, true},
    {IDC_PASSWORD_LABEL, "StaticText", "Password", "", true, true},
    {IDC_IP_GROUP, "Grouping", "IP Address", "", true, true},
    {IDC_TYPE_GROUP, "Grouping", "Tracker Type", "", true, true},
    {IDC_USER_NAME_LABEL, "StaticText", "User Name", "", true, true},
};

// Each precision is one spin button: the edit, its arrows part of it.
const std::vector<Expected> kSelectUnits = {
    {0, "Dialog", "Select Units", "", true, true},
    {IDC_LENGTH_UNIT, "ComboBox", "Length", "", true, true},
    {IDC_LENGTH_PRECISION, "SpinBox", "Length precision", "", true, true},
    {IDC_LENGTH_SPIN, "", "", "", true, true},
    {IDC_ANGLE_UNIT, "ComboBox", "Angle", "", true, true},
    {IDC_ANGLE_PRECISION, "SpinBox", "Angle precision", "", true, true},
    {IDC_ANGLE_SPIN, "", "", "", true, true},
    {IDC_PRESSURE_UNIT, "ComboBox", "Pressure", "", true, true},
    {IDC_PRESSURE_PRECISION, "SpinBox", "Pressure precision", "", true, true},
    {IDC_PRESSURE_SPIN, "", "", "", true, true},
    {IDC_TEMPERATURE_UNIT, "ComboBox", "Temperature", "", true, true},
    {IDC_TEMPERATURE_PRECISION, "SpinBox", "Temperature precision", "", true, true},
    {IDC_TEMPERATURE_SPIN, "", "", "", true, true},
    {IDOK, "Button", "OK", "", true, true},
    {IDCANCEL, "Button", "Cancel", "", true, true},
    {IDC_LENGTH_LABEL, "StaticText", "Length", "", true, true},
    {IDC_ANGLE_LABEL, "StaticText", "Angle", "", true, true},
    {IDC_PRESSURE_LABEL, "StaticText", "Pressure", "", true, true},
    {IDC_TEMPERATURE_LABEL, "StaticText", "Temperature", "", true, true},
    {IDC_PRECISION_LABEL, "StaticText", "Precision", "", true, true},
};

class AccessibilityTest : public MainWindowTest
{
};
} // namespace

TEST_F(AccessibilityTest, EveryControlOfEveryDialogHasItsRoleNameDescriptionAndState)
{
    std::string differences;
    AfxAccessibleInfo footnote, icon, version, secondLine, aboutOk, octet, lengthUnit, lengthSpin,
        password, kelm, corvo, userName, list, start, mainWindow, connect;
    AfxSetModalDriver(IDD_ABOUTBOX,
                      [&](CDialog& d)
                      {
                          differences +=
                              Check(d, {{0, "Dialog", "About Kelm Utilities", "", true, true}});
                          icon = InfoAt(d, 0);
                          version = Info(d, IDC_VERSION_LINE);
                          secondLine = Info(d, IDC_SECOND_LINE);
                          aboutOk = Info(d, IDOK);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    AfxSetModalDriver(IDD_SELECT_UNITS,
                      [&](CDialog& d)
                      {
                          differences += Check(d, kSelectUnits);
                          footnote = InfoAt(d, 19);
                          lengthUnit = Info(d, IDC_LENGTH_UNIT);
                          lengthSpin = Info(d, IDC_LENGTH_PRECISION);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    AfxSetModalDriver(IDD_TRACKER_CONNECT,
                      [&](CDialog& d)
                      {
                          differences += Check(d, kConnect);
                          octet = Info(d, IDC_IP1);
                          password = Info(d, IDC_PASSWORD);
                          kelm = Info(d, IDC_TYPE_KELM);
                          corvo = Info(d, IDC_TYPE_CORVO);
                          userName = Info(d, IDC_USER_NAME);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    AfxSetModalDriver(IDD_OTHER_APPS,
                      [&](CDialog& d)
                      {
                          differences +=
                              Check(d, {{0, "Dialog", "Other Applications", "", true, true},
                                        {IDOK, "Button", "Start", "", true, true}});
                          list = Info(d, IDC_APP_LIST);
                          start = Info(d, IDOK);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    Run(
        [&](CDialog& d)
        {
            differences += Check(d, kMainDisconnected);
            mainWindow = Info(d, 0);
            connect = Info(d, IDC_CONNECT);
            AfxTestInvokeSystemMenu(d, IDM_ABOUTBOX);
            AfxTestClick(d, IDC_SELECT_UNITS);
            AfxTestClick(d, IDC_CONNECT);
            AfxTestPressKey(d, AfxKey::Escape);
        });
    COtherAppDlg others;
    char zeta[] = "zeta";
    char alpha[] = "alpha";
    others.DoModalWithApps({zeta, alpha});

    EXPECT_EQ(differences, "");

    // The main window: its controls in template order, the focus on Connect.
    EXPECT_EQ(mainWindow.childCount, 15);
    EXPECT_TRUE(connect.focused);
    EXPECT_EQ(connect.accelerator, "Alt+N");
    EXPECT_EQ(connect.actions.front(), "Press");

    // About: the icon is an image named after the program; the version line
    // shows its '&' as it stands, which no line here has.
    EXPECT_EQ(icon.role, "Graphic");
    EXPECT_EQ(icon.name, "Kelm Utilities");
    EXPECT_EQ(version.role, "StaticText");
    EXPECT_EQ(version.name.rfind("Kelm Utilities Version ", 0), 0u) << version.name;
    EXPECT_EQ(secondLine.name, "Starts the tracker's applications.");
    EXPECT_TRUE(aboutOk.defaultButton);

    // Select Units: the two-line footnote reads as one sentence; the unit is
    // the combo box's value, the precision the spin button's.
    EXPECT_EQ(footnote.role, "StaticText");
    EXPECT_EQ(footnote.name,
              "*Select Units does not affect PartsInspector and CalibSuite applications");
    EXPECT_EQ(lengthUnit.value, "meters");
    EXPECT_EQ(lengthUnit.selectedRow, "meters");
    EXPECT_TRUE(lengthUnit.focused);
    EXPECT_EQ(lengthSpin.value, "6");
    EXPECT_EQ(lengthSpin.actions.empty() ? "" : lengthSpin.actions.front(), "Increase");

    // Connect to Tracker: radio buttons are radio buttons, the password edit
    // a password whose text is not read out.
    EXPECT_EQ(octet.value, "192");
    EXPECT_TRUE(password.password);
    EXPECT_TRUE(kelm.checkable);
    EXPECT_TRUE(kelm.checked);
    EXPECT_FALSE(corvo.checked);
    // Each answers the group's question, as a screen reader reads it.
    EXPECT_EQ(kelm.labelledBy, (std::vector<std::string>{"Tracker Type"}));
    EXPECT_EQ(corvo.labelledBy, (std::vector<std::string>{"Tracker Type"}));
    EXPECT_EQ(userName.value, "user");
    EXPECT_EQ(userName.selectedRow, "user");

    // Other Applications: the list is named and has its rows.
    EXPECT_EQ(list.role, "List");
    EXPECT_EQ(list.name, "Applications");
    EXPECT_EQ(list.childCount, 2);
    EXPECT_TRUE(start.defaultButton);
}

TEST_F(AccessibilityTest, ConnectedWindowIsReadAndDrivenThroughItsInterfaces)
{
    AfxAccessibleInfo disconnect, readiness, range, started, password;
    AfxQueueModalDriver(IDD_TRACKER_CONNECT,
                        [&](CDialog& d)
                        {
                            // Choosing admin enables the password; the radio
                            // button pressed through its interface checks.
                            AfxTestSelect(d, IDC_USER_NAME, 1);
                            password = Info(d, IDC_PASSWORD);
                            EXPECT_TRUE(AfxTestAccessibleAction(d, IDC_TYPE_CORVO, "Toggle"));
                            EXPECT_TRUE(Info(d, IDC_TYPE_CORVO).checked);
                            EXPECT_FALSE(Info(d, IDC_TYPE_KELM).checked);
                            AfxTestClick(d, IDC_TYPE_KELM);
                            AfxTestSelect(d, IDC_USER_NAME, 0);
                            EXPECT_TRUE(AfxTestAccessibleAction(d, IDOK, "Press"));
                        });
    Run(
        [&](CDialog& d)
        {
            EXPECT_TRUE(AfxTestAccessibleAction(d, IDC_CONNECT, "Press"));
            Settle();
            disconnect = Info(d, IDC_CONNECT);
            readiness = Info(d, IDC_READINESS_TEST);
            range = Info(d, IDC_RANGE_CALIB);
            EXPECT_TRUE(AfxTestAccessibleAction(d, IDC_READINESS_TEST, "Press"));
            started = Info(d, IDC_READINESS_TEST);
            // A disabled button offers nothing to press.
            EXPECT_FALSE(AfxTestAccessibleAction(d, IDC_READINESS_TEST, "Press"));
            AfxQueueMessageBoxAnswer(IDOK);
            AfxTestClick(d, IDCANCEL);
        });

    EXPECT_TRUE(password.enabled);
    EXPECT_TRUE(password.password);
    EXPECT_EQ(disconnect.name, "Disconnect (10)");
    EXPECT_EQ(disconnect.accelerator, "Alt+N");
    EXPECT_TRUE(readiness.enabled);
    // Range Calib stays hidden whatever the tracker offers.
    EXPECT_FALSE(range.visible);
    EXPECT_FALSE(started.enabled);
    EXPECT_TRUE(started.actions.empty() || started.actions.front() != "Press");
    EXPECT_EQ(CallsStarting("startApplicationFrame"),
              (std::vector<std::string>{"startApplicationFrame \"ReadinessTest\" \"" +
                                        std::string(UnitsArgument::kBuiltInDefault) + "\""}));
}
