// SPDX-License-Identifier: Apache-2.0
// A burst of busy and application events from the instrument reaching the
// connected main window: sent to the simulated tracker at 192.0.2.10,
// delivered on the tracker library's thread to the window's listeners, which
// post WM_APP_STATE to the window (one message for all the events that come
// while it waits); timed until the window thread has applied the enabling rule
// after the last of them. In the middle of the burst the operator clicks Select
// Units, and the time until the window handles that click is reported.
//
// Its baseline (bench/baseline/QtEventBurstBenchmark.cpp) posts as many plain
// events to a plain Qt widget; both run in this one process, their
// repetitions interleaved (--benchmark_enable_random_interleaving), and both
// pump the window thread with the same AfxPumpEvents.
#include "app/CTovAppsDlg.h"
#include "bench/common/BurstShape.h"
#include "bench/common/WindowedBenchmarkMain.h"
#include "framework/testing/TestSeams.h"
#include "res/Resources.h"
#include "tracker/Tracker.h"
#include "tracker/sim/SimControl.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace
{
const std::string kAddress = "192.0.2.10";

// The program's main window, unchanged, watched from its window procedure:
// every message still goes to the window's own handling.
class WatchedMainWindow : public CTovAppsDlg
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && LOWORD(wParam) == IDC_SELECT_UNITS &&
            HIWORD(wParam) == BN_CLICKED && clickHandledNs == 0)
        {
            clickHandledNs = BurstShape::NowNs();
        }
        const LRESULT result = CTovAppsDlg::WindowProc(message, wParam, lParam);
        if (message == WM_APP_STATE)
        {
            ++appStateHandled;
        }
        return result;
    }
    void HandleBusyEvent(BusyEvent* event) override
    {
        CTovAppsDlg::HandleBusyEvent(event);
        eventsTaken.fetch_add(1, std::memory_order_relaxed);
    }
    void HandleApplicationEvent(ApplicationEvent* event) override
    {
        CTovAppsDlg::HandleApplicationEvent(event);
        eventsTaken.fetch_add(1, std::memory_order_relaxed);
    }
    // Every event taken and the rule applied after the last: the window shows
    // what the burst left.
    bool Drained() { return eventsTaken.load() >= BurstShape::kEvents && !StateMessagePending(); }

    // Window thread only.
    long appStateHandled = 0;
    std::int64_t clickHandledNs = 0;
    // The listeners' threads.
    std::atomic<long> eventsTaken{0};
};

// Connect, then OK on the Connect to Tracker dialog's defaults (192.0.2.10,
// "user"), as the operator does.
bool Connect(CDialog& main)
{
    AfxQueueModalDriver(IDD_TRACKER_CONNECT, [](CDialog& d) { AfxTestClick(d, IDOK); });
    if (!AfxTestClick(main, IDC_CONNECT))
    {
        return false;
    }
    TrackerSim::WaitForEvents();
    AfxPumpEvents();
    // Connected, the button offers to disconnect: "Disco&nnect (10)".
    return main.GetDlgItem(IDC_CONNECT)->GetWindowText().rfind("Disco", 0) == 0;
}

// What a busy instrument says over and over: busy, an application running,
// not busy, the application stopped. Each changes what the buttons show.
template <typename Busy, typename Application>
void SendBurst(BurstShape::ClickArrival& click, Busy busy, Application application)
{
    for (long i = 0; i < BurstShape::kEvents; ++i)
    {
        switch (i % 4)
        {
        case 0:
            busy(true);
            break;
        case 1:
            application(true);
            break;
        case 2:
            busy(false);
            break;
        default:
            application(false);
            break;
        }
        if (i + 1 == BurstShape::kClickAfter)
        {
            click.Arrive();
        }
    }
}

// Through the simulated tracker library: queued by it and delivered on its
// thread to the window's listeners.
void SendThroughLibrary(CTovAppsDlg&, BurstShape::ClickArrival& click)
{
    SendBurst(
        click, [](bool busy) { TrackerSim::EmitBusy(kAddress, busy, false); },
        [](bool running) { TrackerSim::EmitApplication(kAddress, "ReadinessTest", running); });
}

