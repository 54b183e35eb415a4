// SPDX-License-Identifier: Apache-2.0
// Messages posted from other threads reach the window's message map on the
// window thread, in order; once the window is gone they are dropped.
#include "framework/testing/TestSeams.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
class PostMessageTest : public ::testing::Test
{
protected:
    void TearDown() override { AfxClearModalDrivers(); }
};

TEST_F(PostMessageTest, MessagesFromOtherThreadsArriveOnTheWindowThreadInOrder)
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 200;
    TestDialog dialog;
    AfxQueueModalDriver(
        IDD_TEST,
        [&](CDialog& d)
        {
            std::vector<std::thread> senders;
            for (int t = 0; t < kThreads; ++t)
            {
                senders.emplace_back(
                    [&d, t]
                    {
                        for (int i = 0; i < kPerThread; ++i)
                        {
                            EXPECT_TRUE(d.PostMessage(WM_T_USER, static_cast<WPARAM>(t), i));
                        }
                    });
            }
            EXPECT_TRUE(AfxPumpEvents(
                [&] { return dialog.userMessages.size() == std::size_t{kThreads * kPerThread}; },
                10000));
            for (std::thread& sender : senders)
            {
                sender.join();
            }
            d.EndDialog(IDOK);
        });
    dialog.DoModal();
    ASSERT_EQ(dialog.userMessages.size(), std::size_t{kThreads * kPerThread});
    EXPECT_TRUE(dialog.userMessageOnWindowThread);
    std::vector<LPARAM> next(kThreads, 0);
    for (auto [thread, index] : dialog.userMessages)
    {
        EXPECT_EQ(index, next[thread]++);
    }
}

// A burst is handed over in slices, each pass of the event loop taking one,
// so that the operator's input and the painting get their turn in between.
TEST_F(PostMessageTest, ABurstIsDeliveredInSlicesBetweenOtherEvents)
{
    constexpr int kBurst = 10000;
    TestDialog dialog;
    std::size_t afterOnePass = 0;
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            std::thread sender(
                                [&d]
                                {
                                    for (int i = 0; i < kBurst; ++i)
                                    {
                                        d.PostMessage(WM_T_USER, 0, i);
                                    }
                                });
                            sender.join();
                            AfxPumpEvents([] { return true; }, 0); // one pass
                            afterOnePass = dialog.userMessages.size();
                            AfxPumpEvents(); // everything pending now
                            d.EndDialog(IDOK);
                        });
    dialog.DoModal();
    EXPECT_GT(afterOnePass, 0u);
    EXPECT_LT(afterOnePass, std::size_t{kBurst});
    EXPECT_EQ(dialog.userMessages.size(), std::size_t{kBurst});
}

TEST_F(PostMessageTest, PostingToAWindowThatIsGoneIsDropped)
{
    TestDialog dialog;
    HWND first = nullptr;
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            first = d.GetSafeHwnd();
                            d.EndDialog(IDOK);
                        });
    dialog.DoModal();
    bool posted = true;
    std::thread([&] { posted = PostMessage(first, WM_T_USER, 1, 1) != FALSE; }).join();
    EXPECT_FALSE(posted);
    std::thread([&] { posted = dialog.PostMessage(WM_T_USER, 2, 2) != FALSE; }).join();
    EXPECT_FALSE(posted);

    // The same object's next window does not get what was meant for the last.
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            std::thread([&] { PostMessage(first, WM_T_USER, 3, 3); }).join();
                            AfxPumpEvents([] { return false; }, 50);
                            d.EndDialog(IDOK);
                        });
    dialog.DoModal();
    EXPECT_TRUE(dialog.userMessages.empty());
}

TEST_F(PostMessageTest, MessagesStillQueuedWhenTheWindowCloses)
{
    TestDialog dialog;
    std::atomic<bool> stop{false};
    std::atomic<int> accepted{0};
    std::atomic<int> refused{0};
    std::thread poster;
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            poster = std::thread(
                                [&]
                                {
                                    while (!stop.load())
                                    {
                                        if (dialog.PostMessage(WM_T_USER, 0, 0))
                                        {
                                            ++accepted;
                                        }
                                        else
                                        {
                                            ++refused;
                                        }
                                    }
                                });
                            AfxPumpEvents([&] { return accepted.load() > 100; }, 5000);
                            d.EndDialog(IDOK);
                        });
    dialog.DoModal();
    const std::size_t delivered = dialog.userMessages.size();
    // Whatever was queued but not delivered before the window went is
    // dropped, never handled by a window that no longer exists.
    AfxPumpEvents([] { return false; }, 50);
    EXPECT_EQ(dialog.userMessages.size(), delivered);
    AfxPumpEvents([&] { return refused.load() > 0; }, 5000);
    stop = true;
    poster.join();
    EXPECT_GT(accepted.load(), 100);
    EXPECT_GT(refused.load(), 0);
    EXPECT_LE(delivered, static_cast<std::size_t>(accepted.load()));
}
} // namespace
