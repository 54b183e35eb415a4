// SPDX-License-Identifier: Apache-2.0
// Every dialog test process: test mode on (nothing ever waits for an
// operator), the window system running, and an application object when the
// test links none of its own.
#include "framework/dialogs/CWinApp.h"
#include "framework/testing/TestSeams.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class WindowSystemEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        AfxSetTestMode(true);
        AfxEnsureWindowSystem();
        if (AfxGetApp() == nullptr)
        {
            m_app = std::make_unique<CWinApp>();
        }
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<CWinApp> m_app;
};

::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new WindowSystemEnvironment);
} // namespace
