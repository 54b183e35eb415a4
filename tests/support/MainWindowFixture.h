// SPDX-License-Identifier: Apache-2.0
// The real main window, headless, against the simulated tracker under the
// test's control: automatic events off, the trace kept out of the output,
// no settings file at the start.
#ifndef KELM_TESTS_SUPPORT_MAINWINDOWFIXTURE_H
#define KELM_TESTS_SUPPORT_MAINWINDOWFIXTURE_H

#include "app/CTovAppsDlg.h"
#include "framework/testing/TestSeams.h"
#include "settings/CSerialize.h"
#include "tests/support/Bytes.h"
#include "tests/support/DialogTest.h"
#include "tests/support/TempDir.h"
#include "tracker/sim/SimControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// What the operator chooses in the Connect to Tracker dialog; empty fields
// keep what the dialog shows.
struct ConnectChoice
{
    ConnectChoice(std::string ip4_ = "", int userIndex_ = -1, std::string password_ = "",
                  bool corvo_ = false)
        : ip4(std::move(ip4_)), userIndex(userIndex_), password(std::move(password_)), corvo(corvo_)
    {
    }
    std::string ip4;      // typed into the fourth octet
    int userIndex;        // selected in the user name list
    std::string password; // typed when not empty
    bool corvo;           // checks the Corvo type
};

class MainWindowTest : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        TrackerSim::Reset();
        TrackerSim::SetAutomaticEvents(false);
        TrackerSim::SetTraceSink([](const std::string&) {});
    }
    void TearDown() override
    {
        DialogTest::TearDown();
        TrackerSim::Reset();
    }

    // Runs the main window with driver, which must close it.
    int Run(const std::function<void(CDialog&)>& driver)
    {
        AfxQueueModalDriver(IDD_TOVAPPS_DIALOG, driver);
        return window.DoModal();
    }

    // Presses Connect and answers the Connect to Tracker dialog with choice.
    static void Connect(CDialog& main, const ConnectChoice& choice = {})
    {
        AfxQueueModalDriver(IDD_TRACKER_CONNECT,
                            [choice](CDialog& d)
                            {
                                if (choice.userIndex >= 0)
                                {
                                    AfxTestSelect(d, IDC_USER_NAME, choice.userIndex);
                                }
                                if (!choice.password.empty())
                                {
                                    AfxTestType(d, IDC_PASSWORD, choice.password);
                                }
                                if (choice.corvo)
                                {
                                    AfxTestClick(d, IDC_TYPE_CORVO);
                                }
                                if (!choice.ip4.empty())
                                {
                                    AfxTestType(d, IDC_IP4, choice.ip4);
                                }
                                AfxTestClick(d, IDOK);
                            });
        AfxTestClick(main, IDC_CONNECT);
    }

    // Delivers what the simulated tracker has queued, then the window's
    // posted messages.
    static void Settle()
    {
        TrackerSim::WaitForEvents();
        AfxPumpEvents();
    }

    static std::vector<std::string> MessageTexts()
    {
        std::vector<std::string> texts;
        for (const AfxMessageBoxInfo& box : AfxMessageBoxLog())
        {
            texts.push_back(box.text);
        }
        return texts;
    }

    // The calls the tracker received, without the "[tracker] " prefix.
    static std::vector<std::string> Calls()
    {
        std::vector<std::string> calls = TrackerSim::Calls();
        for (std::string& call : calls)
        {
            call.erase(0, std::string("[tracker] ").size());
        }
        return calls;
    }

    // The calls since the last look, which they are then forgotten by.
    static std::vector<std::string> TakeCalls()
    {
        std::vector<std::string> calls = Calls();
        TrackerSim::ClearCalls();
        return calls;
    }

    // The calls whose text starts with prefix ("startApplicationFrame" ...).
    static std::vector<std::string> CallsStarting(const std::string& prefix)
    {
        std::vector<std::string> matching;
        for (const std::string& call : Calls())
        {
            if (call.rfind(prefix, 0) == 0)
            {
                matching.push_back(call);
            }
        }
        return matching;
    }

    static bool Visible(CDialog& d, int id) { return d.GetDlgItem(id)->IsWindowVisible() != FALSE; }
    static bool Enabled(CDialog& d, int id) { return d.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

    // Visibility and enabling of the buttons 5000 to 5010 and 5012, as
    // "VE" (visible, enabled), "V-", "-E" or "--" each.
    static std::vector<std::string> AppButtons(CDialog& d)
    {
        std::vector<std::string> states;
        auto add = [&](int id)
        {
            states.push_back(std::string(Visible(d, id) ? "V" : "-") +
                             (Enabled(d, id) ? "E" : "-"));
        };
        for (int id = IDC_READINESS_TEST; id <= IDC_RANGE_CALIB; ++id)
        {
            add(id);
        }
        add(IDC_OTHER_APPLICATIONS);
        return states;
    }

    CTovAppsDlg window;
};

// The settings file as a first save from a successful connection writes it:
// the connection's choices and the record's own unit choices.
inline std::string SettingsAfterConnect(int user, int type, const std::string& address)
{
    return SettingsFile(user, type, address, {3, 6, 2, 6, 3, 1, 0, 3});
}

inline const char* const kCouldNotConnect =
    "The tracker could not be connected to.\n\nCheck that the IP address, password, and type of "
    "tracker are set correctly.";

// Twelve states: buttons 5000 to 5010, then 5012.
inline std::vector<std::string> States(const std::string& app, const std::string& range,
                                       const std::string& other)
{
    std::vector<std::string> states(10, app);
    states.push_back(range);
    states.push_back(other);
    return states;
}

#endif
