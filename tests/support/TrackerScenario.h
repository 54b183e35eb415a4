// SPDX-License-Identifier: Apache-2.0
// Listeners and helpers shared by the tracker library's tests.
#ifndef KELM_TESTS_SUPPORT_TRACKERSCENARIO_H
#define KELM_TESTS_SUPPORT_TRACKERSCENARIO_H

#include "tracker/Tracker.h"
#include "tracker/sim/SimControl.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Records every event as text: "busy true false", "app ReadinessTest running".
class RecordingListener : public BusyListener, public ApplicationListener
{
public:
    void onBusyEvent(BusyEvent* event) override
    {
        Add(std::string("busy ") + (event->getCommandState() ? "true" : "false") + " " +
            (event->getMeasureState() ? "true" : "false"));
    }
    void onApplicationEvent(ApplicationEvent* event) override
    {
        char* name = event->getAppName();
        Add(std::string("app ") + name + (event->isAppRunning() ? " running" : " stopped"));
        trackerDeleteString(name);
    }
    std::vector<std::string> Events()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }

private:
    void Add(const std::string& e)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(e);
    }
    std::mutex m_mutex;
    std::vector<std::string> m_events;
};

// The library's exceptions arrive by pointer; this takes ownership and
// names the type, "none" when nothing was thrown.
template <typename F> std::string Thrown(F call)
{
    try
    {
        call();
    }
    catch (AsyncAlreadyStartedException* e)
    {
        delete e;
        return "AsyncAlreadyStartedException";
    }
    catch (UserPromptException* e)
    {
        delete e;
        return "UserPromptException";
    }
    catch (TrackerException* e)
    {
        delete e;
        return "TrackerException";
    }
    return "none";
}

inline std::vector<std::string> Names(TrkDrvObjectArray* array, bool started)
{
    std::vector<std::string> names;
    if (array == nullptr)
    {
        return names;
    }
    for (int i = 0; i < array->getCount(); ++i)
    {
        void* element = array->getElement(i);
        names.push_back(started ? static_cast<char*>(element)
                                : static_cast<DriverStringPointer*>(element)->getStringData());
    }
    delete array;
    return names;
}

// A connected tracker; the trace is kept out of the test's output.
inline std::unique_ptr<Tracker> Connected(const char* address, const char* type = "TrackerLintel")
{
    auto tracker = std::make_unique<Tracker>(type);
    std::string a = address, user = "user", password;
    tracker->setBlocking(true);
    tracker->connect(a.data(), user.data(), password.data());
    return tracker;
}
#endif
