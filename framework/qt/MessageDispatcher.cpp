// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/MessageDispatcher.h"

#include "framework/qt/WindowRegistry.h"

#include <QCoreApplication>
#include <QPointer>

void MessageDispatcher::Install()
{
    // Window thread only, like every window; the dispatcher goes with the
    // application instance that owns it.
    static QPointer<MessageDispatcher> installed;
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && installed.isNull())
    {
        installed = new MessageDispatcher(app);
    }
}

MessageDispatcher::MessageDispatcher(QObject* parent) : QObject(parent)
{
    WindowRegistry::SetDispatcher(this);
}

MessageDispatcher::~MessageDispatcher()
{
    WindowRegistry::SetDispatcher(nullptr);
}

bool MessageDispatcher::event(QEvent* event)
{
    if (event->type() == kWakeEvent)
    {
        WindowRegistry::DeliverPosted();
        return true;
    }
    return QObject::event(event);
}
