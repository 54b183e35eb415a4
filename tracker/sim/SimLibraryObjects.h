// SPDX-License-Identifier: Apache-2.0
// The simulated library's arrays, strings and events. Internal.
#ifndef KELM_TRACKER_SIM_SIMLIBRARYOBJECTS_H
#define KELM_TRACKER_SIM_SIMLIBRARYOBJECTS_H

#include "tracker/Tracker.h"

#include <string>
#include <vector>

namespace TrackerSim
{
class SimStringPointer : public DriverStringPointer
{
public:
    explicit SimStringPointer(std::string text);
    ~SimStringPointer() override;
    char* getStringData() override;

private:
    std::string m_text;
};

// Owns its elements: DriverStringPointer objects or char arrays.
class SimObjectArray : public TrkDrvObjectArray
{
public:
    enum Kind
    {
        Strings, // elements are DriverStringPointer*
        Names    // elements are char*
    };
    explicit SimObjectArray(Kind kind);
    ~SimObjectArray() override;
    int getCount() override;
    void add(void* element) override;
    void* getElement(int i) override;

private:
    Kind m_kind;
    std::vector<void*> m_elements;
};

class SimBusyEvent : public BusyEvent
{
public:
    SimBusyEvent(bool command, bool measure);
    bool getCommandState() override;
    bool getMeasureState() override;

private:
    bool m_command;
    bool m_measure;
};

class SimApplicationEvent : public ApplicationEvent
{
public:
    SimApplicationEvent(std::string name, bool running);
    char* getAppName() override;
    bool isAppRunning() override;

private:
    std::string m_name;
    bool m_running;
};
} // namespace TrackerSim

#endif
