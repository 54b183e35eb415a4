// SPDX-License-Identifier: Apache-2.0
// Push buttons, automatic radio buttons and check boxes.
#ifndef KELM_FRAMEWORK_CBUTTON_H
#define KELM_FRAMEWORK_CBUTTON_H

#include "framework/dialogs/CWnd.h"

class CButton : public CWnd
{
public:
    // BST_CHECKED or BST_UNCHECKED (always unchecked for push buttons).
    int GetCheck() const;
    // Checking an automatic radio button does not uncheck its group here,
    // as on the platform; CheckRadioButton does.
    void SetCheck(int check);
};

#endif
