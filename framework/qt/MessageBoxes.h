// SPDX-License-Identifier: Apache-2.0
// Shows a message box, or hands it to the test seam when a test answers.
#ifndef KELM_FRAMEWORK_UI_MESSAGEBOXES_H
#define KELM_FRAMEWORK_UI_MESSAGEBOXES_H

#include "framework/dialogs/AfxWinTypes.h"

#include <string>

struct DialogState;

class MessageBoxes
{
public:
    // owner: the dialog that owns the box (CWnd::MessageBox), or null for
    // the application's box, which sits over the active dialog.
    static int Show(const std::string& text, const std::string& caption, UINT type,
                    bool application, DialogState* owner);
};

#endif
