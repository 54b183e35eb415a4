// SPDX-License-Identifier: Apache-2.0
#ifndef KELM_APP_APPLICATIONRUNNINGLISTENER_H
#define KELM_APP_APPLICATIONRUNNINGLISTENER_H

#include "tracker/Tracker.h"

class ApplicationListenerInterface;

// Hands the library's application events to the main window, which it does
// not own.
class ApplicationRunningListener : public ApplicationListener
{
public:
    explicit ApplicationRunningListener(ApplicationListenerInterface* pInterface);
    ~ApplicationRunningListener() override;
    void onApplicationEvent(ApplicationEvent* event) override;

private:
    ApplicationListenerInterface* m_pInterface;
};

#endif
