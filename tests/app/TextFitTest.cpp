// SPDX-License-Identifier: Apache-2.0
// Every dialog in every language the program has, and in a pseudo-language
// whose texts are longer than any: every text fits its control in the font
// the dialog layer really draws with (the templates' texts, the texts the
// dialogs set while opening, the list entries they add, the longest caption
// the Connect button can take), every character has a glyph, and no two
// controls of a dialog share an access key. In the pseudo-language every
// text the operator reads shows that it came from the translations.
#include "app/CAboutDlg.h"
#include "app/CTovAppsDlg.h"
#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxResources.h"
#include "otherapps/COtherAppDlg.h"
#include "po/TranslatableTexts.h"
#include "res/Translations.h"
#include "settings/CTrackerConnectDlg.h"
#include "tests/support/DialogTest.h"
#include "units/CSelectUnitsDialog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{
constexpr const char* kPseudo = "en_XA";

// "Co&nnect..." becomes "[Çö&ññéçţ... ·····]": accented where a letter has an
// accented form in the code page, the access key's letter kept, conversions
// and line breaks kept, two fifths longer, in brackets.
std::string Pseudo(const std::string& english)
{
    static const std::map<char, const char*> kAccented = {
        {'a', "á"}, {'c', "ç"}, {'e', "é"}, {'i', "í"}, {'n', "ñ"},
        {'o', "ö"}, {'u', "ü"}, {'y', "ý"}, {'A', "Á"}, {'C', "Ç"},
        {'E', "É"}, {'I', "Í"}, {'N', "Ñ"}, {'O', "Ö"}, {'U', "Ü"}};
    const std::size_t tab = english.find('\t');
    const std::string text = english.substr(0, tab);
    std::string out = "[";
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        auto accented = kAccented.find(c);
        const bool keep = (i > 0 && text[i - 1] == '&') || (i > 0 && text[i - 1] == '%');
        out += accented != kAccented.end() && !keep ? accented->second : std::string(1, c);
    }
    out += " " + std::string(text.size() * 2 / 5, '~') + "]";
    return tab == std::string::npos ? out : out + english.substr(tab);
}

std::map<std::string, std::string> PseudoTexts()
{
    std::map<std::string, std::string> texts;
    for (const TranslatableText& text : TranslatableTexts())
    {
        texts[text.key] = Pseudo(text.english);
    }
    return texts;
}

// The letter after a single '&', lower case; 0 when there is none.
char AccessKey(const std::string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
    {
        if (text[i] == '&')
        {
            if (text[i + 1] != '&')
            {
                return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
            }
            ++i;
        }
    }
    return 0;
}

class TextFitTest : public DialogTest, public ::testing::WithParamInterface<std::string>
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        if (GetParam() == kPseudo)
        {
            AfxTestUseTexts(kPseudo, PseudoTexts());
        }
        else
        {
            ASSERT_TRUE(AfxTestUseLanguage(GetParam()));
        }
    }
    void TearDown() override
    {
        AfxTestUseLanguage("en");
        DialogTest::TearDown();
    }

    void Note(CDialog& d, int id, const std::string& what)
    {
        problems.push_back(std::to_string(d.GetTemplateId()) + "/" + std::to_string(id) + ": " +
                           what);
    }

    // What does not fit, what has no glyph, and which access keys repeat,
    // in the dialog as it has opened.
    void Collect(CDialog& d, const std::vector<std::string>& connectTexts = {})
    {
        const ResDialogTemplate* tmpl = AfxFindDialogTemplate(d.GetTemplateId());
        std::map<char, int> keys;
        for (std::size_t i = 0; i < tmpl->itemCount; ++i)
        {
            const ResDialogItem& item = tmpl->items[i];
            const int index = static_cast<int>(i);
            const char* translated = AfxLanguage::Find(AfxLanguage::ItemKey(tmpl->id, item, i));
            const std::string templateText =
                AfxLanguage::Utf8ToUi(translated != nullptr ? translated : item.text);
            const std::string current =
                item.id != IDC_STATIC ? d.GetDlgItem(item.id)->GetWindowText() : templateText;
            // A template's text that the dialog replaces is never seen but
            // in English, where the template stays as drawn.
            const std::vector<std::string> shown =
                GetParam() == "en" ? std::vector<std::string>{current, templateText}
                                   : std::vector<std::string>{current};
            for (const std::string& text : shown)
            {
                const int overflow = AfxTestTextOverflowAt(d, index, &text);
                if (overflow != INT_MIN && overflow > 0)
                {
                    Note(d, item.id,
                         "\"" + AfxLanguage::UiToUtf8(text) + "\" is " + std::to_string(overflow) +
                             " px too wide or tall");
                }
            }
            const std::string missing = AfxTestMissingGlyphs(d, index);
            if (!missing.empty())
            {
                Note(d, item.id, "no glyph for \"" + missing + "\"");
            }
            if (const char key = AccessKey(current))
            {
                if (keys[key]++ > 0)
                {
                    Note(d, item.id, std::string("access key '") + key + "' taken twice");
                }
            }
            if (GetParam() == kPseudo && !current.empty() && current[0] != '[' &&
                current[0] != '#' && item.id != IDC_TYPE_CORVO && item.id != IDC_TYPE_KELM &&
                std::string(item.className) != RES_CLASS_EDIT &&
                std::string(item.className) != RES_CLASS_COMBOBOX)
            {
                Note(d, item.id, "\"" + AfxLanguage::UiToUtf8(current) + "\" is not translated");
            }
        }
        if (GetParam() == kPseudo && d.GetWindowText().rfind('[', 0) != 0)
        {
            Note(d, 0,
                 "the title \"" + AfxLanguage::UiToUtf8(d.GetWindowText()) +
                     "\" is not translated");
        }
        for (const std::string& text : connectTexts)
        {
            const int overflow = AfxTestTextOverflow(d, IDC_CONNECT, &text);
            if (overflow != INT_MIN && overflow > 0)
            {
                Note(d, IDC_CONNECT, "\"" + AfxLanguage::UiToUtf8(text) + "\" does not fit");
            }
        }
    }

    std::vector<std::string> problems;
};
} // namespace

