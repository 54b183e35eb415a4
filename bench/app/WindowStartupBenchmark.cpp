// SPDX-License-Identifier: Apache-2.0
// What the operator waits for when the program starts: the main window built
// from its template, initialised (units argument from the settings file
// included) and shown, then closed; with the process's peak memory.
#include "app/CTovAppsDlg.h"
#include "bench/common/WindowedBenchmarkMain.h"
#include "framework/testing/TestSeams.h"
#include "res/Resources.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace
{
void MainWindowOpenAndClose(benchmark::State& state)
{
    for (auto _ : state)
    {
        CTovAppsDlg window;
        AfxQueueModalDriver(IDD_TOVAPPS_DIALOG, [](CDialog& d) { d.EndDialog(IDCANCEL); });
        benchmark::DoNotOptimize(window.DoModal());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_kib"] = static_cast<double>(usage.ru_maxrss);
}
BENCHMARK(MainWindowOpenAndClose)->Unit(benchmark::kMillisecond);

void SelectUnitsOpenAndClose(benchmark::State& state)
{
    CSelectUnitsDialog dialog;
    for (auto _ : state)
    {
        AfxQueueModalDriver(IDD_SELECT_UNITS, [](CDialog& d) { d.EndDialog(IDCANCEL); });
        benchmark::DoNotOptimize(dialog.DoModal());
    }
}
BENCHMARK(SelectUnitsOpenAndClose)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    return RunWindowedBenchmarks(argc, argv);
}
