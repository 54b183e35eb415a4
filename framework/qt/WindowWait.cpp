// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/WindowWait.h"

#include "framework/qt/WindowRegistry.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

namespace
{
int g_depth = 0;

// A state-change event for each of the layer's shown windows; their
// interfaces report busy from Waiting().
void TellBusyChanged()
{
    QAccessible::State changed;
    changed.busy = true;
    for (QWidget* window : QApplication::topLevelWidgets())
    {
        if (window->isVisible() && WindowRegistry::FromWidget(window) != nullptr)
        {
            QAccessibleStateChangeEvent event(window, changed);
            QAccessible::updateAccessibility(&event);
        }
    }
}
} // namespace

bool WindowWait::Waiting()
{
    return g_depth > 0;
}

WindowWait::Scope::Scope()
{
    if (g_depth++ == 0)
    {
        TellBusyChanged();
    }
}

WindowWait::Scope::~Scope()
{
    if (--g_depth == 0)
    {
        TellBusyChanged();
        WindowRegistry::ReleasePosted();
    }
}
