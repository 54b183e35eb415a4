// SPDX-License-Identifier: Apache-2.0
// Events on the library's thread: order, and no callback once removal has
// returned, while events keep coming.
#include "tests/support/TrackerScenario.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace
{
class CountingListener : public BusyListener, public ApplicationListener
{
public:
    void onBusyEvent(BusyEvent*) override { Enter(); }
    void onApplicationEvent(ApplicationEvent* event) override
    {
        trackerDeleteString(event->getAppName());
        Enter();
    }
    void Enter()
    {
        inside = true;
        if (removed)
        {
            calledAfterRemoval = true;
        }
        std::this_thread::sleep_for(50us);
        ++calls;
        inside = false;
    }
    std::atomic<bool> inside{false};
    std::atomic<bool> removed{false};
    std::atomic<bool> calledAfterRemoval{false};
    std::atomic<int> calls{0};
};

// Removes itself from inside its own callback.
class SelfRemovingListener : public BusyListener
{
public:
    explicit SelfRemovingListener(Tracker* tracker) : m_tracker(tracker) {}
    void onBusyEvent(BusyEvent*) override
    {
        ++calls;
        m_tracker->removeBusyListener(this);
    }
    std::atomic<int> calls{0};

private:
    Tracker* m_tracker;
};

class TrackerThreads : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TrackerSim::Reset();
        TrackerSim::SetTraceSink([](const std::string&) {});
        TrackerSim::SetAutomaticEvents(false);
    }
    void TearDown() override { TrackerSim::Reset(); }
};
} // namespace

TEST_F(TrackerThreads, NoCallbackAfterRemovalReturns)
{
    for (int round = 0; round < 20; ++round)
    {
        auto tracker = Connected("192.0.2.10");
        CountingListener listener;
        tracker->addBusyListener(&listener);
        tracker->addApplicationListener(&listener);
        std::atomic<bool> stop{false};
        std::thread emitter(
            [&]
            {
                while (!stop)
                {
                    TrackerSim::EmitBusy("192.0.2.10", true, false);
                    TrackerSim::EmitApplication("192.0.2.10", "ReadinessTest", true);
                    std::this_thread::sleep_for(20us);
                }
            });
        while (listener.calls < 5)
        {
            std::this_thread::yield();
        }
        tracker->removeBusyListener(&listener);
        tracker->removeApplicationListener(&listener);
        // Once both removals returned, no callback runs or starts.
        EXPECT_FALSE(listener.inside);
        listener.removed = true;
        std::this_thread::sleep_for(2ms);
        stop = true;
        emitter.join();
        TrackerSim::WaitForEvents();
        EXPECT_FALSE(listener.calledAfterRemoval) << "round " << round;
    }
}

TEST_F(TrackerThreads, EventsArriveInOrderOnTheLibrarysThread)
{
    auto tracker = Connected("192.0.2.10");
    struct : BusyListener
    {
        void onBusyEvent(BusyEvent* e) override
        {
            threads.push_back(std::this_thread::get_id());
            order.push_back(e->getCommandState());
        }
        std::vector<std::thread::id> threads;
        std::vector<bool> order;
    } listener;
    tracker->addBusyListener(&listener);
    for (int i = 0; i < 100; ++i)
    {
        TrackerSim::EmitBusy("192.0.2.10", i % 3 == 0, false);
    }
    ASSERT_TRUE(TrackerSim::WaitForEvents());
    tracker->removeBusyListener(&listener);
    ASSERT_EQ(listener.order.size(), 100u);
    for (int i = 0; i < 100; ++i)
    {
        EXPECT_EQ(listener.order[static_cast<std::size_t>(i)], i % 3 == 0);
        EXPECT_NE(listener.threads[static_cast<std::size_t>(i)], std::this_thread::get_id());
    }
}

TEST_F(TrackerThreads, ListenerMayRemoveItselfInsideItsCallback)
{
    auto tracker = Connected("192.0.2.10");
    SelfRemovingListener listener(tracker.get());
    tracker->addBusyListener(&listener);
    TrackerSim::EmitBusy("192.0.2.10", true, false);
    TrackerSim::EmitBusy("192.0.2.10", true, false);
    ASSERT_TRUE(TrackerSim::WaitForEvents());
    EXPECT_EQ(listener.calls, 1);
}

TEST_F(TrackerThreads, DeletingTheTrackerStopsItsThreadAndApplications)
{
    TrackerSim::SetAutomaticEvents(true);
    TrackerSim::SetRunTime(1h);
    CountingListener listener;
    {
        auto tracker = Connected("192.0.2.10");
        tracker->addApplicationListener(&listener);
        std::string name = "SurveyConsole", args;
        tracker->startApplicationFrame(name.data(), args.data());
        for (int i = 0; i < 50; ++i)
        {
            TrackerSim::EmitBusy("192.0.2.10", false, false);
        }
    }
    const int calls = listener.calls;
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(listener.calls, calls) << "nothing is delivered after the destructor";
    auto again = Connected("192.0.2.10");
    EXPECT_EQ(again->startedApplications(), nullptr);
}
