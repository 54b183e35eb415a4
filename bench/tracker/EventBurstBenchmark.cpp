// SPDX-License-Identifier: Apache-2.0
// A burst of busy and application events from the instrument, delivered to
// one listener on the library's thread.
#include "tracker/Tracker.h"
#include "tracker/sim/SimControl.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <string>

namespace
{
class Sink : public BusyListener, public ApplicationListener
{
public:
    void onBusyEvent(BusyEvent* e) override
    {
        benchmark::DoNotOptimize(e->getCommandState());
        ++count;
    }
    void onApplicationEvent(ApplicationEvent* e) override
    {
        trackerDeleteString(e->getAppName());
        ++count;
    }
    std::atomic<long> count{0};
};

void EventBurst(benchmark::State& state)
{
    TrackerSim::Reset();
    TrackerSim::SetTraceSink([](const std::string&) {});
    TrackerSim::SetAutomaticEvents(false);
    Tracker tracker("TrackerLintel");
    std::string address = "192.0.2.10", user = "user", password;
    tracker.connect(address.data(), user.data(), password.data());
    Sink sink;
    tracker.addBusyListener(&sink);
    tracker.addApplicationListener(&sink);
    const auto burst = state.range(0);
    for (auto _ : state)
    {
        for (long i = 0; i < burst; ++i)
        {
            if (i % 2 == 0)
            {
                TrackerSim::EmitBusy(address, true, false);
            }
            else
            {
                TrackerSim::EmitApplication(address, "ReadinessTest", true);
            }
        }
        TrackerSim::WaitForEvents();
    }
    tracker.removeBusyListener(&sink);
    tracker.removeApplicationListener(&sink);
    state.SetItemsProcessed(state.iterations() * burst);
}
BENCHMARK(EventBurst)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
} // namespace
