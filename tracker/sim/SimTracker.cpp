// SPDX-License-Identifier: Apache-2.0
#include "tracker/sim/SimTracker.h"

#include "tracker/sim/SimLibraryObjects.h"
#include "tracker/sim/SimNetwork.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>

namespace TrackerSim
{
namespace
{
std::string Quote(const char* text)
{
    return text == nullptr ? std::string("null") : "\"" + std::string(text) + "\"";
}

const char* FaultName(Fault fault)
{
    switch (fault)
    {
    case Fault::UserPrompt:
        return "UserPromptException";
    case Fault::AsyncAlreadyStarted:
        return "AsyncAlreadyStartedException";
    default:
        return "TrackerException";
    }
}

std::string Text(const char* text)
{
    return text != nullptr ? text : "";
}

std::string SwapCase(std::string name)
{
    for (char& c : name)
    {
        if (c >= 'A' && c <= 'Z')
        {
            c = static_cast<char>(c - 'A' + 'a');
        }
        else if (c >= 'a' && c <= 'z')
        {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return name;
}
} // namespace

SimTracker::SimTracker(std::string type) : m_type(std::move(type))
{
    SimNetwork::Instance().Trace("[tracker] Tracker " + Quote(m_type.c_str()), true);
    m_thread = std::thread([this] { Run(); });
    SimNetwork::Instance().Register(this);
}

SimTracker::~SimTracker()
{
    SimNetwork::Instance().Unregister(this);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_running.clear();
    }
    m_wake.notify_all();
    if (m_thread.get_id() == std::this_thread::get_id())
    {
        // Deleted from inside one of its own callbacks.
        m_thread.detach();
    }
    else
    {
        m_thread.join();
    }
    SimNetwork::Instance().Trace("[tracker] ~Tracker", true);
}

void SimTracker::Throw(Fault fault, const std::string& line)
{
    SimNetwork::Instance().Trace(line + " -> " + FaultName(fault), true);
    switch (fault)
    {
    case Fault::UserPrompt:
        throw new UserPromptException();
    case Fault::AsyncAlreadyStarted:
        throw new AsyncAlreadyStartedException();
    default:
        throw new TrackerException();
    }
}

void SimTracker::CheckFault(const Instrument& instrument, const std::string& call,
                            const std::string& app, const std::string& line)
{
    for (const auto& [key, fault] : instrument.faults)
    {
        bool matches = key == call;
        if (!matches && !app.empty() && key.size() > call.size() &&
            key.compare(0, call.size() + 1, call + " ") == 0)
        {
            matches = SameName(key.substr(call.size() + 1), app);
        }
        if (matches && fault != Fault::None)
        {
            Throw(fault, line);
        }
    }
}

void SimTracker::CheckLocalFault(const std::string& call, const std::string& line)
{
    std::optional<std::string> address;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_connected)
        {
            address = m_address;
        }
    }
    Instrument faults;
    if (!address)
    {
        faults.faults = SimNetwork::Instance().UnconnectedFaults();
    }
    else if (std::optional<Instrument> instrument = SimNetwork::Instance().Find(*address))
    {
        faults = *instrument;
    }
    CheckFault(faults, call, "", line);
}

Instrument SimTracker::ConnectedInstrument(const std::string& call, const std::string& line)
{
    std::string address;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_connected)
        {
            Throw(Fault::Tracker, line);
        }
        address = m_address;
    }
    std::optional<Instrument> instrument = SimNetwork::Instance().Find(address);
    if (!instrument)
    {
        Throw(Fault::Tracker, line);
    }
    static_cast<void>(call);
    return *instrument;
}

std::vector<SimTracker::RunningApp>::iterator SimTracker::FindRunning(const std::string& name)
{
    return std::find_if(m_running.begin(), m_running.end(),
                        [&](const RunningApp& app) { return SameName(app.name, name); });
}

