// SPDX-License-Identifier: Apache-2.0
// The dialog that lists the tracker's further applications, those without a
// button of their own on the main window, and hands the one the operator
// picks back to the main window. One object per press of the Other
// Applications button.
#ifndef KELM_OTHERAPPS_COTHERAPPDLG_H
#define KELM_OTHERAPPS_COTHERAPPDLG_H

#include "framework/dialogs/AfxWin.h"
#include "res/resource.h"

#include <list>
#include <string>

class COtherAppDlg : public CDialog
{
public:
    enum
    {
        IDD = IDD_OTHER_APPS
    };

    explicit COtherAppDlg(CWnd* pParent = nullptr);
    ~COtherAppDlg() override;

    // Adds the names to those already given and runs the dialog: IDOK for
    // Start or a double-click, IDCANCEL for Esc or the close box. The names
    // stay the caller's: they must live until this returns and are never
    // freed here.
    virtual int DoModalWithApps(const std::list<char*>& apps);

    // The name chosen with IDOK, as the list showed it; empty when nothing
    // was selected or the dialog was cancelled.
    std::string GetSelectedApp() const;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnDblclkAppList();

private:
    std::string m_selectedApp;
    CButton m_startButton;
    CListBox m_appListBox;
    // The caller's pointers, not copies.
    std::list<char*> m_appList;
};

#endif
