// SPDX-License-Identifier: Apache-2.0
// The settings file, byte for byte: what Save writes and what Load accepts.
#include "settings/CSerialize.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const std::string kDefaultFile = SettingsFile(0, 1, "192.0.2.10", {3, 6, 2, 6, 3, 1, 0, 3});

struct Record
{
    std::int32_t user, type;
    std::string address;
    std::int32_t units[8];
};

Record Read(const CSerialize& s)
{
    Record r{};
    s.GetConnection(r.user, r.type, r.address);
    s.GetLengthUnits(r.units[0], r.units[1]);
    s.GetAngleUnits(r.units[2], r.units[3]);
    s.GetPressureUnits(r.units[4], r.units[5]);
    s.GetTemperatureUnits(r.units[6], r.units[7]);
    return r;
}

void ExpectUnits(const Record& r, std::initializer_list<std::int32_t> expected)
{
    int i = 0;
    for (std::int32_t v : expected)
    {
        EXPECT_EQ(r.units[i], v) << "unit integer " << i;
        ++i;
    }
}

// Runs check in a child process, so that limits it sets stay there.
// Unprivileged, it runs without root's power to write anything, so that
// permissions mean for the test what they mean for an operator.
bool RunInChild(const std::function<bool()>& check, bool unprivileged)
{
    pid_t pid = ::fork();
    if (pid == 0)
    {
        if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        {
            ::_exit(2);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool RunUnprivileged(const std::function<bool()>& check)
{
    return RunInChild(check, true);
}

class SettingsFileTest : public ::testing::Test
{
protected:
    TempDir dir;
    std::string path = dir.file("KelmUtilitiesSerialize.dat");
};
} // namespace

TEST_F(SettingsFileTest, NoFileLoadsFalseAndFirstSaveWritesTheDefaults)
{
    CSerialize s(dir.path());
    EXPECT_EQ(s.GetFilePath(), path);
    EXPECT_FALSE(s.Load());
    Record r = Read(s);
    EXPECT_EQ(r.user, 0);
    EXPECT_EQ(r.type, 1);
    EXPECT_EQ(r.address, "192.0.2.10");
    ExpectUnits(r, {3, 6, 2, 6, 3, 1, 0, 3});

    s.Save();
    EXPECT_EQ(ReadBytes(path), kDefaultFile);
    EXPECT_EQ(ReadBytes(path).size(), 41u + 10u);
}

TEST_F(SettingsFileTest, SaveWritesEveryFieldInFileOrder)
{
    CSerialize s(dir.path());
    s.SetConnection(2, 0, "10.0.0.7");
    s.SetLengthUnits(5, 3);
    s.SetAngleUnits(1, 1);
    s.SetPressureUnits(0, 2);
    s.SetTemperatureUnits(1, -1);
    EXPECT_FALSE(FileExists(path)) << "setters never save";
    s.Save();
    EXPECT_EQ(ReadBytes(path), SettingsFile(2, 0, "10.0.0.7", {5, 3, 1, 1, 0, 2, 1, -1}));

    CSerialize other(dir.path());
    ASSERT_TRUE(other.Load());
    Record r = Read(other);
    EXPECT_EQ(r.user, 2);
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(r.address, "10.0.0.7");
    ExpectUnits(r, {5, 3, 1, 1, 0, 2, 1, -1});
}

TEST_F(SettingsFileTest, StringLengthPrefixForms)
{
    struct Case
    {
        std::size_t length;
        std::string prefix;
    } cases[] = {
        {0, Raw({0x00})},
        {254, Raw({0xFE})},
        {255, Raw({0xFF, 0xFF, 0x00})},
        {65533, Raw({0xFF, 0xFD, 0xFF})},
        {65534, Raw({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Raw({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.length);
        std::string address(c.length, 'x');
        for (std::size_t i = 0; i < c.length; ++i)
        {
            address[i] = static_cast<char>('0' + i % 10);
        }
        CSerialize s(dir.path());
        s.SetConnection(1, 1, address);
        s.Save();
        std::string expected = Ints({1, 1}) + c.prefix + address + Ints({3, 6, 2, 6, 3, 1, 0, 3});
        std::string bytes = ReadBytes(path);
        EXPECT_EQ(bytes.size(), 40 + c.prefix.size() + c.length);
        EXPECT_TRUE(bytes == expected);

        CSerialize back(dir.path());
        back.SetConnection(0, 0, "unchanged");
        ASSERT_TRUE(back.Load());
        EXPECT_TRUE(Read(back).address == address);
    }
}

TEST_F(SettingsFileTest, EmptyAddressIsOneZeroByte)
{
    CSerialize s(dir.path());
    s.SetConnection(0, 1, "");
    s.Save();
    EXPECT_EQ(ReadBytes(path), SettingsFile(0, 1, "", {3, 6, 2, 6, 3, 1, 0, 3}));
    EXPECT_EQ(ReadBytes(path).size(), 41u);
    CSerialize back(dir.path());
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(Read(back).address, "");
}

TEST_F(SettingsFileTest, WideAddressLoadsAsNarrowTextAndIsSavedNarrow)
{
    // FF FE FF marks a wide string; "1°€ĉ" in 16-bit units. The degree and
    // euro signs exist in the narrow code page; the last character does not.
    std::string wide = Raw({0xFF, 0xFE, 0xFF, 0x04, '1', 0, 0xB0, 0, 0xAC, 0x20, 0x09, 0x01});
    WriteBytes(path, Ints({1, 0}) + wide + Ints({5, 3, 1, 1, 0, 2, 1, 1}));

    CSerialize s(dir.path());
    ASSERT_TRUE(s.Load());
    Record r = Read(s);
    EXPECT_EQ(r.address, "1\xB0\x80?");
    ExpectUnits(r, {5, 3, 1, 1, 0, 2, 1, 1});

    s.Save();
    EXPECT_EQ(ReadBytes(path), SettingsFile(1, 0, "1\xB0\x80?", {5, 3, 1, 1, 0, 2, 1, 1}));
}

TEST_F(SettingsFileTest, WideAddressWithSixteenBitLength)
{
    std::string units;
    for (int i = 0; i < 300; ++i)
    {
        units += Raw({'7', 0});
    }
    WriteBytes(path, Ints({0, 1}) + Raw({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}) + units +
                         Ints({3, 6, 2, 6, 3, 1, 0, 3}));
    CSerialize s(dir.path());
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(Read(s).address, std::string(300, '7'));
}

TEST_F(SettingsFileTest, BytesAfterTheLastFieldAreIgnoredAndDroppedByTheNextSave)
{
    std::string file = SettingsFile(1, 0, "10.1.1.1", {0, 2, 5, 4, 2, 3, 1, 2});
    WriteBytes(path, file + "trailing junk");
    CSerialize s(dir.path());
    ASSERT_TRUE(s.Load());
    ExpectUnits(Read(s), {0, 2, 5, 4, 2, 3, 1, 2});
    s.Save();
    EXPECT_EQ(ReadBytes(path), file);
}

TEST_F(SettingsFileTest, FileEndingInsideTheUnitIntegersKeepsWhatWasRead)
{
    // Everything up to the length precision, then half of the angle unit.
    std::string file = SettingsFile(2, 0, "1.2.3.4", {0, 9, 4, 4, 0, 0, 0, 0});
    WriteBytes(path, file.substr(0, 8 + 1 + 7 + 8 + 2));

    CSerialize s(dir.path());
    s.SetAngleUnits(-5, -6);
    s.SetTemperatureUnits(-7, -8);
    EXPECT_FALSE(s.Load());
    Record r = Read(s);
    EXPECT_EQ(r.user, 2);
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(r.address, "1.2.3.4");
    ExpectUnits(r, {0, 9, -5, -6, 3, 1, -7, -8});
}

TEST_F(SettingsFileTest, LengthPrefixClaimingMoreThanTheFileHoldsFailsWithoutReadingOn)
{
    const std::string rest = "1.2.3.4" + Ints({0, 9, 4, 4, 0, 0, 0, 0});
    const std::string prefixes[] = {
        Raw({0xFF, 0xFF, 0x7F}),                                     // 32767 characters
        Raw({0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF}),             // about four thousand million
        Raw({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), // wide, 2 GiB of units
        Raw({0xFF, 0xFE, 0xFF, 0x30}),                               // wide: 96 bytes, 39 left
    };
    for (const std::string& prefix : prefixes)
    {
        SCOPED_TRACE(prefix.size());
        WriteBytes(path, Ints({2, 0}) + prefix + rest);
        CSerialize s(dir.path());
        EXPECT_FALSE(s.Load());
        Record r = Read(s);
        EXPECT_EQ(r.user, 2);
        EXPECT_EQ(r.type, 0);
        EXPECT_EQ(r.address, "192.0.2.10");
        ExpectUnits(r, {3, 6, 2, 6, 3, 1, 0, 3});
    }
}

TEST_F(SettingsFileTest, ShortFilesOfEveryLengthLoadFalse)
{
    for (std::size_t n = 0; n < kDefaultFile.size(); ++n)
    {
        WriteBytes(path, kDefaultFile.substr(0, n));
        CSerialize s(dir.path());
        EXPECT_FALSE(s.Load()) << n << " bytes";
    }
    WriteBytes(path, kDefaultFile);
    CSerialize s(dir.path());
    EXPECT_TRUE(s.Load());
}

TEST_F(SettingsFileTest, LoadOverwritesFieldsSetSinceTheLastSave)
{
    CSerialize s(dir.path());
    s.SetConnection(1, 0, "10.9.9.9");
    s.Save();
    s.SetConnection(2, 1, "not saved");
    s.SetLengthUnits(0, 0);
    ASSERT_TRUE(s.Load());
    Record r = Read(s);
    EXPECT_EQ(r.user, 1);
    EXPECT_EQ(r.address, "10.9.9.9");
    ExpectUnits(r, {3, 6, 2, 6, 3, 1, 0, 3});
}

TEST_F(SettingsFileTest, UnwritableDirectoryGetsNoFile)
{
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    EXPECT_TRUE(RunUnprivileged(
        [&]
        {
            CSerialize s(dir.path());
            s.SetConnection(2, 0, "10.0.0.1");
            s.Save();
            std::int32_t user, type;
            std::string address;
            s.GetConnection(user, type, address);
            return !FileExists(path) && user == 2 && address == "10.0.0.1";
        }));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".tmp"));
}

TEST_F(SettingsFileTest, UnwritableSettingsFileKeepsItsContent)
{
    // A writable directory: only the file's own permission stands in the way.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    WriteBytes(path, kDefaultFile);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(RunUnprivileged(
        [&]
        {
            CSerialize s(dir.path());
            s.SetConnection(2, 0, "10.0.0.1");
            s.Save();
            return true;
        }));
    EXPECT_EQ(ReadBytes(path), kDefaultFile);
    EXPECT_FALSE(FileExists(path + ".tmp"));
}

TEST_F(SettingsFileTest, WriteFailurePartWayLeavesThePreviousFileWhole)
{
    WriteBytes(path, kDefaultFile);
    // The file size limit makes the write fail after 100 bytes, as a full
    // disk would.
    EXPECT_TRUE(RunInChild(
        [&]
        {
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{100, 100};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            CSerialize s(dir.path());
            s.SetConnection(1, 1, std::string(5000, 'a'));
            s.Save();
            return true;
        },
        false));
    EXPECT_EQ(ReadBytes(path), kDefaultFile);
    EXPECT_FALSE(FileExists(path + ".tmp"));
}

TEST_F(SettingsFileTest, TheFileLivesInTheDirectoryCurrentAtConstruction)
{
    // Deeper than the 256 characters the platform's buffer would hold.
    std::string deep = dir.path();
    while (deep.size() <= 300)
    {
        deep += "/a-rather-long-directory-name";
        ASSERT_EQ(::mkdir(deep.c_str(), 0755), 0);
    }
    char saved[4096];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir(deep.c_str()), 0);
    CSerialize s;
    ASSERT_EQ(::chdir(saved), 0);

    EXPECT_EQ(s.GetFilePath(), deep + "/KelmUtilitiesSerialize.dat");
    s.Save();
    EXPECT_EQ(ReadBytes(deep + "/KelmUtilitiesSerialize.dat"), kDefaultFile);
}

TEST(SettingsRecordClass, IsRegisteredAsSerialisable)
{
    const CRuntimeClass* rc = CRuntimeClass::FromName("CSerialize");
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(rc->m_wSchema, 1u);
    EXPECT_TRUE(rc->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    CObject* created = rc->CreateObject();
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CSerialize)));
    EXPECT_EQ(created->GetRuntimeClass(), rc);
    delete created;
}
