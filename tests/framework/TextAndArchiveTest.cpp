// SPDX-License-Identifier: Apache-2.0
// Narrow text conversion, names compared without regard to case, the string
// table loader and the archive's wire format.
#include "framework/core/AfxStrings.h"
#include "framework/core/AsciiText.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/Platform.h"
#include "framework/core/TextCodec.h"
#include "res/StringTable.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/TurkishLocale.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(AsciiCompareNoCase, FoldsEveryAsciiLetterAndNothingElseInAnyLocale)
{
    TurkishLocale turkish;
    ASSERT_TRUE(turkish.Bites());
    for (char c = 'A'; c <= 'Z'; ++c)
    {
        const char upper[] = {'x', c, 'y', '\0'};
        const char lower[] = {'X', static_cast<char>(c - 'A' + 'a'), 'Y', '\0'};
        EXPECT_EQ(AsciiCompareNoCase(upper, lower), 0) << c;
        EXPECT_EQ(AsciiCompareNoCase(lower, upper), 0) << c;
    }
    EXPECT_EQ(AsciiCompareNoCase("READINESSTEST", "ReadinessTest"), 0);
    EXPECT_EQ(AsciiCompareNoCase("partsinspector", "PartsInspector"), 0);
    // Letters of the narrow code page beyond ASCII keep their case.
    EXPECT_NE(AsciiCompareNoCase("\xC9t\xE9", "\xE9t\xE9"), 0);
    EXPECT_NE(AsciiCompareNoCase("ReadinessTest", "ReadinessTest2"), 0);
    EXPECT_NE(AsciiCompareNoCase("", "a"), 0);
}

TEST(AsciiCompareNoCase, OrdersAsTheLowerCaseTexts)
{
    EXPECT_LT(AsciiCompareNoCase("alpha", "BETA"), 0);
    EXPECT_GT(AsciiCompareNoCase("Beta", "alpha"), 0);
    EXPECT_LT(AsciiCompareNoCase("abc", "ABCD"), 0);
    // Compared as lower case: "_" (0x5F) sorts before "a" even against "A".
    EXPECT_LT(AsciiCompareNoCase("_", "A"), 0);
    // Bytes above 0x7F sort after ASCII, as unsigned bytes.
    EXPECT_GT(AsciiCompareNoCase("\xB0", "z"), 0);
}

TEST(TextCodec, NarrowTextIsWindows1252)
{
    EXPECT_EQ(TextCodec::Utf8ToNarrow("°C"), "\xB0"
                                             "C");
    EXPECT_EQ(TextCodec::Utf8ToNarrow("µm"), "\xB5m");
    EXPECT_EQ(TextCodec::Utf8ToNarrow("€ – “x”"), "\x80 \x96 \x93x\x94");
    EXPECT_EQ(TextCodec::NarrowToUtf8("\xB0\xB5\x80"), "°µ€");
}

TEST(TextCodec, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(TextCodec::Utf8ToNarrow("aĉb"), "a?b");
    EXPECT_EQ(TextCodec::Utf8ToNarrow("a\xF0\x9F\x98\x80z"), "a?z"); // one emoji
    EXPECT_EQ(TextCodec::Utf8ToNarrow("a\xC3"), "a?");               // cut short
    EXPECT_EQ(TextCodec::Utf16ToNarrow(u"x\U0001F600y\u0109"), "x?y?");
    EXPECT_EQ(TextCodec::Utf16ToNarrow(std::u16string(1, u'\xD800')), "?"); // lone surrogate
}

TEST(TextCodec, EveryNarrowByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
    {
        all += static_cast<char>(b);
    }
    EXPECT_TRUE(TextCodec::Utf8ToNarrow(TextCodec::NarrowToUtf8(all)) == all);
}

TEST(StringTable, LoadsNarrowTextById)
{
    std::string text;
    ASSERT_TRUE(AfxLoadString(5071, text));
    EXPECT_EQ(text, "\xB0");
    ASSERT_TRUE(AfxLoadString(5066, text));
    EXPECT_EQ(text, "\xB5m");
    ASSERT_TRUE(AfxLoadString(5011, text));
    EXPECT_EQ(text, "Invalid IP address \n Value must be between 0 and 255 inclusive");
    ASSERT_TRUE(AfxLoadString(5002, text));
    EXPECT_EQ(text, "Checks accuracy and repeatablity of the Tracker over work volume");
}

