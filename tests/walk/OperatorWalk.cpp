// SPDX-License-Identifier: Apache-2.0
#include "tests/walk/OperatorWalk.h"

#include "framework/testing/TestSeams.h"
#include "res/resource.h"
#include "settings/CSerialize.h"
#include "tests/walk/WatchedMainWindow.h"
#include "tracker/sim/SimControl.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

namespace
{
const std::vector<std::string> kTable = {"ReadinessTest",  "StatusReport",  "AccuracyAudit",
                                         "BeamLoopTest",   "DeviceConsole", "SurveyConsole",
                                         "PartsInspector", "EventMonitor",  "CalibSuite",
                                         "RomInstaller",   "RangeCalib"};

// The simulated instruments the walk visits: the library's own, as the
// README's table describes them; "192.0.2.99" is the silent one.
std::map<std::string, TrackerSim::Instrument> Instruments()
{
    return TrackerSim::BuiltInInstruments();
}

std::map<std::string, WalkModel::Offered> OfferedByAddress()
{
    std::map<std::string, WalkModel::Offered> offered;
    for (const auto& [address, instrument] : Instruments())
    {
        offered[address] = instrument.offered;
    }
    return offered;
}

const std::vector<std::string> kLastOctets = {"10", "11", "12", "13", "14",
                                              "15", "16", "17", "18", "99"};

// Every button of the main window, shown, hidden or disabled alike.
const std::vector<int> kMainButtons = {IDC_CONNECT,
                                       IDC_READINESS_TEST,
                                       IDC_STATUS_REPORT,
                                       IDC_ACCURACY_AUDIT,
                                       IDC_BEAM_LOOP_TEST,
                                       IDC_DEVICE_CONSOLE,
                                       IDC_SURVEY_CONSOLE,
                                       IDC_PARTS_INSPECTOR,
                                       IDC_EVENT_MONITOR,
                                       IDC_CALIB_SUITE,
                                       IDC_ROM_INSTALLER,
                                       IDC_RANGE_CALIB,
                                       IDC_OTHER_APPLICATIONS,
                                       IDC_SELECT_UNITS};

// The main window's mnemonics, and some letters that are none.
const std::string kMainLetters = "nrsabdvimcgpuxzqNR";

const std::vector<std::string> kNames = {"ReadinessTest",
                                         "readinesstest",
                                         "STATUSREPORT",
                                         "StatusReport",
                                         "DeviceConsole",
                                         "RomInstaller",
                                         "RangeCalib",
                                         "rangecalib",
                                         "LevelCheck",
                                         "levelcheck",
                                         "NetworkSetup",
                                         "alpha",
                                         "Beta",
                                         "BETA",
                                         "zeta",
                                         "Nope",
                                         "",
                                         "ReadinessTestX"};

const std::vector<std::string> kFaultCalls = {"connect",
                                              "disconnect",
                                              "availableApplications",
                                              "startApplicationFrame",
                                              "modifyApplication",
                                              "stopApplicationFrame",
                                              "startAsync",
                                              "stopAsync",
                                              "startedApplications",
                                              "setBlocking",
                                              "addApplicationListener",
                                              "addBusyListener"};

std::string Describe(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
    {
        if (c == '\b')
        {
            out += "\\b";
        }
        else if (c == '\n')
        {
            out += "\\n";
        }
        else if (c < 0x20 || c >= 0x7F)
        {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
        else
        {
            out += static_cast<char>(c);
        }
    }
    return "\"" + out + "\"";
}

// The walk that runs now, for a report when the process is about to end.
OperatorWalk* g_running = nullptr;
std::terminate_handler g_previousTerminate = nullptr;

void ReportAndTerminate()
{
    if (g_running != nullptr)
    {
        std::fprintf(stderr, "%s\n", g_running->Report().c_str());
    }
    if (g_previousTerminate != nullptr)
    {
        g_previousTerminate();
    }
    std::abort();
}
} // namespace

OperatorWalk::OperatorWalk(std::uint64_t seed, int steps, WindowMaker makeWindow)
    : m_seed(seed), m_steps(steps), m_makeWindow(std::move(makeWindow)), m_model(OfferedByAddress())
{
    if (!m_makeWindow)
    {
        m_makeWindow = [](WalkJournal& journal)
        { return std::make_unique<WatchedMainWindow>(journal); };
    }
}

OperatorWalk::~OperatorWalk()
{
    if (g_running == this)
    {
        g_running = nullptr;
    }
}

void OperatorWalk::Log(const std::string& line)
{
    m_log.push_back(line);
}

void OperatorWalk::Fail(const std::string& failure)
{
    m_failures.push_back("step " + std::to_string(m_step) + ": " + failure);
    Log("  FAILED: " + failure);
}

std::string OperatorWalk::Report() const
{
    std::ostringstream out;
    out << "Operator walk with seed " << m_seed << ", " << m_steps
        << " steps: " << (m_failures.empty() ? "no failure" : "FAILED") << " after " << m_step
        << " steps, " << m_windows << " window(s), " << m_model.Constructions()
        << " Tracker object(s).\n"
        << "Replay: KELM_WALK_SEED=" << m_seed << " KELM_WALK_STEPS=" << m_steps
        << " (or bash scripts/walk.sh " << m_seed << " " << m_steps << ")\n";
    for (const std::string& f : m_failures)
    {
        out << "  " << f << "\n";
    }
    out << "Steps:\n";
    for (const std::string& line : m_log)
    {
        out << line << "\n";
    }
    return out.str();
}

bool OperatorWalk::Run()
{
    g_running = this;
    g_previousTerminate = std::set_terminate(ReportAndTerminate);

    const std::string path = theSettings.GetFilePath();
    m_settingsDir = path.substr(0, path.rfind('/'));
    for (const auto& [address, instrument] : Instruments())
    {
        TrackerSim::DefineInstrument(address, instrument);
    }
    TrackerSim::SetCallRecording(false);
    TrackerSim::SetAutomaticEvents(true);
    TrackerSim::SetRunTime(std::chrono::milliseconds(150));
    m_journal.AddNote("run-time", {150});
    m_journal.AddNote("automatic", {1});
    TrackerSim::SetTraceSink(
        [this](const std::string& line)
        {
            const std::string prefix = "[tracker] ";
            if (line.rfind("[tracker] event ", 0) != 0)
            {
                m_journal.AddCall(line.substr(prefix.size()));
            }
        });
    AfxSetMessageBoxHandler([this](const AfxMessageBoxInfo& info) { return AnswerBox(info); });
    AfxSetPopupMenuHandler(
        [this](const std::vector<AfxMenuItemInfo>& items) -> UINT
        {
            // Mostly About or nothing; now and then Close.
            std::vector<UINT> choices;
            for (const AfxMenuItemInfo& item : items)
            {
                if (!item.separator && item.enabled)
                {
                    choices.push_back(item.id);
                }
            }
            UINT chosen = 0;
            const int r = m_random.Below(100);
            if (!m_closingForGood && !choices.empty() && r < 60)
            {
                chosen = choices.back();
            }
            else if (!m_closingForGood && !choices.empty() && r < 70)
            {
                chosen = m_random.Pick(choices);
            }
            Log("  menu: chose " + std::to_string(chosen));
            return chosen;
        });
    AfxSetModalDriver(IDD_TRACKER_CONNECT, [this](CDialog& d) { DriveConnect(d); });
    AfxSetModalDriver(IDD_SELECT_UNITS, [this](CDialog& d) { DriveSelectUnits(d); });
    AfxSetModalDriver(IDD_OTHER_APPS, [this](CDialog& d) { DriveOtherApps(d); });
    AfxSetModalDriver(IDD_ABOUTBOX, [this](CDialog& d) { DriveAbout(d); });

    while (m_failures.empty() && (m_step < m_steps || m_windows == 0))
    {
        Session();
    }
    m_model.Apply(m_journal.Take());
    m_model.EndWalk();
    for (const std::string& f : m_model.TakeFailures())
    {
        Fail(f);
    }

    TrackerSim::SetTraceSink([](const std::string&) {});
    AfxSetMessageBoxHandler(nullptr);
    AfxSetPopupMenuHandler(nullptr);
    AfxClearModalDrivers();
    std::set_terminate(g_previousTerminate);
    g_running = nullptr;
    return m_failures.empty();
}

void OperatorWalk::Session()
{
    ++m_windows;
    Log("window " + std::to_string(m_windows) + " starts");
    {
        std::unique_ptr<WatchedMainWindow> made = m_makeWindow(m_journal);
        WatchedMainWindow& window = *made;
        m_window = &window;
        AfxQueueModalDriver(
            IDD_TOVAPPS_DIALOG,
            [this](CDialog& d)
            {
                m_journal.AddNote("window-started");
                Check(&d);
                while (m_failures.empty() && m_step < m_steps && d.IsWindowVisible())
                {
                    ++m_step;
                    m_random = WalkRandom(WalkRandom::Mix(m_seed, m_step));
                    m_boxRandom = WalkRandom(WalkRandom::Mix(m_seed ^ 0xB0C5, m_step));
                    m_journal.AddNote("step");
                    Step(d);
                    Check(d.IsWindowVisible() ? &d : nullptr);
                }
                if (d.IsWindowVisible())
                {
                    CloseForGood(d);
                }
            });
        const int result = window.DoModal();
        m_journal.AddNote("window-ended");
        Log("window " + std::to_string(m_windows) + " ended with " + std::to_string(result));
        Check(nullptr);
        // Every way of closing releases the tracker before the window goes.
        if (m_model.Constructions() != m_model.Destructions())
        {
            Fail("the window ended with its Tracker object still there");
        }
        for (const std::string& escaped : window.Escaped())
        {
            Fail(escaped);
        }
        m_window = nullptr;
    }
    // The window's own end releases whatever it still held.
    m_model.Apply(m_journal.Take());
    for (const std::string& f : m_model.TakeFailures())
    {
        Fail(f);
    }
}

void OperatorWalk::CloseForGood(CDialog& window)
{
    m_closingForGood = true;
    for (int attempt = 0; attempt < 10 && window.IsWindowVisible(); ++attempt)
    {
        Log("close for good: Escape");
        m_journal.AddNote("step");
        AfxTestPressKey(window, AfxKey::Escape);
        Check(window.IsWindowVisible() ? &window : nullptr);
    }
    if (window.IsWindowVisible())
    {
        Fail("the window would not close");
        window.EndDialog(IDCANCEL);
    }
    m_closingForGood = false;
}

int OperatorWalk::AnswerBox(const AfxMessageBoxInfo& info)
{
    ++m_answered;
    int answer = IDOK;
    if (info.buttons == MB_OKCANCEL && !m_closingForGood)
    {
        answer = m_boxRandom.Chance(50) ? IDOK : IDCANCEL;
    }
    else if (info.buttons == MB_YESNO || info.buttons == MB_YESNOCANCEL)
    {
        answer = m_boxRandom.Chance(50) ? IDYES : IDNO;
    }
    WalkEntry entry;
    entry.kind = WalkEntry::Kind::Box;
    entry.box = info;
    entry.answer = answer;
    m_journal.Add(entry);
    Log("  box " + Describe(info.text) + " over " + std::to_string(info.ownerTemplate) + " -> " +
        (answer == IDOK       ? "OK"
         : answer == IDCANCEL ? "Cancel"
                              : std::to_string(answer)));
    return answer;
}

void OperatorWalk::Check(CDialog* window)
{
    const bool open = window != nullptr;
    bool settled = false;
    std::vector<std::string> differences;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!settled && std::chrono::steady_clock::now() < deadline)
    {
        if (!TrackerSim::WaitForEvents(std::chrono::seconds(5)))
        {
            Fail("the tracker's events did not drain");
        }
        const long begun = m_journal.EventsBegun();
        const int inFlight = m_journal.EventsInFlight();
        AfxPumpEvents();
        {
            auto entries = m_journal.Take();
            if (std::getenv("KELM_WALK_DEBUG") != nullptr)
            {
                for (const WalkEntry& e : entries)
                {
                    Log("    journal " + std::to_string(static_cast<int>(e.kind)) + " " + e.text +
                        " " + std::to_string(e.message) + " " + std::to_string(e.wParam) + " " +
                        std::to_string(e.lParam) + " " + std::to_string(e.running));
                }
            }
            m_model.Apply(entries);
        }
        if (inFlight != 0 || m_model.MessagesOutstanding() ||
            (m_window != nullptr && m_window->StateMessagePending()))
        {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
            continue;
        }
        m_model.EndStep(open, m_window != nullptr ? m_window->GetAppUnitsArgument() : "");
        differences = open ? m_model.Compare(*window) : std::vector<std::string>();
        // An event that came meanwhile may have changed what the window
        // should show: look again.
        settled = m_journal.EventsBegun() == begun;
    }
    if (!settled)
    {
        Fail("the window never handled what its listeners were given to post:" +
             m_model.Outstanding() +
             (m_window != nullptr && m_window->StateMessagePending() ? " WM_APP_STATE" : ""));
    }
    for (const std::string& f : m_model.TakeFailures())
    {
        Fail(f);
    }
    for (const std::string& d : differences)
    {
        Fail(d);
    }
    for (const std::string& d : m_model.CheckSettingsFile(m_settingsDir))
    {
        Fail(d);
    }
    if (AfxUnfinishedModalCount() != 0)
    {
        Fail("a dialog was left open by its driver");
    }
    // Handlers show the wait cursor only while they run.
    if (AfxWaitCursorCount() != 0)
    {
        Fail("the wait cursor was left on");
    }
    // Every box was answered by the walk's handler: none stays open.
    if (AfxMessageBoxLog().size() != static_cast<std::size_t>(m_answered))
    {
        Fail("a message box was not answered");
    }
    AfxClearMessageBoxLog();
    m_answered = 0;
    if (m_window != nullptr)
    {
        for (const std::string& escaped : m_window->Escaped())
        {
            Fail(escaped);
        }
    }
}

