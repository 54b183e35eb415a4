// SPDX-License-Identifier: Apache-2.0
// The set-up every test of the program's dialogs shares: no settings file and
// a settings record with its defaults at the start, no message box from an
// earlier test, and afterwards no driver left behind and no dialog that a
// driver forgot to close.
#ifndef KELM_TESTS_SUPPORT_DIALOGTEST_H
#define KELM_TESTS_SUPPORT_DIALOGTEST_H

#include "framework/core/AfxStringOverride.h"
#include "framework/testing/TestSeams.h"
#include "settings/CSerialize.h"

#include <gtest/gtest.h>

#include <cstdio>

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::remove(theSettings.GetFilePath().c_str());
        theSettings = CSerialize();
        AfxClearMessageBoxLog();
    }
    void TearDown() override
    {
        AfxClearModalDrivers();
        AfxSetMessageBoxHandler(nullptr);
        AfxClearStringOverrides();
        EXPECT_EQ(AfxUnfinishedModalCount(), 0);
        std::remove(theSettings.GetFilePath().c_str());
    }
};

#endif
