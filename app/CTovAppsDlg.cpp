#include "app/CTovAppsDlg.h"

#include "app/ApplicationRunningListener.h"
#include "app/CAboutDlg.h"
#include "app/TrackerBusyListener.h"
#include "tracker/Tracker.h"
#include "units/UnitsArgument.h"

#include <cstring>
#include <strings.h>

namespace
{
// Entry i belongs to button 5000 + i.
const char* const kAppTable[CTovAppsDlg::kAppCount] = {
    "ReadinessTest", "StatusReport",  "AccuracyAudit",  "BeamLoopTest",
    "DeviceConsole", "SurveyConsole", "PartsInspector", "EventMonitor",
    "CalibSuite",    "RomInstaller",  "RangeCalib"};

constexpr UINT kFirstAppButton = IDC_READINESS_TEST;
constexpr UINT kLastAppButton = IDC_RANGE_CALIB;

// Tracker application names are compared without regard to letter case.
bool SameAppName(const char* a, const char* b)
{
    return ::strcasecmp(a, b) == 0;
}
} // namespace

BEGIN_MESSAGE_MAP(CTovAppsDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_CLOSE()
ON_BN_CLICKED(IDC_SELECT_UNITS, OnSelectUnits)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipNeedText)
ON_MESSAGE(WM_APP_STATE, OnAppStateMessage)
ON_MESSAGE(WM_OTHER_APP_STATE, OnOtherAppStateMessage)
END_MESSAGE_MAP()

CTovAppsDlg::CTovAppsDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_appButtons{&m_readinessTestButton,  &m_statusReportButton,
                                          &m_accuracyAuditButton,  &m_beamLoopTestButton,
                                          &m_deviceConsoleButton,  &m_surveyConsoleButton,
                                          &m_partsInspectorButton, &m_eventMonitorButton,
                                          &m_calibSuiteButton,     &m_romInstallerButton,
                                          &m_rangeCalibButton},
      m_appUnitsArgument(UnitsArgument::kBuiltInDefault)
{
    for (int i = 0; i < kAppCount; ++i)
    {
        std::strncpy(m_appNames[i], kAppTable[i], kAppNameSize - 1);
        m_appNames[i][kAppNameSize - 1] = '\0';
        m_appRunning[i] = false;
    }
    m_hIcon = AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr;
    CreateListeners();
    ResetTrackerState();
}

CTovAppsDlg::~CTovAppsDlg()
{
    delete m_pBusyListener;
    delete m_pAppListener;
    for (char* name : m_availableApps)
    {
        delete[] name;
    }
}

void CTovAppsDlg::CreateListeners()
{
    m_pBusyListener = new TrackerBusyListener(this);
    m_pAppListener = new ApplicationRunningListener(this);
}

void CTovAppsDlg::ResetTrackerState()
{
    for (std::atomic<bool>& running : m_appRunning)
    {
        running = false;
    }
    m_pTracker = nullptr;
    m_bConnected = false;
    m_bBusy = false;
}

void CTovAppsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SELECT_UNITS, m_selectUnitsButton);
    DDX_Control(pDX, IDC_OTHER_APPLICATIONS, m_otherAppsButton);
    DDX_Control(pDX, IDC_ROM_INSTALLER, m_romInstallerButton);
    DDX_Control(pDX, IDC_BEAM_LOOP_TEST, m_beamLoopTestButton);
    DDX_Control(pDX, IDC_READINESS_TEST, m_readinessTestButton);
    DDX_Control(pDX, IDC_RANGE_CALIB, m_rangeCalibButton);
    DDX_Control(pDX, IDC_ACCURACY_AUDIT, m_accuracyAuditButton);
    DDX_Control(pDX, IDC_CONNECT, m_connectButton);
    DDX_Control(pDX, IDC_CALIB_SUITE, m_calibSuiteButton);
    DDX_Control(pDX, IDC_STATUS_REPORT, m_statusReportButton);
    DDX_Control(pDX, IDC_PARTS_INSPECTOR, m_partsInspectorButton);
    DDX_Control(pDX, IDC_EVENT_MONITOR, m_eventMonitorButton);
    DDX_Control(pDX, IDC_DEVICE_CONSOLE, m_deviceConsoleButton);
    DDX_Control(pDX, IDC_SURVEY_CONSOLE, m_surveyConsoleButton);
}

