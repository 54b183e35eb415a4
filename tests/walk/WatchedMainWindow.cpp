// SPDX-License-Identifier: Apache-2.0
#include "tests/walk/WatchedMainWindow.h"

#include "tracker/Tracker.h"

#include <exception>

WatchedMainWindow::WatchedMainWindow(WalkJournal& journal) : m_journal(journal) {}

template <typename F> void WatchedMainWindow::Guarded(const std::string& where, F handle)
{
    std::string escaped;
    try
    {
        handle();
    }
    catch (TrackerException* e)
    {
        delete e;
        escaped = "TrackerException*";
    }
    catch (const std::exception& e)
    {
        escaped = e.what();
    }
    catch (...)
    {
        escaped = "an exception";
    }
    if (!escaped.empty())
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_escaped.push_back(escaped + " escaped " + where);
    }
}

LRESULT WatchedMainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP_STATE || message == WM_OTHER_APP_STATE)
    {
        WalkEntry entry;
        entry.kind = WalkEntry::Kind::Handled;
        entry.message = message;
        entry.wParam = static_cast<long>(static_cast<LONG>(wParam));
        entry.lParam = static_cast<long>(lParam);
        m_journal.Add(entry);
    }
    else if (message == WM_COMMAND)
    {
        m_journal.AddNote("window: command " + std::to_string(LOWORD(wParam)));
    }
    else if (message == WM_CLOSE || message == WM_SYSCOMMAND)
    {
        m_journal.AddNote(message == WM_CLOSE ? "window: WM_CLOSE"
                                              : "window: WM_SYSCOMMAND " +
                                                    std::to_string(static_cast<UINT>(wParam)));
    }
    LRESULT result = 0;
    Guarded("message " + std::to_string(message),
            [&] { result = CTovAppsDlg::WindowProc(message, wParam, lParam); });
    return result;
}

void WatchedMainWindow::HandleBusyEvent(BusyEvent* event)
{
    m_journal.EventBegins();
    WalkEntry entry;
    entry.kind = WalkEntry::Kind::BusyEvent;
    entry.command = event->getCommandState();
    entry.measure = event->getMeasureState();
    m_journal.Add(entry);
    Guarded("HandleBusyEvent", [&] { CTovAppsDlg::HandleBusyEvent(event); });
    m_journal.EventEnds();
}

void WatchedMainWindow::HandleApplicationEvent(ApplicationEvent* event)
{
    m_journal.EventBegins();
    WalkEntry entry;
    entry.kind = WalkEntry::Kind::AppEvent;
    char* name = event->getAppName();
    entry.text = name != nullptr ? name : "";
    trackerDeleteString(name);
    entry.running = event->isAppRunning();
    m_journal.Add(entry);
    Guarded("HandleApplicationEvent", [&] { CTovAppsDlg::HandleApplicationEvent(event); });
    m_journal.EventEnds();
}

std::vector<std::string> WatchedMainWindow::Escaped()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_escaped;
}
