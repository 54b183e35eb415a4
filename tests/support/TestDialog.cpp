// SPDX-License-Identifier: Apache-2.0
#include "tests/support/TestDialog.h"

#include "framework/core/AfxResources.h"
#include "framework/testing/TestSeams.h"

#include <algorithm>

namespace
{
constexpr unsigned kChild = WS_CHILD | WS_VISIBLE;

const ResDialogItem kItems[] = {
    {IDC_T_NAME_LABEL, RES_CLASS_STATIC, "&Name:", 7, 7, 30, 8, kChild | SS_LEFT | WS_GROUP, 0},
    {IDC_T_NAME, RES_CLASS_EDIT, "", 40, 5, 60, 12,
     kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
    {IDC_T_NUMBER, RES_CLASS_EDIT, "", 110, 5, 40, 12, kChild | ES_NUMBER | WS_BORDER | WS_TABSTOP,
     0},
    {IDC_T_APPLY, RES_CLASS_BUTTON, "&Apply", 160, 5, 40, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP,
     0},
    {IDC_T_FIRST, RES_CLASS_BUTTON, "&First", 12, 30, 40, 10,
     kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {IDC_T_SECOND, RES_CLASS_BUTTON, "Second", 60, 30, 40, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {IDC_T_THIRD, RES_CLASS_BUTTON, "T&hird", 110, 30, 40, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {IDC_T_PLAIN, RES_CLASS_STATIC, "Plain && simple", 7, 48, 60, 8, kChild | SS_LEFT | WS_GROUP,
     0},
    {IDC_T_SORTED_COMBO, RES_CLASS_COMBOBOX, "", 7, 60, 80, 60,
     kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0},
    {IDC_T_PLAIN_COMBO, RES_CLASS_COMBOBOX, "", 95, 60, 80, 60,
     kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {IDC_T_LIST, RES_CLASS_LISTBOX, "", 7, 80, 80, 50,
     kChild | LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0},
    {IDC_T_SPIN_EDIT, RES_CLASS_EDIT, "", 95, 80, 30, 12,
     kChild | ES_NUMBER | WS_BORDER | WS_TABSTOP, 0},
    {IDC_T_SPIN, RES_CLASS_UPDOWN, "", 120, 80, 10, 12,
     kChild | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0},
    {IDC_T_HIDDEN, RES_CLASS_BUTTON, "&Zap", 140, 80, 40, 14, WS_CHILD | BS_PUSHBUTTON | WS_TABSTOP,
     0},
    {IDC_T_PASSWORD, RES_CLASS_EDIT, "", 95, 100, 60, 12,
     kChild | ES_PASSWORD | WS_BORDER | WS_TABSTOP, 0},
    {1, RES_CLASS_BUTTON, "OK", 50, 140, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
    {2, RES_CLASS_BUTTON, "Cancel", 110, 140, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDC_T_FRAME, RES_CLASS_BUTTON, "Frame", 4, 22, 196, 22, kChild | BS_GROUPBOX, 0},
    {IDC_STATIC, RES_CLASS_STATIC, "Footer", 7, 125, 60, 8, kChild | SS_LEFT | WS_GROUP, 0},
};

// No default button, no OK or Cancel control, no system menu.
const ResDialogItem kNoDefaultItems[] = {
    {IDC_T_APPLY, RES_CLASS_BUTTON, "&Apply", 10, 10, 40, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP,
     0},
    {IDC_T_NAME, RES_CLASS_EDIT, "", 10, 30, 60, 12,
     kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
};

const ResDialogTemplate kTemplates[] = {
    {IDD_TEST, "Test dialog", 210, 160, "MS Sans Serif", 8,
     DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, kItems,
     sizeof(kItems) / sizeof(kItems[0])},
    {IDD_TEST_NO_DEFAULT, "Bare", 100, 50, "MS Sans Serif", 8,
     DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION, 0, kNoDefaultItems,
     sizeof(kNoDefaultItems) / sizeof(kNoDefaultItems[0])},
};
} // namespace

void RegisterTestTemplates()
{
    for (const ResDialogTemplate& t : kTemplates)
    {
        AfxRegisterDialogTemplate(&t);
    }
}

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_CLOSE()
ON_BN_CLICKED(IDC_T_APPLY, OnApply)
ON_COMMAND_RANGE(IDC_T_FIRST, IDC_T_THIRD, OnRadio)
ON_EN_CHANGE(IDC_T_NAME, OnNameChange)
ON_EN_CHANGE(IDC_T_NUMBER, OnNumberChange)
ON_CBN_SELCHANGE(IDC_T_SORTED_COMBO, OnComboChange)
ON_LBN_DBLCLK(IDC_T_LIST, OnListDblClk)
ON_LBN_SELCHANGE(IDC_T_LIST, OnListSelChange)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTip)
ON_MESSAGE(WM_T_USER, OnUserMessage)
END_MESSAGE_MAP()

TestDialog::TestDialog(UINT templateId) : CDialog(templateId)
{
    RegisterTestTemplates();
}

bool TestDialog::Logged(const std::string& entry) const
{
    return std::find(log.begin(), log.end(), entry) != log.end();
}

BOOL TestDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (onInit)
    {
        onInit();
    }
    return TRUE;
}

void TestDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (exchange)
    {
        exchange(pDX);
    }
}

void TestDialog::OnOK()
{
    log.push_back("OnOK");
    CDialog::OnOK();
}

void TestDialog::OnCancel()
{
    log.push_back("OnCancel");
    CDialog::OnCancel();
}

void TestDialog::OnSysCommand(UINT id, LPARAM lParam)
{
    log.push_back("OnSysCommand " + std::to_string(id));
    CDialog::OnSysCommand(id, lParam);
}

void TestDialog::OnClose()
{
    log.push_back("OnClose");
    CDialog::OnClose();
}

void TestDialog::OnApply()
{
    log.push_back("OnApply");
}

void TestDialog::OnRadio(UINT id)
{
    log.push_back("OnRadio " + std::to_string(id));
}

void TestDialog::OnNameChange()
{
    log.push_back("OnNameChange");
    std::string text;
    GetDlgItemText(IDC_T_NAME, text);
    changedTexts.push_back(text);
}

void TestDialog::OnNumberChange()
{
    log.push_back("OnNumberChange");
}

void TestDialog::OnComboChange()
{
    log.push_back("OnComboChange");
}

void TestDialog::OnListDblClk()
{
    log.push_back("OnListDblClk");
}

void TestDialog::OnListSelChange()
{
    log.push_back("OnListSelChange");
}

BOOL TestDialog::OnToolTip(UINT id, NMHDR* header, LRESULT* result)
{
    log.push_back("OnToolTip " + std::to_string(id));
    return toolTip ? toolTip(id, header, result) : FALSE;
}

LRESULT TestDialog::OnUserMessage(WPARAM wParam, LPARAM lParam)
{
    userMessages.emplace_back(wParam, lParam);
    if (std::this_thread::get_id() != windowThread)
    {
        userMessageOnWindowThread = false;
    }
    return 0;
}
