// SPDX-License-Identifier: Apache-2.0
// Busy and application events reach the main window on another thread and
// change its buttons only on the window thread, by the enabling rule.
#include "app/CTovAppsDlg.h"
#include "framework/testing/TestSeams.h"
#include "tracker/Tracker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace
{
class TestBusyEvent : public BusyEvent
{
public:
    TestBusyEvent(bool command, bool measure) : m_command(command), m_measure(measure) {}
    bool getCommandState() override { return m_command; }
    bool getMeasureState() override
    {
        ++measureAsked;
        return m_measure;
    }
    int measureAsked = 0;

private:
    bool m_command, m_measure;
};

class TestAppEvent : public ApplicationEvent
{
public:
    TestAppEvent(const char* name, bool running) : m_name(name), m_running(running) {}
    char* getAppName() override
    {
        char* copy = new char[std::strlen(m_name) + 1];
        std::strcpy(copy, m_name);
        return copy;
    }
    bool isAppRunning() override { return m_running; }

private:
    const char* m_name;
    bool m_running;
};

// The events come from a thread of their own, as the library's do.
template <typename F> void FromLibraryThread(F f)
{
    std::thread t(f);
    t.join();
}

std::vector<bool> Enabled(CDialog& d)
{
    std::vector<bool> enabled;
    for (int id = IDC_READINESS_TEST; id <= IDC_RANGE_CALIB; ++id)
    {
        enabled.push_back(d.GetDlgItem(id)->IsWindowEnabled() != FALSE);
    }
    enabled.push_back(d.GetDlgItem(IDC_OTHER_APPLICATIONS)->IsWindowEnabled() != FALSE);
    return enabled;
}

std::vector<bool> AllBut(int index, bool value)
{
    std::vector<bool> v(12, value);
    if (index >= 0)
    {
        v[static_cast<std::size_t>(index)] = !value;
    }
    return v;
}
} // namespace

TEST(MainWindowEvents, EnablingRuleFollowsRunningAndBusyEvents)
{
    CTovAppsDlg window;
    std::vector<std::vector<bool>> seen;
    int measureAskedWhileCommandBusy = -1;
    AfxQueueModalDriver(IDD_TOVAPPS_DIALOG,
                        [&](CDialog& d)
                        {
                            auto settle = [&](const std::vector<bool>& expected)
                            {
                                AfxPumpEvents([&] { return Enabled(d) == expected; }, 2000);
                                seen.push_back(Enabled(d));
                            };
                            // An application that stops (case aside, a table name) enables its
                            // button and, by the rule, every other one too.
                            FromLibraryThread(
                                [&]
                                {
                                    TestAppEvent e("READINESSTEST", false);
                                    window.HandleApplicationEvent(&e);
                                });
                            settle(AllBut(-1, true));
                            FromLibraryThread(
                                [&]
                                {
                                    TestAppEvent e("EventMonitor", true);
                                    window.HandleApplicationEvent(&e);
                                });
                            settle(AllBut(7, true));
                            FromLibraryThread(
                                [&]
                                {
                                    TestBusyEvent e(true, false);
                                    window.HandleBusyEvent(&e);
                                    measureAskedWhileCommandBusy = e.measureAsked;
                                });
                            settle(AllBut(-1, false));
                            FromLibraryThread(
                                [&]
                                {
                                    TestBusyEvent e(false, true);
                                    window.HandleBusyEvent(&e);
                                });
                            settle(AllBut(-1, false));
                            FromLibraryThread(
                                [&]
                                {
                                    TestBusyEvent e(false, false);
                                    window.HandleBusyEvent(&e);
                                    TestAppEvent unknown("LevelCheck", true);
                                    window.HandleApplicationEvent(&unknown);
                                });
                            settle(AllBut(7, true));
                            AfxTestClick(d, IDCANCEL);
                        });
    window.DoModal();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0], AllBut(-1, true));
    EXPECT_EQ(seen[1], AllBut(7, true));
    EXPECT_EQ(seen[2], AllBut(-1, false));
    EXPECT_EQ(seen[3], AllBut(-1, false)) << "measuring counts as busy";
    EXPECT_EQ(seen[4], AllBut(7, true));
    EXPECT_EQ(measureAskedWhileCommandBusy, 0);
}

TEST(MainWindowEvents, EventsAfterTheWindowIsGoneAreDropped)
{
    CTovAppsDlg window;
    AfxQueueModalDriver(IDD_TOVAPPS_DIALOG, [](CDialog& d) { AfxTestClick(d, IDCANCEL); });
    window.DoModal();
    BOOL posted = TRUE;
    FromLibraryThread(
        [&]
        {
            TestBusyEvent e(true, false);
            window.HandleBusyEvent(&e);
            posted = window.PostMessage(WM_APP_STATE, static_cast<WPARAM>(-1), 0);
        });
    AfxPumpEvents();
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(posted) << "a message to a closed window is dropped";
}
