// SPDX-License-Identifier: Apache-2.0
#ifndef KELM_APP_APPLICATIONLISTENERINTERFACE_H
#define KELM_APP_APPLICATIONLISTENERINTERFACE_H

class ApplicationEvent;

// What the main window offers the application listener; called on the
// tracker library's thread.
class ApplicationListenerInterface
{
public:
    virtual void HandleApplicationEvent(ApplicationEvent* event) = 0;

protected:
    ~ApplicationListenerInterface() = default;
};

#endif
