// SPDX-License-Identifier: Apache-2.0
#include "app/CTovApps.h"

#include "app/CTovAppsDlg.h"
#include "res/Resources.h"

BEGIN_MESSAGE_MAP(CTovApps, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CTovApps::CTovApps()
{
    // Before any window or text is needed.
    ResRegisterProgramResources();
}

BOOL CTovApps::InitInstance()
{
    CTovAppsDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The program ends when the main window closes.
    return FALSE;
}
