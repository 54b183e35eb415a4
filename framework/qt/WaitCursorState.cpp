// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/WaitCursorState.h"

#include "framework/testing/TestSeams.h"

#include <QCursor>
#include <QGuiApplication>

namespace
{
int g_count = 0;
bool g_shown = false;

void Show()
{
    if (!g_shown && qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        g_shown = true;
    }
}

void Hide()
{
    if (g_shown)
    {
        QGuiApplication::restoreOverrideCursor();
        g_shown = false;
    }
}
} // namespace

void WaitCursorState::Begin()
{
    ++g_count;
    Show();
}

void WaitCursorState::End()
{
    if (g_count > 0)
    {
        --g_count;
    }
    if (g_count == 0)
    {
        Hide();
    }
}

void WaitCursorState::Restore()
{
    if (g_count > 0)
    {
        Show();
    }
}

void WaitCursorState::Suspend()
{
    Hide();
}

bool WaitCursorState::IsShown()
{
    const QCursor* cursor =
        g_shown ? QGuiApplication::overrideCursor() : static_cast<const QCursor*>(nullptr);
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

int WaitCursorState::Count()
{
    return g_count;
}

bool AfxIsWaitCursorShown()
{
    return WaitCursorState::IsShown();
}

int AfxWaitCursorCount()
{
    return WaitCursorState::Count();
}
