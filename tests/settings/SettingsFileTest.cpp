// SPDX-License-Identifier: Apache-2.0
// The settings file, byte for byte: what Save writes and what Load accepts.
#include "settings/CSerialize.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <functional>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const std::string kDefaultFile = SettingsFile(0, 1, "192.0.2.10", {3, 6, 2, 6, 3, 1, 0, 3});
const std::string kFileName = "KelmUtilitiesSerialize.dat";

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

constexpr uid_t kNobody = 65534;

// Drops root's power to the user and group nobody, without root's other
// groups.
bool DropToNobody()
{
    return ::geteuid() != 0 ||
           (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
}

// Runs check in a child process, so that limits it sets stay there.
// Unprivileged, it runs without root's power to write anything, so that
// permissions mean for the test what they mean for an operator.
bool RunInChild(const std::function<bool()>& check, bool unprivileged)
{
    pid_t pid = ::fork();
    if (pid == 0)
    {
        if (unprivileged && !DropToNobody())
        {
            ::_exit(2);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct stat StatOf(const std::string& path)
{
    struct stat st{};
    ::stat(path.c_str(), &st);
    return st;
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

// A record cut short loads false, and each field read before the cut keeps
// the file's value: every one is a value the operator chose at some time.
// The fields after the cut keep what they held.
TEST_F(SettingsFileTest, FileEndingInsideTheUnitIntegersKeepsTheFieldsBeforeTheEnd)
{
    // Everything up to the length precision, then half of the angle unit.
    std::string file = SettingsFile(2, 0, "1.2.3.4", {0, 9, 4, 4, 0, 0, 0, 0});
    WriteBytes(path, file.substr(0, 8 + 1 + 7 + 8 + 2));

    CSerialize s(dir.path());
    s.SetConnection(1, 1, "10.0.0.9");
    s.SetAngleUnits(-5, -6);
    s.SetTemperatureUnits(-7, -8);
    EXPECT_FALSE(s.Load());
    Record r = Read(s);
    EXPECT_EQ(r.user, 2);
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(r.address, "1.2.3.4");
    ExpectUnits(r, {0, 9, -5, -6, 3, 1, -7, -8});
}

// A length prefix that claims more than the file holds fails before the
// address: the two integers before it are the file's, the rest unchanged.
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
    EXPECT_TRUE(Entries(dir.path()).empty());
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
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
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
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
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

// The new file is created afresh: links planted beside under likely names
// lead nowhere, and stay.
TEST_F(SettingsFileTest, LinksPlantedBesideLeadNowhere)
{
    TempDir elsewhere;
    const std::string victim = elsewhere.file("victim");
    WriteBytes(victim, "keep me");
    for (const char* planted : {".tmp", ".new", "~", ".bak", ".swp"})
    {
        ASSERT_EQ(::symlink(victim.c_str(), (path + planted).c_str()), 0);
    }
    CSerialize s(dir.path());
    s.SetConnection(2, 0, "10.0.0.2");
    s.Save();
    s.Save();
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_EQ(ReadBytes(path), SettingsFile(2, 0, "10.0.0.2", {3, 6, 2, 6, 3, 1, 0, 3}));
    EXPECT_EQ(Entries(dir.path()),
              (std::vector<std::string>{kFileName, kFileName + ".bak", kFileName + ".new",
                                        kFileName + ".swp", kFileName + ".tmp", kFileName + "~"}));
}

// Two instances saving at once: every save replaces the file whole, and
// whoever reads it meanwhile reads one of the two records, never a mix.
TEST_F(SettingsFileTest, TwoInstancesSavingAtOnceEachReplaceTheFileWhole)
{
    CSerialize a(dir.path());
    CSerialize b(dir.path());
    a.SetConnection(1, 0, std::string(3000, '1'));
    a.SetLengthUnits(1, 1);
    a.SetAngleUnits(1, 1);
    a.SetPressureUnits(1, 1);
    a.SetTemperatureUnits(1, 1);
    b.SetConnection(2, 1, std::string(9000, '2'));
    b.SetLengthUnits(2, 2);
    b.SetAngleUnits(2, 2);
    b.SetPressureUnits(2, 2);
    b.SetTemperatureUnits(2, 2);
    a.Save();
    const std::string aBytes = ReadBytes(path);
    b.Save();
    const std::string bBytes = ReadBytes(path);
    ASSERT_NE(aBytes, bBytes);

    std::vector<pid_t> writers;
    for (CSerialize* record : {&a, &b})
    {
        pid_t pid = ::fork();
        if (pid == 0)
        {
            for (int i = 0; i < 150; ++i)
            {
                record->Save();
            }
            ::_exit(0);
        }
        writers.push_back(pid);
    }
    int reads = 0;
    int torn = 0;
    for (;;)
    {
        const std::string bytes = ReadBytes(path);
        ++reads;
        torn += bytes != aBytes && bytes != bBytes;
        int status = 0;
        if (::waitpid(writers[0], &status, WNOHANG) == writers[0])
        {
            writers.erase(writers.begin());
            if (writers.empty())
            {
                break;
            }
        }
        else if (writers.size() == 2 && ::waitpid(writers[1], &status, WNOHANG) == writers[1])
        {
            writers.pop_back();
        }
    }
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    const std::string last = ReadBytes(path);
    EXPECT_TRUE(last == aBytes || last == bBytes);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
}

// Saving keeps the file's permission bits, and its owner and group where
// the saver may give a file away; the saver keeps what it can.
TEST_F(SettingsFileTest, SavingKeepsThePermissionsAndOwnerOfTheFile)
{
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    WriteBytes(path, kDefaultFile);
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0) << "the test runs as root";
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    CSerialize s(dir.path());
    s.SetConnection(2, 0, "10.0.0.3");
    s.Save();
    struct stat st = StatOf(path);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(ReadBytes(path), SettingsFile(2, 0, "10.0.0.3", {3, 6, 2, 6, 3, 1, 0, 3}));

    // Saved by nobody: a file of root's and root's group becomes nobody's,
    // its permissions stay; one of nobody's group keeps that group.
    for (gid_t group : {gid_t{0}, gid_t{kNobody}})
    {
        SCOPED_TRACE(group);
        WriteBytes(path, kDefaultFile);
        ASSERT_EQ(::chown(path.c_str(), 0, group), 0);
        ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
        EXPECT_TRUE(RunUnprivileged(
            [&]
            {
                CSerialize t(dir.path());
                t.SetConnection(1, 1, "10.0.0.4");
                t.Save();
                return true;
            }));
        st = StatOf(path);
        EXPECT_EQ(st.st_mode & 07777, 0666u);
        EXPECT_EQ(st.st_uid, kNobody);
        EXPECT_EQ(st.st_gid, kNobody);
        EXPECT_EQ(ReadBytes(path), SettingsFile(1, 1, "10.0.0.4", {3, 6, 2, 6, 3, 1, 0, 3}));
    }
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});

    // A new file gets what every new file gets.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    const mode_t mask = ::umask(022);
    s.Save();
    ::umask(mask);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0644u);
}

// A settings file that is a symbolic link (or a chain of them) stays one:
// the file it leads to is written, beside itself.
TEST_F(SettingsFileTest, ALinkStaysALinkAndTheFileItLeadsToIsWritten)
{
    TempDir real;
    const std::string target = real.file("settings.dat");
    const std::string middle = real.file("middle");
    WriteBytes(target, kDefaultFile);
    ASSERT_EQ(::symlink("settings.dat", middle.c_str()), 0);
    ASSERT_EQ(::symlink(middle.c_str(), path.c_str()), 0);

    CSerialize s(dir.path());
    s.SetConnection(1, 0, "10.0.0.5");
    s.Save();
    const std::string saved = SettingsFile(1, 0, "10.0.0.5", {3, 6, 2, 6, 3, 1, 0, 3});
    struct stat st{};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat(middle.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(target), saved);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
    EXPECT_EQ(Entries(real.path()), (std::vector<std::string>{"middle", "settings.dat"}));
    ASSERT_TRUE(s.Load());

    // A link to a file not there yet makes it; a loop saves nothing.
    ASSERT_EQ(::unlink(target.c_str()), 0);
    s.Save();
    EXPECT_EQ(ReadBytes(target), saved);
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::symlink(kFileName.c_str(), path.c_str()), 0);
    s.Save();
    EXPECT_FALSE(s.Load());
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
}

