// SPDX-License-Identifier: Apache-2.0
// One simulated connection: the state behind a Tracker object and the thread
// that delivers its events. Internal to the simulated library.
#ifndef KELM_TRACKER_SIM_SIMTRACKER_H
#define KELM_TRACKER_SIM_SIMTRACKER_H

#include "tracker/Tracker.h"
#include "tracker/sim/SimControl.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace TrackerSim
{
class SimTracker
{
public:
    explicit SimTracker(std::string type);
    ~SimTracker();
    SimTracker(const SimTracker&) = delete;
    SimTracker& operator=(const SimTracker&) = delete;

    void SetBlocking(bool blocking);
    void Connect(const char* address, const char* user, const char* password);
    void Disconnect();
    void AddBusyListener(BusyListener* listener);
    void RemoveBusyListener(BusyListener* listener);
    void AddApplicationListener(ApplicationListener* listener);
    void RemoveApplicationListener(ApplicationListener* listener);
    TrkDrvObjectArray* AvailableApplications();
    TrkDrvObjectArray* StartedApplications();
    void StartApplicationFrame(const char* name, const char* arguments);
    void ModifyApplication(const char* name, const char* arguments);
    void StopApplicationFrame(const char* name);
    void StartAsync();
    void StopAsync();

    // For the control interface: queue an event if connected to address.
    void EmitBusy(const std::string& address, bool command, bool measure);
    void EmitApplication(const std::string& address, const std::string& name, bool running);
    void EndApplication(const std::string& address, const std::string& name);
    // Nothing queued and nothing being delivered.
    bool Idle();

private:
    struct Event
    {
        bool busy;
        bool command;
        bool measure;
        std::string name;
        bool running;
    };
    struct RunningApp
    {
        std::string name;
        std::string eventName; // as the instrument's events spell it
        std::chrono::steady_clock::time_point stopAt;
    };

    // The instrument this connection talks to, its fault for the call (and
    // application), and the connected check; each throws as the call would.
    Instrument ConnectedInstrument(const std::string& call, const std::string& line);
    void CheckFault(const Instrument& instrument, const std::string& call, const std::string& app,
                    const std::string& line);
    // For calls that need no connection: the instrument's fault once
    // connected, the network's fault for unconnected Trackers before.
    void CheckLocalFault(const std::string& call, const std::string& line);
    [[noreturn]] void Throw(Fault fault, const std::string& line);
    std::vector<RunningApp>::iterator FindRunning(const std::string& name);

    void Queue(Event event); // m_mutex held
    void Run();
    void Deliver(const Event& event);

    const std::string m_type;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_address;
    bool m_connected = false;
    bool m_asyncRunning = false;
    bool m_stopping = false;
    bool m_delivering = false;
    std::deque<Event> m_queue;
    std::vector<RunningApp> m_running;
    std::vector<BusyListener*> m_busyListeners;
    std::vector<ApplicationListener*> m_appListeners;

    // Held while a callback runs, so that removing a listener waits for it.
    std::recursive_mutex m_deliveryMutex;
    std::thread m_thread;
};
} // namespace TrackerSim

#endif
