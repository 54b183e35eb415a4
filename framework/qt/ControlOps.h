// SPDX-License-Identifier: Apache-2.0
// What the dialog layer does to a live control, shared by the control
// classes, SendMessage and the test actions, so that each operation has one
// implementation whichever way it is reached.
#ifndef KELM_FRAMEWORK_UI_CONTROLOPS_H
#define KELM_FRAMEWORK_UI_CONTROLOPS_H

#include "framework/qt/WindowRegistry.h"

#include <string>

class ControlOps
{
public:
    // Text: the dialog's caption, a control's text. Setting an edit's text
    // sends EN_CHANGE, as the platform does (notify false: the text a
    // control is created with).
    static void SetText(WindowRecord* window, const std::string& text, bool notify = true);
    static std::string GetText(const WindowRecord* window);

    // Sends WM_COMMAND with code from control to its dialog.
    static void Notify(WindowRecord* control, UINT code);

    // Buttons
    static int GetCheck(const WindowRecord* button);
    static void SetCheck(WindowRecord* button, int check);
    // What a click does to an automatic radio button: checks it, unchecks
    // the rest of its group, and makes it the group's tab stop.
    static void CheckInGroup(WindowRecord* radio);
    static void CheckRadioRange(DialogState* dialog, int firstId, int lastId, int checkId);

    // List boxes and combo boxes (LB_ERR == CB_ERR == -1)
    static int AddString(WindowRecord* list, const std::string& text);
    static int InsertString(WindowRecord* list, int index, const std::string& text);
    static int DeleteString(WindowRecord* list, int index);
    static void ResetContent(WindowRecord* list);
    static int GetCount(const WindowRecord* list);
    static int GetCurSel(const WindowRecord* list);
    static int SetCurSel(WindowRecord* list, int index);
    static bool GetItemText(const WindowRecord* list, int index, std::string& text);
    static int FindStringExact(const WindowRecord* list, int startAfter, const std::string& text);

    // Edits
    static void SetSel(WindowRecord* edit, int start, int end);
    static void GetSel(const WindowRecord* edit, int& start, int& end);

    // Up-down controls
    static void SetRange(WindowRecord* spin, int lower, int upper);
    static int SetPos(WindowRecord* spin, int position);
    static int GetPos(const WindowRecord* spin);
    // One arrow click or key: +1 up, -1 down.
    static void Step(WindowRecord* spin, int delta);
    // The up-down control whose buddy is window and that answers the arrow
    // keys, or null.
    static WindowRecord* ArrowKeySpinOf(const WindowRecord* window);

    // A whole number: optional spaces, sign (when allowed), digits, optional
    // spaces, nothing else; false when the text is not one or does not fit.
    static bool ParseWholeNumber(const std::string& text, bool allowMinus, long long& value);

    // Control messages reached through SendMessage (WM_SETTEXT, LB_*, CB_*).
    static LRESULT Message(WindowRecord* control, UINT message, WPARAM wParam, LPARAM lParam);
};

#endif
