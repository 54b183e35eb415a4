// SPDX-License-Identifier: Apache-2.0
// The operator's whole session through the real main window, only through
// what a person does (mnemonics, Enter, Escape, choosing from lists), against
// the simulated tracker: the settings file byte for byte and the tracker's
// calls in order at every step, in English and in languages that write their
// own letters, their own access keys and from right to left: what goes to
// the tracker and into the file never changes with the language. Then every
// simulated instrument in turn.
#include "tests/support/MainWindowFixture.h"
#include "units/UnitsArgument.h"

#include <cctype>

namespace
{
const std::string kAddress = "192.0.2.10";

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// Alt and the access key the control's caption shows in the language in use.
void PressAccessKey(CDialog& d, int id)
{
    const std::string caption = d.GetDlgItem(id)->GetWindowText();
    const std::size_t amp = caption.find('&');
    ASSERT_NE(amp, std::string::npos) << caption;
    AfxTestPressAlt(d,
                    static_cast<char>(std::tolower(static_cast<unsigned char>(caption[amp + 1]))));
}
} // namespace

class OperatorSession : public MainWindowTest, public ::testing::WithParamInterface<std::string>
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(AfxTestUseLanguage(GetParam()));
        // As the instrument behaves: started applications report themselves,
        // and run for longer than the session.
        TrackerSim::SetAutomaticEvents(true);
        TrackerSim::SetRunTime(std::chrono::minutes(10));
    }
    void TearDown() override
    {
        AfxTestUseLanguage("en");
        MainWindowTest::TearDown();
    }
    std::string File() const { return ReadBytes(theSettings.GetFilePath()); }
};

