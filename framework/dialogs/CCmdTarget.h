// SPDX-License-Identifier: Apache-2.0
// Base of every object that has a message map (windows and the application
// object), and owner of the wait-cursor calls the framework puts there.
#ifndef KELM_FRAMEWORK_CCMDTARGET_H
#define KELM_FRAMEWORK_CCMDTARGET_H

#include "framework/core/CObject.h"
#include "framework/dialogs/AfxMessageMap.h"

class CCmdTarget : public CObject
{
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The wait cursor is counted: it shows from the first Begin until the
    // matching last End. Restore shows it again (while the count is above
    // zero) after something, such as a modal dialog, put the arrow back.
    // Window thread only.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // Searches the message map chain for call and calls the first handler
    // that takes it. Returns whether one did.
    bool DispatchToMessageMap(AfxMsgCall& call);

    // Routes a command (WM_COMMAND with code, BN_CLICKED for menu commands)
    // to this object's map. Returns whether a handler took it.
    virtual BOOL OnCmdMsg(UINT id, UINT code);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#endif