void OperatorWalk::Step(CDialog& d)
{
    if (m_constructionFailsUntil >= 0 && m_step >= m_constructionFailsUntil)
    {
        TrackerSim::SetConstructionFails(false);
        m_constructionFailsUntil = -1;
        Log("step " + std::to_string(m_step) + ": Tracker objects can be made again");
    }
    const std::string at = "step " + std::to_string(m_step) + ": ";
    const int r = m_random.Below(100);
    if (r < 22)
    {
        const int id = m_random.Pick(kMainButtons);
        Log(at + "click " + std::to_string(id));
        if (!AfxTestClick(d, id))
        {
            Log("  (not usable)");
        }
    }
    else if (r < 30)
    {
        if (m_random.Chance(50))
        {
            Log(at + "click Connect");
            AfxTestClick(d, IDC_CONNECT);
        }
        else
        {
            Log(at + "Alt+N");
            AfxTestPressAlt(d, 'n');
        }
    }
    else if (r < 40)
    {
        const char letter = kMainLetters[static_cast<std::size_t>(
            m_random.Below(static_cast<int>(kMainLetters.size())))];
        Log(at + "Alt+" + std::string(1, letter));
        AfxTestPressAlt(d, letter);
    }
    else if (r < 45)
    {
        const std::vector<std::pair<AfxKey, const char*>> keys = {
            {AfxKey::Enter, "Enter"}, {AfxKey::Tab, "Tab"}, {AfxKey::BackTab, "Shift+Tab"},
            {AfxKey::Space, "Space"}, {AfxKey::Up, "Up"},   {AfxKey::Down, "Down"}};
        const auto& key = m_random.Pick(keys);
        Log(at + key.second + " (focus on " + std::to_string(AfxTestFocusedId(d)) + ")");
        AfxTestPressKey(d, key.first);
    }
    else if (r < 46)
    {
        switch (m_random.Below(5))
        {
        case 0:
            Log(at + "Escape");
            AfxTestPressKey(d, AfxKey::Escape);
            break;
        case 1:
            Log(at + "the close box");
            AfxTestClickCloseBox(d);
            break;
        case 2:
            Log(at + "click Close");
            AfxTestClick(d, IDCANCEL);
            break;
        case 3:
            Log(at + "Alt+E");
            AfxTestPressAlt(d, 'e');
            break;
        default:
            Log(at + "Alt+F4");
            AfxTestPressKey(d, AfxKey::F4, true);
            break;
        }
    }
    else if (r < 50)
    {
        switch (m_random.Below(3))
        {
        case 0:
            Log(at + "About from the system menu");
            AfxTestInvokeSystemMenu(d, IDM_ABOUTBOX);
            break;
        case 1:
            Log(at + "Alt+Space");
            AfxTestPressKey(d, AfxKey::Space, true);
            break;
        default:
            Log(at + "right click on the background");
            AfxTestRightClickBackground(d, 2, 2);
            break;
        }
    }
    else if (r < 77)
    {
        EmitSomething();
    }
    else if (r < 85)
    {
        InjectFault();
    }
    else if (r < 86)
    {
        Log(at + "Tracker objects cannot be made for five steps");
        TrackerSim::SetConstructionFails(true);
        m_constructionFailsUntil = m_step + 5;
    }
    else if (r < 88)
    {
        const std::vector<int> times = {20, 60, 150, 400, 600000};
        const int ms = m_random.Pick(times);
        Log(at + "applications run " + std::to_string(ms) + " ms");
        TrackerSim::SetRunTime(std::chrono::milliseconds(ms));
        m_journal.AddNote("run-time", {ms});
    }
    else if (r < 91)
    {
        const bool on = m_random.Chance(50);
        Log(at + std::string("automatic events ") + (on ? "on" : "off"));
        TrackerSim::SetAutomaticEvents(on);
        m_journal.AddNote("automatic", {on ? 1 : 0});
    }
    else if (r < 93)
    {
        const int ms = 1 + m_random.Below(25);
        Log(at + "wait " + std::to_string(ms) + " ms");
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    else
    {
        // The operator's usual business: an application, or the units.
        if (m_random.Chance(25))
        {
            Log(at + "Alt+U");
            AfxTestPressAlt(d, 'u');
        }
        else
        {
            const int id = IDC_READINESS_TEST + m_random.Below(11);
            Log(at + "launch " + std::to_string(id));
            if (!AfxTestClick(d, id))
            {
                Log("  (not usable)");
            }
        }
    }
}

std::string OperatorWalk::SomeAddress()
{
    if (m_model.Connected() && m_random.Chance(80))
    {
        return m_model.Address();
    }
    return "192.0.2." + m_random.Pick(kLastOctets);
}

void OperatorWalk::EmitSomething()
{
    const std::string address = SomeAddress();
    const std::string at = "step " + std::to_string(m_step) + ": ";
    if (m_random.Chance(45))
    {
        const bool command = m_random.Chance(40);
        const bool measure = m_random.Chance(30);
        Log(at + "busy " + std::to_string(command) + " " + std::to_string(measure) + " from " +
            address);
        TrackerSim::EmitBusy(address, command, measure);
    }
    else
    {
        const std::string& name = m_random.Pick(kNames);
        const bool running = m_random.Chance(50);
        Log(at + "application " + Describe(name) + (running ? " running" : " stopped") + " from " +
            address);
        TrackerSim::EmitApplication(address, name, running);
    }
}

void OperatorWalk::InjectFault()
{
    using TrackerSim::Fault;
    const std::string at = "step " + std::to_string(m_step) + ": ";
    if (m_random.Chance(10))
    {
        Log(at + "every instrument healed");
        for (const auto& [address, instrument] : Instruments())
        {
            TrackerSim::DefineInstrument(address, instrument);
        }
        return;
    }
    const std::string address = SomeAddress();
    std::string call = m_random.Pick(kFaultCalls);
    if ((call == "startApplicationFrame" || call == "modifyApplication" ||
         call == "stopApplicationFrame") &&
        m_random.Chance(60))
    {
        call += " " + m_random.Pick(kNames);
    }
    const std::vector<std::pair<Fault, const char*>> faults = {
        {Fault::Tracker, "TrackerException"},
        {Fault::Tracker, "TrackerException"},
        {Fault::UserPrompt, "UserPromptException"},
        {Fault::AsyncAlreadyStarted, "AsyncAlreadyStartedException"},
        {Fault::None, "nothing"}};
    const auto& fault = m_random.Pick(faults);
    Log(at + address + " " + call + " throws " + fault.second);
    TrackerSim::SetFault(address, call, fault.first);
}

std::string OperatorWalk::Password()
{
    const std::string alphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#%&*+-_=?@~";
    // Eight characters no settings file would hold by chance, then more.
    std::string password = "Pw";
    const int length = m_random.Chance(10) ? 200 : 6 + m_random.Below(40);
    while (static_cast<int>(password.size()) < length + 2)
    {
        password +=
            alphabet[static_cast<std::size_t>(m_random.Below(static_cast<int>(alphabet.size())))];
    }
    return password;
}

std::string OperatorWalk::SomeWayToEnter()
{
    const int roll = m_random.Below(10);
    return roll < 6 ? "type" : roll < 9 ? "paste" : "commit";
}

bool OperatorWalk::Enter(CDialog& d, int id, const std::string& text, const std::string& way)
{
    if (way == "paste")
    {
        return AfxTestPaste(d, id, text);
    }
    if (way == "commit")
    {
        return AfxTestCommitInputMethod(d, id, text);
    }
    return AfxTestType(d, id, text);
}

std::string OperatorWalk::OctetText(int field)
{
    const std::vector<std::string> garbage = {"\b",  "256",   "-1",         "-",   "abc", "12a",
                                              "010", "999",   "0",          "255", "1.2", "\xB0",
                                              "007", "65536", "4294967296", "+5"};
    if (m_random.Chance(50))
    {
        return m_random.Pick(garbage);
    }
    if (field == 3)
    {
        return m_random.Pick(kLastOctets);
    }
    return std::to_string(m_random.Below(256));
}

std::string OperatorWalk::PrecisionText()
{
    const std::vector<std::string> garbage = {"\b", "0", "10", "07", "x", "99", "-1", "3\b4"};
    if (m_random.Chance(40))
    {
        return m_random.Pick(garbage);
    }
    return std::to_string(1 + m_random.Below(9));
}

void OperatorWalk::NoteConnectChoice(CDialog& d)
{
    std::vector<std::string> octets;
    for (int id : {IDC_IP1, IDC_IP2, IDC_IP3, IDC_IP4})
    {
        octets.push_back(d.GetDlgItem(id)->GetWindowText());
    }
    const long user = static_cast<CComboBox*>(d.GetDlgItem(IDC_USER_NAME))->GetCurSel();
    const long corvo = d.IsDlgButtonChecked(IDC_TYPE_CORVO) == BST_CHECKED ? 1 : 0;
    m_journal.AddNote("connect-choice", {user, corvo}, octets);
}

void OperatorWalk::DriveConnect(CDialog& d)
{
    m_journal.AddNote("connect-opened");
    Log("  [Connect to Tracker]");
    auto act = [&](const std::string& what, const std::function<bool()>& action)
    {
        Log("    " + what);
        if (!action())
        {
            Log("      (not usable)");
        }
    };
    // The model keeps every password entered, to look for it in the file.
    auto enterPassword = [&]
    {
        const std::string password = Password();
        const std::string way = SomeWayToEnter();
        act(way + " password " + password,
            [&]
            {
                const bool entered = Enter(d, IDC_PASSWORD, password, way);
                if (entered)
                {
                    m_journal.AddNote("password", {}, {password});
                }
                return entered;
            });
    };

    if (m_random.Chance(65))
    {
        // An operator who means to connect somewhere.
        const std::string ip4 = m_random.Pick(kLastOctets);
        const int fields[3] = {IDC_IP1, IDC_IP2, IDC_IP3};
        const char* usual[3] = {"192", "0", "2"};
        for (int k = 0; k < 3; ++k)
        {
            if (d.GetDlgItem(fields[k])->GetWindowText() != usual[k])
            {
                act("type " + std::to_string(fields[k]) + " " + usual[k],
                    [&] { return AfxTestType(d, fields[k], usual[k]); });
            }
        }
        act("type 1007 " + ip4, [&] { return AfxTestType(d, IDC_IP4, ip4); });
        const bool corvo = (ip4 == "11") != m_random.Chance(10);
        act(corvo ? "click Corvo" : "click Kelm",
            [&] { return AfxTestClick(d, corvo ? IDC_TYPE_CORVO : IDC_TYPE_KELM); });
        if (m_random.Chance(30))
        {
            const int user = 1 + m_random.Below(2);
            act("choose user " + std::to_string(user),
                [&] { return AfxTestSelect(d, IDC_USER_NAME, user); });
            if (m_random.Chance(85))
            {
                enterPassword();
            }
        }
        else if (m_random.Chance(20))
        {
            act("choose user 0", [&] { return AfxTestSelect(d, IDC_USER_NAME, 0); });
        }
    }
    const int actions = m_random.Below(5);
    for (int a = 0; a < actions && d.IsWindowVisible(); ++a)
    {
        switch (m_random.Below(9))
        {
        case 0:
        {
            const int user = m_random.Below(3);
            act("choose user " + std::to_string(user),
                [&] { return AfxTestSelect(d, IDC_USER_NAME, user); });
            break;
        }
        case 1:
            enterPassword();
            break;
        case 2:
            act("click Corvo", [&] { return AfxTestClick(d, IDC_TYPE_CORVO); });
            break;
        case 3:
            act("click Kelm", [&] { return AfxTestClick(d, IDC_TYPE_KELM); });
            break;
        case 4:
        case 5:
        {
            const int field = m_random.Below(4);
            const int ids[4] = {IDC_IP1, IDC_IP2, IDC_IP3, IDC_IP4};
            const std::string text = OctetText(field);
            const std::string way = SomeWayToEnter();
            act(way + " " + std::to_string(ids[field]) + " " + Describe(text),
                [&] { return Enter(d, ids[field], text, way); });
            break;
        }
        case 6:
            if (m_random.Chance(15))
            {
                act("click Find Trackers", [&] { return AfxTestClick(d, IDC_FIND_TRACKERS); });
            }
            break;
        case 7:
            act("Tab", [&] { return AfxTestPressKey(d, AfxKey::Tab); });
            break;
        default:
        {
            const char letter = "nuptkcfo"[m_random.Below(8)];
            act(std::string("Alt+") + letter, [&] { return AfxTestPressAlt(d, letter); });
            break;
        }
        }
    }
    Finish(d, "Connect to Tracker");
}

int OperatorWalk::UnitsResultOf(CDialog& d, int action)
{
    // 0 OK, 1 Enter, then the ways of cancelling.
    if (action == 0)
    {
        return IDOK;
    }
    if (action == 1)
    {
        const int focus = AfxTestFocusedId(d);
        return focus == IDCANCEL ? IDCANCEL : IDOK;
    }
    return IDCANCEL;
}

bool OperatorWalk::Finish(CDialog& d, const char* name)
{
    const UINT templateId = d.GetTemplateId();
    for (int round = 0; round < 6 && d.IsWindowVisible(); ++round)
    {
        // After three rounds an operator gives up and presses Escape.
        int action = 2;
        if (round < 3)
        {
            const int r = m_random.Below(100);
            action = r < 55 ? 0 : r < 70 ? 1 : 2 + m_random.Below(4);
        }
        if (templateId == IDD_TRACKER_CONNECT)
        {
            if (round > 0 && round < 3 && m_random.Chance(50))
            {
                // Put right what the check refused.
                const int ids[4] = {IDC_IP1, IDC_IP2, IDC_IP3, IDC_IP4};
                const char* usual[4] = {"192", "0", "2", "10"};
                for (int k = 0; k < 4; ++k)
                {
                    AfxTestType(d, ids[k], usual[k]);
                }
                Log("    type 192.0.2.10");
            }
            NoteConnectChoice(d);
        }
        std::vector<long> units;
        std::vector<long> precisions;
        std::vector<std::string> texts;
        int unitsResult = 0;
        if (templateId == IDD_SELECT_UNITS)
        {
            for (int id :
                 {IDC_LENGTH_UNIT, IDC_ANGLE_UNIT, IDC_PRESSURE_UNIT, IDC_TEMPERATURE_UNIT})
            {
                units.push_back(static_cast<CComboBox*>(d.GetDlgItem(id))->GetCurSel());
            }
            for (int id : {IDC_LENGTH_PRECISION, IDC_ANGLE_PRECISION, IDC_PRESSURE_PRECISION,
                           IDC_TEMPERATURE_PRECISION})
            {
                texts.push_back(d.GetDlgItem(id)->GetWindowText());
                precisions.push_back(std::strtol(texts.back().c_str(), nullptr, 10));
            }
            unitsResult = UnitsResultOf(d, action);
        }
        const char* names[] = {"OK", "Enter", "Escape", "Cancel", "the close box", "Alt+F4"};
        Log(std::string("    ") + names[action] + " (focus on " +
            std::to_string(AfxTestFocusedId(d)) + ")");
        switch (action)
        {
        case 0:
            if (!AfxTestClick(d, IDOK))
            {
                AfxTestPressKey(d, AfxKey::Enter);
            }
            break;
        case 1:
            AfxTestPressKey(d, AfxKey::Enter);
            break;
        case 2:
            AfxTestPressKey(d, AfxKey::Escape);
            break;
        case 3:
            if (!AfxTestClick(d, IDCANCEL))
            {
                AfxTestPressKey(d, AfxKey::Escape);
            }
            break;
        case 4:
            AfxTestClickCloseBox(d);
            break;
        default:
            AfxTestPressKey(d, AfxKey::F4, true);
            break;
        }
        if (templateId == IDD_SELECT_UNITS && !d.IsWindowVisible())
        {
            std::vector<long> numbers = {unitsResult};
            numbers.insert(numbers.end(), units.begin(), units.end());
            numbers.insert(numbers.end(), precisions.begin(), precisions.end());
            numbers.push_back(m_journal.EventsInFlight());
            m_journal.AddNote("units-closed", numbers, texts);
        }
    }
    if (d.IsWindowVisible())
    {
        Fail(std::string(name) + " would not close");
        return false;
    }
    return true;
}

void OperatorWalk::DriveSelectUnits(CDialog& d)
{
    m_journal.AddNote("units-opened");
    Log("  [Select Units]");
    auto act = [&](const std::string& what, const std::function<bool()>& action)
    {
        Log("    " + what);
        if (!action())
        {
            Log("      (not usable)");
        }
    };
    const int combos[4] = {IDC_LENGTH_UNIT, IDC_ANGLE_UNIT, IDC_PRESSURE_UNIT,
                           IDC_TEMPERATURE_UNIT};
    const int edits[4] = {IDC_LENGTH_PRECISION, IDC_ANGLE_PRECISION, IDC_PRESSURE_PRECISION,
                          IDC_TEMPERATURE_PRECISION};
    const int spins[4] = {IDC_LENGTH_SPIN, IDC_ANGLE_SPIN, IDC_PRESSURE_SPIN, IDC_TEMPERATURE_SPIN};
    const int actions = m_random.Below(6);
    for (int a = 0; a < actions; ++a)
    {
        const int q = m_random.Below(4);
        switch (m_random.Below(6))
        {
        case 0:
        case 1:
        {
            auto* combo = static_cast<CComboBox*>(d.GetDlgItem(combos[q]));
            const int index = m_random.Below(combo->GetCount() + 1);
            act("choose " + std::to_string(index) + " in " + std::to_string(combos[q]),
                [&] { return AfxTestSelect(d, combos[q], index); });
            break;
        }
        case 2:
        {
            const std::string text = PrecisionText();
            const std::string way = SomeWayToEnter();
            act(way + " " + std::to_string(edits[q]) + " " + Describe(text),
                [&] { return Enter(d, edits[q], text, way); });
            break;
        }
        case 3:
        {
            const bool up = m_random.Chance(50);
            act(std::string(up ? "up" : "down") + " on " + std::to_string(spins[q]),
                [&] { return AfxTestClickSpin(d, spins[q], up); });
            break;
        }
        case 4:
            EmitSomething();
            break;
        default:
            act("Tab", [&] { return AfxTestPressKey(d, AfxKey::Tab); });
            break;
        }
    }
    Finish(d, "Select Units");
}

void OperatorWalk::DriveOtherApps(CDialog& d)
{
    Log("  [Other Applications]");
    auto* list = static_cast<CListBox*>(d.GetDlgItem(IDC_APP_LIST));
    const int actions = m_random.Below(4);
    for (int a = 0; a < actions && d.IsWindowVisible(); ++a)
    {
        const int row = m_random.Below(list->GetCount() + 1);
        switch (m_random.Below(4))
        {
        case 0:
        case 1:
            Log("    choose row " + std::to_string(row) +
                (AfxTestSelect(d, IDC_APP_LIST, row) ? "" : " (none)"));
            break;
        case 2:
            Log("    double-click row " + std::to_string(row) +
                (AfxTestDoubleClickItem(d, IDC_APP_LIST, row) ? "" : " (none)"));
            break;
        default:
            EmitSomething();
            break;
        }
    }
    Finish(d, "Other Applications");
}

void OperatorWalk::DriveAbout(CDialog& d)
{
    Log("  [About]");
    if (m_random.Chance(30))
    {
        Log("    Tab");
        AfxTestPressKey(d, AfxKey::Tab);
    }
    Finish(d, "About");
}
