// SPDX-License-Identifier: Apache-2.0
// Single-line edit controls. ES_PASSWORD shows password characters, ES_NUMBER
// takes digits only from the operator however they enter text (typed,
// pasted, an input method): a change bringing in anything else is refused
// whole. Text set by the program is not filtered. Every change of the text,
// by the operator or by SetWindowText, sends EN_CHANGE.
#ifndef KELM_FRAMEWORK_CEDIT_H
#define KELM_FRAMEWORK_CEDIT_H

#include "framework/dialogs/CWnd.h"

class CEdit : public CWnd
{
public:
    // Most characters the operator may enter, typed or pasted (a paste keeps
    // what fits); 0 means the platform's maximum. SetWindowText may exceed it.
    void SetLimitText(UINT maxChars);
    void LimitText(UINT maxChars = 0) { SetLimitText(maxChars); }
    UINT GetLimitText() const;
    // Selects characters start..end-1; end -1 selects to the end, start -1
    // removes the selection. The caret goes to end and is scrolled into view
    // (noScroll is accepted for compatibility).
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
};

#endif
