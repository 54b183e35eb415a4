// SPDX-License-Identifier: Apache-2.0
// The simulated tracker library against the contract the program relies on:
// the instruments, connect's rules, the application life cycle, ownership
// and the trace.
#include "tests/support/TrackerScenario.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

namespace
{
class TrackerContract : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TrackerSim::Reset();
        TrackerSim::SetTraceSink(
            [this](const std::string& line)
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_trace.push_back(line);
            });
    }
    void TearDown() override { TrackerSim::Reset(); }
    std::vector<std::string> Trace()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_trace;
    }
    std::string Connect(const char* address, const char* type, const char* user,
                        const char* password)
    {
        Tracker tracker(type);
        std::string a = address, u = user, p = password;
        return Thrown([&] { tracker.connect(a.data(), u.data(), p.data()); });
    }

    std::mutex m_mutex;
    std::vector<std::string> m_trace;
};

const std::vector<std::string> kTable = {"ReadinessTest",  "StatusReport",  "AccuracyAudit",
                                         "BeamLoopTest",   "DeviceConsole", "SurveyConsole",
                                         "PartsInspector", "EventMonitor",  "CalibSuite",
                                         "RomInstaller",   "RangeCalib"};
} // namespace

TEST_F(TrackerContract, ConnectChecksAddressTypeUserAndPassword)
{
    EXPECT_EQ(Connect("192.0.2.10", "TrackerLintel", "user", ""), "none");
    EXPECT_EQ(Connect("192.0.2.10", "TrackerLintel", "admin", "x"), "none");
    EXPECT_EQ(Connect("192.0.2.10", "TrackerLintel", "factory", "x"), "none");
    EXPECT_EQ(Connect("192.0.2.11", "TrackerCorvo", "user", "anything"), "none");
    EXPECT_EQ(Connect("192.0.2.10", "TrackerLintel", "admin", ""), "TrackerException");
    EXPECT_EQ(Connect("192.0.2.10", "TrackerLintel", "factory", ""), "TrackerException");
    EXPECT_EQ(Connect("192.0.2.10", "TrackerLintel", "guest", "x"), "TrackerException");
    EXPECT_EQ(Connect("192.0.2.10", "TrackerLintel", "", ""), "TrackerException");
    EXPECT_EQ(Connect("192.0.2.10", "TrackerCorvo", "user", ""), "TrackerException");
    EXPECT_EQ(Connect("192.0.2.11", "TrackerLintel", "user", ""), "TrackerException");
    EXPECT_EQ(Connect("192.0.2.99", "TrackerLintel", "user", ""), "TrackerException");
    EXPECT_EQ(Connect("192.0.2.12", "TrackerLintel", "user", ""), "UserPromptException");
}

TEST_F(TrackerContract, EachInstrumentOffersItsApplications)
{
    std::vector<std::string> healthy = kTable;
    healthy.push_back("LevelCheck");
    healthy.push_back("NetworkSetup");
    for (const char* address : {"192.0.2.10", "192.0.2.13", "192.0.2.14", "192.0.2.17"})
    {
        EXPECT_EQ(Names(Connected(address)->availableApplications(), false), healthy) << address;
    }
    EXPECT_EQ(Names(Connected("192.0.2.11", "TrackerCorvo")->availableApplications(), false),
              (std::vector<std::string>{"ReadinessTest", "StatusReport", "DeviceConsole",
                                        "SurveyConsole", "LevelCheck"}));
    EXPECT_EQ(Connected("192.0.2.15")->availableApplications(), nullptr);
    EXPECT_EQ(Names(Connected("192.0.2.16")->availableApplications(), false),
              (std::vector<std::string>{"zeta", "alpha", "Beta", "alpha"}));
}

TEST_F(TrackerContract, AsynchronousMessagesPerInstrument)
{
    EXPECT_EQ(Thrown([&] { Connected("192.0.2.10")->startAsync(); }), "none");
    EXPECT_EQ(Thrown([&] { Connected("192.0.2.13")->startAsync(); }),
              "AsyncAlreadyStartedException");
    EXPECT_EQ(Thrown([&] { Connected("192.0.2.14")->startAsync(); }), "TrackerException");

    auto tracker = Connected("192.0.2.10");
    tracker->startAsync();
    EXPECT_EQ(Thrown([&] { tracker->startAsync(); }), "AsyncAlreadyStartedException");
    EXPECT_EQ(Thrown([&] { tracker->stopAsync(); }), "none");
    EXPECT_EQ(Thrown([&] { tracker->disconnect(); }), "none");
    EXPECT_EQ(Thrown([&] { tracker->startAsync(); }), "TrackerException") << "not connected";
}

