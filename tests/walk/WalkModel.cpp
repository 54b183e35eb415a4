// SPDX-License-Identifier: Apache-2.0
#include "tests/walk/WalkModel.h"

#include "app/CTovAppsDlg.h"
#include "settings/CSerialize.h"
#include "tests/support/TempDir.h"
#include "units/UnitsArgument.h"

#include <algorithm>
#include <cstdlib>

namespace
{
const char* const kTable[11] = {"ReadinessTest", "StatusReport",  "AccuracyAudit",  "BeamLoopTest",
                                "DeviceConsole", "SurveyConsole", "PartsInspector", "EventMonitor",
                                "CalibSuite",    "RomInstaller",  "RangeCalib"};
const int kButtonIds[12] = {5000, 5001, 5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010, 5012};
const int kOtherApps = 11;
const int kRangeCalib = 10;

const std::string kFirmware = "Encountered incompatible MCU firmware.\n\nPlease upgrade MCU "
                              "firmware to a minimum revision of 5.0";
const std::string kCouldNotConnect =
    "The tracker could not be connected to.\n\nCheck that the IP address, password, and type of "
    "tracker are set correctly.";
const std::string kAsyncStart = "Got an exception while starting Asynchronous Messages";
const std::string kAsyncStop = "Got an exception while stopping Asynchronous Messages";
const std::string kDisconnect = "Got an exception while disconnecting from Tracker";
const std::string kCloseApp = "Got an exception while closing app : ";
const std::string kStillRunning =
    "Application(s) are still running.\nDo you really want to close all applications and "
    "disconnect?";
const std::string kLaunch = "Got Exception while launching an App";
const std::string kModify = "Got Exception while modifying App units";

// Letters compared as ASCII, whatever the locale says.
bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
    {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
        {
            return false;
        }
    }
    return true;
}

int TableIndex(const std::string& name)
{
    for (int i = 0; i < 11; ++i)
    {
        if (SameName(name, kTable[i]))
        {
            return i;
        }
    }
    return -1;
}

// One trace line taken apart: `startApplicationFrame "A" "B" -> TrackerException`.
struct CallLine
{
    explicit CallLine(const std::string& line)
    {
        std::string body = line;
        const std::size_t arrow = line.rfind(" -> ");
        if (arrow != std::string::npos && line.find('"', arrow) == std::string::npos)
        {
            exception = line.substr(arrow + 4);
            body = line.substr(0, arrow);
        }
        name = body.substr(0, body.find(' '));
        std::size_t pos = 0;
        while ((pos = body.find('"', pos)) != std::string::npos)
        {
            const std::size_t end = body.find('"', pos + 1);
            if (end == std::string::npos)
            {
                break;
            }
            args.push_back(body.substr(pos + 1, end - pos - 1));
            pos = end + 1;
        }
    }
    bool failed() const { return !exception.empty(); }
    std::string arg(std::size_t i) const { return i < args.size() ? args[i] : std::string(); }

    std::string name;
    std::vector<std::string> args;
    std::string exception;
};

std::string LastOctet(const std::string& address)
{
    return address.substr(address.rfind('.') + 1);
}

std::string Flag(bool visible, bool enabled)
{
    return std::string(visible ? "V" : "-") + (enabled ? "E" : "-");
}
} // namespace

WalkModel::WalkModel(std::map<std::string, Offered> offered) : m_offered(std::move(offered)) {}

void WalkModel::Fail(const std::string& failure)
{
    m_failures.push_back(failure);
}

std::vector<std::string> WalkModel::TakeFailures()
{
    std::vector<std::string> taken;
    taken.swap(m_failures);
    return taken;
}

