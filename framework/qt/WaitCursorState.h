// SPDX-License-Identifier: Apache-2.0
// The wait cursor's count and whether it shows. Window thread only.
#ifndef KELM_FRAMEWORK_UI_WAITCURSORSTATE_H
#define KELM_FRAMEWORK_UI_WAITCURSORSTATE_H

class WaitCursorState
{
public:
    static void Begin();
    static void End();
    static void Restore();
    // A dialog or message box shows the arrow over itself; the count stays.
    static void Suspend();
    static bool IsShown();
    static int Count();
};

#endif