TEST_F(TrackerContract, FaultyInstrumentFailsItsFiveCalls)
{
    TrackerSim::SetAutomaticEvents(false);
    auto tracker = Connected("192.0.2.17");
    std::string args = "-u", rom = "RomInstaller", device = "DeviceConsole",
                status = "StatusReport";
    EXPECT_EQ(Thrown([&] { tracker->startApplicationFrame(rom.data(), args.data()); }),
              "TrackerException");
    EXPECT_EQ(Thrown([&] { tracker->startApplicationFrame(device.data(), args.data()); }), "none");
    EXPECT_EQ(Thrown([&] { tracker->modifyApplication(device.data(), args.data()); }),
              "TrackerException");
    EXPECT_EQ(Thrown([&] { tracker->startApplicationFrame(status.data(), args.data()); }), "none");
    EXPECT_EQ(Thrown([&] { tracker->stopApplicationFrame(status.data()); }), "TrackerException");
    EXPECT_EQ(Thrown([&] { tracker->stopApplicationFrame(device.data()); }), "none");
    EXPECT_EQ(Thrown([&] { tracker->stopAsync(); }), "TrackerException");
    EXPECT_EQ(Thrown([&] { tracker->disconnect(); }), "TrackerException");
}

// Calls that need no connection fail by the instrument's faults once
// connected, and by the faults set at "" before.
TEST_F(TrackerContract, CallsBeforeAndAfterConnectingFailByTheirOwnFaults)
{
    TrackerSim::SetFault("", "setBlocking", TrackerSim::Fault::UserPrompt);
    TrackerSim::SetFault("", "addBusyListener", TrackerSim::Fault::Tracker);
    TrackerSim::SetFault("192.0.2.10", "addApplicationListener", TrackerSim::Fault::Tracker);
    RecordingListener listener;
    Tracker tracker("TrackerLintel");
    EXPECT_EQ(Thrown([&] { tracker.setBlocking(true); }), "UserPromptException");
    EXPECT_EQ(Thrown([&] { tracker.addBusyListener(&listener); }), "TrackerException");
    EXPECT_EQ(Thrown([&] { tracker.addApplicationListener(&listener); }), "none");
    tracker.removeApplicationListener(&listener);

    std::string address = "192.0.2.10", user = "user", password;
    tracker.connect(address.data(), user.data(), password.data());
    EXPECT_EQ(Thrown([&] { tracker.setBlocking(true); }), "none");
    EXPECT_EQ(Thrown([&] { tracker.addBusyListener(&listener); }), "none");
    EXPECT_EQ(Thrown([&] { tracker.addApplicationListener(&listener); }), "TrackerException");
    tracker.removeBusyListener(&listener);
    EXPECT_EQ(Trace().front(), "[tracker] Tracker \"TrackerLintel\"");
    EXPECT_EQ(Trace()[1], "[tracker] setBlocking true -> UserPromptException");

    TrackerSim::SetFault("", "setBlocking", TrackerSim::Fault::None);
    Tracker next("TrackerLintel");
    EXPECT_EQ(Thrown([&] { next.setBlocking(true); }), "none");
}

TEST_F(TrackerContract, ApplicationsRunUntilStoppedOrTheirTimeIsOver)
{
    TrackerSim::SetRunTime(50ms);
    auto tracker = Connected("192.0.2.10");
    RecordingListener listener;
    tracker->addApplicationListener(&listener);
    tracker->addBusyListener(&listener);
    std::string args = "units", ready = "readinesstest", audit = "AccuracyAudit";

    EXPECT_EQ(tracker->startedApplications(), nullptr);
    tracker->startApplicationFrame(ready.data(), args.data());
    EXPECT_EQ(Names(tracker->startedApplications(), true),
              (std::vector<std::string>{"ReadinessTest"}));
    EXPECT_EQ(Thrown([&] { tracker->startApplicationFrame(ready.data(), args.data()); }),
              "TrackerException")
        << "already runs";
    EXPECT_EQ(Thrown([&] { tracker->modifyApplication(audit.data(), args.data()); }),
              "TrackerException")
        << "does not run";
    std::string nope = "NotOffered";
    EXPECT_EQ(Thrown([&] { tracker->startApplicationFrame(nope.data(), args.data()); }),
              "TrackerException");
    EXPECT_EQ(Thrown([&] { tracker->modifyApplication(ready.data(), args.data()); }), "none");

    // The run time ends it.
    auto stillRunning = [&] { return !Names(tracker->startedApplications(), true).empty(); };
    for (int i = 0; i < 200 && stillRunning(); ++i)
    {
        TrackerSim::WaitForEvents();
        std::this_thread::sleep_for(5ms);
    }
    TrackerSim::WaitForEvents();
    EXPECT_EQ(tracker->startedApplications(), nullptr);
    EXPECT_EQ(listener.Events(),
              (std::vector<std::string>{"busy true false", "app ReadinessTest running",
                                        "busy false false", "app ReadinessTest stopped"}));
    tracker->removeApplicationListener(&listener);
    tracker->removeBusyListener(&listener);
}