void WalkModel::Apply(const std::vector<WalkEntry>& entries)
{
    for (const WalkEntry& e : entries)
    {
        if (m_releasePending)
        {
            // A Tracker deleted just before the next one is made was a failed
            // attempt's; any other went in the disconnect routine.
            m_releasePending = false;
            if (!(e.kind == WalkEntry::Kind::Call && e.text.rfind("Tracker ", 0) == 0))
            {
                ReleaseTracker();
            }
        }
        switch (e.kind)
        {
        case WalkEntry::Kind::Call:
            OnCall(e);
            break;
        case WalkEntry::Kind::BusyEvent:
            OnBusy(e);
            break;
        case WalkEntry::Kind::AppEvent:
            OnApp(e);
            break;
        case WalkEntry::Kind::Handled:
            OnHandled(e);
            break;
        case WalkEntry::Kind::Box:
            OnBox(e);
            break;
        case WalkEntry::Kind::Note:
            OnNote(e);
            break;
        }
    }
}

void WalkModel::ExpectBox(const std::string& call, const std::string& exception)
{
    std::string text;
    if (call == "Tracker" || call == "setBlocking" || call == "connect" ||
        call == "addApplicationListener" || call == "addBusyListener" ||
        call == "availableApplications")
    {
        text =
            exception == "UserPromptException" && call != "Tracker" ? kFirmware : kCouldNotConnect;
    }
    else if (call == "startAsync")
    {
        if (exception == "AsyncAlreadyStartedException")
        {
            return;
        }
        text = kAsyncStart;
    }
    else if (call == "startApplicationFrame")
    {
        text = kLaunch;
    }
    else if (call == "modifyApplication")
    {
        text = kModify;
    }
    else if (call == "stopAsync")
    {
        text = kAsyncStop;
    }
    else if (call == "disconnect")
    {
        text = kDisconnect;
    }
    else if (call == "startedApplications")
    {
        return; // taken as nothing running, without a word
    }
    else
    {
        Fail("unexpected failing call " + call);
        return;
    }
    m_pendingBox = text;
    m_pendingBoxFor = call + " -> " + exception;
}

