// SPDX-License-Identifier: Apache-2.0
// The window thread's wait for a call made on another thread (CCallThread):
// whether it waits, and what it tells the desktop meanwhile. Window thread
// only.
#ifndef KELM_FRAMEWORK_UI_WINDOWWAIT_H
#define KELM_FRAMEWORK_UI_WINDOWWAIT_H

namespace WindowWait
{
// True while the window thread waits: handlers wait too (see
// WindowRegistry::SendOrHold and DeliverPosted).
bool Waiting();

// Marks the wait for its lifetime: the layer's windows are busy to assistive
// tools, and what was held is let go after it.
class Scope
{
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};
} // namespace WindowWait

#endif