TEST_P(OperatorSession, FromFirstStartToTheNextStart)
{
    const std::string builtIn = UnitsArgument::kBuiltInDefault;
    const std::string centimetres = "-uLength=cm,100,6 -uAngular=\xB0,57.29578,6 "
                                    "-uPressure=mmHg,1,1 -uTemperature=\xB0"
                                    "C,1,0,3";
    std::vector<std::vector<std::string>> calls;
    std::vector<std::string> files;
    std::vector<std::vector<std::string>> buttons;
    auto step = [&](CDialog& d)
    {
        Settle();
        calls.push_back(TakeCalls());
        files.push_back(File());
        buttons.push_back(AppButtons(d));
    };

    AfxQueueModalDriver(IDD_TRACKER_CONNECT, [](CDialog& c) { AfxTestPressKey(c, AfxKey::Enter); });
    AfxQueueModalDriver(IDD_SELECT_UNITS,
                        [](CDialog& u)
                        {
                            AfxTestSelect(u, IDC_LENGTH_UNIT, 0);
                            AfxTestPressKey(u, AfxKey::Enter);
                        });
    AfxQueueModalDriver(IDD_OTHER_APPS,
                        [](CDialog& o)
                        {
                            AfxTestSelect(o, IDC_APP_LIST, 0);
                            AfxTestPressKey(o, AfxKey::Enter);
                        });
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      PressAccessKey(d, IDC_CONNECT); // connect with the defaults
                      step(d);
                      PressAccessKey(d, IDC_READINESS_TEST); // Readiness Test
                      Settle();
                      PressAccessKey(d, IDC_STATUS_REPORT); // Status Report
                      step(d);
                      PressAccessKey(d, IDC_SELECT_UNITS); // centimetres
                      step(d);
                      PressAccessKey(d, IDC_OTHER_APPLICATIONS); // LevelCheck
                      step(d);
                      AfxQueueMessageBoxAnswer(IDOK);
                      PressAccessKey(d, IDC_CONNECT); // disconnect, confirmed
                      step(d);
                      PressAccessKey(d, IDCANCEL);
                  }),
              IDCANCEL);

    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0],
              (std::vector<std::string>{"Tracker \"TrackerLintel\"", "setBlocking true",
                                        "connect \"192.0.2.10\" \"user\"", "addApplicationListener",
                                        "addBusyListener", "availableApplications", "startAsync"}));
    EXPECT_EQ(files[0], SettingsAfterConnect(0, 1, kAddress));
    EXPECT_EQ(buttons[0], States("VE", "-E", "VE"));

    // The window's argument was built at start-up, before any settings file.
    EXPECT_EQ(calls[1], (std::vector<std::string>{
                            "startApplicationFrame \"ReadinessTest\" " + Quoted(builtIn),
                            "startApplicationFrame \"StatusReport\" " + Quoted(builtIn)}));
    std::vector<std::string> twoRunning = States("VE", "-E", "VE");
    twoRunning[0] = twoRunning[1] = "V-";
    EXPECT_EQ(buttons[1], twoRunning);

    EXPECT_EQ(calls[2], (std::vector<std::string>{
                            "modifyApplication \"ReadinessTest\" " + Quoted(centimetres),
                            "modifyApplication \"StatusReport\" " + Quoted(centimetres)}));
    EXPECT_EQ(files[2], SettingsFile(0, 1, kAddress, {0, 6, 2, 6, 3, 1, 0, 3}));

    EXPECT_EQ(calls[3], std::vector<std::string>{"startApplicationFrame \"LevelCheck\" \"\""});
    EXPECT_EQ(buttons[3], twoRunning);

    EXPECT_EQ(calls[4],
              (std::vector<std::string>{
                  "startedApplications", "removeApplicationListener", "removeBusyListener",
                  "stopApplicationFrame \"ReadinessTest\"", "stopApplicationFrame \"StatusReport\"",
                  "stopApplicationFrame \"LevelCheck\"", "stopAsync", "disconnect", "~Tracker"}));
    EXPECT_EQ(files[4], files[2]) << "disconnecting stores nothing";
    EXPECT_EQ(buttons[4], States("V-", "--", "--"));
    ASSERT_EQ(AfxMessageBoxLog().size(), 1u);
    EXPECT_EQ(AfxMessageBoxLog()[0].caption, AfxLoadString(IDS_WARNING));
    EXPECT_TRUE(TakeCalls().empty()) << "closing a disconnected window calls nothing";

    // The next start finds the stored choices in both dialogs and builds its
    // argument from them.
    int user = -2;
    bool kelm = false;
    std::vector<std::string> octets;
    std::vector<int> units;
    std::vector<std::string> precisions;
    AfxQueueModalDriver(IDD_TRACKER_CONNECT,
                        [&](CDialog& c)
                        {
                            user =
                                static_cast<CComboBox*>(c.GetDlgItem(IDC_USER_NAME))->GetCurSel();
                            kelm = c.IsDlgButtonChecked(IDC_TYPE_KELM) == BST_CHECKED;
                            for (int id : {IDC_IP1, IDC_IP2, IDC_IP3, IDC_IP4})
                            {
                                octets.push_back(c.GetDlgItem(id)->GetWindowText());
                            }
                            AfxTestPressKey(c, AfxKey::Escape);
                        });
    AfxQueueModalDriver(
        IDD_SELECT_UNITS,
        [&](CDialog& u)
        {
            for (int id :
                 {IDC_LENGTH_UNIT, IDC_ANGLE_UNIT, IDC_PRESSURE_UNIT, IDC_TEMPERATURE_UNIT})
            {
                units.push_back(static_cast<CComboBox*>(u.GetDlgItem(id))->GetCurSel());
            }
            for (int id : {IDC_LENGTH_PRECISION, IDC_ANGLE_PRECISION, IDC_PRESSURE_PRECISION,
                           IDC_TEMPERATURE_PRECISION})
            {
                precisions.push_back(u.GetDlgItem(id)->GetWindowText());
            }
            AfxTestPressKey(u, AfxKey::Escape);
        });
    CTovAppsDlg next;
    AfxQueueModalDriver(IDD_TOVAPPS_DIALOG,
                        [](CDialog& d)
                        {
                            PressAccessKey(d, IDC_CONNECT);
                            PressAccessKey(d, IDC_SELECT_UNITS);
                            AfxTestPressKey(d, AfxKey::Escape);
                        });
    EXPECT_EQ(next.DoModal(), IDCANCEL);
    EXPECT_EQ(next.GetAppUnitsArgument(), centimetres);
    EXPECT_EQ(user, 0);
    EXPECT_TRUE(kelm);
    EXPECT_EQ(octets, (std::vector<std::string>{"192", "0", "2", "10"}));
    EXPECT_EQ(units, (std::vector<int>{0, 2, 3, 0}));
    EXPECT_EQ(precisions, (std::vector<std::string>{"6", "6", "1", "3"}));
    EXPECT_EQ(File(), files[2]);
    EXPECT_TRUE(TakeCalls().empty());
}

INSTANTIATE_TEST_SUITE_P(InEnglishGermanJapaneseAndArabic, OperatorSession,
                         ::testing::Values("en", "de", "ja", "ar"),
                         [](const auto& info) { return info.param; });

// One row of the README's table of simulated instruments, tried as an
// operator would: connect, start Status Report where the row says so,
// disconnect if connected, close.
struct InstrumentVisit
{
    const char* name;
    ConnectChoice choice;
    bool startStatusReport;
    std::vector<std::string> messages;
    std::vector<std::string> calls;
    std::string savedType; // "" when nothing is stored, else the type stored
};

void PrintTo(const InstrumentVisit& visit, std::ostream* os)
{
    *os << visit.name;
}

class EverySimulatedInstrument : public MainWindowTest,
                                 public ::testing::WithParamInterface<InstrumentVisit>
{
};

