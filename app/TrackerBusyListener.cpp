// SPDX-License-Identifier: Apache-2.0
#include "app/TrackerBusyListener.h"

#include "app/BusyListenerInterface.h"

TrackerBusyListener::TrackerBusyListener(BusyListenerInterface* pInterface)
    : m_pInterface(pInterface)
{
}

TrackerBusyListener::~TrackerBusyListener() = default;

void TrackerBusyListener::onBusyEvent(BusyEvent* event)
{
    if (m_pInterface != nullptr)
    {
        m_pInterface->HandleBusyEvent(event);
    }
}
