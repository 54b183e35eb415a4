// SPDX-License-Identifier: Apache-2.0
#include "settings/CTrackerConnectDlg.h"

#include "framework/core/Platform.h"
#include "framework/dialogs/CCallThread.h"
#include "settings/CSerialize.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
// The user names the tracker knows, in list order: the list position is the
// user index kept in the settings file.
const char* const kUserNames[] = {"user", "admin", "factory"};
constexpr int kUserNameCount = static_cast<int>(sizeof kUserNames / sizeof kUserNames[0]);

constexpr int kOctetCount = 4;
const int kOctetIds[kOctetCount] = {IDC_IP1, IDC_IP2, IDC_IP3, IDC_IP4};

// The finder tool runs on the Java runtime shipped beside the program. The
// runtime is given "-jar netfinder.jar" as the two arguments a command line
// of that text splits into.
const char* const kFinderProgram = "jre//bin//javaw";

// The address's parts between dots. Runs of dots and dots at either end
// make no empty parts, so "10..1.2.3" still reads as four octets.
std::vector<std::string> SplitAtDots(const std::string& address)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < address.size())
    {
        std::size_t end = address.find('.', start);
        if (end == std::string::npos)
        {
            end = address.size();
        }
        if (end > start)
        {
            parts.push_back(address.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

// An octet's text read as atoi reads it: blanks, a sign, the leading digits,
// 0 without digits. A number too long for an int saturates rather than being
// undefined, so that it still counts as out of range with its sign.
int OctetValue(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

bool IsChecked(const CButton& button)
{
    return button.GetCheck() == static_cast<int>(BST_CHECKED);
}
} // namespace

BEGIN_MESSAGE_MAP(CTrackerConnectDlg, CDialog)
ON_CBN_SELCHANGE(IDC_USER_NAME, OnSelchangeUserName)
ON_EN_CHANGE(IDC_IP1, OnChangeIP1)
ON_EN_CHANGE(IDC_IP2, OnChangeIP2)
ON_EN_CHANGE(IDC_IP3, OnChangeIP3)
ON_EN_CHANGE(IDC_IP4, OnChangeIP4)
ON_BN_CLICKED(IDC_FIND_TRACKERS, OnFindTrackers)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipNotify)
END_MESSAGE_MAP()

CTrackerConnectDlg::CTrackerConnectDlg(CWnd* pParent) : CDialog(IDD, pParent)
{
    // The octets start as those of the settings record's default address,
    // so that both fall back to the same tracker.
    const std::vector<std::string> parts = SplitAtDots(CSerialize::kDefaultIpAddress);
    UINT* octets[kOctetCount] = {&m_ip1, &m_ip2, &m_ip3, &m_ip4};
    for (int i = 0; i < kOctetCount; ++i)
    {
        *octets[i] = i < static_cast<int>(parts.size())
                         ? static_cast<UINT>(std::strtoul(parts[i].c_str(), nullptr, 10))
                         : 0;
    }
}

CTrackerConnectDlg::~CTrackerConnectDlg() = default;

std::string CTrackerConnectDlg::GetSelectedUserName() const
{
    return m_userName;
}

void CTrackerConnectDlg::SaveConnectionSettings()
{
    theSettings.SetConnection(m_userIndex, m_trackerType, m_ipAddress);
    theSettings.Save();
}

void CTrackerConnectDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIND_TRACKERS, m_findTrackersButton);
    DDX_Control(pDX, IDOK, m_okButton);
    DDX_Control(pDX, IDCANCEL, m_cancelButton);
    DDX_Control(pDX, IDC_USER_NAME_LABEL, m_userNameLabel);
    DDX_Control(pDX, IDC_TYPE_GROUP, m_trackerTypeGroup);
    DDX_Control(pDX, IDC_PASSWORD_LABEL, m_passwordLabel);
    DDX_Control(pDX, IDC_IP_GROUP, m_ipAddressGroup);
    DDX_Control(pDX, IDC_TYPE_KELM, m_kelmRadio);
    DDX_Control(pDX, IDC_TYPE_CORVO, m_corvoRadio);
    DDX_Control(pDX, IDC_USER_NAME, m_userNameList);
    DDX_Control(pDX, IDC_PASSWORD, m_passwordEdit);

    DDX_Text(pDX, IDC_PASSWORD, m_password);
    // Each octet is checked as soon as it is read, so the operator is sent
    // to the first bad one from the left.
    DDX_Text(pDX, IDC_IP1, m_ip1);
    DDV_MinMaxUInt(pDX, m_ip1, 0, 255);
    DDX_Text(pDX, IDC_IP2, m_ip2);
    DDV_MinMaxUInt(pDX, m_ip2, 0, 255);
    DDX_Text(pDX, IDC_IP3, m_ip3);
    DDV_MinMaxUInt(pDX, m_ip3, 0, 255);
    DDX_Text(pDX, IDC_IP4, m_ip4);
    DDV_MinMaxUInt(pDX, m_ip4, 0, 255);
    DDX_Radio(pDX, IDC_TYPE_CORVO, m_trackerType);
}