// In a sticky world-writable directory (like /tmp) a link is followed only
// when it is the saver's own or the directory owner's, as the system's
// protected-links rule has it: a planted link leads nowhere.
TEST_F(SettingsFileTest, ALinkPlantedInASharedDirectoryIsNotFollowed)
{
    TempDir elsewhere;
    const std::string victim = elsewhere.file("victim");
    const std::string planted = SettingsFile(2, 0, "10.6.6.6", {0, 0, 0, 0, 0, 0, 0, 0});
    WriteBytes(victim, planted);
    ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);
    ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0);
    ASSERT_EQ(::lchown(path.c_str(), kNobody, kNobody), 0) << "the test runs as root";
    CSerialize s(dir.path());
    EXPECT_FALSE(s.Load()) << "loading follows the same rule as saving";
    s.Save();
    EXPECT_EQ(ReadBytes(victim), planted);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});

    // The saver's own link there is followed.
    ASSERT_EQ(::lchown(path.c_str(), 0, 0), 0);
    EXPECT_TRUE(s.Load());
    s.Save();
    EXPECT_EQ(ReadBytes(victim), planted);
    s.SetConnection(1, 1, "10.0.0.8");
    s.Save();
    EXPECT_EQ(ReadBytes(victim), SettingsFile(1, 1, "10.0.0.8", {0, 0, 0, 0, 0, 0, 0, 0}));
}

// A directory that takes no new file, holding a settings file that may be
// written: the file is written in place.
TEST_F(SettingsFileTest, UnwritableDirectoryWithAWritableFileIsWrittenInPlace)
{
    WriteBytes(path, std::string(500, 'x'));
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const ino_t inode = StatOf(path).st_ino;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    EXPECT_TRUE(RunUnprivileged(
        [&]
        {
            CSerialize s(dir.path());
            s.SetConnection(2, 1, "10.0.0.6");
            s.Save();
            return true;
        }));
    EXPECT_EQ(ReadBytes(path), SettingsFile(2, 1, "10.0.0.6", {3, 6, 2, 6, 3, 1, 0, 3}));
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
}

// A current directory that cannot be read at start-up (deleted under the
// program) gives no settings file at all, rather than one at the root.
TEST_F(SettingsFileTest, AnUnreadableCurrentDirectoryGivesNoSettingsFile)
{
    const std::string gone = dir.file("gone");
    ASSERT_EQ(::mkdir(gone.c_str(), 0755), 0);
    const bool rootFileBefore = FileExists("/KelmUtilitiesSerialize.dat");
    EXPECT_TRUE(RunInChild(
        [&]
        {
            if (::chdir(gone.c_str()) != 0 || ::rmdir(gone.c_str()) != 0 || !DropToNobody())
            {
                return false;
            }
            CSerialize s;
            s.SetConnection(2, 0, "10.0.0.7");
            s.Save();
            return s.GetFilePath().empty() && !s.Load();
        },
        false));
    EXPECT_EQ(FileExists("/KelmUtilitiesSerialize.dat"), rootFileBefore);
    EXPECT_TRUE(Entries(dir.path()).empty());
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
