// SPDX-License-Identifier: Apache-2.0
// Calls made on a thread of their own while the window waits: the window is
// busy meanwhile, and what reaches it then (posted messages, keys, an
// assistive tool's press) is handled after the call, in order; the calls
// all come from one thread, and their exceptions come back with their types.
#include "framework/dialogs/CCallThread.h"
#include "framework/testing/TestSeams.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace
{
struct Fault
{
    virtual ~Fault() = default;
};
struct Refused : Fault
{
};

class CallThreadTest : public ::testing::Test
{
protected:
    void TearDown() override { AfxClearModalDrivers(); }
};

TEST_F(CallThreadTest, WhatComesDuringACallIsHandledAfterItInOrder)
{
    TestDialog dialog;
    bool busyDuring = false;
    bool busyAfter = true;
    std::size_t userMessagesAtReturn = 1;
    AfxQueueModalDriver(
        IDD_TEST,
        [&](CDialog& d)
        {
            AfxTestDuringNextWait(
                [&]
                {
                    AfxAccessibleInfo info;
                    busyDuring = AfxTestAccessible(d, 0, &info) && info.busy;
                    // Pressed through the accessibility bus, clicked a moment later.
                    AfxTestAccessibleActionNoWait(d, IDC_T_APPLY, "Press");
                    AfxTestPressAlt(d, 'h');
                    d.PostMessage(WM_T_USER, 0, 1);
                    d.PostMessage(WM_T_USER, 0, 2);
                });
            CCallThread thread;
            thread.Call([] { std::this_thread::sleep_for(std::chrono::milliseconds(400)); });
            dialog.log.push_back("returned");
            userMessagesAtReturn = dialog.userMessages.size();
            AfxPumpEvents([&] { return dialog.Logged("OnApply"); }, 2000);
            AfxAccessibleInfo info;
            busyAfter = !AfxTestAccessible(d, 0, &info) || info.busy;
            d.EndDialog(IDOK);
        });
    dialog.DoModal();
    EXPECT_TRUE(busyDuring);
    EXPECT_FALSE(busyAfter);
    EXPECT_EQ(userMessagesAtReturn, 0u);
    const std::vector<std::string> handled(
        std::find(dialog.log.begin(), dialog.log.end(), "returned"), dialog.log.end());
    EXPECT_EQ(handled, (std::vector<std::string>{"returned", "OnRadio 2007", "OnApply"}));
    EXPECT_EQ(dialog.userMessages, (std::vector<std::pair<WPARAM, LPARAM>>{{0, 1}, {0, 2}}));
}

TEST_F(CallThreadTest, EveryCallRunsOnTheSameOtherThreadAndThrowsBackItsException)
{
    CCallThread thread;
    std::thread::id first;
    std::thread::id second;
    thread.Call([&] { first = std::this_thread::get_id(); });
    thread.Call([&] { second = std::this_thread::get_id(); });
    EXPECT_EQ(first, second);
    EXPECT_NE(first, std::this_thread::get_id());

    // As the tracker library throws: a pointer, caught by its base.
    bool caught = false;
    try
    {
        thread.Call([] { throw new Refused; });
    }
    catch (Fault* fault)
    {
        caught = dynamic_cast<Refused*>(fault) != nullptr;
        delete fault;
    }
    EXPECT_TRUE(caught);
}
} // namespace