class PlainBusyEvent : public BusyEvent
{
public:
    explicit PlainBusyEvent(bool command) : m_command(command) {}
    bool getCommandState() override { return m_command; }
    bool getMeasureState() override { return false; }

private:
    bool m_command;
};

class PlainApplicationEvent : public ApplicationEvent
{
public:
    explicit PlainApplicationEvent(bool running) : m_running(running) {}
    // Freed by the window with trackerDeleteString, as the library's are.
    char* getAppName() override
    {
        static const char name[] = "ReadinessTest";
        char* copy = new char[sizeof name];
        std::memcpy(copy, name, sizeof name);
        return copy;
    }
    bool isAppRunning() override { return m_running; }

private:
    bool m_running;
};

// The same events handed straight to the window's listener entry points from
// the sending thread, without the library's queue and thread: what the
// window and the dialog layer take on their own.
void SendToWindowDirectly(CTovAppsDlg& window, BurstShape::ClickArrival& click)
{
    SendBurst(
        click,
        [&window](bool busy)
        {
            PlainBusyEvent e(busy);
            window.HandleBusyEvent(&e);
        },
        [&window](bool running)
        {
            PlainApplicationEvent e(running);
            window.HandleApplicationEvent(&e);
        });
}

template <void (*Send)(CTovAppsDlg&, BurstShape::ClickArrival&)>
void RunBurst(benchmark::State& state)
{
    for (auto _ : state)
    {
        WatchedMainWindow window;
        std::string error;
        double seconds = 0;
        double clickWaitUs = 0;
        long stateMessages = 0;
        AfxQueueModalDriver(
            IDD_TOVAPPS_DIALOG,
            [&](CDialog& d)
            {
                if (!Connect(d))
                {
                    error = "connecting to " + kAddress + " failed";
                    AfxTestClick(d, IDCANCEL);
                    return;
                }
                // Select Units opens its dialog; the operator cancels it.
                AfxQueueModalDriver(IDD_SELECT_UNITS, [](CDialog& u) { u.EndDialog(IDCANCEL); });
                window.appStateHandled = 0;
                window.eventsTaken = 0;
                BurstShape::ClickArrival click;
                bool clicked = false;
                const auto start = BurstShape::Clock::now();
                std::thread instrument([&window, &click] { Send(window, click); });
                const bool drained = AfxPumpEvents(
                    [&]
                    {
                        if (!clicked && click.Arrived())
                        {
                            clicked = true;
                            if (!AfxTestClick(d, IDC_SELECT_UNITS))
                            {
                                error = "Select Units could not be clicked";
                            }
                        }
                        return window.Drained();
                    },
                    BurstShape::kTimeoutMs);
                const auto end = BurstShape::Clock::now();
                stateMessages = window.appStateHandled;
                instrument.join();
                seconds = std::chrono::duration<double>(end - start).count();
                if (!drained)
                {
                    error = "the window took only " + std::to_string(window.eventsTaken.load()) +
                            " events";
                }
                else if (window.clickHandledNs == 0)
                {
                    error = "the click was never handled";
                }
                else
                {
                    clickWaitUs =
                        static_cast<double>(window.clickHandledNs - click.ArrivedNs()) / 1000.0;
                }
                AfxTestClick(d, IDCANCEL);
            });
        window.DoModal();
        if (!error.empty())
        {
            state.SkipWithError(error.c_str());
            break;
        }
        state.SetIterationTime(seconds);
        state.counters["click_wait_us"] = clickWaitUs;
        state.counters["state_messages"] = static_cast<double>(stateMessages);
    }
    state.SetItemsProcessed(state.iterations() * BurstShape::kEvents);
}

void MainWindowEventBurst(benchmark::State& state)
{
    RunBurst<SendThroughLibrary>(state);
}
BENCHMARK(MainWindowEventBurst)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Not the figure with a target: a breakdown of it.
void MainWindowListenerBurst(benchmark::State& state)
{
    RunBurst<SendToWindowDirectly>(state);
}
BENCHMARK(MainWindowListenerBurst)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    return RunWindowedBenchmarks(argc, argv,
                                 []
                                 {
                                     TrackerSim::Reset();
                                     TrackerSim::SetAutomaticEvents(false);
                                     TrackerSim::SetTraceSink([](const std::string&) {});
                                 });
}
