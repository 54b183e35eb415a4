// SPDX-License-Identifier: Apache-2.0
#include "tracker/sim/SimLibraryObjects.h"

#include <cstring>

// The library's own classes: what they do when the library itself does not
// derive from them.

TrackerException::TrackerException() = default;
TrackerException::~TrackerException() = default;
UserPromptException::UserPromptException() = default;
UserPromptException::~UserPromptException() = default;
AsyncAlreadyStartedException::AsyncAlreadyStartedException() = default;
AsyncAlreadyStartedException::~AsyncAlreadyStartedException() = default;

void trackerDeleteString(char* text)
{
    delete[] text;
}

DriverStringPointer::DriverStringPointer() = default;
DriverStringPointer::~DriverStringPointer() = default;
char* DriverStringPointer::getStringData()
{
    return nullptr;
}

TrkDrvObjectArray::TrkDrvObjectArray() = default;
TrkDrvObjectArray::~TrkDrvObjectArray() = default;
int TrkDrvObjectArray::getCount()
{
    return 0;
}
void TrkDrvObjectArray::add(void*) {}
void* TrkDrvObjectArray::getElement(int)
{
    return nullptr;
}

BusyEvent::BusyEvent() = default;
BusyEvent::~BusyEvent() = default;
bool BusyEvent::getCommandState()
{
    return false;
}
bool BusyEvent::getMeasureState()
{
    return false;
}

ApplicationEvent::ApplicationEvent() = default;
ApplicationEvent::~ApplicationEvent() = default;
char* ApplicationEvent::getAppName()
{
    char* empty = new char[1];
    empty[0] = '\0';
    return empty;
}
bool ApplicationEvent::isAppRunning()
{
    return false;
}

BusyListener::~BusyListener() = default;
ApplicationListener::~ApplicationListener() = default;

namespace TrackerSim
{
SimStringPointer::SimStringPointer(std::string text) : m_text(std::move(text)) {}
SimStringPointer::~SimStringPointer() = default;
char* SimStringPointer::getStringData()
{
    return m_text.data();
}

SimObjectArray::SimObjectArray(Kind kind) : m_kind(kind) {}

SimObjectArray::~SimObjectArray()
{
    for (void* element : m_elements)
    {
        if (m_kind == Strings)
        {
            delete static_cast<DriverStringPointer*>(element);
        }
        else
        {
            delete[] static_cast<char*>(element);
        }
    }
}

int SimObjectArray::getCount()
{
    return static_cast<int>(m_elements.size());
}

void SimObjectArray::add(void* element)
{
    m_elements.push_back(element);
}

void* SimObjectArray::getElement(int i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= m_elements.size())
    {
        return nullptr;
    }
    return m_elements[static_cast<std::size_t>(i)];
}

SimBusyEvent::SimBusyEvent(bool command, bool measure) : m_command(command), m_measure(measure) {}
bool SimBusyEvent::getCommandState()
{
    return m_command;
}
bool SimBusyEvent::getMeasureState()
{
    return m_measure;
}

SimApplicationEvent::SimApplicationEvent(std::string name, bool running)
    : m_name(std::move(name)), m_running(running)
{
}

char* SimApplicationEvent::getAppName()
{
    char* copy = new char[m_name.size() + 1];
    std::memcpy(copy, m_name.c_str(), m_name.size() + 1);
    return copy;
}

bool SimApplicationEvent::isAppRunning()
{
    return m_running;
}
} // namespace TrackerSim
