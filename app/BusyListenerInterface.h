// SPDX-License-Identifier: Apache-2.0
#ifndef KELM_APP_BUSYLISTENERINTERFACE_H
#define KELM_APP_BUSYLISTENERINTERFACE_H

class BusyEvent;

// What the main window offers the busy listener; called on the tracker
// library's thread.
class BusyListenerInterface
{
public:
    virtual void HandleBusyEvent(BusyEvent* event) = 0;

protected:
    ~BusyListenerInterface() = default;
};

#endif
