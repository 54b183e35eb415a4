// SPDX-License-Identifier: Apache-2.0
#include "app/CTovAppsDlg.h"

#include "app/ApplicationRunningListener.h"
#include "app/CAboutDlg.h"
#include "app/TrackerBusyListener.h"
#include "framework/core/AsciiText.h"
#include "otherapps/COtherAppDlg.h"
#include "settings/CTrackerConnectDlg.h"
#include "tracker/Tracker.h"
#include "units/UnitsArgument.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
// Entry i belongs to button 5000 + i.
const char* const kAppTable[CTovAppsDlg::kAppCount] = {
    "ReadinessTest", "StatusReport",  "AccuracyAudit",  "BeamLoopTest",
    "DeviceConsole", "SurveyConsole", "PartsInspector", "EventMonitor",
    "CalibSuite",    "RomInstaller",  "RangeCalib"};

constexpr UINT kFirstAppButton = IDC_READINESS_TEST;
constexpr UINT kLastAppButton = IDC_RANGE_CALIB;

// The library takes its texts as writable buffers of this size.
constexpr std::size_t kConnectBufferSize = 80;

// Tracker application names are compared without regard to letter case,
// ASCII letters only, whatever locale the process runs in.
bool SameAppName(const char* a, const char* b)
{
    return AsciiCompareNoCase(a, b) == 0;
}

// The library's exceptions arrive by pointer and are ours to delete; nothing
// in them is read.
template <typename E> void Discard(E* exception)
{
    std::unique_ptr<E> owned(exception);
}