TEST(StringTable, MissingIdIsToldApartFromAPresentString)
{
    std::string text = "left over";
    EXPECT_FALSE(AfxLoadString(1005, text)); // Connect has no tooltip
    EXPECT_EQ(text, "");
    EXPECT_FALSE(AfxLoadString(2, text));
    EXPECT_FALSE(AfxLoadString(0, text));
    EXPECT_TRUE(AfxLoadString(101, text));
}

TEST(StringTable, IsSortedAndEveryTextFitsTheNarrowCodePage)
{
    // The loader searches by halving, and the operator must never see a
    // character replaced by '?'.
    for (std::size_t i = 0; i < kResStringCount; ++i)
    {
        if (i > 0)
        {
            EXPECT_LT(kResStringTable[i - 1].id, kResStringTable[i].id);
        }
        const std::string utf8 = kResStringTable[i].utf8;
        std::string narrow = TextCodec::Utf8ToNarrow(utf8);
        EXPECT_EQ(std::count(narrow.begin(), narrow.end(), '?'),
                  std::count(utf8.begin(), utf8.end(), '?'))
            << kResStringTable[i].id;
        EXPECT_EQ(TextCodec::NarrowToUtf8(narrow), kResStringTable[i].utf8);
    }
}

class ArchiveTest : public ::testing::Test
{
protected:
    TempDir dir;
    std::string path = dir.file("archive.bin");

    template <typename F> void Store(F write)
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
        file.Close();
    }
};

TEST_F(ArchiveTest, IntegersAreLittleEndianTwosComplement)
{
    Store([](CArchive& ar) { ar << 1 << -2 << 0x12345678 << INT32_MIN; });
    EXPECT_EQ(ReadBytes(path),
              Raw({1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0x80}));
}

TEST_F(ArchiveTest, NothingReachesTheFileBeforeClose)
{
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    {
        CArchive ar(&file, CArchive::store);
        ar << 7;
        EXPECT_EQ(ReadBytes(path).size(), 0u);
        ar.Abort();
    }
    file.Close();
    EXPECT_EQ(ReadBytes(path).size(), 0u);
}

TEST_F(ArchiveTest, ReadsAcrossBufferBoundaries)
{
    std::string big(10000, 'q');
    for (std::size_t i = 0; i < big.size(); ++i)
    {
        big[i] = static_cast<char>('a' + i % 26);
    }
    Store([&](CArchive& ar) { ar << 5 << big << 6 << std::string() << big.substr(0, 4095) << 7; });

    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    CArchive ar(&file, CArchive::load, 4096);
    std::int32_t a, b, c;
    std::string s1, s2, s3;
    ar >> a >> s1 >> b >> s2 >> s3 >> c;
    EXPECT_EQ(a, 5);
    EXPECT_TRUE(s1 == big);
    EXPECT_EQ(b, 6);
    EXPECT_EQ(s2, "");
    EXPECT_TRUE(s3 == big.substr(0, 4095));
    EXPECT_EQ(c, 7);
}

TEST_F(ArchiveTest, EndOfFileBeforeAFieldIsAnArchiveError)
{
    WriteBytes(path, Raw({1, 2, 3}));
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    CArchive ar(&file, CArchive::load);
    std::int32_t value = 42;
    try
    {
        ar >> value;
        FAIL() << "no exception";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
    EXPECT_EQ(value, 42);
}

TEST(FileTest, OpenReportsFailureByResult)
{
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("/nonexistent-dir/x", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(file.IsOpen());
}

TEST(PlatformTest, ChildProcessExitStatusOrMinusOne)
{
    EXPECT_EQ(Platform::SpawnAndWait("/bin/sh", {"sh", "-c", "exit 3"}), 3);
    EXPECT_EQ(
        Platform::SpawnAndWait("/bin/sh", {"sh", "-c", "test \"$1\" = '-jar x'", "sh", "-jar x"}),
        0);
    EXPECT_EQ(Platform::SpawnAndWait("jre//bin//javaw", {"jre//bin//javaw", "-jar netfinder.jar"}),
              -1);
}
