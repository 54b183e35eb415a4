// SPDX-License-Identifier: Apache-2.0
// Data exchange between a dialog's controls and its members (DoDataExchange),
// with the framework's validation. On save, the first value that does not
// parse or is out of range shows the framework's prompt in the application
// message box (exclamation icon), puts the focus into that control (its text
// selected when it is an edit) and stops the exchange: UpdateData answers
// FALSE. The prompts:
//     "Please enter an integer."                  DDX_Text, int
//     "Please enter a positive integer."          DDX_Text, UINT
//     "Please enter an integer between 1 and 9."  DDV_MinMaxInt / DDV_MinMaxUInt
//     "Enter no more than 10 characters."         DDV_MaxChars
#ifndef KELM_FRAMEWORK_CDATAEXCHANGE_H
#define KELM_FRAMEWORK_CDATAEXCHANGE_H

#include "framework/dialogs/AfxWinTypes.h"

#include <string>

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    // The control of id, remembered as the one that a later DDV_ check or
    // Fail() reports on. PrepareEditCtrl also remembers that it is an edit.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);

    // Moves the focus to the last prepared control and stops the exchange
    // (throws Failure; UpdateData catches it).
    [[noreturn]] void Fail();
    struct Failure
    {
    };

    BOOL m_bSaveAndValidate; // TRUE: controls -> members, with validation
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

// Binds control (a CButton, CEdit, ... member) to the dialog's control id;
// the member then operates on the live control. Bound anew each DoModal.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// Whole numbers: the whole text, spaces around it allowed; UINT takes no sign.
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);

// Index of the checked button in the radio group that starts at firstId
// (up to the next control with WS_GROUP); -1 when none. Loading checks the
// button at value and unchecks the others.
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);

// Checked on save only, against the control of the preceding DDX_.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);

#endif
