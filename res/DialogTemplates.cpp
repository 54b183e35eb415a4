// SPDX-License-Identifier: Apache-2.0
#include "res/DialogTemplates.h"

#include "framework/dialogs/WinStyles.h"
#include "res/resource.h"

#include "KelmVersion.h"

namespace
{
constexpr unsigned kChild = WS_CHILD | WS_VISIBLE;
constexpr unsigned kPush = kChild | BS_PUSHBUTTON | WS_TABSTOP;
constexpr unsigned kDefPush = kChild | BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr unsigned kLabel = kChild | SS_LEFT | WS_GROUP;
constexpr unsigned kGroupBox = kChild | BS_GROUPBOX;
constexpr unsigned kModal = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr const char* kFont = "MS Sans Serif";

const ResDialogItem kAboutItems[] = {
    {IDC_STATIC, RES_CLASS_STATIC, "#128", 11, 17, 20, 20, kChild | SS_ICON, 0},
    {IDC_VERSION_LINE, RES_CLASS_STATIC, "Kelm Utilities Version " KELM_VERSION, 40, 10, 119, 8,
     kLabel | SS_NOPREFIX, 0},
    {IDC_SECOND_LINE, RES_CLASS_STATIC, "Kelm Utilities", 40, 25, 119, 8, kLabel, 0},
    {1, RES_CLASS_BUTTON, "OK", 178, 7, 32, 14, kDefPush | WS_GROUP, 0},
};

// Ran&ge Calib and Other A&pplications start hidden: the main window shows
// them only when the tracker offers what they start.
const ResDialogItem kMainItems[] = {
    {IDC_CONNECT, RES_CLASS_BUTTON, "Co&nnect...", 7, 7, 93, 14, kPush, 0},
    {IDC_READINESS_TEST, RES_CLASS_BUTTON, "&Readiness Test", 7, 21, 93, 14, kPush, 0},
    {IDC_STATUS_REPORT, RES_CLASS_BUTTON, "&Status Report", 7, 36, 93, 14, kPush, 0},
    {IDC_ACCURACY_AUDIT, RES_CLASS_BUTTON, "Accuracy &Audit", 7, 51, 93, 14, kPush, 0},
    {IDC_BEAM_LOOP_TEST, RES_CLASS_BUTTON, "&Beam Loop Test", 7, 66, 93, 14, kPush, 0},
    {IDC_DEVICE_CONSOLE, RES_CLASS_BUTTON, "&Device Console", 7, 81, 93, 14, kPush, 0},
    {IDC_SURVEY_CONSOLE, RES_CLASS_BUTTON, "Sur&vey Console", 7, 96, 93, 15, kPush, 0},
    {IDC_PARTS_INSPECTOR, RES_CLASS_BUTTON, "Parts &Inspector", 7, 112, 93, 14, kPush, 0},
    {IDC_EVENT_MONITOR, RES_CLASS_BUTTON, "Event &Monitor", 7, 127, 93, 14, kPush, 0},
    {IDC_CALIB_SUITE, RES_CLASS_BUTTON, "&Calib Suite", 7, 142, 93, 14, kPush, 0},
    {IDC_ROM_INSTALLER, RES_CLASS_BUTTON, "ROM Installer", 7, 157, 93, 14, kPush, 0},
    {IDC_RANGE_CALIB, RES_CLASS_BUTTON, "Ran&ge Calib", 7, 172, 93, 14, kPush & ~WS_VISIBLE, 0},
    {IDC_OTHER_APPLICATIONS, RES_CLASS_BUTTON, "Other A&pplications", 7, 187, 93, 14,
     kPush & ~WS_VISIBLE, 0},
    {IDC_SELECT_UNITS, RES_CLASS_BUTTON, "Select &Units...", 7, 201, 94, 14, kPush, 0},
    {2, RES_CLASS_BUTTON, "Clos&e", 28, 222, 50, 14, kPush, 0},
};

const ResDialogItem kConnectItems[] = {
    {IDC_USER_NAME, RES_CLASS_COMBOBOX, "", 60, 6, 86, 45,
     kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {IDC_PASSWORD, RES_CLASS_EDIT, "", 60, 26, 86, 14,
     kChild | ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
    {IDC_TYPE_CORVO, RES_CLASS_BUTTON, "Corvo", 37, 56, 30, 10,
     kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {IDC_TYPE_KELM, RES_CLASS_BUTTON, "Kelm", 82, 56, 35, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {IDC_IP1, RES_CLASS_EDIT, "", 19, 83, 23, 16, kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
     0},
    {IDC_IP2, RES_CLASS_EDIT, "", 51, 83, 23, 16, kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
     0},
    {IDC_IP3, RES_CLASS_EDIT, "", 83, 83, 23, 16, kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
     0},
    {IDC_IP4, RES_CLASS_EDIT, "", 115, 83, 23, 16, kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
     0},
    {IDC_FIND_TRACKERS, RES_CLASS_BUTTON, "Find Trackers...", 75, 104, 64, 14, kPush, 0},
    {1, RES_CLASS_BUTTON, "OK", 17, 130, 50, 14, kDefPush, 0},
    {2, RES_CLASS_BUTTON, "Cancel", 91, 130, 50, 14, kPush, 0},
    {IDC_PASSWORD_LABEL, RES_CLASS_STATIC, "Password", 11, 28, 39, 8, kLabel, 0},
    {IDC_IP_GROUP, RES_CLASS_BUTTON, "IP Address", 11, 74, 136, 50, kGroupBox, 0},
    {IDC_TYPE_GROUP, RES_CLASS_BUTTON, "Tracker Type", 11, 43, 136, 29, kGroupBox, 0},
    {IDC_USER_NAME_LABEL, RES_CLASS_STATIC, "User name", 11, 11, 39, 8, kLabel, 0},
};

const ResDialogItem kOtherAppsItems[] = {
    {IDC_APP_LIST, RES_CLASS_LISTBOX, "", 5, 5, 100, 70,
     kChild | LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOINTEGRALHEIGHT |
         LBS_WANTKEYBOARDINPUT,
     0},
    {1, RES_CLASS_BUTTON, "Start", 55, 77, 50, 14, kDefPush, 0},
};

constexpr unsigned kUnitCombo = kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
constexpr unsigned kPrecisionEdit = kChild | ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP;
constexpr unsigned kPrecisionSpin =
    kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;

const ResDialogItem kSelectUnitsItems[] = {
    {IDC_LENGTH_UNIT, RES_CLASS_COMBOBOX, "", 62, 23, 71, 48, kUnitCombo, 0},
    {IDC_LENGTH_PRECISION, RES_CLASS_EDIT, "", 143, 23, 24, 12, kPrecisionEdit, 0},
    {IDC_LENGTH_SPIN, RES_CLASS_UPDOWN, "", 157, 23, 10, 13, kPrecisionSpin, 0},
    {IDC_ANGLE_UNIT, RES_CLASS_COMBOBOX, "", 62, 40, 71, 51, kUnitCombo, 0},
    {IDC_ANGLE_PRECISION, RES_CLASS_EDIT, "", 143, 40, 24, 12, kPrecisionEdit, 0},
    {IDC_ANGLE_SPIN, RES_CLASS_UPDOWN, "", 157, 40, 10, 13, kPrecisionSpin, 0},
    {IDC_PRESSURE_UNIT, RES_CLASS_COMBOBOX, "", 62, 58, 71, 51, kUnitCombo, 0},
    {IDC_PRESSURE_PRECISION, RES_CLASS_EDIT, "", 143, 58, 24, 12, kPrecisionEdit, 0},
    {IDC_PRESSURE_SPIN, RES_CLASS_UPDOWN, "", 157, 58, 10, 13, kPrecisionSpin, 0},
    {IDC_TEMPERATURE_UNIT, RES_CLASS_COMBOBOX, "", 62, 76, 71, 45, kUnitCombo, 0},
    {IDC_TEMPERATURE_PRECISION, RES_CLASS_EDIT, "", 143, 76, 24, 12, kPrecisionEdit, 0},
    {IDC_TEMPERATURE_SPIN, RES_CLASS_UPDOWN, "", 156, 75, 11, 13, kPrecisionSpin, 0},
    {1, RES_CLASS_BUTTON, "OK", 43, 125, 50, 14, kDefPush, 0},
    {2, RES_CLASS_BUTTON, "Cancel", 101, 125, 50, 14, kPush, 0},
    {IDC_LENGTH_LABEL, RES_CLASS_STATIC, "Length", 15, 24, 25, 8, kLabel, 0},
    {IDC_ANGLE_LABEL, RES_CLASS_STATIC, "Angle", 15, 43, 19, 8, kLabel, 0},
    {IDC_PRESSURE_LABEL, RES_CLASS_STATIC, "Pressure", 15, 62, 28, 8, kLabel, 0},
    {IDC_TEMPERATURE_LABEL, RES_CLASS_STATIC, "Temperature", 15, 80, 41, 8, kLabel, 0},
    {IDC_PRECISION_LABEL, RES_CLASS_STATIC, "Precision", 143, 11, 30, 8, kLabel, 0},
    {IDC_STATIC, RES_CLASS_STATIC,
     "*Select Units does not affect PartsInspector and CalibSuite\napplications", 17, 103, 170, 18,
     kChild | SS_LEFTNOWORDWRAP | WS_GROUP, 0},
};

template <std::size_t N>
constexpr ResDialogTemplate Make(unsigned id, const char* caption, short cx, short cy,
                                 unsigned style, unsigned exStyle, const ResDialogItem (&items)[N])
{
    return {id, caption, cx, cy, kFont, 8, style, exStyle, items, N};
}

} // namespace

const ResDialogTemplate kResDialogTemplates[] = {
    Make(IDD_ABOUTBOX, "About Kelm Utilities", 217, 55, kModal, 0, kAboutItems),
    Make(IDD_TOVAPPS_DIALOG, "Kelm Utilities", 107, 249, kModal | DS_3DLOOK | WS_VISIBLE,
         WS_EX_APPWINDOW, kMainItems),
    Make(IDD_TRACKER_CONNECT, "Connect to Tracker", 162, 150, kModal, 0, kConnectItems),
    Make(IDD_OTHER_APPS, "Other Applications", 112, 98, kModal, 0, kOtherAppsItems),
    Make(IDD_SELECT_UNITS, "Select Units", 198, 146, kModal, 0, kSelectUnitsItems),
};
const std::size_t kResDialogTemplateCount =
    sizeof(kResDialogTemplates) / sizeof(kResDialogTemplates[0]);
