#include "framework/CWaitCursor.h"

#include "framework/ui/WaitCursorState.h"

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
