// SPDX-License-Identifier: Apache-2.0
#ifndef KELM_APP_CABOUTDLG_H
#define KELM_APP_CABOUTDLG_H

#include "framework/dialogs/AfxWin.h"
#include "res/resource.h"

// The About box, opened from the main window's system menu.
class CAboutDlg : public CDialog
{
public:
    enum
    {
        IDD = IDD_ABOUTBOX
    };

    CAboutDlg();
    ~CAboutDlg() override;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CButton m_okButton;
    CStatic m_versionLine;
    CStatic m_secondLine;
};

#endif