BOOL CTovAppsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    EnableToolTips(TRUE);
    SetWindowText(AfxLoadString(IDS_APP_TITLE));
    m_selectUnitsButton.SetWindowText(AfxLoadString(IDS_SELECT_UNITS) + "...");
    EnableAppButtons(false);

    if (CMenu* pSysMenu = GetSystemMenu(FALSE))
    {
        std::string aboutMenu;
        AfxLoadString(IDS_ABOUTBOX, aboutMenu);
        if (!aboutMenu.empty())
        {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_selectUnitsDlg.RebuildUnitsArgument();
    m_appUnitsArgument = m_selectUnitsDlg.GetUnitsArgument();
    return TRUE;
}

void CTovAppsDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    }
    else
    {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CTovAppsDlg::OnPaint()
{
    if (IsIconic())
    {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        CRect rect;
        GetClientRect(&rect);
        int x = (rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    }
    else
    {
        CDialog::OnPaint();
    }
}

HCURSOR CTovAppsDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

void CTovAppsDlg::OnClose()
{
    if (CloseAllAndDisconnect())
    {
        CDialog::OnClose();
    }
}

void CTovAppsDlg::OnCancel()
{
    if (CloseAllAndDisconnect())
    {
        EndDialog(IDCANCEL);
    }
}

BOOL CTovAppsDlg::OnToolTipNeedText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pTTT = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
    if ((pTTT->uFlags & TTF_IDISHWND) == 0)
    {
        return FALSE;
    }
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)));
    // The framework's own command range has no tips of ours.
    if (nID >= 0xE000 && nID <= 0xEFFF)
    {
        return FALSE;
    }
    std::string tip;
    if (!AfxLoadString(nID, tip))
    {
        return FALSE;
    }
    std::strncpy(pTTT->szText, tip.c_str(), sizeof(pTTT->szText) - 1);
    pTTT->szText[sizeof(pTTT->szText) - 1] = '\0';
    *pResult = 0;
    return TRUE;
}

void CTovAppsDlg::EnableAppButtons(bool enable)
{
    for (CButton* button : m_appButtons)
    {
        button->EnableWindow(enable);
    }
    m_otherAppsButton.EnableWindow(enable);
}

void CTovAppsDlg::ShowAllAppButtons()
{
    for (CButton* button : m_appButtons)
    {
        button->ShowWindow(SW_SHOW);
    }
}

void CTovAppsDlg::UpdateAppButtons()
{
    const bool busy = m_bBusy;
    for (int i = 0; i < kAppCount; ++i)
    {
        m_appButtons[i]->EnableWindow(!m_appRunning[i] && !busy);
    }
    m_otherAppsButton.EnableWindow(!busy);
}

bool CTovAppsDlg::CloseAllAndDisconnect()
{
    return m_pTracker == nullptr;
}

void CTovAppsDlg::OnSelectUnits()
{
    if (m_selectUnitsDlg.DoModal() != IDOK)
    {
        return;
    }
    m_appUnitsArgument = m_selectUnitsDlg.GetUnitsArgument();
}

void CTovAppsDlg::HandleBusyEvent(BusyEvent* event)
{
    m_bBusy = event->getCommandState() || event->getMeasureState();
    PostMessage(WM_APP_STATE, static_cast<WPARAM>(-1), 0);
}

void CTovAppsDlg::HandleApplicationEvent(ApplicationEvent* event)
{
    char* name = event->getAppName();
    const bool running = event->isAppRunning();
    const LPARAM enable = running ? 0 : 1;

    bool handled = false;
    for (int i = 0; i < kAppCount && !handled; ++i)
    {
        if (SameAppName(name, m_appNames[i]))
        {
            // Written before the post, so the window thread sees it.
            m_appRunning[i] = running;
            PostMessage(WM_APP_STATE, static_cast<WPARAM>(i), enable);
            handled = true;
        }
    }
    if (!handled)
    {
        std::lock_guard<std::mutex> lock(m_otherAppsMutex);
        for (const char* other : m_otherApps)
        {
            if (SameAppName(name, other))
            {
                PostMessage(WM_OTHER_APP_STATE, 0, enable);
                break;
            }
        }
    }
    trackerDeleteString(name);
}

LRESULT CTovAppsDlg::OnAppStateMessage(WPARAM wParam, LPARAM lParam)
{
    const auto index = static_cast<int>(static_cast<LONG>(wParam));
    if (index >= 0 && index < kAppCount)
    {
        m_appButtons[index]->EnableWindow(lParam != 0);
    }
    UpdateAppButtons();
    return 1;
}

LRESULT CTovAppsDlg::OnOtherAppStateMessage(WPARAM, LPARAM lParam)
{
    m_otherAppsButton.EnableWindow(lParam != 0);
    return 1;
}
