// SPDX-License-Identifier: Apache-2.0
// Drop-down list combo boxes. With CBS_SORT, AddString inserts in
// alphabetical order without regard to case, after any equal entries.
#ifndef KELM_FRAMEWORK_CCOMBOBOX_H
#define KELM_FRAMEWORK_CCOMBOBOX_H

#include "framework/dialogs/CWnd.h"

#include <string>

class CComboBox : public CWnd
{
public:
    int AddString(const std::string& text); // the position it went to, CB_ERR on failure
    int InsertString(int index, const std::string& text); // -1 appends; never sorts
    int DeleteString(int index); // the remaining count, CB_ERR when index is invalid
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;    // CB_ERR when nothing is selected
    int SetCurSel(int index); // -1 clears the selection; CB_ERR when out of range
    void GetLBText(int index, std::string& text) const;
    int GetLBText(int index, char* buffer) const; // length copied, CB_ERR
    int GetLBTextLen(int index) const;
    int FindStringExact(int startAfter, const std::string& text) const; // case-insensitive
};

#endif
