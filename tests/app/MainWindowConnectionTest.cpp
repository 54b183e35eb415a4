// SPDX-License-Identifier: Apache-2.0
// Connecting and disconnecting through the main window: the calls the tracker
// receives and their order, every failure's message, what survives it, and
// when the settings file is written.
#include "tests/support/MainWindowFixture.h"

#include <fstream>

namespace
{
const std::vector<std::string> kConnectCalls = {"Tracker \"TrackerLintel\"",
                                                "setBlocking true",
                                                "connect \"192.0.2.10\" \"user\"",
                                                "addApplicationListener",
                                                "addBusyListener",
                                                "availableApplications",
                                                "startAsync"};

const std::vector<std::string> kDisconnectCalls = {
    "startedApplications", "removeApplicationListener",
    "removeBusyListener",  "stopAsync",
    "disconnect",          "~Tracker"};

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
} // namespace

using MainWindowConnection = MainWindowTest;

TEST_F(MainWindowConnection, ConnectThenDisconnectThroughTheButton)
{
    std::vector<std::string> connectCalls;
    std::string connectedCaption;
    std::vector<std::string> connected;
    std::string savedWhileConnected;
    std::string disconnectedCaption;
    std::vector<std::string> disconnected;
    Run(
        [&](CDialog& d)
        {
            Connect(d);
            connectCalls = Calls();
            connectedCaption = d.GetDlgItem(IDC_CONNECT)->GetWindowText();
            connected = AppButtons(d);
            savedWhileConnected = ReadBytes(theSettings.GetFilePath());
            TrackerSim::ClearCalls();

            AfxTestPressAlt(d, 'n');
            disconnectedCaption = d.GetDlgItem(IDC_CONNECT)->GetWindowText();
            disconnected = AppButtons(d);
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(connectCalls, kConnectCalls);
    EXPECT_EQ(connectedCaption, "Disco&nnect (10)");
    // Every table application is offered; Ran&ge Calib is never shown, and
    // LevelCheck and NetworkSetup make Other Applications appear.
    EXPECT_EQ(connected, States("VE", "-E", "VE"));
    EXPECT_EQ(savedWhileConnected, SettingsAfterConnect(0, 1, "192.0.2.10"));
    EXPECT_EQ(Calls(), kDisconnectCalls);
    EXPECT_EQ(disconnectedCaption, "Co&nnect...");
    EXPECT_EQ(disconnected, States("V-", "--", "--"));
    EXPECT_TRUE(AfxMessageBoxLog().empty());
}

TEST_F(MainWindowConnection, CancellingTheConnectDialogChangesNothing)
{
    AfxQueueModalDriver(IDD_TRACKER_CONNECT, [](CDialog& d) { AfxTestClick(d, IDCANCEL); });
    std::string caption;
    Run(
        [&](CDialog& d)
        {
            AfxTestClick(d, IDC_CONNECT);
            caption = d.GetDlgItem(IDC_CONNECT)->GetWindowText();
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(caption, "Co&nnect...");
    EXPECT_TRUE(Calls().empty());
    EXPECT_FALSE(std::ifstream(theSettings.GetFilePath()).good());
}

// Each failure of the connect sequence: its message, how far the sequence
// went, and a settings file left exactly as it was.
struct ConnectFailure
{
    std::string name;
    ConnectChoice choice;
    std::string fault; // the call made to fail, if not empty
    const char* message;
    std::string lastCall;
    bool connected; // whether the next press of Connect disconnects
    TrackerSim::Fault kind = TrackerSim::Fault::Tracker;
    std::string faultAt = "192.0.2.10"; // "" for a Tracker not connected yet
    // Connected but failed before the caption changed: it still offers to
    // connect, and the next press disconnects all the same.
    bool captionKept = false;
};

void PrintTo(const ConnectFailure& failure, std::ostream* os)
{
    *os << failure.name;
}

class MainWindowConnectFailure : public MainWindowTest,
                                 public ::testing::WithParamInterface<ConnectFailure>
{
};

TEST_P(MainWindowConnectFailure, ReportsAndKeepsTheSettingsFile)
{
    const ConnectFailure& failure = GetParam();
    // The operator chooses "admin" this time: a save would store index 1.
    const std::string stored = SettingsFile(0, 1, "192.0.2.10", {1, 2, 3, 4, 1, 2, 0, 1});
    WriteBytes(theSettings.GetFilePath(), stored);
    if (!failure.fault.empty())
    {
        TrackerSim::SetFault(failure.faultAt, failure.fault, failure.kind);
    }
    ConnectChoice choice = failure.choice;
    choice.userIndex = 1;
    choice.password = "pw";

    std::vector<std::string> calls;
    std::string caption;
    bool dialogOpened = false;
    std::vector<std::string> secondPress;
    std::string captionAfter;
    Run(
        [&](CDialog& d)
        {
            Connect(d, choice);
            calls = Calls();
            caption = d.GetDlgItem(IDC_CONNECT)->GetWindowText();
            TrackerSim::ClearCalls();
            AfxClearMessageBoxLog();
            AfxQueueModalDriver(IDD_TRACKER_CONNECT,
                                [&](CDialog& c)
                                {
                                    dialogOpened = true;
                                    AfxTestClick(c, IDCANCEL);
                                });
            AfxTestClick(d, IDC_CONNECT);
            secondPress = Calls();
            captionAfter = d.GetDlgItem(IDC_CONNECT)->GetWindowText();
            AfxTestClick(d, IDCANCEL);
        });
    if (failure.message != nullptr)
    {
        ASSERT_EQ(MessageTexts().size(), 0u) << "the second press asks nothing";
    }
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), failure.lastCall);
    EXPECT_EQ(ReadBytes(theSettings.GetFilePath()), stored);
    // Connected: whatever the caption shows, the next press disconnects and
    // releases the tracker. Not connected: it opens Connect to Tracker.
    EXPECT_EQ(dialogOpened, !failure.connected);
    EXPECT_EQ(secondPress, failure.connected ? kDisconnectCalls : std::vector<std::string>{});
    EXPECT_EQ(captionAfter, "Co&nnect...");
    if (failure.connected && !failure.captionKept)
    {
        EXPECT_EQ(caption.rfind("Disco&nnect (", 0), 0u) << caption;
    }
    else
    {
        EXPECT_EQ(caption, "Co&nnect...");
    }
}

// The message each failure shows, checked apart from the sequence above.
TEST_P(MainWindowConnectFailure, ShowsItsMessageOnce)
{
    const ConnectFailure& failure = GetParam();
    if (!failure.fault.empty())
    {
        TrackerSim::SetFault(failure.faultAt, failure.fault, failure.kind);
    }
    Run(
        [&](CDialog& d)
        {
            Connect(d, failure.choice);
            // Closing releases whatever the attempt left.
            AfxTestClick(d, IDCANCEL);
        });
    std::vector<std::string> expected;
    if (failure.message != nullptr)
    {
        expected.push_back(failure.message);
    }
    EXPECT_EQ(MessageTexts(), expected);
    for (const AfxMessageBoxInfo& box : AfxMessageBoxLog())
    {
        EXPECT_TRUE(box.application);
        EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(Calls().back(), "~Tracker");
}

INSTANTIATE_TEST_SUITE_P(
    EveryFailure, MainWindowConnectFailure,
    ::testing::Values(
        ConnectFailure{"OldFirmware",
                       {"12"},
                       "",
                       "Encountered incompatible MCU firmware.\n\nPlease upgrade MCU firmware to a "
                       "minimum revision of 5.0",
                       "connect \"192.0.2.12\" \"admin\" -> UserPromptException",
                       false},
        ConnectFailure{"NothingAnswers",
                       {"99"},
                       "",
                       kCouldNotConnect,
                       "connect \"192.0.2.99\" \"admin\" -> TrackerException",
                       false},
        ConnectFailure{"WrongType",
                       {"", -1, "", true},
                       "",
                       kCouldNotConnect,
                       "connect \"192.0.2.10\" \"admin\" -> TrackerException",
                       false},
        ConnectFailure{"OfferingFails",
                       {},
                       "availableApplications",
                       kCouldNotConnect,
                       "availableApplications -> TrackerException",
                       true},
        ConnectFailure{"AsyncFails",
                       {"14"},
                       "",
                       "Got an exception while starting Asynchronous Messages",
                       "startAsync -> TrackerException",
                       true}),
    [](const ::testing::TestParamInfo<ConnectFailure>& info) { return info.param.name; });

// Every step of the connect sequence between creating the tracker and
// starting its messages, failing with either exception: a failure before
// connect leaves the window disconnected, one after it connected.
std::vector<ConnectFailure> ConnectBlockFailures()
{
    struct Step
    {
        const char* call;
        const char* line;
        bool afterConnect;
        bool beforeCaption;
    };
    const Step steps[] = {{"setBlocking", "setBlocking true", false, true},
                          {"addApplicationListener", "addApplicationListener", true, true},
                          {"addBusyListener", "addBusyListener", true, true},
                          {"availableApplications", "availableApplications", true, false}};
    struct Kind
    {
        TrackerSim::Fault fault;
        const char* exception;
        const char* message;
    };
    const Kind kinds[] = {{TrackerSim::Fault::Tracker, "TrackerException", kCouldNotConnect},
                          {TrackerSim::Fault::UserPrompt, "UserPromptException",
                           "Encountered incompatible MCU firmware.\n\nPlease upgrade MCU "
                           "firmware to a minimum revision of 5.0"}};
    std::vector<ConnectFailure> failures;
    for (const Step& step : steps)
    {
        for (const Kind& kind : kinds)
        {
            failures.push_back({std::string(step.call) + "_" + kind.exception,
                                {},
                                step.call,
                                kind.message,
                                std::string(step.line) + " -> " + kind.exception,
                                step.afterConnect,
                                kind.fault,
                                step.afterConnect ? "192.0.2.10" : "",
                                step.afterConnect && step.beforeCaption});
        }
    }
    return failures;
}

INSTANTIATE_TEST_SUITE_P(EveryStepOfTheConnectBlock, MainWindowConnectFailure,
                         ::testing::ValuesIn(ConnectBlockFailures()),
                         [](const ::testing::TestParamInfo<ConnectFailure>& info)
                         { return info.param.name; });

TEST_F(MainWindowConnection, AsynchronousMessagesAlreadyRunningStillSaves)
{
    std::vector<std::string> calls;
    Run(
        [&](CDialog& d)
        {
            Connect(d, {"13", 1, "pw"});
            calls = Calls();
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_TRUE(AfxMessageBoxLog().empty());
    EXPECT_EQ(calls.back(), "startAsync -> AsyncAlreadyStartedException");
    EXPECT_EQ(ReadBytes(theSettings.GetFilePath()), SettingsAfterConnect(1, 1, "192.0.2.13"));
}

TEST_F(MainWindowConnection, ASecondAttemptReleasesTheFirstTrackerBeforeCreatingTheNext)
{
    Run(
        [&](CDialog& d)
        {
            Connect(d, {"12"});
            TrackerSim::ClearCalls();
            Connect(d, {"10"});
            AfxTestClick(d, IDCANCEL);
        });
    std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "~Tracker");
    EXPECT_EQ(calls[1], "Tracker \"TrackerLintel\"");
    EXPECT_EQ(calls[3], "connect \"192.0.2.10\" \"user\"");
}

TEST_F(MainWindowConnection, ClosingAfterAFailedAttemptOnlyReleasesTheTracker)
{
    Run(
        [&](CDialog& d)
        {
            Connect(d, {"99"});
            TrackerSim::ClearCalls();
            AfxClearMessageBoxLog();
            AfxTestClickCloseBox(d);
        });
    EXPECT_EQ(Calls(), std::vector<std::string>{"~Tracker"});
    EXPECT_TRUE(AfxMessageBoxLog().empty());
}

TEST_F(MainWindowConnection, ATrackerThatCannotBeCreatedIsReportedAndLeavesNothing)
{
    TrackerSim::SetConstructionFails(true);
    int result = 0;
    std::string caption;
    result = Run(
        [&](CDialog& d)
        {
            Connect(d);
            caption = d.GetDlgItem(IDC_CONNECT)->GetWindowText();
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kCouldNotConnect});
    EXPECT_EQ(caption, "Co&nnect...");
    EXPECT_EQ(Calls(), std::vector<std::string>{"Tracker \"TrackerLintel\" -> TrackerException"});
    EXPECT_FALSE(std::ifstream(theSettings.GetFilePath()).good());
}

TEST_F(MainWindowConnection, TheCaptionShowsTheLastOctetAndTheAddressIsStoredAsTyped)
{
    TrackerSim::Instrument healthy;
    healthy.offered = std::vector<std::string>{"ReadinessTest"};
    TrackerSim::DefineInstrument("192.0.2.7", healthy);
    std::vector<std::string> captions;
    Run(
        [&](CDialog& d)
        {
            Connect(d, {"7"});
            captions.push_back(d.GetDlgItem(IDC_CONNECT)->GetWindowText());
            AfxTestClick(d, IDC_CONNECT);
            Connect(d, {"010"});
            captions.push_back(d.GetDlgItem(IDC_CONNECT)->GetWindowText());
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(captions, (std::vector<std::string>{"Disco&nnect (7)", "Disco&nnect (10)"}));
    EXPECT_TRUE(Contains(Calls(), "connect \"192.0.2.10\" \"user\""));
    EXPECT_EQ(ReadBytes(theSettings.GetFilePath()), SettingsAfterConnect(0, 1, "192.0.2.010"));
}

TEST_F(MainWindowConnection, CorvoTypeReachesTheLibrary)
{
    Run(
        [&](CDialog& d)
        {
            Connect(d, {"11", -1, "", true});
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(Calls().front(), "Tracker \"TrackerCorvo\"");
    EXPECT_TRUE(AfxMessageBoxLog().empty());
    EXPECT_EQ(ReadBytes(theSettings.GetFilePath()), SettingsAfterConnect(0, 0, "192.0.2.11"));
}

TEST_F(MainWindowConnection, ThePasswordGoesOnlyToConnect)
{
    const std::string password = "Secr3t-pass";
    Run(
        [&](CDialog& d)
        {
            Connect(d, {"", 2, password});
            AfxTestClick(d, IDC_CONNECT); // disconnects
            Connect(d, {"12", 1, password});
            AfxTestClick(d, IDCANCEL);
        });
    for (const std::string& call : TrackerSim::Calls())
    {
        EXPECT_EQ(call.find(password), std::string::npos) << call;
    }
    for (const std::string& text : MessageTexts())
    {
        EXPECT_EQ(text.find(password), std::string::npos) << text;
    }
    EXPECT_TRUE(Contains(Calls(), "connect \"192.0.2.10\" \"factory\""));
    const std::string file = ReadBytes(theSettings.GetFilePath());
    EXPECT_EQ(file, SettingsAfterConnect(2, 1, "192.0.2.10"));
}

TEST_F(MainWindowConnection, EveryWayOfClosingAsksWhileApplicationsRunAndCancelKeepsAll)
{
    std::vector<std::string> callsAfterDeclining;
    bool openAfterDeclining = false;
    std::string captionAfterDeclining;
    Run(
        [&](CDialog& d)
        {
            Connect(d);
            AfxTestClick(d, IDC_READINESS_TEST);
            TrackerSim::ClearCalls();
            for (int i = 0; i < 4; ++i)
            {
                AfxQueueMessageBoxAnswer(IDCANCEL);
            }
            AfxTestClick(d, IDCANCEL);
            AfxTestPressKey(d, AfxKey::Escape);
            AfxTestClickCloseBox(d);
            AfxTestClick(d, IDC_CONNECT);
            callsAfterDeclining = Calls();
            openAfterDeclining = d.IsWindowVisible() != FALSE;
            captionAfterDeclining = d.GetDlgItem(IDC_CONNECT)->GetWindowText();
            TrackerSim::ClearCalls();
            AfxQueueMessageBoxAnswer(IDOK);
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_TRUE(openAfterDeclining);
    EXPECT_EQ(captionAfterDeclining, "Disco&nnect (10)");
    EXPECT_EQ(callsAfterDeclining, std::vector<std::string>(4, "startedApplications"));
    std::vector<AfxMessageBoxInfo> boxes = AfxMessageBoxLog();
    ASSERT_EQ(boxes.size(), 5u);
    for (const AfxMessageBoxInfo& box : boxes)
    {
        EXPECT_EQ(box.text, "Application(s) are still running.\nDo you really want to close all "
                            "applications and disconnect?");
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OKCANCEL));
        EXPECT_EQ(box.icon, 0u);
        EXPECT_FALSE(box.application) << "owned by the main window";
        EXPECT_EQ(box.ownerTemplate, static_cast<UINT>(IDD_TOVAPPS_DIALOG));
    }
    EXPECT_EQ(Calls(), (std::vector<std::string>{"startedApplications", "removeApplicationListener",
                                                 "removeBusyListener",
                                                 "stopApplicationFrame \"ReadinessTest\"",
                                                 "stopAsync", "disconnect", "~Tracker"}));
}

TEST_F(MainWindowConnection, FailingStopsAreEachReportedAndTheTrackerIsStillReleased)
{
    std::vector<std::string> after;
    Run(
        [&](CDialog& d)
        {
            Connect(d, {"17"});
            AfxTestClick(d, IDC_STATUS_REPORT);
            AfxTestClick(d, IDC_READINESS_TEST);
            TrackerSim::ClearCalls();
            AfxQueueMessageBoxAnswer(IDOK);
            AfxTestClick(d, IDC_CONNECT);
            after = AppButtons(d);
            after.push_back(d.GetDlgItem(IDC_CONNECT)->GetWindowText());
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{
                  "Application(s) are still running.\nDo you really want to close all "
                  "applications and disconnect?",
                  "Got an exception while closing app : StatusReport",
                  "Got an exception while stopping Asynchronous Messages",
                  "Got an exception while disconnecting from Tracker"}));
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{
                  "startedApplications", "removeApplicationListener", "removeBusyListener",
                  "stopApplicationFrame \"StatusReport\" -> TrackerException",
                  "stopApplicationFrame \"ReadinessTest\"", "stopAsync -> TrackerException",
                  "disconnect -> TrackerException", "~Tracker"}));
    std::vector<std::string> expected = States("V-", "--", "--");
    expected.push_back("Co&nnect...");
    EXPECT_EQ(after, expected);
}

TEST_F(MainWindowConnection, ATrackerThatCannotListItsApplicationsCanStillBeLeft)
{
    TrackerSim::SetFault("192.0.2.10", "startedApplications", TrackerSim::Fault::Tracker);
    Run(
        [&](CDialog& d)
        {
            Connect(d);
            AfxTestClick(d, IDC_READINESS_TEST);
            TrackerSim::ClearCalls();
            AfxTestClick(d, IDCANCEL);
        });
    EXPECT_TRUE(AfxMessageBoxLog().empty());
    EXPECT_EQ(Calls(), (std::vector<std::string>{"startedApplications -> TrackerException",
                                                 "removeApplicationListener", "removeBusyListener",
                                                 "stopAsync", "disconnect", "~Tracker"}));
}

TEST_F(MainWindowConnection, AnEmptyOrMissingListOfStartedApplicationsAsksNothing)
{
    for (auto started : {std::optional<std::vector<std::string>>{std::vector<std::string>{}},
                         std::optional<std::vector<std::string>>{}})
    {
        TrackerSim::SetStartedApplications("192.0.2.10", started);
        AfxClearMessageBoxLog();
        EXPECT_EQ(Run(
                      [&](CDialog& d)
                      {
                          Connect(d);
                          TrackerSim::ClearCalls();
                          AfxTestClick(d, IDCANCEL);
                      }),
                  IDCANCEL);
        EXPECT_TRUE(AfxMessageBoxLog().empty());
        EXPECT_EQ(Calls(), kDisconnectCalls);
    }
}
