// SPDX-License-Identifier: Apache-2.0
// Every text of every dialog fits its control in the font the dialog layer
// really draws with: the templates' own texts, the texts the dialogs set
// while opening, the list entries they add, and the longest caption the
// Connect button can take.
#include "app/CAboutDlg.h"
#include "app/CTovAppsDlg.h"
#include "framework/core/AfxResources.h"
#include "framework/core/TextCodec.h"
#include "otherapps/COtherAppDlg.h"
#include "settings/CTrackerConnectDlg.h"
#include "tests/support/DialogTest.h"
#include "units/CSelectUnitsDialog.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{
// Each text that does not fit, as "template/control: text (+pixels)".
std::vector<std::string> Overflows(CDialog& d, const std::vector<std::string>& extraConnectTexts)
{
    std::vector<std::string> found;
    auto note = [&](int overflow, int id, const std::string& shown)
    {
        if (overflow != INT_MIN && overflow > 0)
        {
            found.push_back(std::to_string(d.GetTemplateId()) + "/" + std::to_string(id) + ": \"" +
                            TextCodec::NarrowToUtf8(shown) + "\" (+" + std::to_string(overflow) +
                            " px)");
        }
    };
    const ResDialogTemplate* tmpl = AfxFindDialogTemplate(d.GetTemplateId());
    for (std::size_t i = 0; i < tmpl->itemCount; ++i)
    {
        const ResDialogItem& item = tmpl->items[i];
        const int index = static_cast<int>(i);
        const std::string current = item.id != IDC_STATIC ? d.GetDlgItem(item.id)->GetWindowText()
                                                          : TextCodec::Utf8ToNarrow(item.text);
        note(AfxTestTextOverflowAt(d, index), item.id, current);
        const std::string templateText = TextCodec::Utf8ToNarrow(item.text);
        note(AfxTestTextOverflowAt(d, index, &templateText), item.id, templateText);
    }
    for (const std::string& text : extraConnectTexts)
    {
        note(AfxTestTextOverflow(d, IDC_CONNECT, &text), IDC_CONNECT, text);
    }
    return found;
}

class TextFitTest : public DialogTest
{
};
} // namespace

TEST_F(TextFitTest, EveryTextOfEveryDialogFitsItsControl)
{
    std::vector<std::string> overflows;
    auto collect = [&](CDialog& d, const std::vector<std::string>& extra = {})
    {
        std::vector<std::string> found = Overflows(d, extra);
        overflows.insert(overflows.end(), found.begin(), found.end());
    };

    AfxSetModalDriver(IDD_ABOUTBOX,
                      [&](CDialog& d)
                      {
                          collect(d);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    AfxSetModalDriver(IDD_SELECT_UNITS,
                      [&](CDialog& d)
                      {
                          collect(d);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    AfxSetModalDriver(IDD_TRACKER_CONNECT,
                      [&](CDialog& d)
                      {
                          collect(d);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    AfxSetModalDriver(IDD_OTHER_APPS,
                      [&](CDialog& d)
                      {
                          collect(d);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    AfxSetModalDriver(IDD_TOVAPPS_DIALOG,
                      [&](CDialog& d)
                      {
                          collect(d, {"Disco&nnect (255)", "Co&nnect..."});
                          AfxTestInvokeSystemMenu(d, IDM_ABOUTBOX);
                          AfxTestClick(d, IDC_SELECT_UNITS);
                          AfxTestClick(d, IDC_CONNECT);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    CTovAppsDlg window;
    window.DoModal();
    COtherAppDlg others;
    others.DoModalWithApps({});

    EXPECT_TRUE(overflows.empty()) << [&]
    {
        std::string all;
        for (const std::string& o : overflows)
        {
            all += o + "\n";
        }
        return all;
    }();
}
