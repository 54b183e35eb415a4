// SPDX-License-Identifier: Apache-2.0
// Where the dialog layer asks whether a test stands in for the operator:
// modal drivers, message-box answers, popup-menu choices (TestSeams.h).
#ifndef KELM_FRAMEWORK_UI_TESTHOOKS_H
#define KELM_FRAMEWORK_UI_TESTHOOKS_H

#include "framework/core/AfxResources.h"
#include "framework/testing/TestSeams.h"

class TestHooks
{
public:
    static bool TestMode();
    // A template the tests registered, else the program's.
    static const ResDialogTemplate* FindTemplate(UINT id);
    // The driver for this DoModal of templateId (queued ones first), or an
    // empty function.
    static AfxModalDriver TakeDriver(UINT templateId);
    static void NoteUnfinishedModal();
    // Records the box; when a test answers it, true with the answer.
    static bool AnswerMessageBox(const AfxMessageBoxInfo& info, int& answer);
    // When a test chooses from the menu, true with the chosen id (0: none).
    static bool AnswerPopupMenu(const std::vector<AfxMenuItemInfo>& items, UINT& chosen);
    // Puts handler in place and returns the one it replaces.
    static AfxPopupMenuHandler ExchangePopupHandler(AfxPopupMenuHandler handler);
    // What a test does once the next wait has begun (empty: nothing).
    static std::function<void()> TakeWaitAction();
};

#endif
