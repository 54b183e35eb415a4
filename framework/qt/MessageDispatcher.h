// SPDX-License-Identifier: Apache-2.0
// Lives on the window thread and delivers the window messages that other
// threads queued (WindowRegistry::Post) when woken by an event.
#ifndef KELM_FRAMEWORK_UI_MESSAGEDISPATCHER_H
#define KELM_FRAMEWORK_UI_MESSAGEDISPATCHER_H

#include <QEvent>
#include <QObject>

class MessageDispatcher : public QObject
{
public:
    static constexpr QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 0x4B);

    // Creates the dispatcher once per application, owned by it.
    static void Install();

    ~MessageDispatcher() override;
    bool event(QEvent* event) override;

private:
    explicit MessageDispatcher(QObject* parent);
};

#endif