void WalkModel::OnCall(const WalkEntry& e)
{
    const CallLine c(e.text);
    if (c.name != "modifyApplication")
    {
        FinishModify();
    }
    if (m_pendingBox)
    {
        Fail("no message after " + m_pendingBoxFor + " before the call " + e.text);
        m_pendingBox.reset();
    }
    if (m_closing.active && !m_closing.removed && c.name != "removeApplicationListener" &&
        c.name != "startedApplications")
    {
        Fail("the disconnect routine called " + e.text + " before removing its listeners");
    }

    if (c.name == "Tracker")
    {
        const bool corvo = c.arg(0) == "TrackerCorvo";
        if (corvo != m_connectCorvo || (!corvo && c.arg(0) != "TrackerLintel"))
        {
            Fail("the tracker type " + c.arg(0) + " is not the one chosen");
        }
        m_trackerLive = false;
        m_connected = false;
        if (c.failed())
        {
            ExpectBox("Tracker", c.exception);
            return;
        }
        ++m_constructions;
        m_trackerLive = true;
        m_address.clear();
        for (int k = 0; k < 2; ++k)
        {
            m_addTries[k] = m_adds[k] = m_removes[k] = 0;
            m_listening[k] = false;
        }
        m_onInstrument.clear();
        return;
    }
    if (!m_trackerLive)
    {
        Fail("call without a Tracker: " + e.text);
        return;
    }
    if (c.name == "setBlocking")
    {
        if (!c.failed() && e.text != "setBlocking true")
        {
            Fail("blocking calls were not asked for: " + e.text);
        }
    }
    else if (c.name == "connect")
    {
        std::string address;
        for (std::size_t i = 0; i < m_connectOctets.size(); ++i)
        {
            address += (i == 0 ? "" : ".") +
                       std::to_string(std::strtoul(m_connectOctets[i].c_str(), nullptr, 10));
        }
        if (c.arg(0) != address)
        {
            Fail("connected to " + c.arg(0) + " while the octets read " + address);
        }
        const std::string users[] = {"user", "admin", "factory"};
        const std::string user =
            m_connectUser >= 0 && m_connectUser < 3 ? users[m_connectUser] : "";
        if (c.arg(1) != user)
        {
            Fail("connected as " + c.arg(1) + " while " + user + " was chosen");
        }
        if (!c.failed())
        {
            m_connected = true;
            m_address = c.arg(0);
        }
    }
    else if (c.name == "addApplicationListener" || c.name == "addBusyListener")
    {
        const int k = c.name == "addApplicationListener" ? 0 : 1;
        ++m_addTries[k];
        if (!c.failed())
        {
            ++m_adds[k];
            m_listening[k] = true;
        }
        if (k == 1 && !c.failed() && m_adds[0] > 0)
        {
            m_caption = "Disco&nnect (" + LastOctet(m_address) + ")";
        }
    }
    else if (c.name == "availableApplications")
    {
        m_others.clear();
        if (!c.failed())
        {
            auto it = m_offered.find(m_address);
            const Offered offered = it != m_offered.end() ? it->second : Offered();
            if (!offered || offered->empty())
            {
                for (Button& b : m_buttons)
                {
                    b.ruled = false;
                    b.enabled = false;
                }
            }
            else
            {
                for (int j = 0; j < 11; ++j)
                {
                    const bool has =
                        std::any_of(offered->begin(), offered->end(),
                                    [&](const std::string& o) { return SameName(o, kTable[j]); });
                    if (has)
                    {
                        m_buttons[j].ruled = false;
                        m_buttons[j].enabled = true;
                    }
                    else
                    {
                        m_buttons[j].visible = false;
                    }
                }
                for (const std::string& o : *offered)
                {
                    if (TableIndex(o) < 0)
                    {
                        m_others.push_back(o);
                    }
                }
                if (!m_others.empty())
                {
                    m_buttons[kOtherApps] = {true, false, true};
                }
            }
        }
    }
    else if (c.name == "startAsync")
    {
        if (!c.failed() || c.exception == "AsyncAlreadyStartedException")
        {
            // Connected: the choices that worked are stored, never the password.
            m_memory.user = m_connectUser;
            m_memory.type = m_connectCorvo ? 0 : 1;
            m_memory.address.clear();
            for (std::size_t i = 0; i < m_connectOctets.size(); ++i)
            {
                m_memory.address += (i == 0 ? "" : ".") + m_connectOctets[i];
            }
            m_file = m_memory;
        }
    }
    else if (c.name == "startApplicationFrame")
    {
        const std::string name = c.arg(0);
        const bool other = c.arg(1).empty();
        if (other)
        {
            if (std::find(m_others.begin(), m_others.end(), name) == m_others.end())
            {
                Fail("started " + name + " from Other Applications, which does not list it");
            }
        }
        else
        {
            const int i = TableIndex(name);
            if (i < 0 || name != kTable[i])
            {
                Fail("a button started " + name + ", which is not the table's name");
            }
            const bool argumentOk = c.arg(1) == m_unitsArgument ||
                                    (m_unitsUndecided && c.arg(1) == m_unitsUndecided->argument);
            if (!argumentOk)
            {
                Fail("started " + name + " with \"" + c.arg(1) + "\" instead of \"" +
                     m_unitsArgument + "\"");
            }
            if (!c.failed() && i >= 0)
            {
                m_buttons[i].ruled = false;
                m_buttons[i].enabled = false;
            }
        }
        if (!c.failed())
        {
            std::string canonical = name;
            auto it = m_offered.find(m_address);
            if (it != m_offered.end() && it->second)
            {
                for (const std::string& o : *it->second)
                {
                    if (SameName(o, name))
                    {
                        canonical = o;
                        break;
                    }
                }
            }
            m_onInstrument.erase(std::remove_if(m_onInstrument.begin(), m_onInstrument.end(),
                                                [&](const Started& s)
                                                { return SameName(s.name, canonical); }),
                                 m_onInstrument.end());
            m_onInstrument.push_back({canonical, m_stepBegan, m_runTime, m_automatic});
        }
    }
    else if (c.name == "modifyApplication")
    {
        const int i = TableIndex(c.arg(0));
        if (i < 0 || c.arg(0) != kTable[i])
        {
            Fail("modified " + c.arg(0) + ", which is not the table's name");
        }
        const bool argumentOk = c.arg(1) == m_unitsArgument ||
                                (m_unitsUndecided && c.arg(1) == m_unitsUndecided->argument);
        if (!argumentOk)
        {
            Fail("modified " + c.arg(0) + " with \"" + c.arg(1) + "\" instead of \"" +
                 m_unitsArgument + "\"");
        }
        if (!m_modify.active)
        {
            Fail("modified " + c.arg(0) + " with no units confirmed");
        }
        else if (!m_modify.seen.empty() && i <= m_modify.seen.back())
        {
            Fail("modified " + c.arg(0) + " out of the table's order");
        }
        m_modify.seen.push_back(i);
    }
    else if (c.name == "startedApplications")
    {
        if (m_closing.active)
        {
            Fail("startedApplications asked twice in one disconnect");
        }
        m_closing = Closing();
        m_closing.active = true;
        m_closing.known = !c.failed();
        m_closing.at = e.at;
        m_closing.running = m_onInstrument;
    }
    else if (c.name == "removeApplicationListener" || c.name == "removeBusyListener")
    {
        const int k = c.name == "removeApplicationListener" ? 0 : 1;
        ++m_removes[k];
        if (m_closing.active && k == 0)
        {
            if (m_closing.declined)
            {
                Fail("went on disconnecting after the operator declined");
            }
            const bool mustAsk =
                m_closing.known &&
                std::any_of(m_closing.running.begin(), m_closing.running.end(),
                            [&](const Started& s) { return !MayHaveStopped(s, m_closing.at); });
            if (mustAsk && !m_closing.asked)
            {
                Fail("stopped running applications without asking");
            }
            m_closing.removed = true;
        }
    }
    else if (c.name == "stopApplicationFrame")
    {
        const std::string name = c.arg(0);
        if (!m_closing.active || !m_closing.known)
        {
            Fail("stopped " + name + " outside the disconnect routine's stops");
        }
        else
        {
            const bool listed =
                std::any_of(m_closing.running.begin(), m_closing.running.end(),
                            [&](const Started& s) { return SameName(s.name, name); });
            if (!listed)
            {
                Fail("stopped " + name + ", which the tracker did not report running");
            }
            m_closing.stopped.push_back(name);
        }
        if (c.failed())
        {
            m_pendingBox = kCloseApp + name;
            m_pendingBoxFor = e.text;
        }
        else
        {
            m_onInstrument.erase(std::remove_if(m_onInstrument.begin(), m_onInstrument.end(),
                                                [&](const Started& s)
                                                { return SameName(s.name, name); }),
                                 m_onInstrument.end());
        }
    }
    else if (c.name == "stopAsync" || c.name == "disconnect")
    {
        FinishClosing(c.name);
        if (c.name == "disconnect" && !c.failed())
        {
            m_connected = false;
            m_onInstrument.clear();
        }
    }
    else if (c.name == "~Tracker")
    {
        FinishClosing("~Tracker");
        ++m_destructions;
        for (int k = 0; k < 2; ++k)
        {
            // Every listener added is removed before its Tracker goes, once.
            // A connection whose listener steps failed still removes both
            // when it is closed, added or not, as the disconnect does.
            if (m_removes[k] < m_adds[k] || m_removes[k] > 1)
            {
                Fail(std::string(k == 0 ? "application" : "busy") + " listener added " +
                     std::to_string(m_adds[k]) + " time(s) (" + std::to_string(m_addTries[k]) +
                     " tried) but removed " + std::to_string(m_removes[k]) + " time(s)");
            }
            m_listening[k] = false;
        }
        m_trackerLive = false;
        m_connected = false;
        m_onInstrument.clear();
        m_releasePending = true;
    }
    else
    {
        Fail("unknown call " + e.text);
    }

    if (c.failed() && c.name != "stopApplicationFrame")
    {
        ExpectBox(c.name, c.exception);
    }
}

