// SPDX-License-Identifier: Apache-2.0
// Message maps: lookup from the most derived class to its bases, ranges,
// notification handlers that decline, user messages, default handling.
#include "framework/testing/TestSeams.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

namespace
{
constexpr UINT WM_T_BASE = WM_USER + 1;
constexpr UINT kNotifyCode = 0u - 900u;

class BaseTarget : public CWnd
{
public:
    std::vector<std::string> calls;

protected:
    afx_msg void OnShared() { calls.push_back("Base::OnShared"); }
    afx_msg void OnBaseOnly() { calls.push_back("Base::OnBaseOnly"); }
    afx_msg BOOL OnNotifyBase(UINT, NMHDR*, LRESULT* result)
    {
        calls.push_back("Base::OnNotify");
        *result = 11;
        return TRUE;
    }
    afx_msg LRESULT OnBaseMessage(WPARAM wParam, LPARAM lParam)
    {
        return static_cast<LRESULT>(wParam) + lParam;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseTarget, CWnd)
ON_COMMAND(100, OnShared)
ON_COMMAND(101, OnBaseOnly)
ON_NOTIFY_EX(kNotifyCode, 0, OnNotifyBase)
ON_MESSAGE(WM_T_BASE, OnBaseMessage)
END_MESSAGE_MAP()

class DerivedTarget : public BaseTarget
{
protected:
    afx_msg void OnShared() { calls.push_back("Derived::OnShared"); }
    afx_msg void OnRange(UINT id) { calls.push_back("Derived::OnRange " + std::to_string(id)); }
    afx_msg BOOL OnNotifyDerived(UINT, NMHDR*, LRESULT*)
    {
        calls.push_back("Derived::OnNotify");
        return FALSE; // declines: the base gets its turn
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedTarget, BaseTarget)
ON_COMMAND(100, OnShared)
ON_COMMAND_RANGE(200, 210, OnRange)
ON_NOTIFY_EX(kNotifyCode, 0, OnNotifyDerived)
END_MESSAGE_MAP()

class HelpApp : public CWinApp
{
public:
    int helpCalls = 0;
    afx_msg void OnHelpCommand() { ++helpCalls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpApp, CWinApp)
ON_COMMAND(ID_HELP, OnHelpCommand)
END_MESSAGE_MAP()

TEST(MessageMapTest, DerivedEntriesComeFirstAndBaseEntriesStillApply)
{
    DerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(100, BN_CLICKED));
    EXPECT_TRUE(target.OnCmdMsg(101, BN_CLICKED));
    EXPECT_FALSE(target.OnCmdMsg(102, BN_CLICKED));
    const std::vector<std::string> expected = {"Derived::OnShared", "Base::OnBaseOnly"};
    EXPECT_EQ(target.calls, expected);
}

TEST(MessageMapTest, CommandRangePassesTheIdAndStopsAtItsBounds)
{
    DerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(200, BN_CLICKED));
    EXPECT_TRUE(target.OnCmdMsg(210, BN_CLICKED));
    EXPECT_FALSE(target.OnCmdMsg(211, BN_CLICKED));
    EXPECT_FALSE(target.OnCmdMsg(199, BN_CLICKED));
    // A notification code other than a click is not a command.
    EXPECT_FALSE(target.OnCmdMsg(205, EN_CHANGE));
    const std::vector<std::string> expected = {"Derived::OnRange 200", "Derived::OnRange 210"};
    EXPECT_EQ(target.calls, expected);
}

TEST(MessageMapTest, DecliningNotifyHandlerLetsTheBaseAnswer)
{
    DerivedTarget target;
    NMHDR header{nullptr, 0, kNotifyCode};
    LRESULT result = 0;
    EXPECT_TRUE(target.OnNotify(0, reinterpret_cast<LPARAM>(&header), &result));
    EXPECT_EQ(result, 11);
    const std::vector<std::string> expected = {"Derived::OnNotify", "Base::OnNotify"};
    EXPECT_EQ(target.calls, expected);
}

TEST(MessageMapTest, UserMessageReturnsTheHandlersResult)
{
    DerivedTarget target;
    EXPECT_EQ(target.WindowProc(WM_T_BASE, 40, 2), 42);
    EXPECT_EQ(target.WindowProc(WM_T_BASE + 1, 40, 2), 0);
}

TEST(MessageMapTest, UnhandledSysCloseBecomesWmCloseAndAForeignCommandReachesTheApp)
{
    HelpApp app;
    TestDialog dialog;
    AfxQueueModalDriver(IDD_TEST,
                        [](CDialog& d)
                        {
                            // Help reaches the application object's map.
                            d.SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, BN_CLICKED), 0);
                            // The low four bits of a system command are the platform's own.
                            d.SendMessage(WM_SYSCOMMAND, SC_CLOSE | 3, 0);
                        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(app.helpCalls, 1);
    const std::vector<std::string> expected = {"OnSysCommand " + std::to_string(SC_CLOSE | 3),
                                               "OnClose", "OnCancel"};
    EXPECT_EQ(dialog.log, expected);
    AfxClearModalDrivers();
}

TEST(MessageMapTest, ApplicationObjectStandsInFrontOfThePreviousOne)
{
    CWinApp* before = AfxGetApp();
    {
        CWinApp named("Tracker Tools");
        EXPECT_EQ(AfxGetApp(), &named);
        EXPECT_STREQ(AfxGetAppName(), "Tracker Tools");
    }
    EXPECT_EQ(AfxGetApp(), before);
    EXPECT_STREQ(AfxGetAppName(), "Kelm Utilities");
}
} // namespace
