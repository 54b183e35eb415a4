// SPDX-License-Identifier: Apache-2.0
// Which translation the desktop's list of languages chooses, which of its
// texts may be shown, and how the user interface's narrow text reads.
#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxResources.h"
#include "framework/core/AfxStrings.h"
#include "res/Resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const ResStringEntry kStrings[] = {{1, "Connect"}, {2, "Disco&nnect (%d)"}};
const ResTranslation kGerman[] = {{"string 1", "Verbinden"}, {"string 2", "Tre&nnen (%s)"}};
const ResTranslation kBrazilian[] = {{"string 1", "Conectar"}};
const ResTranslation kChinese[] = {{"string 1", "\xE8\xBF\x9E\xE6\x8E\xA5"}};
const ResLanguage kLanguages[] = {
    {"de", kGerman, 2}, {"pt_BR", kBrazilian, 1}, {"zh_CN", kChinese, 1}};

class LanguageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxSetResources({"Test", kStrings, 2, nullptr, 0, nullptr, 0, nullptr, 0, kLanguages, 3});
    }
    void TearDown() override
    {
        AfxLanguage::Use("", {});
        ResRegisterProgramResources();
    }
};
} // namespace

TEST_F(LanguageTest, TheFirstLanguageOfTheDesktopsListThatTheProgramHasIsChosen)
{
    struct Case
    {
        std::vector<std::string> preferred;
        const char* chosen;
    };
    const Case cases[] = {
        {{"de_DE.UTF-8"}, "de"},
        {{"de-AT"}, "de"},
        {{"fr", "de"}, "de"},    // a language the program lacks gives way
        {{"en_US", "de"}, "en"}, // English first is English
        {{"C"}, "en"},
        {{"pt_PT", "pt"}, "en"}, // Brazil's Portuguese only for Brazil
        {{"pt-BR"}, "pt_BR"},
        {{"zh-Hans-CN"}, "zh_CN"},
        {{"zh_SG"}, "zh_CN"},
        {{"zh_TW", "zh-Hant"}, "en"}, // traditional Chinese is not simplified
        {{}, "en"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(AfxLanguage::Choose(c.preferred), c.chosen)
            << ::testing::PrintToString(c.preferred);
        EXPECT_EQ(AfxLanguage::Active(), c.chosen);
    }
}

TEST_F(LanguageTest, ATranslationThatFormatsOtherwiseThanTheEnglishIsNeverShown)
{
    AfxLanguage::Choose({"de"});
    std::string text;
    ASSERT_TRUE(AfxLoadString(1, text));
    EXPECT_EQ(text, "Verbinden");
    // "%s" would read a text where the program passes a number.
    ASSERT_TRUE(AfxLoadString(2, text));
    EXPECT_EQ(text, "Disco&nnect (%d)");
    EXPECT_EQ(AfxLanguage::Conversions("%d of %5.2f, 100%% %s"),
              (std::vector<std::string>{"%d", "%5.2f", "%s"}));
}

TEST_F(LanguageTest, TheUserInterfacesTextIsUtf8InATranslationAndStillShowsWindows1252)
{
    // English: the table's code page both ways.
    EXPECT_EQ(AfxLanguage::UiToUtf8("\xB0"
                                    "C"),
              "\xC2\xB0"
              "C");
    EXPECT_EQ(AfxLanguage::Utf8ToUi("\xC2\xB0"
                                    "C"),
              "\xB0"
              "C");
    AfxLanguage::Choose({"zh_CN"});
    std::string text;
    ASSERT_TRUE(AfxLoadString(1, text));
    EXPECT_EQ(AfxLanguage::UiToUtf8(text), "\xE8\xBF\x9E\xE6\x8E\xA5");
    // A tracker's name or an untranslated abbreviation in Windows-1252 next
    // to translated text, and a UTF-8 sequence cut short.
    EXPECT_EQ(AfxLanguage::UiToUtf8(text + ": \xB0"
                                           "C \xE8\xBF"),
              "\xE8\xBF\x9E\xE6\x8E\xA5: \xC2\xB0"
              "C \xC3\xA8\xC2\xBF");
}
