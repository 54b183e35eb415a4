// SPDX-License-Identifier: Apache-2.0
// The Tracker class of the library's interface, over one simulated
// connection.
#include "tracker/Tracker.h"

#include "tracker/sim/SimNetwork.h"
#include "tracker/sim/SimTracker.h"

struct Tracker::Impl
{
    explicit Impl(const char* type) : sim(type != nullptr ? type : "") {}
    TrackerSim::SimTracker sim;
};

namespace
{
// A constructor that fails leaves no connection behind: the check comes before
// the connection's thread exists.
void ThrowIfConstructionFails(const char* trackerType)
{
    if (TrackerSim::SimNetwork::Instance().ConstructionFails())
    {
        const std::string type = trackerType != nullptr ? trackerType : "";
        TrackerSim::SimNetwork::Instance().Trace(
            "[tracker] Tracker \"" + type + "\" -> TrackerException", true);
        throw new TrackerException();
    }
}
} // namespace

Tracker::Tracker(const char* trackerType) : m_pImpl(nullptr)
{
    ThrowIfConstructionFails(trackerType);
    m_pImpl = new Impl(trackerType);
}

Tracker::~Tracker()
{
    delete m_pImpl;
}

void Tracker::setBlocking(bool blocking)
{
    m_pImpl->sim.SetBlocking(blocking);
}

void Tracker::connect(char* address, char* user, char* password)
{
    m_pImpl->sim.Connect(address, user, password);
}

void Tracker::disconnect()
{
    m_pImpl->sim.Disconnect();
}

void Tracker::addBusyListener(BusyListener* listener)
{
    m_pImpl->sim.AddBusyListener(listener);
}

void Tracker::removeBusyListener(BusyListener* listener)
{
    m_pImpl->sim.RemoveBusyListener(listener);
}

void Tracker::addApplicationListener(ApplicationListener* listener)
{
    m_pImpl->sim.AddApplicationListener(listener);
}

void Tracker::removeApplicationListener(ApplicationListener* listener)
{
    m_pImpl->sim.RemoveApplicationListener(listener);
}

TrkDrvObjectArray* Tracker::availableApplications()
{
    return m_pImpl->sim.AvailableApplications();
}

TrkDrvObjectArray* Tracker::startedApplications()
{
    return m_pImpl->sim.StartedApplications();
}

void Tracker::startApplicationFrame(char* name, char* arguments)
{
    m_pImpl->sim.StartApplicationFrame(name, arguments);
}

void Tracker::modifyApplication(char* name, char* arguments)
{
    m_pImpl->sim.ModifyApplication(name, arguments);
}

void Tracker::stopApplicationFrame(char* name)
{
    m_pImpl->sim.StopApplicationFrame(name);
}

void Tracker::startAsync()
{
    m_pImpl->sim.StartAsync();
}

void Tracker::stopAsync()
{
    m_pImpl->sim.StopAsync();
}