void SimTracker::SetBlocking(bool blocking)
{
    const std::string line = std::string("[tracker] setBlocking ") + (blocking ? "true" : "false");
    CheckLocalFault("setBlocking", line);
    SimNetwork::Instance().Trace(line, true);
}

void SimTracker::Connect(const char* address, const char* user, const char* password)
{
    // Never the password.
    const std::string line = "[tracker] connect " + Quote(address) + " " + Quote(user);
    std::optional<Instrument> instrument = SimNetwork::Instance().Find(Text(address));
    if (!instrument)
    {
        Throw(Fault::Tracker, line); // no instrument answers
    }
    std::this_thread::sleep_for(instrument->connectTime);
    CheckFault(*instrument, "connect", "", line);
    const std::string name = Text(user);
    const bool knownUser = name == "user" || name == "admin" || name == "factory";
    const bool passwordMissing = name != "user" && Text(password).empty();
    if (instrument->type != m_type || !knownUser || passwordMissing)
    {
        Throw(Fault::Tracker, line);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_connected = true;
        m_address = Text(address);
    }
    SimNetwork::Instance().Trace(line, true);
}

void SimTracker::Disconnect()
{
    const std::string line = "[tracker] disconnect";
    Instrument instrument = ConnectedInstrument("disconnect", line);
    std::this_thread::sleep_for(instrument.actionTime);
    CheckFault(instrument, "disconnect", "", line);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_connected = false;
        m_asyncRunning = false;
        m_running.clear();
    }
    SimNetwork::Instance().Trace(line, true);
}

void SimTracker::AddBusyListener(BusyListener* listener)
{
    const std::string line = "[tracker] addBusyListener";
    CheckLocalFault("addBusyListener", line);
    SimNetwork::Instance().Trace(line, true);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_busyListeners.push_back(listener);
}

void SimTracker::RemoveBusyListener(BusyListener* listener)
{
    SimNetwork::Instance().Trace("[tracker] removeBusyListener", true);
    std::lock_guard<std::recursive_mutex> delivery(m_deliveryMutex);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_busyListeners.erase(std::remove(m_busyListeners.begin(), m_busyListeners.end(), listener),
                          m_busyListeners.end());
}

void SimTracker::AddApplicationListener(ApplicationListener* listener)
{
    const std::string line = "[tracker] addApplicationListener";
    CheckLocalFault("addApplicationListener", line);
    SimNetwork::Instance().Trace(line, true);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_appListeners.push_back(listener);
}

void SimTracker::RemoveApplicationListener(ApplicationListener* listener)
{
    SimNetwork::Instance().Trace("[tracker] removeApplicationListener", true);
    std::lock_guard<std::recursive_mutex> delivery(m_deliveryMutex);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_appListeners.erase(std::remove(m_appListeners.begin(), m_appListeners.end(), listener),
                         m_appListeners.end());
}

TrkDrvObjectArray* SimTracker::AvailableApplications()
{
    const std::string line = "[tracker] availableApplications";
    Instrument instrument = ConnectedInstrument("availableApplications", line);
    CheckFault(instrument, "availableApplications", "", line);
    SimNetwork::Instance().Trace(line, true);
    if (!instrument.offered)
    {
        return nullptr;
    }
    auto* array = new SimObjectArray(SimObjectArray::Strings);
    for (const std::string& name : *instrument.offered)
    {
        array->add(new SimStringPointer(name));
    }
    return array;
}