// Copies text into a library buffer, cut to fit with its terminating NUL.
void CopyToBuffer(char (&buffer)[kConnectBufferSize], const std::string& text)
{
    const std::size_t length = std::min(text.size(), kConnectBufferSize - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// The password's buffer for the library, wiped whichever way the attempt
// ends, so that no copy is left in memory once it has been handed on.
struct PasswordBuffer
{
    char text[kConnectBufferSize];
    ~PasswordBuffer()
    {
        volatile char* p = text;
        for (std::size_t i = 0; i < kConnectBufferSize; ++i)
        {
            p[i] = '\0';
        }
    }
};
} // namespace

BEGIN_MESSAGE_MAP(CTovAppsDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_CLOSE()
ON_BN_CLICKED(IDC_CONNECT, OnConnect)
ON_BN_CLICKED(IDC_OTHER_APPLICATIONS, OnOtherApplications)
ON_BN_CLICKED(IDC_SELECT_UNITS, OnSelectUnits)
ON_COMMAND_RANGE(kFirstAppButton, kLastAppButton, OnLaunchApplication)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipNeedText)
ON_MESSAGE(WM_APP_STATE, OnAppStateMessage)
ON_MESSAGE(WM_OTHER_APP_STATE, OnOtherAppStateMessage)
END_MESSAGE_MAP()

CTovAppsDlg::CTovAppsDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_appButtons{&m_readinessTestButton,  &m_statusReportButton,  &m_accuracyAuditButton,
                   &m_beamLoopTestButton,   &m_deviceConsoleButton, &m_surveyConsoleButton,
                   &m_partsInspectorButton, &m_eventMonitorButton,  &m_calibSuiteButton,
                   &m_romInstallerButton,   &m_rangeCalibButton},
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
    // Every way of closing the window releases the tracker first; a window
    // torn down without closing must still not leave the library calling
    // listeners that are about to go.
    if (m_pTracker != nullptr)
    {
        m_trackerThread.CallAndBlock(
            [this]
            {
                m_pTracker->removeApplicationListener(m_pAppListener);
                m_pTracker->removeBusyListener(m_pBusyListener);
                delete m_pTracker;
            });
        m_pTracker = nullptr;
    }
    ClearApplicationLists();
    delete m_pBusyListener;
    delete m_pAppListener;
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
    {
        // A message posted to an earlier run of this window was never handled.
        std::lock_guard<std::mutex> lock(m_postMutex);
        m_bStatePosted = false;
    }
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
    if (tip.size() < sizeof(pTTT->szText))
    {
        std::strncpy(pTTT->szText, tip.c_str(), sizeof(pTTT->szText) - 1);
        pTTT->szText[sizeof(pTTT->szText) - 1] = '\0';
    }
    else
    {
        // A language whose tip does not fit the buffer: the tip is handed
        // over whole, from a text that outlives the request.
        m_toolTipText = tip;
        pTTT->lpszText = m_toolTipText.data();
    }
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

void CTovAppsDlg::AddTrackerListeners()
{
    m_trackerThread.Call([this] { m_pTracker->addApplicationListener(m_pAppListener); });
    m_trackerThread.Call([this] { m_pTracker->addBusyListener(m_pBusyListener); });
}

void CTovAppsDlg::RemoveTrackerListeners()
{
    m_trackerThread.Call([this] { m_pTracker->removeApplicationListener(m_pAppListener); });
    m_trackerThread.Call([this] { m_pTracker->removeBusyListener(m_pBusyListener); });
}

void CTovAppsDlg::OnConnect()
{
    CWaitCursor wait;
    if (m_bConnected)
    {
        if (!CloseAllAndDisconnect())
        {
            return;
        }
        m_connectButton.SetWindowText(AfxLoadString(IDS_CONNECT) + "...");
        ShowAllAppButtons();
        EnableAppButtons(false);
        m_rangeCalibButton.ShowWindow(SW_HIDE);
        m_otherAppsButton.ShowWindow(SW_HIDE);
        return;
    }

    CTrackerConnectDlg connectDlg;
    if (connectDlg.DoModal() != IDOK)
    {
        return;
    }
    wait.Restore();
    ConnectWith(connectDlg);
}

void CTovAppsDlg::ConnectWith(CTrackerConnectDlg& connectDlg)
{
    // An object left by a failed attempt goes before the next one comes.
    m_trackerThread.Call([this] { delete m_pTracker; });
    m_pTracker = nullptr;
    const char* trackerType = connectDlg.m_trackerType == 0 ? "TrackerCorvo" : "TrackerLintel";
    try
    {
        m_trackerThread.Call([this, trackerType] { m_pTracker = new Tracker(trackerType); });
    }
    catch (TrackerException* e)
    {
        Discard(e);
        AfxMessageBox(IDS_COULD_NOT_CONNECT);
        return;
    }

    char address[kConnectBufferSize];
    char user[kConnectBufferSize];
    PasswordBuffer password;
    std::snprintf(address, sizeof address, "%d.%d.%d.%d", static_cast<int>(connectDlg.m_ip1),
                  static_cast<int>(connectDlg.m_ip2), static_cast<int>(connectDlg.m_ip3),
                  static_cast<int>(connectDlg.m_ip4));
    CopyToBuffer(user, connectDlg.GetSelectedUserName());
    CopyToBuffer(password.text, connectDlg.m_password);

    try
    {
        m_trackerThread.Call([this] { m_pTracker->setBlocking(true); });
        m_trackerThread.Call([&] { m_pTracker->connect(address, user, password.text); });
        m_bConnected = true;
        AddTrackerListeners();
        // The language's caption is long enough for any octet.
        const std::string format = AfxLoadString(IDS_DISCONNECT);
        std::vector<char> caption(format.size() + 16);
        std::snprintf(caption.data(), caption.size(), format.c_str(),
                      static_cast<int>(connectDlg.m_ip4));
        m_connectButton.SetWindowText(caption.data());
        RefreshApplications();
    }
    catch (UserPromptException* e)
    {
        Discard(e);
        AfxMessageBox(IDS_INCOMPATIBLE_FIRMWARE);
        return;
    }
    catch (TrackerException* e)
    {
        Discard(e);
        AfxMessageBox(IDS_COULD_NOT_CONNECT);
        return;
    }

    try
    {
        m_trackerThread.Call([this] { m_pTracker->startAsync(); });
    }
    catch (AsyncAlreadyStartedException* e)
    {
        // Messages that already run are as good as messages just started.
        Discard(e);
    }
    catch (TrackerException* e)
    {
        Discard(e);
        AfxMessageBox(IDS_ASYNC_START_FAILED);
        return;
    }
    // Stored only now, so that the file always holds choices that worked.
    connectDlg.SaveConnectionSettings();
}

bool CTovAppsDlg::CloseAllAndDisconnect()
{
    if (m_pTracker == nullptr)
    {
        return true;
    }
    // A failed attempt left an object that never connected: nothing to stop.
    if (m_bConnected)
    {
        if (!StopStartedApplications())
        {
            return false;
        }
        try
        {
            m_trackerThread.Call([this] { m_pTracker->stopAsync(); });
        }
        catch (TrackerException* e)
        {
            Discard(e);
            AfxMessageBox(IDS_ASYNC_STOP_FAILED);
        }
        try
        {
            m_trackerThread.Call([this] { m_pTracker->disconnect(); });
            m_bConnected = false;
        }
        catch (TrackerException* e)
        {
            Discard(e);
            AfxMessageBox(IDS_DISCONNECT_FAILED);
        }
    }
    m_trackerThread.Call([this] { delete m_pTracker; });
    ClearApplicationLists();
    ResetTrackerState();
    m_rangeCalibButton.ShowWindow(SW_HIDE);
    m_rangeCalibButton.EnableWindow(FALSE);
    return true;
}

bool CTovAppsDlg::StopStartedApplications()
{
    std::unique_ptr<TrkDrvObjectArray> started;
    try
    {
        m_trackerThread.Call([&] { started.reset(m_pTracker->startedApplications()); });
    }
    catch (TrackerException* e)
    {
        // A tracker that cannot say what runs must still let the operator
        // disconnect and close: take it as nothing running.
        Discard(e);
    }
    const int count = started != nullptr ? started->getCount() : 0;
    if (count != 0 && MessageBox(AfxLoadString(IDS_STILL_RUNNING), AfxLoadString(IDS_WARNING),
                                 MB_OKCANCEL) != IDOK)
    {
        return false;
    }

    // Before any stop, so that the stops send the window no events.
    RemoveTrackerListeners();
    for (int i = 0; i < count; ++i)
    {
        char* name = nullptr;
        try
        {
            name = static_cast<char*>(started->getElement(i));
            m_trackerThread.Call([this, name] { m_pTracker->stopApplicationFrame(name); });
        }
        catch (TrackerException* e)
        {
            Discard(e);
            AfxMessageBox(AfxLoadString(IDS_CLOSE_APP_FAILED) + (name != nullptr ? name : ""));
        }
    }
    return true;
}

void CTovAppsDlg::OnLaunchApplication(UINT id)
{
    CWaitCursor wait;
    if (m_pTracker == nullptr)
    {
        return;
    }
    const auto i = static_cast<int>(id - kFirstAppButton);
    try
    {
        m_trackerThread.Call(
            [this, i]
            { m_pTracker->startApplicationFrame(m_appNames[i], m_appUnitsArgument.data()); });
        // The running flag waits for the application's own event.
        m_appButtons[i]->EnableWindow(FALSE);
    }
    catch (TrackerException* e)
    {
        Discard(e);
        AfxMessageBox(IDS_LAUNCH_FAILED);
    }
}

void CTovAppsDlg::RefreshApplications()
{
    if (m_pTracker == nullptr)
    {
        return;
    }
    ClearApplicationLists();
    FetchAvailableApplications();
    if (m_availableApps.empty())
    {
        // Nothing is known of what the tracker offers: keep every button
        // where it is and let the busy and running events enable them.
        EnableAppButtons(false);
        return;
    }
    for (int j = 0; j < kAppCount; ++j)
    {
        const bool offered =
            std::any_of(m_availableApps.begin(), m_availableApps.end(),
                        [&](const char* name) { return SameAppName(name, m_appNames[j]); });
        if (offered)
        {
            m_appButtons[j]->EnableWindow(TRUE);
        }
        else
        {
            m_appButtons[j]->ShowWindow(SW_HIDE);
        }
    }
    SortAvailableApplications();
    if (!m_otherApps.empty())
    {
        m_otherAppsButton.EnableWindow(TRUE);
        m_otherAppsButton.ShowWindow(SW_SHOW);
    }
}

void CTovAppsDlg::FetchAvailableApplications()
{
    std::unique_ptr<TrkDrvObjectArray> available;
    m_trackerThread.Call([&] { available.reset(m_pTracker->availableApplications()); });
    if (available == nullptr)
    {
        return;
    }
    const int count = available->getCount();
    for (int k = 0; k < count; ++k)
    {
        auto* element = static_cast<DriverStringPointer*>(available->getElement(k));
        const char* name = element->getStringData();
        const std::size_t length = std::strlen(name);
        char* copy = new char[length + 1];
        std::memcpy(copy, name, length + 1);
        m_availableApps.push_back(copy);
    }
}

void CTovAppsDlg::SortAvailableApplications()
{
    std::list<char*> others;
    for (char* name : m_availableApps)
    {
        int match = -1;
        for (int i = 0; i < kAppCount && match < 0; ++i)
        {
            if (SameAppName(name, m_appNames[i]))
            {
                match = i;
            }
        }
        if (match >= 0)
        {
            m_appButtons[match]->EnableWindow(TRUE);
        }
        else
        {
            others.push_back(name);
        }
    }
    std::lock_guard<std::mutex> lock(m_otherAppsMutex);
    m_otherApps.swap(others);
}

void CTovAppsDlg::ClearApplicationLists()
{
    // The other applications borrow the strings freed below, and a library
    // thread may be searching them: they go first, under the lock.
    {
        std::lock_guard<std::mutex> lock(m_otherAppsMutex);
        m_otherApps.clear();
    }
    for (char* name : m_availableApps)
    {
        delete[] name;
    }
    m_availableApps.clear();
}

void CTovAppsDlg::OnOtherApplications()
{
    COtherAppDlg otherAppDlg;
    if (otherAppDlg.DoModalWithApps(m_otherApps) != IDOK)
    {
        return;
    }
    std::string name = otherAppDlg.GetSelectedApp();
    if (name.empty())
    {
        return;
    }
    CWaitCursor wait;
    if (m_pTracker == nullptr)
    {
        return;
    }
    char noArguments[1] = "";
    try
    {
        m_trackerThread.Call([&] { m_pTracker->startApplicationFrame(name.data(), noArguments); });
    }
    catch (TrackerException* e)
    {
        Discard(e);
        AfxMessageBox(IDS_LAUNCH_FAILED);
    }
}

void CTovAppsDlg::OnSelectUnits()
{
    if (m_selectUnitsDlg.DoModal() != IDOK)
    {
        return;
    }
    m_appUnitsArgument = m_selectUnitsDlg.GetUnitsArgument();
    if (m_pTracker == nullptr)
    {
        return;
    }
    for (int i = 0; i < kAppCount; ++i)
    {
        if (!m_appRunning[i])
        {
            continue;
        }
        try
        {
            m_trackerThread.Call(
                [this, i]
                { m_pTracker->modifyApplication(m_appNames[i], m_appUnitsArgument.data()); });
        }
        catch (TrackerException* e)
        {
            Discard(e);
            AfxMessageBox(IDS_MODIFY_FAILED);
        }
    }
}

void CTovAppsDlg::HandleBusyEvent(BusyEvent* event)
{
    m_bBusy = event->getCommandState() || event->getMeasureState();
    PostStateMessage();
}

void CTovAppsDlg::PostStateMessage()
{
    std::lock_guard<std::mutex> lock(m_postMutex);
    if (!m_bStatePosted)
    {
        // A window that is gone takes no message; the next event tries again.
        m_bStatePosted = PostMessage(WM_APP_STATE, static_cast<WPARAM>(-1), 0) != FALSE;
    }
}

bool CTovAppsDlg::StateMessagePending()
{
    std::lock_guard<std::mutex> lock(m_postMutex);
    return m_bStatePosted;
}

void CTovAppsDlg::HandleApplicationEvent(ApplicationEvent* event)
{
    char* name = event->getAppName();
    const bool running = event->isAppRunning();

    bool handled = false;
    for (int i = 0; i < kAppCount && !handled; ++i)
    {
        if (SameAppName(name, m_appNames[i]))
        {
            // Written before the post, so the window thread sees it.
            m_appRunning[i] = running;
            PostStateMessage();
            handled = true;
        }
    }
    if (!handled)
    {
        bool isOther = false;
        {
            std::lock_guard<std::mutex> lock(m_otherAppsMutex);
            for (const char* other : m_otherApps)
            {
                if (SameAppName(name, other))
                {
                    isOther = true;
                    break;
                }
            }
        }
        // Posted outside the list's lock: the window thread takes it to refill.
        if (isOther)
        {
            std::lock_guard<std::mutex> lock(m_postMutex);
            PostMessage(WM_OTHER_APP_STATE, 0, running ? 0 : 1);
            // A later event's rule must come after this message, not before.
            m_bStatePosted = false;
        }
    }
    trackerDeleteString(name);
}

LRESULT CTovAppsDlg::OnAppStateMessage(WPARAM wParam, LPARAM lParam)
{
    {
        // From here on an event posts anew: the flags below may be read
        // before it writes its own.
        std::lock_guard<std::mutex> lock(m_postMutex);
        m_bStatePosted = false;
    }
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
