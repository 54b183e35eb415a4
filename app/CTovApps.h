// SPDX-License-Identifier: Apache-2.0
#ifndef KELM_APP_CTOVAPPS_H
#define KELM_APP_CTOVAPPS_H

#include "framework/dialogs/AfxWin.h"

// The application object: runs the main window and ends when it closes.
class CTovApps : public CWinApp
{
public:
    CTovApps();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

#endif
