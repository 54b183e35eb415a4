// SPDX-License-Identifier: Apache-2.0
#ifndef KELM_APP_TRACKERBUSYLISTENER_H
#define KELM_APP_TRACKERBUSYLISTENER_H

#include "tracker/Tracker.h"

class BusyListenerInterface;

// Hands the library's busy events to the main window, which it does not own.
class TrackerBusyListener : public BusyListener
{
public:
    explicit TrackerBusyListener(BusyListenerInterface* pInterface);
    ~TrackerBusyListener() override;
    void onBusyEvent(BusyEvent* event) override;

private:
    BusyListenerInterface* m_pInterface;
};

#endif
