// SPDX-License-Identifier: Apache-2.0
#include "app/CAboutDlg.h"

#include "KelmVersion.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_okButton);
    DDX_Control(pDX, IDC_VERSION_LINE, m_versionLine);
    DDX_Control(pDX, IDC_SECOND_LINE, m_secondLine);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(AfxLoadString(IDS_ABOUT_TITLE));
    m_versionLine.SetWindowText(AfxLoadString(IDS_VERSION) + " " KELM_VERSION);
    m_secondLine.SetWindowText(AfxLoadString(IDS_ABOUT_SECOND_LINE) + ".");
    m_okButton.SetWindowText(AfxLoadString(IDS_OK));
    return TRUE;
}
