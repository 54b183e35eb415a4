// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CCmdTarget.h"

#include "framework/qt/WaitCursorState.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CCmdTarget::DispatchToMessageMap(AfxMsgCall& call)
{
    const bool byId = call.message == WM_COMMAND || call.message == WM_NOTIFY;
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nMessage != 0; ++entry)
        {
            if (entry->nMessage != call.message)
            {
                continue;
            }
            if (byId &&
                (entry->nCode != call.code || call.id < entry->nID || call.id > entry->nLastID))
            {
                continue;
            }
            if (entry->pfn(this, call))
            {
                return true;
            }
        }
    }
    return false;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code)
{
    AfxMsgCall call{WM_COMMAND, MAKEWPARAM(id, code), 0, id, code};
    return DispatchToMessageMap(call) ? TRUE : FALSE;
}

void CCmdTarget::BeginWaitCursor()
{
    WaitCursorState::Begin();
}

void CCmdTarget::EndWaitCursor()
{
    WaitCursorState::End();
}

void CCmdTarget::RestoreWaitCursor()
{
    WaitCursorState::Restore();
}