bool WalkModel::MayHaveStopped(const Started& app, Clock::time_point at) const
{
    return app.automatic && at >= app.notBefore + app.runTime;
}

void WalkModel::FinishClosing(const std::string& by)
{
    if (!m_closing.active)
    {
        return;
    }
    if (!m_closing.removed)
    {
        Fail(by + " without the listeners removed first");
    }
    if (m_closing.known)
    {
        for (const Started& s : m_closing.running)
        {
            const bool stopped =
                std::any_of(m_closing.stopped.begin(), m_closing.stopped.end(),
                            [&](const std::string& n) { return SameName(n, s.name); });
            if (!stopped && !MayHaveStopped(s, m_closing.at))
            {
                Fail("disconnected leaving " + s.name + " running");
            }
        }
    }
    m_closing = Closing();
}

void WalkModel::FinishModify()
{
    if (!m_modify.active)
    {
        return;
    }
    auto has = [](const std::vector<int>& v, int i)
    { return std::find(v.begin(), v.end(), i) != v.end(); };
    for (int i : m_modify.expected)
    {
        if (!has(m_modify.seen, i) && !has(m_modify.changed, i))
        {
            Fail(std::string("the new units did not reach ") + kTable[i] + ", which runs");
        }
    }
    for (int i : m_modify.seen)
    {
        if (!has(m_modify.expected, i) && !has(m_modify.changed, i))
        {
            Fail(std::string("the new units went to ") + kTable[i] + ", which does not run");
        }
    }
    m_modify = ModifyCheck();
}