BOOL CTrackerConnectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    EnableToolTips(TRUE);

    SetWindowText(AfxLoadString(IDS_CONNECT_TO_TRACKER));
    m_userNameLabel.SetWindowText(AfxLoadString(IDS_USER_NAME));
    m_passwordLabel.SetWindowText(AfxLoadString(IDS_PASSWORD));
    m_trackerTypeGroup.SetWindowText(AfxLoadString(IDS_TRACKER_TYPE));
    m_ipAddressGroup.SetWindowText(AfxLoadString(IDS_IP_ADDRESS));
    m_findTrackersButton.SetWindowText(AfxLoadString(IDS_FIND_TRACKERS) + "...");
    m_okButton.SetWindowText(AfxLoadString(IDS_OK));
    m_cancelButton.SetWindowText(AfxLoadString(IDS_CANCEL));

    for (const char* name : kUserNames)
    {
        m_userNameList.AddString(name);
    }

    // Only admin and factory sign in with a password.
    m_passwordEdit.EnableWindow(FALSE);
    m_passwordEdit.SetLimitText(kMaxPasswordLength);

    if (theSettings.Load())
    {
        std::int32_t userIndex = 0;
        std::int32_t trackerType = 0;
        std::string ipAddress;
        theSettings.GetConnection(userIndex, trackerType, ipAddress);

        // An index the list does not have selects nothing; OK then reports
        // no user rather than guessing one.
        m_userNameList.SetCurSel(userIndex);
        if (userIndex == 1 || userIndex == 2)
        {
            m_passwordEdit.EnableWindow(TRUE);
        }
        m_trackerType = trackerType;
        CheckRadioButton(IDC_TYPE_CORVO, IDC_TYPE_KELM,
                         trackerType != 0 ? IDC_TYPE_KELM : IDC_TYPE_CORVO);
        // The stored address is what the operator typed last time, so it
        // goes through the same checks as typing.
        ShowAddress(ipAddress);
    }
    else
    {
        m_userNameList.SetCurSel(0);
        m_trackerType = 1;
        CheckRadioButton(IDC_TYPE_CORVO, IDC_TYPE_KELM, IDC_TYPE_KELM);
        ShowAddress(CSerialize::kDefaultIpAddress);
    }
    // The operator starts at the user name list.
    return TRUE;
}

void CTrackerConnectDlg::ShowAddress(const std::string& address)
{
    const std::vector<std::string> parts = SplitAtDots(address);
    for (int i = 0; i < kOctetCount; ++i)
    {
        SetDlgItemText(kOctetIds[i], i < static_cast<int>(parts.size()) ? parts[i] : "");
    }
}

