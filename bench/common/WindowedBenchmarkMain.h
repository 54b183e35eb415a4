// SPDX-License-Identifier: Apache-2.0
// The main of the benchmarks that open the program's windows: its resources
// handed to the dialog layer, the window system up with no operator to ask,
// an application object, and the simulated tracker's trace kept off standard
// error (it is the simulation's, not the program's), then the benchmarks.
#ifndef KELM_BENCH_COMMON_WINDOWEDBENCHMARKMAIN_H
#define KELM_BENCH_COMMON_WINDOWEDBENCHMARKMAIN_H

#include "framework/dialogs/CWinApp.h"
#include "framework/testing/TestSeams.h"
#include "res/Resources.h"
#include "tracker/sim/SimControl.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

inline int RunWindowedBenchmarks(int argc, char** argv,
                                 const std::function<void()>& prepare = nullptr)
{
    ResRegisterProgramResources();
    AfxSetTestMode(true);
    AfxEnsureWindowSystem();
    CWinApp app;
    TrackerSim::SetTraceSink([](const std::string&) {});
    if (prepare)
    {
        prepare();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#endif