TrkDrvObjectArray* SimTracker::StartedApplications()
{
    // Callers do not guard it: it throws only when a test has asked for it.
    const std::string line = "[tracker] startedApplications";
    std::vector<std::string> names;
    std::string address;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_connected)
        {
            SimNetwork::Instance().Trace(line, true);
            return nullptr;
        }
        address = m_address;
        for (const RunningApp& app : m_running)
        {
            names.push_back(app.name);
        }
    }
    if (std::optional<Instrument> instrument = SimNetwork::Instance().Find(address))
    {
        CheckFault(*instrument, "startedApplications", "", line);
    }
    SimNetwork::Instance().Trace(line, true);
    if (auto started = SimNetwork::Instance().StartedOverride(address))
    {
        if (!*started)
        {
            return nullptr;
        }
        names = **started;
    }
    else if (names.empty())
    {
        return nullptr;
    }
    auto* array = new SimObjectArray(SimObjectArray::Names);
    for (const std::string& name : names)
    {
        char* copy = new char[name.size() + 1];
        std::memcpy(copy, name.c_str(), name.size() + 1);
        array->add(copy);
    }
    return array;
}

void SimTracker::StartApplicationFrame(const char* name, const char* arguments)
{
    const std::string line =
        "[tracker] startApplicationFrame " + Quote(name) + " " + Quote(arguments);
    Instrument instrument = ConnectedInstrument("startApplicationFrame", line);
    std::this_thread::sleep_for(instrument.actionTime);
    CheckFault(instrument, "startApplicationFrame", Text(name), line);
    const std::vector<std::string> offered =
        instrument.offered.value_or(std::vector<std::string>{});
    auto it = std::find_if(offered.begin(), offered.end(),
                           [&](const std::string& o) { return SameName(o, Text(name)); });
    if (it == offered.end())
    {
        Throw(Fault::Tracker, line);
    }
    const bool automatic = SimNetwork::Instance().AutomaticEvents();
    const auto runTime = SimNetwork::Instance().RunTime();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (FindRunning(*it) != m_running.end())
        {
            Throw(Fault::Tracker, line);
        }
        auto stopAt = automatic ? std::chrono::steady_clock::now() + runTime
                                : std::chrono::steady_clock::time_point::max();
        const std::string eventName = instrument.swapsEventCase ? SwapCase(*it) : *it;
        m_running.push_back({*it, eventName, stopAt});
        SimNetwork::Instance().Trace(line, true);
        if (automatic)
        {
            Queue({true, true, false, {}, false});
            Queue({false, false, false, eventName, true});
            Queue({true, false, false, {}, false});
        }
    }
    m_wake.notify_all();
}

void SimTracker::ModifyApplication(const char* name, const char* arguments)
{
    const std::string line = "[tracker] modifyApplication " + Quote(name) + " " + Quote(arguments);
    Instrument instrument = ConnectedInstrument("modifyApplication", line);
    std::this_thread::sleep_for(instrument.actionTime);
    CheckFault(instrument, "modifyApplication", Text(name), line);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (FindRunning(Text(name)) == m_running.end())
    {
        Throw(Fault::Tracker, line);
    }
    SimNetwork::Instance().Trace(line, true);
}

void SimTracker::StopApplicationFrame(const char* name)
{
    const std::string line = "[tracker] stopApplicationFrame " + Quote(name);
    Instrument instrument = ConnectedInstrument("stopApplicationFrame", line);
    std::this_thread::sleep_for(instrument.actionTime);
    CheckFault(instrument, "stopApplicationFrame", Text(name), line);
    const bool automatic = SimNetwork::Instance().AutomaticEvents();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = FindRunning(Text(name));
        if (it == m_running.end())
        {
            Throw(Fault::Tracker, line);
        }
        std::string stopped = it->eventName;
        m_running.erase(it);
        SimNetwork::Instance().Trace(line, true);
        if (automatic)
        {
            Queue({false, false, false, stopped, false});
        }
    }
    m_wake.notify_all();
}

void SimTracker::StartAsync()
{
    const std::string line = "[tracker] startAsync";
    Instrument instrument = ConnectedInstrument("startAsync", line);
    std::this_thread::sleep_for(instrument.actionTime);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_asyncRunning)
    {
        Throw(Fault::AsyncAlreadyStarted, line);
    }
    try
    {
        CheckFault(instrument, "startAsync", "", line);
    }
    catch (AsyncAlreadyStartedException*)
    {
        // They were running already, and keep running.
        m_asyncRunning = true;
        throw;
    }
    m_asyncRunning = true;
    SimNetwork::Instance().Trace(line, true);
}

