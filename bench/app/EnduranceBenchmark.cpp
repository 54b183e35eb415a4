// SPDX-License-Identifier: Apache-2.0
// A long day at the instrument in one process: cycles of connect, launch,
// change units and disconnect through the real main window, its dialogs and
// the simulated tracker at 192.0.2.10, as the operator does them (Connect
// and OK, Readiness Test, Select Units with another length unit and OK,
// Disconnect and OK to the question). Measured after the first 100 cycles,
// when whatever is made once has been made: how much the heap in use
// (mallinfo2's uordblks) grows per 1,000 cycles, and whether the open file
// descriptors and threads come back to their counts.
//
// The simulated library runs as in the program's own run: its trace is
// written (here to nowhere) and no test asks it to keep the calls.
#include "app/CTovAppsDlg.h"
#include "bench/common/WindowedBenchmarkMain.h"
#include "framework/testing/TestSeams.h"
#include "res/Resources.h"
#include "tracker/sim/SimControl.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <dirent.h>
#include <malloc.h>
#include <string>

namespace
{
constexpr long kWarmUpCycles = 100;

long EntriesIn(const char* directory)
{
    long count = 0;
    if (DIR* dir = ::opendir(directory))
    {
        while (const dirent* entry = ::readdir(dir))
        {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        ::closedir(dir);
    }
    return count;
}

struct Usage
{
    long heap;
    long fds;
    long threads;
};

Usage Now()
{
    return {static_cast<long>(mallinfo2().uordblks), EntriesIn("/proc/self/fd"),
            EntriesIn("/proc/self/task")};
}

void Settle()
{
    TrackerSim::WaitForEvents();
    AfxPumpEvents();
}

// One cycle; false when the window did not do what the operator asked.
bool Cycle(CDialog& main, long cycle)
{
    AfxQueueModalDriver(IDD_TRACKER_CONNECT, [](CDialog& d) { AfxTestClick(d, IDOK); });
    AfxTestClick(main, IDC_CONNECT);
    Settle();
    if (main.GetDlgItem(IDC_CONNECT)->GetWindowText() != "Disco&nnect (10)")
    {
        return false;
    }
    if (!AfxTestClick(main, IDC_READINESS_TEST))
    {
        return false;
    }
    Settle();
    // Centimetres and metres by turns, so that every change is a change.
    AfxQueueModalDriver(IDD_SELECT_UNITS,
                        [cycle](CDialog& d)
                        {
                            AfxTestSelect(d, IDC_LENGTH_UNIT, cycle % 2 == 0 ? 0 : 3);
                            AfxTestClick(d, IDOK);
                        });
    AfxTestClick(main, IDC_SELECT_UNITS);
    Settle();
    AfxQueueMessageBoxAnswer(IDOK);
    AfxTestClick(main, IDC_CONNECT);
    Settle();
    // The seam keeps every box it answered; the program keeps none.
    const bool asked = AfxMessageBoxLog().size() == 1;
    AfxClearMessageBoxLog();
    return asked && main.GetDlgItem(IDC_CONNECT)->GetWindowText() == "Co&nnect...";
}

void Endurance(benchmark::State& state)
{
    const long cycles = state.range(0);
    for (auto _ : state)
    {
        Usage first{}, warm{}, last{};
        long failedAt = -1;
        std::chrono::steady_clock::duration measured{};
        CTovAppsDlg window;
        AfxQueueModalDriver(IDD_TOVAPPS_DIALOG,
                            [&](CDialog& main)
                            {
                                first = Now();
                                auto began = std::chrono::steady_clock::now();
                                for (long cycle = 0; cycle < cycles && failedAt < 0; ++cycle)
                                {
                                    if (cycle == kWarmUpCycles)
                                    {
                                        warm = Now();
                                        began = std::chrono::steady_clock::now();
                                    }
                                    if (!Cycle(main, cycle))
                                    {
                                        failedAt = cycle;
                                    }
                                }
                                measured = std::chrono::steady_clock::now() - began;
                                last = Now();
                                AfxTestClick(main, IDCANCEL);
                            });
        window.DoModal();
        if (failedAt >= 0)
        {
            state.SkipWithError(("cycle " + std::to_string(failedAt) + " went wrong").c_str());
            return;
        }
        const double counted = static_cast<double>(cycles - kWarmUpCycles);
        state.counters["cycles"] = static_cast<double>(cycles);
        state.counters["ms_per_cycle"] =
            std::chrono::duration<double, std::milli>(measured).count() / counted;
        state.counters["heap_at_start"] = static_cast<double>(first.heap);
        state.counters["heap_after_warm_up"] = static_cast<double>(warm.heap);
        state.counters["heap_at_end"] = static_cast<double>(last.heap);
        state.counters["heap_growth"] = static_cast<double>(last.heap - warm.heap);
        state.counters["heap_growth_per_1000_cycles"] =
            static_cast<double>(last.heap - warm.heap) * 1000.0 / counted;
        state.counters["fds_at_start"] = static_cast<double>(first.fds);
        state.counters["fds_after_warm_up"] = static_cast<double>(warm.fds);
        state.counters["fds_at_end"] = static_cast<double>(last.fds);
        state.counters["threads_at_start"] = static_cast<double>(first.threads);
        state.counters["threads_after_warm_up"] = static_cast<double>(warm.threads);
        state.counters["threads_at_end"] = static_cast<double>(last.threads);
    }
}
BENCHMARK(Endurance)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace

int main(int argc, char** argv)
{
    return RunWindowedBenchmarks(argc, argv);
}
