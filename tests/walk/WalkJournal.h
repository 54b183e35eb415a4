// SPDX-License-Identifier: Apache-2.0
// What happened to the main window during a walk, in the order it happened:
// the tracker calls the program made (from the simulated library's trace),
// the events the window's listeners received (on the library's threads), the
// posted messages the window handled, the message boxes it showed and notes
// from the dialogs' drivers. Thread-safe; the model reads it step by step.
#ifndef KELM_TESTS_WALK_WALKJOURNAL_H
#define KELM_TESTS_WALK_WALKJOURNAL_H

#include "framework/testing/TestSeams.h"

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

struct WalkEntry
{
    enum class Kind
    {
        Call,      // text: the trace line without "[tracker] "
        BusyEvent, // command, measure
        AppEvent,  // text: the application name; running
        Handled,   // message, wParam, lParam: a posted message the window took
        Box,       // box, answer
        Note       // text: what the walk or a dialog's driver noted; numbers, strings
    };
    Kind kind = Kind::Note;
    std::string text;
    bool command = false;
    bool measure = false;
    bool running = false;
    unsigned message = 0;
    long wParam = 0;
    long lParam = 0;
    AfxMessageBoxInfo box{};
    int answer = 0;
    std::vector<long> numbers;
    std::vector<std::string> strings;
    std::chrono::steady_clock::time_point at;
};

class WalkJournal
{
public:
    void Add(WalkEntry entry);
    void AddCall(const std::string& line);
    void AddNote(const std::string& note, std::vector<long> numbers = {},
                 std::vector<std::string> strings = {});
    // The entries since the last Take, oldest first.
    std::vector<WalkEntry> Take();

    // A listener callback is running on a library thread between these two.
    void EventBegins();
    void EventEnds();
    // Events begun so far, and how many of them have not ended.
    long EventsBegun();
    int EventsInFlight();

private:
    std::mutex m_mutex;
    std::vector<WalkEntry> m_entries;
    long m_eventsBegun = 0;
    int m_eventsInFlight = 0;
};

#endif
