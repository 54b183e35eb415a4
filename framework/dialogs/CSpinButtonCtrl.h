// SPDX-License-Identifier: Apache-2.0
// Up-down (spin button) controls. UDS_AUTOBUDDY takes the control before it
// in template order as buddy; UDS_ALIGNRIGHT sits it at the buddy's right
// edge (the buddy narrows to make room); UDS_SETBUDDYINT writes the position
// into the buddy as a whole number (and reads the buddy's number back before
// stepping); UDS_ARROWKEYS lets Up/Down in the buddy step. The position never
// leaves the range; each arrow click or key steps by 1.
#ifndef KELM_FRAMEWORK_CSPINBUTTONCTRL_H
#define KELM_FRAMEWORK_CSPINBUTTONCTRL_H

#include "framework/dialogs/CWnd.h"

class CSpinButtonCtrl : public CWnd
{
public:
    // Sets the range; a position outside it is moved to the nearest bound
    // (the buddy's text is left alone).
    void SetRange(int lower, int upper);
    void SetRange32(int lower, int upper) { SetRange(lower, upper); }
    void GetRange(int& lower, int& upper) const;
    void GetRange32(int& lower, int& upper) const { GetRange(lower, upper); }
    // Clamped into the range; updates the buddy (UDS_SETBUDDYINT). Returns
    // the previous position.
    int SetPos(int position);
    int SetPos32(int position) { return SetPos(position); }
    // With UDS_SETBUDDYINT and a buddy holding a whole number, that number
    // (clamped into the range); else the last position.
    int GetPos() const;
    int GetPos32() const { return GetPos(); }
    CWnd* SetBuddy(CWnd* buddy); // returns the previous buddy
    CWnd* GetBuddy() const;
};

#endif
