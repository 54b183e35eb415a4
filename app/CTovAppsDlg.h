// SPDX-License-Identifier: Apache-2.0
// The main window: a column of buttons that connect to a tracker, start the
// tracker's applications, change their units and close everything again.
#ifndef KELM_APP_CTOVAPPSDLG_H
#define KELM_APP_CTOVAPPSDLG_H

#include "app/ApplicationListenerInterface.h"
#include "app/BusyListenerInterface.h"
#include "framework/dialogs/AfxWin.h"
#include "framework/dialogs/CCallThread.h"
#include "res/resource.h"
#include "units/CSelectUnitsDialog.h"

#include <atomic>
#include <list>
#include <mutex>
#include <string>

class CTrackerConnectDlg;
class Tracker;
class TrackerBusyListener;
class ApplicationRunningListener;

// Posted from the tracker library's threads to the main window.
#define WM_APP_STATE (WM_USER + 0x33)
#define WM_OTHER_APP_STATE (WM_USER + 0x34)

class CTovAppsDlg : public CDialog,
                    public BusyListenerInterface,
                    public ApplicationListenerInterface
{
public:
    enum
    {
        IDD = IDD_TOVAPPS_DIALOG
    };
    static constexpr int kAppCount = 11;
    static constexpr int kAppNameSize = 26;

    explicit CTovAppsDlg(CWnd* pParent = nullptr);
    ~CTovAppsDlg() override;

    void HandleBusyEvent(BusyEvent* event) override;
    void HandleApplicationEvent(ApplicationEvent* event) override;

    // The units argument every application start carries.
    const std::string& GetAppUnitsArgument() const { return m_appUnitsArgument; }

    // True while a WM_APP_STATE is on its way and its handler has not begun:
    // the window has not yet applied the enabling rule to the latest events.
    bool StateMessagePending();

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClose();
    void OnConnect();
    void OnLaunchApplication(UINT id);
    void OnOtherApplications();
    void OnSelectUnits();
    BOOL OnToolTipNeedText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnAppStateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnOtherAppStateMessage(WPARAM wParam, LPARAM lParam);

    void EnableAppButtons(bool enable);
    void ShowAllAppButtons();
    void UpdateAppButtons();

    bool CloseAllAndDisconnect();
    void ResetTrackerState();
    void CreateListeners();
    void AddTrackerListeners();
    void RemoveTrackerListeners();

    void RefreshApplications();
    void FetchAvailableApplications();
    void SortAvailableApplications();
    void ClearApplicationLists();

private:
    // Steps of the connect and disconnect sequences.
    void ConnectWith(CTrackerConnectDlg& connectDlg);
    // Asks before stopping, then stops every started application. False when
    // the operator declined.
    bool StopStartedApplications();
    // Posts WM_APP_STATE unless one is already on its way (listener threads).
    void PostStateMessage();

    CButton m_selectUnitsButton;
    CButton m_otherAppsButton;
    CButton m_romInstallerButton;
    CButton m_beamLoopTestButton;
    CButton m_readinessTestButton;
    CButton m_rangeCalibButton;
    CButton m_accuracyAuditButton;
    CButton m_connectButton;
    CButton m_calibSuiteButton;
    CButton m_statusReportButton;
    CButton m_partsInspectorButton;
    CButton m_eventMonitorButton;
    CButton m_deviceConsoleButton;
    CButton m_surveyConsoleButton;

    char m_appNames[kAppCount][kAppNameSize];
    // Written on the tracker library's threads, read on the window thread.
    std::atomic<bool> m_appRunning[kAppCount];
    Tracker* m_pTracker = nullptr;
    // Makes every call to the tracker, from its construction to its deletion,
    // while the window waits and keeps answering.
    CCallThread m_trackerThread;
    bool m_bConnected = false;
    std::atomic<bool> m_bBusy{false};
    // An instrument sends events faster than buttons need redrawing. An event
    // that arrives while a WM_APP_STATE is still on its way posts nothing: that
    // message's handler applies the enabling rule to the flags as they are when
    // it runs, this event's included. WM_OTHER_APP_STATE is posted under the
    // same mutex and ends the wait, so a state message never overtakes it.
    bool m_bStatePosted = false;
    std::mutex m_postMutex;
    TrackerBusyListener* m_pBusyListener = nullptr;
    ApplicationRunningListener* m_pAppListener = nullptr;
    CButton* m_appButtons[kAppCount];

    // The names the tracker offers (owned), and those among them that have no
    // button of their own (borrowed from m_availableApps). The library's
    // threads search m_otherApps while the window thread refills it, so both
    // happen under m_otherAppsMutex; only the window thread writes it.
    std::list<char*> m_availableApps;
    std::list<char*> m_otherApps;
    std::mutex m_otherAppsMutex;

    CSelectUnitsDialog m_selectUnitsDlg;
    std::string m_appUnitsArgument;
    HICON m_hIcon;
    // The last tooltip too long for the request's own buffer.
    std::string m_toolTipText;
};

#endif