void WalkModel::ReleaseTracker()
{
    // The disconnect routine's end: the lists emptied, the state reset, the
    // Ran&ge Calib button hidden and disabled; then, from the Connect
    // button, the window's disconnected look.
    m_others.clear();
    std::fill(std::begin(m_running), std::end(m_running), false);
    m_busy = false;
    m_caption = "Co&nnect...";
    for (int j = 0; j < 12; ++j)
    {
        m_buttons[j] = {j < kRangeCalib, false, false};
    }
}

void WalkModel::OnBox(const WalkEntry& e)
{
    const UINT owner = e.box.ownerTemplate;
    if (owner == IDD_TRACKER_CONNECT || owner == IDD_SELECT_UNITS)
    {
        return; // the dialogs' own checks
    }
    if (owner != IDD_TOVAPPS_DIALOG && owner != 0)
    {
        Fail("a message box over dialog " + std::to_string(owner) + ": " + e.box.text);
        return;
    }
    if (m_pendingBox && e.box.text == *m_pendingBox)
    {
        if (e.box.buttons != MB_OK || !e.box.application)
        {
            Fail("the message \"" + e.box.text + "\" is not an application box with OK only");
        }
        m_pendingBox.reset();
        return;
    }
    if (e.box.text == kStillRunning)
    {
        if (e.box.caption != "Warning" || e.box.buttons != MB_OKCANCEL || e.box.icon != 0 ||
            e.box.application)
        {
            Fail("the confirmation is not the window's own \"Warning\" box with OK and Cancel");
        }
        if (!m_closing.active || m_closing.removed || !m_closing.known || m_closing.asked ||
            m_closing.running.empty())
        {
            Fail("asked to confirm with nothing reported running");
        }
        m_closing.asked = true;
        m_closing.declined = e.answer != IDOK;
        return;
    }
    Fail("unexpected message \"" + e.box.text + "\"" +
         (m_pendingBox ? " instead of \"" + *m_pendingBox + "\"" : std::string()));
    m_pendingBox.reset();
}

