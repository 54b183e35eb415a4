// SPDX-License-Identifier: Apache-2.0
// Random operator walks through the real main window and its dialogs against
// the simulated instruments (OperatorWalk, WalkModel). The suite walks a few
// fixed seeds; KELM_WALK_SEED and KELM_WALK_STEPS walk any other seed for
// any length instead (scripts/walk.sh). A failure prints its seed and steps.
#include "tests/walk/OperatorWalk.h"
#include "tests/support/DialogTest.h"
#include "tests/walk/WatchedMainWindow.h"
#include "tracker/sim/SimControl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{
struct WalkPlan
{
    std::uint64_t seed;
    int steps;
};

// The seeds and lengths to walk: the environment's one walk, or the suite's.
std::vector<WalkPlan> Plans()
{
    const char* seed = std::getenv("KELM_WALK_SEED");
    const char* steps = std::getenv("KELM_WALK_STEPS");
    if (seed != nullptr && *seed != '\0')
    {
        return {{std::strtoull(seed, nullptr, 10),
                 steps != nullptr && *steps != '\0' ? std::atoi(steps) : 500}};
    }
    return {{1, 500}, {2, 500}, {3, 500}, {4, 500}};
}

class OperatorWalks : public DialogTest, public ::testing::WithParamInterface<WalkPlan>
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        TrackerSim::Reset();
    }
    void TearDown() override
    {
        DialogTest::TearDown();
        TrackerSim::Reset();
    }
};

TEST_P(OperatorWalks, KeepTheWindowToItsRules)
{
    OperatorWalk walk(GetParam().seed, GetParam().steps);
    const bool passed = walk.Run();
    EXPECT_TRUE(passed) << walk.Report();
    // A walk that never got anywhere would prove little.
    EXPECT_EQ(walk.StepsTaken(), GetParam().steps);
    EXPECT_GT(walk.Connections(), 0);
    if (std::getenv("KELM_WALK_LOG") != nullptr)
    {
        std::printf("%s", walk.Report().c_str());
    }
    std::printf("walk %llu: %d steps, %d window(s), %d Tracker object(s)\n",
                static_cast<unsigned long long>(GetParam().seed), walk.StepsTaken(), walk.Windows(),
                walk.Connections());
}

// The walk's checks at work: a window that re-enables Readiness Test
// whenever it handles a state message, whatever runs and however busy the
// tracker is, must not pass.
class EagerReadinessWindow : public WatchedMainWindow
{
public:
    using WatchedMainWindow::WatchedMainWindow;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const LRESULT result = WatchedMainWindow::WindowProc(message, wParam, lParam);
        if (message == WM_APP_STATE)
        {
            GetDlgItem(IDC_READINESS_TEST)->EnableWindow(TRUE);
        }
        return result;
    }
};

using OperatorWalkChecks = OperatorWalks;

TEST_F(OperatorWalkChecks, NoticeAWindowThatBreaksTheEnablingRule)
{
    OperatorWalk walk(1, 500, [](WalkJournal& journal)
                      { return std::make_unique<EagerReadinessWindow>(journal); });
    EXPECT_FALSE(walk.Run());
    EXPECT_NE(walk.Report().find("button 5000 is VE, not V-"), std::string::npos) << walk.Report();
}

INSTANTIATE_TEST_SUITE_P(Seeds, OperatorWalks, ::testing::ValuesIn(Plans()),
                         [](const ::testing::TestParamInfo<WalkPlan>& info)
                         { return "seed" + std::to_string(info.param.seed); });
} // namespace
