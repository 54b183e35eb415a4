// SPDX-License-Identifier: Apache-2.0
#include "tracker/sim/SimControl.h"

#include "tracker/sim/SimNetwork.h"
#include "tracker/sim/SimTracker.h"

#include <thread>

namespace TrackerSim
{
void Reset()
{
    SimNetwork::Instance().Reset();
}

void DefineInstrument(const std::string& address, const Instrument& instrument)
{
    SimNetwork::Instance().Define(address, instrument);
}

std::map<std::string, Instrument> BuiltInInstruments()
{
    const std::vector<std::pair<std::string, Instrument>> list = SimNetwork::BuiltInInstruments();
    return {list.begin(), list.end()};
}

void SetFault(const std::string& address, const std::string& call, Fault fault)
{
    SimNetwork::Instance().SetFault(address, call, fault);
}

void SetStartedApplications(const std::string& address,
                            std::optional<std::optional<std::vector<std::string>>> started)
{
    SimNetwork::Instance().SetStarted(address, std::move(started));
}

void SetConstructionFails(bool fails)
{
    SimNetwork::Instance().SetConstructionFails(fails);
}

void SetAutomaticEvents(bool on)
{
    SimNetwork::Instance().SetAutomaticEvents(on);
}

void SetRunTime(std::chrono::milliseconds runTime)
{
    SimNetwork::Instance().SetRunTime(runTime);
}

void EmitBusy(const std::string& address, bool command, bool measure)
{
    SimNetwork::Instance().ForEach([&](SimTracker& tracker)
                                   { tracker.EmitBusy(address, command, measure); });
}

void EmitApplication(const std::string& address, const std::string& name, bool running)
{
    SimNetwork::Instance().ForEach([&](SimTracker& tracker)
                                   { tracker.EmitApplication(address, name, running); });
}

void EndApplication(const std::string& address, const std::string& name)
{
    SimNetwork::Instance().ForEach([&](SimTracker& tracker)
                                   { tracker.EndApplication(address, name); });
}

bool WaitForEvents(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        bool idle = true;
        SimNetwork::Instance().ForEach([&](SimTracker& tracker) { idle = idle && tracker.Idle(); });
        if (idle)
        {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

std::vector<std::string> Calls()
{
    return SimNetwork::Instance().Calls();
}

void ClearCalls()
{
    SimNetwork::Instance().ClearCalls();
}

void SetCallRecording(bool on)
{
    SimNetwork::Instance().SetCallRecording(on);
}

void SetTraceSink(std::function<void(const std::string& line)> sink)
{
    SimNetwork::Instance().SetTraceSink(std::move(sink));
}
} // namespace TrackerSim
