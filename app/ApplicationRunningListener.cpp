// SPDX-License-Identifier: Apache-2.0
#include "app/ApplicationRunningListener.h"

#include "app/ApplicationListenerInterface.h"

ApplicationRunningListener::ApplicationRunningListener(ApplicationListenerInterface* pInterface)
    : m_pInterface(pInterface)
{
}

ApplicationRunningListener::~ApplicationRunningListener() = default;

void ApplicationRunningListener::onApplicationEvent(ApplicationEvent* event)
{
    if (m_pInterface != nullptr)
    {
        m_pInterface->HandleApplicationEvent(event);
    }
}
