// SPDX-License-Identifier: Apache-2.0
// Message boxes go through the seam: recorded with text, caption, buttons
// and icon, and answered without anyone at the screen.
#include "framework/testing/TestSeams.h"
#include "res/resource.h"
#include "tests/support/TestDialog.h"

#include <gtest/gtest.h>

namespace
{
class MessageBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { AfxClearMessageBoxLog(); }
    void TearDown() override
    {
        AfxSetMessageBoxHandler(nullptr);
        AfxClearMessageBoxLog();
        AfxClearModalDrivers();
    }
};

TEST_F(MessageBoxTest, ApplicationBoxIsCaptionedWithTheTitleAndGetsTheExclamationIcon)
{
    EXPECT_EQ(AfxMessageBox("Got Exception while launching an App"), IDOK);
    EXPECT_EQ(AfxMessageBox("Informed", MB_OK | MB_ICONINFORMATION), IDOK);
    const std::vector<AfxMessageBoxInfo> log = AfxMessageBoxLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, "Got Exception while launching an App");
    EXPECT_EQ(log[0].caption, "Kelm Utilities");
    EXPECT_EQ(log[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(log[0].buttons, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(log[0].application);
    EXPECT_EQ(log[0].ownerTemplate, 0u);
    EXPECT_EQ(log[1].icon, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST_F(MessageBoxTest, StringIdBoxKeepsTheLineBreakAndNarrowText)
{
    AfxMessageBox(IDS_INVALID_IP);
    AfxMessageBox("90\xB0 and 5 \xB5m");
    const std::vector<AfxMessageBoxInfo> log = AfxMessageBoxLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, "Invalid IP address \n Value must be between 0 and 255 inclusive");
    EXPECT_EQ(log[1].text, "90\xB0 and 5 \xB5m");
}

TEST_F(MessageBoxTest, OwnedBoxHasNoIconUnlessAskedAndIsAnsweredByTheHandler)
{
    TestDialog dialog;
    std::vector<int> answers;
    AfxSetMessageBoxHandler([](const AfxMessageBoxInfo& box)
                            { return box.buttons == MB_OKCANCEL ? IDCANCEL : IDOK; });
    AfxQueueModalDriver(IDD_TEST,
                        [&](CDialog& d)
                        {
                            answers.push_back(d.MessageBox(
                                "Application(s) are still running.\nDo you really want to "
                                "close all applications and disconnect?",
                                "Warning", MB_OKCANCEL));
                            answers.push_back(d.MessageBox("Uncaptioned"));
                            answers.push_back(AfxMessageBox("Over the dialog"));
                            d.EndDialog(IDCANCEL);
                        });
    dialog.DoModal();
    EXPECT_EQ(answers, (std::vector<int>{IDCANCEL, IDOK, IDOK}));
    const std::vector<AfxMessageBoxInfo> log = AfxMessageBoxLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].caption, "Warning");
    EXPECT_EQ(log[0].icon, 0u);
    EXPECT_EQ(log[0].type, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_FALSE(log[0].application);
    EXPECT_EQ(log[0].ownerTemplate, static_cast<UINT>(IDD_TEST));
    EXPECT_NE(log[0].text.find("running.\nDo you"), std::string::npos);
    EXPECT_EQ(log[1].caption, "Kelm Utilities");
    EXPECT_EQ(log[2].ownerTemplate, static_cast<UINT>(IDD_TEST));
}

TEST_F(MessageBoxTest, QueuedAnswersComeFirstInOrderThenTheFirstButton)
{
    AfxQueueMessageBoxAnswer(IDNO);
    AfxQueueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(AfxMessageBox("one", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox("two", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("three", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("four", MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(AfxMessageBoxLog().size(), 4u);
    EXPECT_EQ(AfxMessageBoxLog()[2].icon, static_cast<UINT>(MB_ICONQUESTION));
}
} // namespace
