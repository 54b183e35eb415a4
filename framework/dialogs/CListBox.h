// SPDX-License-Identifier: Apache-2.0
// Single-selection list boxes. With LBS_SORT, AddString inserts in
// alphabetical order without regard to case, after any equal entries. With
// LBS_NOTIFY a double-click sends LBN_DBLCLK and a selection change by the
// operator LBN_SELCHANGE.
#ifndef KELM_FRAMEWORK_CLISTBOX_H
#define KELM_FRAMEWORK_CLISTBOX_H

#include "framework/dialogs/CWnd.h"

#include <string>

class CListBox : public CWnd
{
public:
    int AddString(const std::string& text); // the position it went to, LB_ERR on failure
    int InsertString(int index, const std::string& text); // -1 appends; never sorts
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;    // LB_ERR when nothing is selected
    int SetCurSel(int index); // -1 clears the selection; LB_ERR when out of range
    void GetText(int index, std::string& text) const;
    int GetText(int index, char* buffer) const; // length copied, LB_ERR
    int GetTextLen(int index) const;
    int FindStringExact(int startAfter, const std::string& text) const; // case-insensitive
};

#endif