TEST_F(TrackerContract, ControlledEventsAndStartedApplications)
{
    TrackerSim::SetAutomaticEvents(false);
    auto tracker = Connected("192.0.2.10");
    RecordingListener listener;
    tracker->addBusyListener(&listener);
    tracker->addApplicationListener(&listener);
    std::string name = "EventMonitor", args;
    tracker->startApplicationFrame(name.data(), args.data());
    TrackerSim::EmitBusy("192.0.2.10", false, true);
    TrackerSim::EmitApplication("192.0.2.10", "Whatever", true);
    TrackerSim::EmitBusy("192.0.2.11", true, true); // no tracker there
    ASSERT_TRUE(TrackerSim::WaitForEvents());
    EXPECT_EQ(listener.Events(),
              (std::vector<std::string>{"busy false true", "app Whatever running"}));

    TrackerSim::SetStartedApplications("192.0.2.10", std::optional<std::vector<std::string>>());
    EXPECT_EQ(tracker->startedApplications(), nullptr);
    TrackerSim::SetStartedApplications("192.0.2.10", std::vector<std::string>{});
    TrkDrvObjectArray* empty = tracker->startedApplications();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->getCount(), 0);
    delete empty;
    TrackerSim::SetStartedApplications("192.0.2.10", std::nullopt);
    EXPECT_EQ(Names(tracker->startedApplications(), true),
              (std::vector<std::string>{"EventMonitor"}));
    tracker->removeBusyListener(&listener);
    tracker->removeApplicationListener(&listener);
}

TEST_F(TrackerContract, TraceShowsEveryCallAndEventExactly)
{
    TrackerSim::SetAutomaticEvents(true);
    {
        auto tracker = std::make_unique<Tracker>("TrackerLintel");
        std::string address = "192.0.2.10", user = "admin", password = "s3cret!";
        tracker->setBlocking(true);
        tracker->connect(address.data(), user.data(), password.data());
        RecordingListener listener;
        tracker->addBusyListener(&listener);
        std::string app = "ReadinessTest";
        std::string args = "-uLength=m,1,6 -uAngular=rad,1,6 -uPressure=mmHg,1,2 "
                           "-uTemperature=\xB0"
                           "C,1,3";
        tracker->startApplicationFrame(app.data(), args.data());
        ASSERT_TRUE(TrackerSim::WaitForEvents());
        std::string missing = "Nope";
        Thrown([&] { tracker->stopApplicationFrame(missing.data()); });
        tracker->removeBusyListener(&listener);
    }
    const std::vector<std::string> expected = {
        "[tracker] Tracker \"TrackerLintel\"",
        "[tracker] setBlocking true",
        "[tracker] connect \"192.0.2.10\" \"admin\"",
        "[tracker] addBusyListener",
        "[tracker] startApplicationFrame \"ReadinessTest\" \"-uLength=m,1,6 -uAngular=rad,1,6 "
        "-uPressure=mmHg,1,2 -uTemperature=\xB0"
        "C,1,3\"",
        "[tracker] event busy true false",
        "[tracker] event application \"ReadinessTest\" running",
        "[tracker] event busy false false",
        "[tracker] stopApplicationFrame \"Nope\" -> TrackerException",
        "[tracker] removeBusyListener",
        "[tracker] ~Tracker"};
    EXPECT_EQ(Trace(), expected);
    for (const std::string& line : Trace())
    {
        EXPECT_EQ(line.find("s3cret"), std::string::npos);
    }
    // Calls only: no event lines.
    EXPECT_EQ(TrackerSim::Calls().size(), expected.size() - 3);
}

// Calls are kept only while recording is on: a long run that never reads
// them must not keep every call it ever made. The trace still goes out.
TEST_F(TrackerContract, CallsAreKeptOnlyWhileRecording)
{
    auto connectAndLeave = []
    {
        auto tracker = Connected("192.0.2.10");
        tracker.reset();
    };
    TrackerSim::SetCallRecording(false);
    connectAndLeave();
    EXPECT_TRUE(TrackerSim::Calls().empty());
    EXPECT_EQ(Trace().size(), 4u) << "the trace does not depend on recording";

    TrackerSim::SetCallRecording(true);
    connectAndLeave();
    EXPECT_EQ(TrackerSim::Calls(),
              (std::vector<std::string>{
                  "[tracker] Tracker \"TrackerLintel\"", "[tracker] setBlocking true",
                  "[tracker] connect \"192.0.2.10\" \"user\"", "[tracker] ~Tracker"}));

    // Turning it off keeps what was recorded; Reset starts recording afresh.
    TrackerSim::SetCallRecording(false);
    connectAndLeave();
    EXPECT_EQ(TrackerSim::Calls().size(), 4u);
    TrackerSim::Reset();
    TrackerSim::SetTraceSink([](const std::string&) {});
    EXPECT_TRUE(TrackerSim::Calls().empty());
    connectAndLeave();
    EXPECT_EQ(TrackerSim::Calls().size(), 4u);
}

TEST_F(TrackerContract, ExceptionTypesDeriveFromTrackerException)
{
    // The program catches the specific types first and TrackerException last.
    auto tracker = Connected("192.0.2.13");
    try
    {
        tracker->startAsync();
        FAIL();
    }
    catch (TrackerException* e)
    {
        EXPECT_NE(dynamic_cast<AsyncAlreadyStartedException*>(e), nullptr);
        delete e;
    }
}
