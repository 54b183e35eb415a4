// SPDX-License-Identifier: Apache-2.0
#include "tracker/sim/SimNetwork.h"

#include "tracker/sim/SimTracker.h"

#include <cstdio>

namespace TrackerSim
{
namespace
{
const std::vector<std::string> kTableApps = {"ReadinessTest",  "StatusReport",  "AccuracyAudit",
                                             "BeamLoopTest",   "DeviceConsole", "SurveyConsole",
                                             "PartsInspector", "EventMonitor",  "CalibSuite",
                                             "RomInstaller",   "RangeCalib"};

std::vector<std::pair<std::string, Instrument>> BuiltIns()
{
    Instrument healthy;
    healthy.offered = kTableApps;
    healthy.offered->push_back("LevelCheck");
    healthy.offered->push_back("NetworkSetup");

    Instrument corvo;
    corvo.type = "TrackerCorvo";
    corvo.offered = {
        {"ReadinessTest", "StatusReport", "DeviceConsole", "SurveyConsole", "LevelCheck"}};

    Instrument oldFirmware = healthy;
    oldFirmware.faults["connect"] = Fault::UserPrompt;

    Instrument asyncRunning = healthy;
    asyncRunning.faults["startAsync"] = Fault::AsyncAlreadyStarted;

    Instrument asyncFails = healthy;
    asyncFails.faults["startAsync"] = Fault::Tracker;

    Instrument noList = healthy;
    noList.offered = std::nullopt;

    Instrument others;
    others.offered = {{"zeta", "alpha", "Beta", "alpha"}};

    // The table's names in letters of other cases, and events in yet
    // another: every letter's case swapped from the offer.
    Instrument otherCase;
    otherCase.offered = {{"readinesstest", "STATUSREPORT", "sURVEYcONSOLE", "partsinspector",
                          "EVENTMONITOR", "RANGECALIB", "levelcheck"}};
    otherCase.swapsEventCase = true;

    Instrument faulty = healthy;
    faulty.faults = {{"startApplicationFrame RomInstaller", Fault::Tracker},
                     {"modifyApplication DeviceConsole", Fault::Tracker},
                     {"stopApplicationFrame StatusReport", Fault::Tracker},
                     {"stopAsync", Fault::Tracker},
                     {"disconnect", Fault::Tracker}};

    // A real instrument over a real network: seconds to connect, a second
    // for each thing it is asked to do.
    Instrument slow = healthy;
    slow.connectTime = std::chrono::seconds(4);
    slow.actionTime = std::chrono::seconds(1);

    // No instrument answers: the connect waits for the network's time-out.
    Instrument switchedOff = healthy;
    switchedOff.faults["connect"] = Fault::Tracker;
    switchedOff.connectTime = std::chrono::seconds(15);

    return {{"192.0.2.10", healthy},      {"192.0.2.11", corvo},      {"192.0.2.12", oldFirmware},
            {"192.0.2.13", asyncRunning}, {"192.0.2.14", asyncFails}, {"192.0.2.15", noList},
            {"192.0.2.16", others},       {"192.0.2.17", faulty},     {"192.0.2.18", otherCase},
            {"192.0.2.19", slow},         {"192.0.2.20", switchedOff}};
}

template <typename V>
V* FindIn(std::vector<std::pair<std::string, V>>& list, const std::string& key)
{
    for (auto& entry : list)
    {
        if (entry.first == key)
        {
            return &entry.second;
        }
    }
    return nullptr;
}
} // namespace

bool SameName(const std::string& a, const std::string& b)
{
    // ASCII letters only, as an instrument compares names: the process's
    // locale has no say (strcasecmp would let a Turkish one keep "I" and "i"
    // apart).
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
    {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        if (lower(a[i]) != lower(b[i]))
        {
            return false;
        }
    }
    return true;
}

SimNetwork& SimNetwork::Instance()
{
    static SimNetwork network;
    return network;
}

std::vector<std::pair<std::string, Instrument>> SimNetwork::BuiltInInstruments()
{
    return BuiltIns();
}

SimNetwork::SimNetwork() : m_instruments(BuiltIns()) {}

std::optional<Instrument> SimNetwork::Find(const std::string& address)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (Instrument* instrument = FindIn(m_instruments, address))
    {
        return *instrument;
    }
    return std::nullopt;
}