void CTrackerConnectDlg::OnSelchangeUserName()
{
    // The edit keeps its text while disabled: switching back to admin must
    // not make the operator type the password again.
    m_passwordEdit.EnableWindow(m_userNameList.GetCurSel() != 0);
}

void CTrackerConnectDlg::OnChangeIP1()
{
    CheckOctet(0);
}

void CTrackerConnectDlg::OnChangeIP2()
{
    CheckOctet(1);
}

void CTrackerConnectDlg::OnChangeIP3()
{
    CheckOctet(2);
}

void CTrackerConnectDlg::OnChangeIP4()
{
    CheckOctet(3);
}

void CTrackerConnectDlg::CheckOctet(int field)
{
    auto* edit = static_cast<CEdit*>(GetDlgItem(kOctetIds[field]));
    if (edit == nullptr)
    {
        return;
    }
    const std::string text = edit->GetWindowText();
    const int value = OctetValue(text);
    const int length = static_cast<int>(text.size());

    // Taken as unsigned, a negative value is out of range as well.
    if (static_cast<unsigned>(value) > 255u)
    {
        AfxMessageBox(IDS_INVALID_IP, MB_OK);
        if (value < 0)
        {
            // A minus sign cannot start a good octet: clear it away.
            edit->SetWindowText("");
        }
        else
        {
            // Selected, so the operator's next key replaces the number.
            edit->SetSel(0, length);
        }
        return;
    }
    // Three characters fill an octet: the operator types the address on
    // without pressing Tab.
    if (length == 3)
    {
        if (field + 1 < kOctetCount)
        {
            auto* next = static_cast<CEdit*>(GetDlgItem(kOctetIds[field + 1]));
            if (next != nullptr)
            {
                next->SetFocus();
                next->SetSel(0, 3);
            }
        }
        else
        {
            m_okButton.SetFocus();
        }
    }
}

void CTrackerConnectDlg::OnFindTrackers()
{
    // Waits until the finder exits, for as long as the operator keeps it
    // open: on a thread of its own, so that the window keeps answering. Its
    // exit status says nothing about the trackers, and the operator types
    // the address it shows.
    int result = -1;
    CCallThread finder;
    finder.Call(
        [&result]
        {
            result =
                Platform::SpawnAndWait(kFinderProgram, {kFinderProgram, "-jar", "netfinder.jar"});
        });
    if (result == -1)
    {
        AfxMessageBox(IDS_FIND_TRACKERS_FAILED, MB_OK);
    }
}

BOOL CTrackerConnectDlg::OnToolTipNotify(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pTTT = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
    UINT_PTR nID = pNMHDR->idFrom;
    if ((pTTT->uFlags & TTF_IDISHWND) != 0)
    {
        nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
    }
    if (nID == 0)
    {
        return FALSE;
    }
    // A control's tip is the string of the control's own id; controls
    // without one get an empty text, which shows no tip.
    m_toolTipText = AfxLoadString(static_cast<UINT>(nID));
    pTTT->lpszText = m_toolTipText.data();
    *pResult = 0;
    return TRUE;
}

void CTrackerConnectDlg::OnOK()
{
    m_userIndex = m_userNameList.GetCurSel();
    if (m_userIndex >= 0 && m_userIndex < kUserNameCount)
    {
        m_userName = kUserNames[m_userIndex];
    }
    if (IsChecked(m_corvoRadio))
    {
        m_trackerType = 0;
    }
    else if (IsChecked(m_kelmRadio))
    {
        m_trackerType = 1;
    }
    // The texts as typed, leading zeros and all: this is what the settings
    // file keeps, while the connection uses the validated numbers.
    m_ipAddress.clear();
    for (int i = 0; i < kOctetCount; ++i)
    {
        std::string text;
        GetDlgItemText(kOctetIds[i], text);
        m_ipAddress += (i == 0 ? "" : ".") + text;
    }

    CDialog::OnOK();
}