void WalkModel::OnNote(const WalkEntry& e)
{
    auto number = [&](std::size_t i) { return i < e.numbers.size() ? e.numbers[i] : 0L; };
    if (e.text == "step")
    {
        FinishModify();
        m_stepBegan = e.at;
    }
    else if (e.text == "run-time")
    {
        m_runTime = std::chrono::milliseconds(number(0));
    }
    else if (e.text == "automatic")
    {
        m_automatic = number(0) != 0;
    }
    else if (e.text == "window-started")
    {
        ResetWindow();
    }
    else if (e.text == "window-ended")
    {
        m_windowOpen = false;
        m_expectedPosts.clear();
        m_stateEvents = m_stateHandled = 0;
    }
    else if (e.text == "connect-opened" || e.text == "units-opened")
    {
        LoadFromFile();
    }
    else if (e.text == "connect-choice")
    {
        m_connectUser = static_cast<int>(number(0));
        m_connectCorvo = number(1) != 0;
        m_connectOctets = e.strings;
    }
    else if (e.text == "password")
    {
        m_passwords.insert(m_passwords.end(), e.strings.begin(), e.strings.end());
    }
    else if (e.text == "units-closed")
    {
        UnitsArgument::Choice choices[4];
        UnitsChoice chosen;
        for (int q = 0; q < 4; ++q)
        {
            choices[q].unitIndex = static_cast<int>(number(1 + q));
            choices[q].precision = q < static_cast<int>(e.strings.size()) ? e.strings[q] : "";
            chosen.units[2 * q] = number(1 + q);
            chosen.units[2 * q + 1] = number(5 + q);
        }
        chosen.argument = UnitsArgument::Build(choices);
        const long result = number(0);
        m_modify = ModifyCheck();
        if (result == IDOK && number(9) == 0)
        {
            m_modify.active = true;
            for (int i = 0; i < 11; ++i)
            {
                if (m_running[i])
                {
                    m_modify.expected.push_back(i);
                }
            }
        }
        if (result == IDOK)
        {
            m_unitsArgument = chosen.argument;
            std::copy(std::begin(chosen.units), std::end(chosen.units), m_memory.units);
            m_file = m_memory;
        }
        else if (result == 0)
        {
            m_unitsUndecided = chosen;
        }
    }
}

void WalkModel::OnBusy(const WalkEntry& e)
{
    if (!m_listening[1])
    {
        Fail("a busy event reached the window with no busy listener attached");
    }
    m_busy = e.command || e.measure;
    ++m_stateEvents;
}

void WalkModel::OnApp(const WalkEntry& e)
{
    if (!m_listening[0])
    {
        Fail("an application event reached the window with no application listener attached");
    }
    const long enable = e.running ? 0 : 1;
    const int i = TableIndex(e.text);
    if (i >= 0)
    {
        if (m_modify.active)
        {
            m_modify.changed.push_back(i);
        }
        m_running[i] = e.running;
        ++m_stateEvents;
        return;
    }
    const bool other = std::any_of(m_others.begin(), m_others.end(),
                                   [&](const std::string& o) { return SameName(o, e.text); });
    if (other)
    {
        m_expectedPosts.push_back({WM_OTHER_APP_STATE, 0, enable});
    }
}

