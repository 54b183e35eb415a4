// SPDX-License-Identifier: Apache-2.0
// What the window's wait adds to one quick tracker call: the call made on
// the window thread itself, against the same call made on the tracker's own
// thread while the window thread waits in its loop (CCallThread), as the
// main window makes every call.
#include "bench/common/WindowedBenchmarkMain.h"
#include "framework/dialogs/CCallThread.h"
#include "tracker/Tracker.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace
{
std::unique_ptr<Tracker> ConnectedTracker()
{
    auto tracker = std::make_unique<Tracker>("TrackerLintel");
    std::string address = "192.0.2.10", user = "user", password;
    tracker->connect(address.data(), user.data(), password.data());
    return tracker;
}

// startedApplications: a question the instrument answers at once, nothing
// running (a null array).
void TrackerCallDirect(benchmark::State& state)
{
    std::unique_ptr<Tracker> tracker = ConnectedTracker();
    for (auto _ : state)
    {
        std::unique_ptr<TrkDrvObjectArray> started(tracker->startedApplications());
        benchmark::DoNotOptimize(started.get());
    }
}
BENCHMARK(TrackerCallDirect);

void TrackerCallWhileTheWindowWaits(benchmark::State& state)
{
    CCallThread thread;
    std::unique_ptr<Tracker> tracker;
    thread.Call([&] { tracker = ConnectedTracker(); });
    for (auto _ : state)
    {
        std::unique_ptr<TrkDrvObjectArray> started;
        thread.Call([&] { started.reset(tracker->startedApplications()); });
        benchmark::DoNotOptimize(started.get());
    }
    thread.Call([&] { tracker.reset(); });
}
BENCHMARK(TrackerCallWhileTheWindowWaits);
} // namespace

int main(int argc, char** argv)
{
    return RunWindowedBenchmarks(argc, argv);
}
