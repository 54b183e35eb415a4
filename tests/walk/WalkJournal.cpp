// SPDX-License-Identifier: Apache-2.0
#include "tests/walk/WalkJournal.h"

void WalkJournal::Add(WalkEntry entry)
{
    entry.at = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.push_back(std::move(entry));
}

void WalkJournal::AddCall(const std::string& line)
{
    WalkEntry entry;
    entry.kind = WalkEntry::Kind::Call;
    entry.text = line;
    Add(std::move(entry));
}

void WalkJournal::AddNote(const std::string& note, std::vector<long> numbers,
                          std::vector<std::string> strings)
{
    WalkEntry entry;
    entry.kind = WalkEntry::Kind::Note;
    entry.text = note;
    entry.numbers = std::move(numbers);
    entry.strings = std::move(strings);
    Add(std::move(entry));
}

std::vector<WalkEntry> WalkJournal::Take()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<WalkEntry> taken;
    taken.swap(m_entries);
    return taken;
}

void WalkJournal::EventBegins()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_eventsBegun;
    ++m_eventsInFlight;
}

void WalkJournal::EventEnds()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_eventsInFlight;
}

long WalkJournal::EventsBegun()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_eventsBegun;
}

int WalkJournal::EventsInFlight()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_eventsInFlight;
}