std::map<std::string, Fault> SimNetwork::UnconnectedFaults()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_unconnectedFaults;
}

std::optional<std::optional<std::vector<std::string>>>
SimNetwork::StartedOverride(const std::string& address)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (auto* started = FindIn(m_started, address))
    {
        return *started;
    }
    return std::nullopt;
}

bool SimNetwork::AutomaticEvents()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_automaticEvents;
}

bool SimNetwork::ConstructionFails()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_constructionFails;
}

std::chrono::milliseconds SimNetwork::RunTime()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_runTime;
}

void SimNetwork::Register(SimTracker* tracker)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trackers.insert(tracker);
}

void SimNetwork::Unregister(SimTracker* tracker)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trackers.erase(tracker);
}

void SimNetwork::ForEach(const std::function<void(SimTracker&)>& f)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (SimTracker* tracker : m_trackers)
    {
        f(*tracker);
    }
}

void SimNetwork::Trace(const std::string& line, bool isCall)
{
    std::lock_guard<std::mutex> lock(m_traceMutex);
    if (isCall && m_recordCalls)
    {
        m_calls.push_back(line);
    }
    if (m_sink)
    {
        m_sink(line);
        return;
    }
    // One write per line, so that lines of different threads never mix.
    std::string withNewline = line + '\n';
    std::fwrite(withNewline.data(), 1, withNewline.size(), stderr);
}

void SimNetwork::Reset()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_instruments = BuiltIns();
        m_started.clear();
        m_automaticEvents = true;
        m_constructionFails = false;
        m_unconnectedFaults.clear();
        m_runTime = std::chrono::milliseconds(10000);
    }
    std::lock_guard<std::mutex> lock(m_traceMutex);
    m_calls.clear();
    m_recordCalls = true;
    m_sink = nullptr;
}

void SimNetwork::Define(const std::string& address, const Instrument& instrument)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (Instrument* existing = FindIn(m_instruments, address))
    {
        *existing = instrument;
        return;
    }
    m_instruments.emplace_back(address, instrument);
}

void SimNetwork::SetFault(const std::string& address, const std::string& call, Fault fault)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Instrument* instrument = FindIn(m_instruments, address);
    std::map<std::string, Fault>* faults =
        address.empty() ? &m_unconnectedFaults
                        : (instrument != nullptr ? &instrument->faults : nullptr);
    if (faults == nullptr)
    {
        return;
    }
    if (fault == Fault::None)
    {
        faults->erase(call);
    }
    else
    {
        (*faults)[call] = fault;
    }
}

void SimNetwork::SetStarted(const std::string& address,
                            std::optional<std::optional<std::vector<std::string>>> started)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_started.begin(); it != m_started.end(); ++it)
    {
        if (it->first == address)
        {
            m_started.erase(it);
            break;
        }
    }
    if (started)
    {
        m_started.emplace_back(address, *started);
    }
}

void SimNetwork::SetAutomaticEvents(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_automaticEvents = on;
}

void SimNetwork::SetConstructionFails(bool fails)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_constructionFails = fails;
}

void SimNetwork::SetRunTime(std::chrono::milliseconds runTime)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_runTime = runTime;
}

std::vector<std::string> SimNetwork::Calls()
{
    std::lock_guard<std::mutex> lock(m_traceMutex);
    return m_calls;
}

void SimNetwork::ClearCalls()
{
    std::lock_guard<std::mutex> lock(m_traceMutex);
    m_calls.clear();
}

void SimNetwork::SetCallRecording(bool on)
{
    std::lock_guard<std::mutex> lock(m_traceMutex);
    m_recordCalls = on;
}

void SimNetwork::SetTraceSink(std::function<void(const std::string&)> sink)
{
    std::lock_guard<std::mutex> lock(m_traceMutex);
    m_sink = std::move(sink);
}
} // namespace TrackerSim