void SimTracker::StopAsync()
{
    const std::string line = "[tracker] stopAsync";
    Instrument instrument = ConnectedInstrument("stopAsync", line);
    std::this_thread::sleep_for(instrument.actionTime);
    CheckFault(instrument, "stopAsync", "", line);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_asyncRunning = false;
    SimNetwork::Instance().Trace(line, true);
}

void SimTracker::EmitBusy(const std::string& address, bool command, bool measure)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_connected || m_address != address)
        {
            return;
        }
        Queue({true, command, measure, {}, false});
    }
    m_wake.notify_all();
}

void SimTracker::EmitApplication(const std::string& address, const std::string& name, bool running)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_connected || m_address != address)
        {
            return;
        }
        Queue({false, false, false, name, running});
    }
    m_wake.notify_all();
}

void SimTracker::EndApplication(const std::string& address, const std::string& name)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = FindRunning(name);
        if (!m_connected || m_address != address || it == m_running.end())
        {
            return;
        }
        Queue({false, false, false, it->eventName, false});
        m_running.erase(it);
    }
    m_wake.notify_all();
}

bool SimTracker::Idle()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.empty() && !m_delivering;
}

void SimTracker::Queue(Event event)
{
    m_queue.push_back(std::move(event));
}

void SimTracker::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping)
    {
        // Applications whose run time is over report that they stopped.
        const auto now = std::chrono::steady_clock::now();
        auto next = std::chrono::steady_clock::time_point::max();
        for (auto it = m_running.begin(); it != m_running.end();)
        {
            if (it->stopAt <= now)
            {
                Queue({false, false, false, it->eventName, false});
                it = m_running.erase(it);
            }
            else
            {
                next = std::min(next, it->stopAt);
                ++it;
            }
        }
        if (m_queue.empty())
        {
            if (next == std::chrono::steady_clock::time_point::max())
            {
                m_wake.wait(lock);
            }
            else
            {
                m_wake.wait_until(lock, next);
            }
            continue;
        }
        Event event = std::move(m_queue.front());
        m_queue.pop_front();
        m_delivering = true;
        lock.unlock();
        Deliver(event);
        lock.lock();
        m_delivering = false;
    }
}

void SimTracker::Deliver(const Event& event)
{
    std::lock_guard<std::recursive_mutex> delivery(m_deliveryMutex);
    if (event.busy)
    {
        SimNetwork::Instance().Trace(std::string("[tracker] event busy ") +
                                         (event.command ? "true" : "false") + " " +
                                         (event.measure ? "true" : "false"),
                                     false);
    }
    else
    {
        SimNetwork::Instance().Trace("[tracker] event application \"" + event.name + "\" " +
                                         (event.running ? "running" : "stopped"),
                                     false);
    }

    // Each listener is looked up again before its call, so that one removed
    // by an earlier callback of this event is not called.
    auto stillRegistered = [this](const auto& listeners, const void* listener)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
    };
    if (event.busy)
    {
        std::vector<BusyListener*> snapshot;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            snapshot = m_busyListeners;
        }
        for (BusyListener* listener : snapshot)
        {
            if (stillRegistered(m_busyListeners, listener))
            {
                SimBusyEvent busy(event.command, event.measure);
                listener->onBusyEvent(&busy);
            }
        }
    }
    else
    {
        std::vector<ApplicationListener*> snapshot;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            snapshot = m_appListeners;
        }
        for (ApplicationListener* listener : snapshot)
        {
            if (stillRegistered(m_appListeners, listener))
            {
                SimApplicationEvent app(event.name, event.running);
                listener->onApplicationEvent(&app);
            }
        }
    }
}
} // namespace TrackerSim