void WalkModel::OnHandled(const WalkEntry& e)
{
    if (e.message == WM_APP_STATE)
    {
        // One message may answer many events, but no message comes without one.
        if (++m_stateHandled > m_stateEvents || e.wParam != -1 || e.lParam != 0)
        {
            Fail("the window handled WM_APP_STATE (" + std::to_string(e.wParam) + ", " +
                 std::to_string(e.lParam) + ") beyond the " + std::to_string(m_stateEvents) +
                 " busy and application events it was given");
        }
        for (Button& b : m_buttons)
        {
            b.ruled = true;
        }
        return;
    }
    if (m_expectedPosts.empty())
    {
        Fail("the window handled message " + std::to_string(e.message) + " (" +
             std::to_string(e.wParam) + ", " + std::to_string(e.lParam) + ") nobody posted");
        return;
    }
    const Posted expected = m_expectedPosts.front();
    m_expectedPosts.erase(m_expectedPosts.begin());
    if (expected.message != e.message || expected.wParam != e.wParam || expected.lParam != e.lParam)
    {
        Fail("the window handled message " + std::to_string(e.message) + " (" +
             std::to_string(e.wParam) + ", " + std::to_string(e.lParam) + ") where " +
             std::to_string(expected.message) + " (" + std::to_string(expected.wParam) + ", " +
             std::to_string(expected.lParam) + ") was posted");
    }
    m_buttons[kOtherApps].ruled = false;
    m_buttons[kOtherApps].enabled = e.lParam != 0;
}

void WalkModel::ResetWindow()
{
    m_windowOpen = true;
    m_caption = "Co&nnect...";
    for (int j = 0; j < 12; ++j)
    {
        m_buttons[j] = {j < kRangeCalib, false, false};
    }
    std::fill(std::begin(m_running), std::end(m_running), false);
    m_busy = false;
    m_others.clear();
    m_expectedPosts.clear();
    m_stateEvents = m_stateHandled = 0;
    m_unitsUndecided.reset();
    // The window builds its argument from the stored units, or has the
    // built-in one without a settings file.
    LoadFromFile();
    if (m_file)
    {
        UnitsArgument::Choice choices[4];
        for (int q = 0; q < 4; ++q)
        {
            choices[q].unitIndex = static_cast<int>(m_file->units[2 * q]);
            choices[q].precision = std::to_string(m_file->units[2 * q + 1]);
        }
        m_unitsArgument = UnitsArgument::Build(choices);
    }
    else
    {
        m_unitsArgument = UnitsArgument::kBuiltInDefault;
    }
}

void WalkModel::LoadFromFile()
{
    if (m_file)
    {
        m_memory = *m_file;
    }
}

void WalkModel::EndStep(bool windowOpen, const std::string& unitsArgument)
{
    FinishModify();
    if (m_releasePending)
    {
        m_releasePending = false;
        ReleaseTracker();
    }
    if (m_pendingBox)
    {
        Fail("no message after " + m_pendingBoxFor);
        m_pendingBox.reset();
    }
    if (m_closing.active)
    {
        if (!m_closing.declined)
        {
            Fail("the disconnect routine stopped half-way");
        }
        m_closing = Closing();
    }
    if (m_unitsUndecided)
    {
        // Select Units closed in a way the walk could not tell: the window's
        // argument says which, and the file must say the same.
        if (unitsArgument == m_unitsUndecided->argument)
        {
            m_unitsArgument = m_unitsUndecided->argument;
            std::copy(std::begin(m_unitsUndecided->units), std::end(m_unitsUndecided->units),
                      m_memory.units);
            m_file = m_memory;
        }
        m_unitsUndecided.reset();
    }
    if (!windowOpen)
    {
        m_windowOpen = false;
    }
}

std::string WalkModel::Outstanding() const
{
    std::string text;
    for (const Posted& p : m_expectedPosts)
    {
        text += " " +
                std::string(p.message == WM_APP_STATE ? "WM_APP_STATE" : "WM_OTHER_APP_STATE") +
                " (" + std::to_string(p.wParam) + ", " + std::to_string(p.lParam) + ")";
    }
    return text;
}

bool WalkModel::Rule(int button) const
{
    return button == kOtherApps ? !m_busy : !m_running[button] && !m_busy;
}

std::string WalkModel::Expected(const Button& b, int index) const
{
    return Flag(b.visible, b.ruled ? Rule(index) : b.enabled);
}

