#include "framework/ui/MessageDispatcher.h"

#include "framework/ui/WindowRegistry.h"

#include <QCoreApplication>

void MessageDispatcher::Install()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr &&
        app->findChild<MessageDispatcher*>(QString(), Qt::FindDirectChildrenOnly) == nullptr)
    {
        new MessageDispatcher(app);
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
