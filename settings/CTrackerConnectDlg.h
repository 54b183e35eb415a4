// SPDX-License-Identifier: Apache-2.0
// The dialog in which the operator chooses how to connect: user name,
// password, tracker type and the tracker's address as four octets. It shows
// the stored choices, checks the octets as they are typed and on OK, and
// starts the finder tool. It neither connects nor saves: the main window reads
// the members after OK and calls SaveConnectionSettings once the connection
// has come up.
#ifndef KELM_SETTINGS_CTRACKERCONNECTDLG_H
#define KELM_SETTINGS_CTRACKERCONNECTDLG_H

#include "framework/dialogs/AfxWin.h"
#include "res/resource.h"

#include <string>

class CTrackerConnectDlg : public CDialog
{
public:
    enum
    {
        IDD = IDD_TRACKER_CONNECT
    };
    // The password must fit, with its terminating NUL, the 80-character
    // buffer the tracker library is given.
    static constexpr UINT kMaxPasswordLength = 79;

    explicit CTrackerConnectDlg(CWnd* pParent = nullptr);
    ~CTrackerConnectDlg() override;

    // A copy of m_userName.
    std::string GetSelectedUserName() const;
    // Hands user index, tracker type and address text to the settings record
    // and writes the settings file. Never the password.
    void SaveConnectionSettings();

    // What OK leaves for the main window.
    std::string m_ipAddress; // the octet texts as typed, joined with "."
    int m_userIndex = -1;    // -1: no user name selected
    std::string m_userName;  // "user", "admin", "factory", or empty
    std::string m_password;
    UINT m_ip1;
    UINT m_ip2;
    UINT m_ip3;
    UINT m_ip4;
    int m_trackerType = -1; // 0 Corvo, 1 Kelm

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnSelchangeUserName();
    void OnChangeIP1();
    void OnChangeIP2();
    void OnChangeIP3();
    void OnChangeIP4();
    void OnFindTrackers();
    BOOL OnToolTipNotify(UINT id, NMHDR* pNMHDR, LRESULT* pResult);

private:
    // The check every octet edit gets on each change of its text; field is
    // 0 for the first octet to 3 for the fourth.
    void CheckOctet(int field);
    // Puts the first four dot-separated parts of address into the octet
    // edits, emptying those that get none.
    void ShowAddress(const std::string& address);

    CButton m_findTrackersButton;
    CButton m_okButton;
    CButton m_cancelButton;
    CStatic m_userNameLabel;
    CButton m_trackerTypeGroup;
    CStatic m_passwordLabel;
    CButton m_ipAddressGroup;
    CButton m_kelmRadio;
    CButton m_corvoRadio;
    CComboBox m_userNameList;
    CEdit m_passwordEdit;

    // The tip being shown; the tooltip reads it after the handler returns.
    std::string m_toolTipText;
};

#endif