std::vector<std::string> WalkModel::Compare(CDialog& window) const
{
    std::vector<std::string> differences;
    const std::string caption = window.GetDlgItem(IDC_CONNECT)->GetWindowText();
    if (caption != m_caption)
    {
        differences.push_back("Connect reads \"" + caption + "\", not \"" + m_caption + "\"");
    }
    for (int id : {IDC_CONNECT, IDC_SELECT_UNITS, IDCANCEL})
    {
        CWnd* b = window.GetDlgItem(id);
        if (!b->IsWindowVisible() || !b->IsWindowEnabled())
        {
            differences.push_back("button " + std::to_string(id) + " is not usable");
        }
    }
    for (int j = 0; j < 12; ++j)
    {
        CWnd* b = window.GetDlgItem(kButtonIds[j]);
        const std::string shown =
            Flag(b->IsWindowVisible() != FALSE, b->IsWindowEnabled() != FALSE);
        const std::string expected = Expected(m_buttons[j], j);
        if (shown != expected)
        {
            differences.push_back("button " + std::to_string(kButtonIds[j]) + " is " + shown +
                                  ", not " + expected +
                                  (m_buttons[j].ruled ? " (by the running and busy rule: running " +
                                                            std::to_string(j < 11 && m_running[j]) +
                                                            ", busy " + std::to_string(m_busy) + ")"
                                                      : ""));
        }
    }
    const std::string argument = static_cast<CTovAppsDlg&>(window).GetAppUnitsArgument();
    if (argument != m_unitsArgument)
    {
        differences.push_back("the units argument is \"" + argument + "\", not \"" +
                              m_unitsArgument + "\"");
    }
    return differences;
}

std::vector<std::string> WalkModel::CheckSettingsFile(const std::string& dir) const
{
    std::vector<std::string> differences;
    CSerialize stored(dir);
    const std::string bytes = ReadBytes(stored.GetFilePath());
    const bool exists = FileExists(stored.GetFilePath());
    if (!exists)
    {
        if (m_file)
        {
            differences.push_back("the settings file is missing");
        }
        return differences;
    }
    if (!stored.Load())
    {
        differences.push_back("the settings file is not a valid record");
        return differences;
    }
    for (const std::string& password : m_passwords)
    {
        if (bytes.find(password.substr(0, 8)) != std::string::npos)
        {
            differences.push_back("the settings file holds the password " + password);
        }
    }
    if (!m_file)
    {
        differences.push_back("a settings file was written, where none was due");
        return differences;
    }
    std::int32_t user = 0, type = 0;
    std::string address;
    stored.GetConnection(user, type, address);
    std::int32_t u[8];
    stored.GetLengthUnits(u[0], u[1]);
    stored.GetAngleUnits(u[2], u[3]);
    stored.GetPressureUnits(u[4], u[5]);
    stored.GetTemperatureUnits(u[6], u[7]);
    auto text = [](long a, long b, const std::string& s, const long* units)
    {
        std::string t = std::to_string(a) + " " + std::to_string(b) + " \"" + s + "\"";
        for (int i = 0; i < 8; ++i)
        {
            t += " " + std::to_string(units[i]);
        }
        return t;
    };
    long stored8[8];
    std::copy(std::begin(u), std::end(u), stored8);
    const std::string have = text(user, type, address, stored8);
    const std::string want = text(m_file->user, m_file->type, m_file->address, m_file->units);
    if (have != want)
    {
        differences.push_back("the settings file holds " + have + ", not " + want);
    }
    return differences;
}

void WalkModel::EndWalk()
{
    if (m_releasePending)
    {
        m_releasePending = false;
        ReleaseTracker();
    }
    if (m_constructions != m_destructions || m_trackerLive)
    {
        Fail(std::to_string(m_constructions) + " Tracker object(s) made, " +
             std::to_string(m_destructions) + " released");
    }
}
