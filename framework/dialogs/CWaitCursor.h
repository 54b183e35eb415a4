// SPDX-License-Identifier: Apache-2.0
// Shows the wait cursor for the object's lifetime (counted with the windows'
// BeginWaitCursor/EndWaitCursor).
#ifndef KELM_FRAMEWORK_CWAITCURSOR_H
#define KELM_FRAMEWORK_CWAITCURSOR_H

class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows it again after a dialog or message box put the arrow back.
    void Restore();
};

#endif
