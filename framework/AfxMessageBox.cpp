#include "framework/AfxMessageBox.h"

#include "framework/AfxStrings.h"
#include "framework/CWinApp.h"
#include "framework/ui/MessageBoxes.h"

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
