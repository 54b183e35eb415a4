// SPDX-License-Identifier: Apache-2.0
// The program's main window, unchanged, watched at its edges for a walk:
// the events its listeners receive and the posted messages it handles go
// into the journal before the window's own handling, and an exception that
// would escape one of its handlers is caught and recorded as a failure.
#ifndef KELM_TESTS_WALK_WATCHEDMAINWINDOW_H
#define KELM_TESTS_WALK_WATCHEDMAINWINDOW_H

#include "app/CTovAppsDlg.h"
#include "tests/walk/WalkJournal.h"

#include <mutex>
#include <string>
#include <vector>

class WatchedMainWindow : public CTovAppsDlg
{
public:
    explicit WatchedMainWindow(WalkJournal& journal);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleBusyEvent(BusyEvent* event) override;
    void HandleApplicationEvent(ApplicationEvent* event) override;

    // What escaped the window's handlers, if anything.
    std::vector<std::string> Escaped();

private:
    template <typename F> void Guarded(const std::string& where, F handle);

    WalkJournal& m_journal;
    std::mutex m_mutex;
    std::vector<std::string> m_escaped;
};

#endif
