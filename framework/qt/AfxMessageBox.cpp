// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/AfxMessageBox.h"

#include "framework/core/AfxStrings.h"
#include "framework/dialogs/CWinApp.h"
#include "framework/qt/MessageBoxes.h"

int AfxMessageBox(const std::string& text, UINT type, UINT)
{
    if ((type & MB_ICONMASK) == 0)
    {
        type |= MB_ICONEXCLAMATION;
    }
    return MessageBoxes::Show(text, AfxGetAppName(), type, true, nullptr);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    std::string text;
    AfxLoadString(promptId, text);
    return AfxMessageBox(text, type, helpId);
}
