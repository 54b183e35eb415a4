// SPDX-License-Identifier: Apache-2.0
// The simulated instruments, the live Tracker objects and the trace: the
// state every simulated Tracker shares. Internal to the simulated library.
#ifndef KELM_TRACKER_SIM_SIMNETWORK_H
#define KELM_TRACKER_SIM_SIMNETWORK_H

#include "tracker/sim/SimControl.h"

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace TrackerSim
{
class SimTracker;

bool SameName(const std::string& a, const std::string& b);

class SimNetwork
{
public:
    static SimNetwork& Instance();
    static std::vector<std::pair<std::string, Instrument>> BuiltInInstruments();

    std::optional<Instrument> Find(const std::string& address);
    // The faults of calls made before connecting (SetFault at "").
    std::map<std::string, Fault> UnconnectedFaults();
    std::optional<std::optional<std::vector<std::string>>>
    StartedOverride(const std::string& address);
    bool AutomaticEvents();
    bool ConstructionFails();
    std::chrono::milliseconds RunTime();

    void Register(SimTracker* tracker);
    void Unregister(SimTracker* tracker);
    // Calls f for every live tracker, under the network's lock.
    void ForEach(const std::function<void(SimTracker&)>& f);

    // One trace line; recorded among the calls when it is one and calls are
    // being recorded.
    void Trace(const std::string& line, bool isCall);

    // The control interface's implementation.
    void Reset();
    void Define(const std::string& address, const Instrument& instrument);
    void SetFault(const std::string& address, const std::string& call, Fault fault);
    void SetStarted(const std::string& address,
                    std::optional<std::optional<std::vector<std::string>>> started);
    void SetAutomaticEvents(bool on);
    void SetConstructionFails(bool fails);
    void SetRunTime(std::chrono::milliseconds runTime);
    std::vector<std::string> Calls();
    void ClearCalls();
    void SetCallRecording(bool on);
    void SetTraceSink(std::function<void(const std::string&)> sink);

private:
    SimNetwork();

    std::mutex m_mutex;
    std::vector<std::pair<std::string, Instrument>> m_instruments;
    std::vector<std::pair<std::string, std::optional<std::vector<std::string>>>> m_started;
    bool m_automaticEvents = true;
    bool m_constructionFails = false;
    std::map<std::string, Fault> m_unconnectedFaults;
    std::chrono::milliseconds m_runTime{10000};
    std::set<SimTracker*> m_trackers;

    std::mutex m_traceMutex;
    // Off in a process that never asks for the calls (the program's own
    // run): its trace goes out and nothing of it stays.
    bool m_recordCalls = false;
    std::vector<std::string> m_calls;
    std::function<void(const std::string&)> m_sink;
};
} // namespace TrackerSim

#endif
