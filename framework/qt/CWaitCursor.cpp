// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CWaitCursor.h"

#include "framework/qt/WaitCursorState.h"

CWaitCursor::CWaitCursor()
{
    WaitCursorState::Begin();
}

CWaitCursor::~CWaitCursor()
{
    WaitCursorState::End();
}

void CWaitCursor::Restore()
{
    WaitCursorState::Restore();
}