TEST_P(EverySimulatedInstrument, ReportsAsItShouldAndCanAlwaysBeLeft)
{
    const InstrumentVisit& visit = GetParam();
    EXPECT_EQ(Run(
                  [&](CDialog& d)
                  {
                      Connect(d, visit.choice);
                      if (visit.startStatusReport)
                      {
                          AfxTestPressAlt(d, 's');
                      }
                      if (d.GetDlgItem(IDC_CONNECT)->GetWindowText() != "Co&nnect...")
                      {
                          AfxQueueMessageBoxAnswer(IDOK);
                          AfxTestPressAlt(d, 'n');
                      }
                      PressAccessKey(d, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_EQ(MessageTexts(), visit.messages);
    std::vector<std::string> calls = TakeCalls();
    EXPECT_EQ(calls, visit.calls);
    if (visit.savedType.empty())
    {
        EXPECT_FALSE(std::ifstream(theSettings.GetFilePath()).good());
    }
    else
    {
        EXPECT_EQ(
            ReadBytes(theSettings.GetFilePath()),
            SettingsAfterConnect(0, std::stoi(visit.savedType), "192.0.2." + visit.choice.ip4));
    }
}

namespace
{
std::vector<std::string> Connecting(const std::string& ip4, const std::string& type = "Lintel")
{
    return {"Tracker \"Tracker" + type + "\"",
            "setBlocking true",
            "connect \"192.0.2." + ip4 + "\" \"user\"",
            "addApplicationListener",
            "addBusyListener",
            "availableApplications"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::string> kDisconnecting = {"startedApplications", "removeApplicationListener",
                                                 "removeBusyListener",  "stopAsync",
                                                 "disconnect",          "~Tracker"};
} // namespace

INSTANTIATE_TEST_SUITE_P(
    ReadmeTable, EverySimulatedInstrument,
    ::testing::Values(
        InstrumentVisit{"Healthy",
                        {"10"},
                        false,
                        {},
                        Connecting("10") + std::vector<std::string>{"startAsync"} + kDisconnecting,
                        "1"},
        InstrumentVisit{"Corvo",
                        {"11", -1, "", true},
                        false,
                        {},
                        Connecting("11", "Corvo") + std::vector<std::string>{"startAsync"} +
                            kDisconnecting,
                        "0"},
        InstrumentVisit{"OldFirmware",
                        {"12"},
                        false,
                        {"Encountered incompatible MCU firmware.\n\nPlease upgrade MCU firmware "
                         "to a minimum revision of 5.0"},
                        {"Tracker \"TrackerLintel\"", "setBlocking true",
                         "connect \"192.0.2.12\" \"user\" -> UserPromptException", "~Tracker"},
                        ""},
        InstrumentVisit{"AsyncAlreadyRunning",
                        {"13"},
                        false,
                        {},
                        Connecting("13") +
                            std::vector<std::string>{"startAsync -> AsyncAlreadyStartedException"} +
                            kDisconnecting,
                        "1"},
        InstrumentVisit{"AsyncFails",
                        {"14"},
                        false,
                        {"Got an exception while starting Asynchronous Messages"},
                        Connecting("14") +
                            std::vector<std::string>{"startAsync -> TrackerException"} +
                            kDisconnecting,
                        ""},
        InstrumentVisit{"NoList",
                        {"15"},
                        false,
                        {},
                        Connecting("15") + std::vector<std::string>{"startAsync"} + kDisconnecting,
                        "1"},
        InstrumentVisit{"OnlyOthers",
                        {"16"},
                        false,
                        {},
                        Connecting("16") + std::vector<std::string>{"startAsync"} + kDisconnecting,
                        "1"},
        InstrumentVisit{
            "Faulty",
            {"17"},
            true,
            {"Application(s) are still running.\nDo you really want to close all applications "
             "and disconnect?",
             "Got an exception while closing app : StatusReport",
             "Got an exception while stopping Asynchronous Messages",
             "Got an exception while disconnecting from Tracker"},
            Connecting("17") +
                std::vector<std::string>{
                    "startAsync",
                    "startApplicationFrame \"StatusReport\" " +
                        Quoted(UnitsArgument::kBuiltInDefault),
                    "startedApplications", "removeApplicationListener", "removeBusyListener",
                    "stopApplicationFrame \"StatusReport\" -> TrackerException",
                    "stopAsync -> TrackerException", "disconnect -> TrackerException", "~Tracker"},
            "1"},
        InstrumentVisit{
            "OtherLetterCase",
            {"18"},
            true,
            {"Application(s) are still running.\nDo you really want to close all applications "
             "and disconnect?"},
            Connecting("18") +
                std::vector<std::string>{
                    "startAsync",
                    "startApplicationFrame \"StatusReport\" " +
                        Quoted(UnitsArgument::kBuiltInDefault),
                    "startedApplications", "removeApplicationListener", "removeBusyListener",
                    // Stopped by the name the instrument knows it by.
                    "stopApplicationFrame \"STATUSREPORT\"", "stopAsync", "disconnect", "~Tracker"},
            "1"},
        InstrumentVisit{"NothingAnswers",
                        {"99"},
                        false,
                        {kCouldNotConnect},
                        {"Tracker \"TrackerLintel\"", "setBlocking true",
                         "connect \"192.0.2.99\" \"user\" -> TrackerException", "~Tracker"},
                        ""},
        InstrumentVisit{"WrongType",
                        {"10", -1, "", true},
                        false,
                        {kCouldNotConnect},
                        {"Tracker \"TrackerCorvo\"", "setBlocking true",
                         "connect \"192.0.2.10\" \"user\" -> TrackerException", "~Tracker"},
                        ""}),
    [](const ::testing::TestParamInfo<InstrumentVisit>& info) { return info.param.name; });