TEST_P(TextFitTest, EveryTextFitsHasItsGlyphsAndAUniqueAccessKey)
{
    auto collectAndClose = [&](CDialog& d)
    {
        Collect(d);
        AfxTestPressKey(d, AfxKey::Escape);
    };
    AfxSetModalDriver(IDD_ABOUTBOX, collectAndClose);
    AfxSetModalDriver(IDD_SELECT_UNITS, collectAndClose);
    AfxSetModalDriver(IDD_TRACKER_CONNECT, collectAndClose);
    AfxSetModalDriver(IDD_OTHER_APPS, collectAndClose);
    AfxSetModalDriver(IDD_TOVAPPS_DIALOG,
                      [&](CDialog& d)
                      {
                          const std::string format = AfxLoadString(IDS_DISCONNECT);
                          char disconnect[256];
                          std::snprintf(disconnect, sizeof disconnect, format.c_str(), 255);
                          Collect(d, {disconnect, AfxLoadString(IDS_CONNECT) + "..."});
                          if (GetParam() == kPseudo)
                          {
                              std::string tip;
                              ASSERT_TRUE(AfxTestToolTip(d, IDC_READINESS_TEST, &tip));
                              EXPECT_EQ(tip.rfind('[', 0), 0u) << tip;
                          }
                          AfxTestInvokeSystemMenu(d, IDM_ABOUTBOX);
                          AfxTestClick(d, IDC_SELECT_UNITS);
                          AfxTestClick(d, IDC_CONNECT);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    CTovAppsDlg window;
    window.DoModal();
    COtherAppDlg others;
    others.DoModalWithApps({});

    EXPECT_TRUE(problems.empty()) << [&]
    {
        std::string all;
        for (const std::string& p : problems)
        {
            all += p + "\n";
        }
        return all;
    }();
}

// Arabic is written from right to left, and its windows are mirrored as
// the platform mirrors them: a label stands to the right of what it names,
// and OK and Cancel change places.
class MirroredTest : public DialogTest
{
};

TEST_F(MirroredTest, ArabicPutsLabelsRightOfTheirControlsAndOkRightOfCancel)
{
    CRect ok, cancel, label, names;
    AfxSetModalDriver(IDD_TRACKER_CONNECT,
                      [&](CDialog& d)
                      {
                          ok = AfxTestControlRect(d, IDOK);
                          cancel = AfxTestControlRect(d, IDCANCEL);
                          label = AfxTestControlRect(d, IDC_USER_NAME_LABEL);
                          names = AfxTestControlRect(d, IDC_USER_NAME);
                          AfxTestPressKey(d, AfxKey::Escape);
                      });
    ASSERT_TRUE(AfxTestUseLanguage("ar"));
    CTrackerConnectDlg dialog;
    dialog.DoModal();
    AfxTestUseLanguage("en");
    EXPECT_GE(ok.left, cancel.right);
    EXPECT_GE(label.left, names.right);
}

std::vector<std::string> Languages()
{
    std::vector<std::string> names = {"en", kPseudo};
    for (std::size_t i = 0; i < kResLanguageCount; ++i)
    {
        names.push_back(kResLanguages[i].name);
    }
    return names;
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, TextFitTest, ::testing::ValuesIn(Languages()),
                         [](const auto& info) { return info.param; });
