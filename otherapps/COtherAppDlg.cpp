// SPDX-License-Identifier: Apache-2.0
#include "otherapps/COtherAppDlg.h"

#include "framework/core/AfxStrings.h"

BEGIN_MESSAGE_MAP(COtherAppDlg, CDialog)
ON_LBN_DBLCLK(IDC_APP_LIST, OnDblclkAppList)
END_MESSAGE_MAP()

COtherAppDlg::COtherAppDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

COtherAppDlg::~COtherAppDlg() = default;

int COtherAppDlg::DoModalWithApps(const std::list<char*>& apps)
{
    m_appList.insert(m_appList.end(), apps.begin(), apps.end());
    return DoModal();
}

std::string COtherAppDlg::GetSelectedApp() const
{
    return m_selectedApp;
}

void COtherAppDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_startButton);
    DDX_Control(pDX, IDC_APP_LIST, m_appListBox);
}

BOOL COtherAppDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetWindowText(AfxLoadString(IDS_OTHER_APPLICATIONS));
    m_startButton.SetWindowText(AfxLoadString(IDS_START));

    // The list box sorts, so the operator finds a name alphabetically
    // whatever order the tracker offered them in.
    m_appListBox.ResetContent();
    for (const char* name : m_appList)
    {
        m_appListBox.AddString(name);
    }
    return TRUE;
}

void COtherAppDlg::OnDblclkAppList()
{
    OnOK();
}

void COtherAppDlg::OnOK()
{
    // Read back from the list box rather than from m_appList: the sorted
    // position says nothing about the caller's order.
    const int selected = m_appListBox.GetCurSel();
    if (selected != LB_ERR)
    {
        m_appListBox.GetText(selected, m_selectedApp);
    }
    CDialog::OnOK();
}
