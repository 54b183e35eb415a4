// SPDX-License-Identifier: Apache-2.0
// The settings file under every failing system call and every crash. The
// calls are the ones a real save or load makes, as SystemCalls sees them:
// each is made to fail in turn with each error that matters for it, and the
// process is ended at each, as a crash would. Afterwards the file holds the
// old record or the new one, byte for byte, nothing is left beside it (but
// what a crash leaves, which a later save removes) and the next save works.
#include "framework/core/CFile.h"
#include "framework/core/FileReplace.h"
#include "framework/core/SystemCalls.h"
#include "settings/CSerialize.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sched.h>
#include <set>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
const std::string kFileName = "KelmUtilitiesSerialize.dat";

// The errors that matter for each call, and whether read and write may come
// up short. A call the save or load makes that is missing here fails the
// test: a new call needs its failure cases.
const std::map<std::string, std::vector<int>>& ErrorsOf()
{
    static const std::map<std::string, std::vector<int>> table = {
        {"access", {EACCES, EROFS, EIO, EINTR}},
        {"close", {EIO, ENOSPC, EINTR}},
        {"closedir", {EBADF, EINTR}},
        {"fchmod", {EPERM, EROFS, EIO, EINTR}},
        {"fchown", {EPERM, EROFS, EIO, EINTR}},
        {"fcntl", {EINVAL, EINTR}},
        {"flock", {ENOLCK, EWOULDBLOCK, EINTR}},
        {"fstat", {EIO, EOVERFLOW, EINTR}},
        {"fsync", {EIO, ENOSPC, EROFS, EINVAL, EINTR}},
        {"ftruncate", {EIO, EPERM, EROFS, EFBIG, EINTR}},
        {"getrandom", {ENOSYS, EPERM, EAGAIN, EINTR}},
        {"lseek", {EIO, EINVAL, EINTR}},
        {"lstat", {EACCES, EIO, ELOOP, EINTR}},
        {"open", {ENOSPC, EIO, EACCES, EPERM, EROFS, EEXIST, EMFILE, ENXIO, EINTR}},
        {"opendir", {EACCES, EMFILE, EIO, EINTR}},
        {"read", {EIO, EINTR}},
        {"readdir", {EIO, EINTR}},
        {"readlink", {EACCES, EIO, EINVAL, EINTR}},
        {"rename", {EBUSY, EXDEV, EPERM, EACCES, EROFS, ENOSPC, EIO, EINTR}},
        {"stat", {EACCES, EIO, EINTR}},
        {"unlink", {EBUSY, EPERM, EACCES, EROFS, EIO, EINTR}},
        {"write", {ENOSPC, EDQUOT, EFBIG, EIO, EINTR}},
    };
    return table;
}

// Refusals that writing in place gets round: the new record lands anyway.
bool RenameRefused(int error)
{
    return error == EBUSY || error == EXDEV || error == EPERM || error == EACCES;
}

// One call by its name and how many of that name came before it.
struct Point
{
    std::string call;
    int occurrence;
};

// What the hook does to the calls of one save or load.
struct Plan
{
    std::map<std::string, int> always; // every call of that name fails so
    std::string failCall;              // this call's occurrence ...
    int failOccurrence = -1;
    SystemCalls::Injected failWith; // ... gets this
    int thenFailWith = 0;           // and the next call of that name fails so
    int crashBefore = -1;           // the process ends before the call of this index
    std::vector<Point> seen;
    std::map<std::string, int> counts;
};

// Installs plan's hook for its lifetime.
class Hooked
{
public:
    explicit Hooked(Plan& plan)
    {
        SystemCalls::SetHook(
            [&plan](const char* call) -> SystemCalls::Injected
            {
                if (static_cast<int>(plan.seen.size()) == plan.crashBefore)
                {
                    ::_exit(0);
                }
                const int occurrence = plan.counts[call]++;
                plan.seen.push_back({call, occurrence});
                const auto always = plan.always.find(call);
                if (always != plan.always.end())
                {
                    return {always->second, false};
                }
                if (plan.failCall == call && plan.failOccurrence == occurrence)
                {
                    return plan.failWith;
                }
                if (plan.failCall == call && plan.failOccurrence + 1 == occurrence)
                {
                    return {plan.thenFailWith, false};
                }
                return {};
            });
    }
    ~Hooked() { SystemCalls::SetHook(nullptr); }
    Hooked(const Hooked&) = delete;
    Hooked& operator=(const Hooked&) = delete;
};

void Age(const std::string& path, long seconds)
{
    timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= seconds;
    times[1] = times[0];
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// Three records: on disk before, being saved, and saved after the failure.
// Each is longer than the one before, so that writing in place never cuts.
void SetRecord(CSerialize& s, int which)
{
    s.SetConnection(which, which % 2, std::string(10 + 40 * which, static_cast<char>('a' + which)));
    s.SetLengthUnits(which, which + 1);
    s.SetAngleUnits(which + 2, which + 3);
    s.SetPressureUnits(which, 2);
    s.SetTemperatureUnits(which, 1);
}

std::string RecordBytes(int which)
{
    return SettingsFile(which, which % 2,
                        std::string(10 + 40 * which, static_cast<char>('a' + which)),
                        {which, which + 1, which + 2, which + 3, which, 2, which, 1});
}

const int kOld = 0;
const int kNew = 1;
const int kNext = 2;

// A situation to save in: what is on disk, which name holds the record,
// which names belong there, and which calls always fail.
struct Base
{
    const char* name;
    bool oldFile;
    bool throughLink;                  // the settings file is a link to real.dat
    bool abandonedLeftover;            // an hour-old leftover of a dead save lies beside
    std::map<std::string, int> always; // e.g. the rename always refused
};

const Base kBases[] = {
    {"replacing through a link, with a leftover", true, true, true, {}},
    {"a new file", false, false, false, {}},
    {"the rename refused (mounted on its own)", true, false, false, {{"rename", EBUSY}}},
    {"no system random source", true, false, false, {{"getrandom", ENOSYS}}},
};

class SaveCase
{
public:
    explicit SaveCase(const Base& base) : base(base)
    {
        if (base.throughLink)
        {
            record = dir.file("real.dat");
            ::symlink("real.dat", dir.file(kFileName).c_str());
            expected = {kFileName, "real.dat"};
        }
        else
        {
            record = dir.file(kFileName);
            expected = {kFileName};
        }
        if (base.oldFile)
        {
            WriteBytes(record, RecordBytes(kOld));
        }
        if (base.abandonedLeftover)
        {
            leftover = (base.throughLink ? "real.dat" : kFileName) + ".Abandoned0";
            WriteBytes(dir.file(leftover), "half a rec");
            Age(dir.file(leftover), 2 * FileReplace::kLeftoverAgeSeconds);
        }
    }

    void Save(int which, Plan& plan) const
    {
        CSerialize s(dir.path());
        SetRecord(s, which);
        plan.always = base.always;
        Hooked hooked(plan);
        s.Save();
    }

    // The names beside the record that are neither expected nor the
    // leftover: what a save left behind.
    std::vector<std::string> Strays() const
    {
        std::vector<std::string> strays;
        for (const std::string& name : Entries(dir.path()))
        {
            if (std::find(expected.begin(), expected.end(), name) == expected.end() &&
                name != leftover)
            {
                strays.push_back(name);
            }
        }
        return strays;
    }

    // The record holds one of the given records (-1: no file), byte for byte.
    bool Holds(std::initializer_list<int> records) const
    {
        const bool exists = FileExists(record);
        const std::string bytes = ReadBytes(record);
        for (int which : records)
        {
            if (which < 0 ? !exists : exists && bytes == RecordBytes(which))
            {
                return true;
            }
        }
        return false;
    }

    bool LinkIntact() const
    {
        struct stat st{};
        return !base.throughLink ||
               (::lstat(dir.file(kFileName).c_str(), &st) == 0 && S_ISLNK(st.st_mode));
    }

    // The next save, with no failure but those of the base: the record is
    // the next one, and everything left over from before is gone (crash
    // leftovers once old enough).
    void ExpectTheNextSaveWorks() const
    {
        for (const std::string& name : Entries(dir.path()))
        {
            if (name.find(".dat.") != std::string::npos)
            {
                Age(dir.file(name), 2 * FileReplace::kLeftoverAgeSeconds);
            }
        }
        Plan plan;
        Save(kNext, plan);
        EXPECT_TRUE(Holds({kNext})) << "the next save did not store its record";
        EXPECT_EQ(Entries(dir.path()), expected);
        CSerialize back(dir.path());
        EXPECT_TRUE(back.Load());
    }

    TempDir dir;
    const Base& base;
    std::string record;
    std::vector<std::string> expected;
    std::string leftover;
};

// The calls of one undisturbed save in base.
std::vector<Point> PointsOf(const Base& base)
{
    SaveCase c(base);
    Plan plan;
    c.Save(kNew, plan);
    return plan.seen;
}

// One way a call goes wrong: an error, a short transfer, or a short
// transfer followed by an error (the disk filling up part-way).
struct Fault
{
    SystemCalls::Injected first;
    int then = 0;

    bool Recovers() const { return (first.shortTransfer && then == 0) || first.error == EINTR; }
    std::string Describe() const
    {
        if (!first.shortTransfer)
        {
            return std::string("failing with ") + std::strerror(first.error);
        }
        return then == 0 ? "short" : std::string("short, then ") + std::strerror(then);
    }
};

// Every fault of call in the table; fails the test for a call not there.
std::vector<Fault> FaultsOf(const std::string& call)
{
    std::vector<Fault> faults;
    const auto errors = ErrorsOf().find(call);
    EXPECT_NE(errors, ErrorsOf().end()) << "no failure cases for the call " << call;
    if (errors == ErrorsOf().end())
    {
        return faults;
    }
    for (int error : errors->second)
    {
        faults.push_back({{error, false}, 0});
    }
    if (call == "read" || call == "write")
    {
        faults.push_back({{0, true}, 0});
        faults.push_back({{0, true}, call == "read" ? EIO : ENOSPC});
    }
    return faults;
}

void Aim(Plan& plan, const Point& point, const Fault& fault)
{
    plan.failCall = point.call;
    plan.failOccurrence = point.occurrence;
    plan.failWith = fault.first;
    plan.thenFailWith = fault.then;
}

// A name a save gives its new file beside the record.
bool IsOurs(const Base& base, const std::string& name)
{
    return FileReplace::IsLeftoverName(base.throughLink ? "real.dat" : kFileName, name);
}

std::string Describe(const Point& p)
{
    return p.call + " #" + std::to_string(p.occurrence + 1);
}
} // namespace

// The calls the save path is known to make show up in the enumeration: the
// seam sees them all, and the directory is synced after the rename.
TEST(SettingsFailurePoints, TheSaveIsSeenCallByCall)
{
    std::vector<std::string> calls;
    for (const Point& p : PointsOf(kBases[0]))
    {
        calls.push_back(p.call);
    }
    for (const char* call :
         {"lstat", "readlink", "stat", "access", "opendir", "readdir", "open", "fstat", "flock",
          "unlink", "getrandom", "fchown", "fchmod", "write", "fsync", "rename", "close"})
    {
        EXPECT_NE(std::find(calls.begin(), calls.end(), call), calls.end()) << call;
    }
    const auto rename = std::find(calls.begin(), calls.end(), "rename");
    ASSERT_NE(rename, calls.end());
    const std::vector<std::string> afterRename(rename + 1, calls.end());
    EXPECT_EQ(afterRename, (std::vector<std::string>{"open", "fsync", "close", "close"}))
        << "the directory is opened and synced after the rename, then both are closed";

    std::vector<std::string> inPlace;
    for (const Point& p : PointsOf(kBases[2]))
    {
        inPlace.push_back(p.call);
    }
    for (const char* call : {"read", "lseek", "write", "fsync", "unlink"})
    {
        EXPECT_NE(std::find(inPlace.begin(), inPlace.end(), call), inPlace.end()) << call;
    }
}

TEST(SettingsFailurePoints, EveryCallFailingLosesNothing)
{
    for (const Base& base : kBases)
    {
        SCOPED_TRACE(base.name);
        const std::vector<Point> points = PointsOf(base);
        ASSERT_FALSE(points.empty());
        for (const Point& point : points)
        {
            for (const Fault& fault : FaultsOf(point.call))
            {
                SCOPED_TRACE(Describe(point) + " " + fault.Describe());
                SaveCase c(base);
                Plan plan;
                Aim(plan, point, fault);
                c.Save(kNew, plan);

                const bool mustLand = fault.Recovers() || (point.call == "rename" && base.oldFile &&
                                                           RenameRefused(fault.first.error));
                if (mustLand)
                {
                    EXPECT_TRUE(c.Holds({kNew})) << "the new record did not land";
                }
                else
                {
                    EXPECT_TRUE(c.Holds({base.oldFile ? kOld : -1, kNew}))
                        << "neither the old record nor the new one";
                }
                EXPECT_TRUE(c.LinkIntact());
                // A file beside that cannot be removed stays, for a later
                // save to remove once it is old enough.
                for (const std::string& stray : c.Strays())
                {
                    EXPECT_TRUE(point.call == "unlink" && IsOurs(base, stray))
                        << stray << " left beside";
                }
                c.ExpectTheNextSaveWorks();
            }
        }
    }
}

// The process ends before each call in turn (and after the last), as a
// crash would: the record is whole, old or new; a later save works and,
// once they are old enough, removes the crash's leftovers.
TEST(SettingsFailurePoints, ACrashAtEveryCallLosesNothing)
{
    for (const Base& base : kBases)
    {
        SCOPED_TRACE(base.name);
        const std::size_t count = PointsOf(base).size();
        for (std::size_t crash = 0; crash <= count; ++crash)
        {
            SCOPED_TRACE("crash before call " + std::to_string(crash + 1) + " of " +
                         std::to_string(count));
            SaveCase c(base);
            const pid_t pid = ::fork();
            if (pid == 0)
            {
                Plan plan;
                plan.crashBefore = static_cast<int>(crash);
                c.Save(kNew, plan);
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_TRUE(c.Holds({base.oldFile ? kOld : -1, kNew}))
                << "neither the old record nor the new one";
            EXPECT_TRUE(c.LinkIntact());
            for (const std::string& stray : c.Strays())
            {
                EXPECT_TRUE(IsOurs(base, stray)) << stray;
            }
            c.ExpectTheNextSaveWorks();
        }
    }
}

// Load under each failing call: it answers false and changes nothing, or
// reads the whole record; interrupted and short reads lose nothing.
TEST(SettingsFailurePoints, EveryCallFailingLoadsAllOrNothing)
{
    TempDir dir;
    // Longer than the reader's buffer, so that it takes several reads.
    const std::string stored = Ints({2, 0}) + Raw({0xFF, 0x28, 0x23}) + std::string(9000, '7') +
                               Ints({5, 3, 1, 1, 0, 2, 1, 1});
    WriteBytes(dir.file(kFileName), stored);
    auto untouched = [&]
    {
        CSerialize s(dir.path());
        SetRecord(s, kOld);
        return s;
    };
    auto fields = [](const CSerialize& s)
    {
        std::int32_t v[10];
        std::string address;
        s.GetConnection(v[0], v[1], address);
        s.GetLengthUnits(v[2], v[3]);
        s.GetAngleUnits(v[4], v[5]);
        s.GetPressureUnits(v[6], v[7]);
        s.GetTemperatureUnits(v[8], v[9]);
        std::string text = address;
        for (std::int32_t i : v)
        {
            text += " " + std::to_string(i);
        }
        return text;
    };
    const std::string before = fields(untouched());
    const std::string whole = std::string(9000, '7') + " 2 0 5 3 1 1 0 2 1 1";

    Plan record;
    {
        CSerialize s = untouched();
        Hooked hooked(record);
        ASSERT_TRUE(s.Load());
        EXPECT_EQ(fields(s), whole);
    }
    for (const Point& point : record.seen)
    {
        for (const Fault& fault : FaultsOf(point.call))
        {
            SCOPED_TRACE(Describe(point) + " " + fault.Describe());
            CSerialize s = untouched();
            Plan plan;
            Aim(plan, point, fault);
            bool loaded;
            {
                Hooked hooked(plan);
                loaded = s.Load();
            }
            EXPECT_EQ(fields(s), loaded ? whole : before);
            if (fault.Recovers())
            {
                EXPECT_TRUE(loaded);
            }
        }
    }
    EXPECT_EQ(ReadBytes(dir.file(kFileName)), stored);
}

// A file that shrinks when written in place is cut only after the new
// record is whole at its start: a crash between the two leaves the new
// record followed by old bytes, which loads as the new record.
TEST(SettingsFailurePoints, ACrashWritingInPlaceBeforeTheCutLeavesTheNewRecordFirst)
{
    TempDir dir;
    const std::string path = dir.file(kFileName);
    WriteBytes(path, RecordBytes(kNext));
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        CSerialize s(dir.path());
        SetRecord(s, kOld);
        SystemCalls::SetHook(
            [](const char* call) -> SystemCalls::Injected
            {
                if (std::strcmp(call, "ftruncate") == 0)
                {
                    ::_exit(0);
                }
                return std::strcmp(call, "rename") == 0 ? SystemCalls::Injected{EBUSY, false}
                                                        : SystemCalls::Injected{};
            });
        s.Save();
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the file was not cut";
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(0, RecordBytes(kOld).size()), RecordBytes(kOld));
    CSerialize back(dir.path());
    ASSERT_TRUE(back.Load());
    std::int32_t user, type;
    std::string address;
    back.GetConnection(user, type, address);
    EXPECT_EQ(address, std::string(10, 'a'));
}

namespace
{
// Runs body in a child process that is killed if it takes longer than
// seconds: a call that waits forever shows as a failure, not a hung test.
bool FinishesInChild(const std::function<bool()>& body, unsigned seconds = 10)
{
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::alarm(seconds);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

// A FIFO where the settings file belongs: loading answers false at once,
// saving stores nothing, and the FIFO stays a FIFO.
TEST(SettingsNonRegularFile, AFifoIsNeitherWaitedOnNorReplaced)
{
    TempDir dir;
    const std::string path = dir.file(kFileName);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_TRUE(FinishesInChild(
        [&]
        {
            CSerialize s(dir.path());
            SetRecord(s, kNew);
            const bool loaded = s.Load();
            s.Save();
            s.Save();
            return !loaded;
        }));
    struct stat st{};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});

    // Through a link, and with a reader waiting at the other end, the same.
    ASSERT_EQ(::rename(path.c_str(), dir.file("fifo").c_str()), 0);
    ASSERT_EQ(::symlink("fifo", path.c_str()), 0);
    const int reader = ::open(dir.file("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(FinishesInChild(
        [&]
        {
            CSerialize s(dir.path());
            s.Save();
            return !s.Load();
        }));
    char byte;
    EXPECT_EQ(::read(reader, &byte, 1), 0) << "something was written into the FIFO";
    ::close(reader);
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// A settings file linked to a device: the device stays as it was, even for
// root, who could replace it.
TEST(SettingsNonRegularFile, ALinkToADeviceSavesNothing)
{
    struct stat before{};
    ASSERT_EQ(::stat("/dev/null", &before), 0);
    ASSERT_TRUE(S_ISCHR(before.st_mode));
    TempDir dir;
    const std::string path = dir.file(kFileName);
    ASSERT_EQ(::symlink("/dev/null", path.c_str()), 0);
    CSerialize s(dir.path());
    SetRecord(s, kNew);
    s.Save();
    EXPECT_FALSE(s.Load());
    struct stat after{};
    ASSERT_EQ(::stat("/dev/null", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
    for (const std::string& name : Entries("/dev"))
    {
        EXPECT_NE(name.rfind("null.", 0), 0u) << "left beside the device: " << name;
    }
}

// A settings file mounted on its own (a bind mount): the rename over it is
// refused, and the record is written into the mounted file instead.
TEST(SettingsMountedFile, ABindMountedFileIsWrittenInPlace)
{
    TempDir host;
    TempDir dir;
    const std::string hostFile = host.file("host.dat");
    const std::string path = dir.file(kFileName);
    WriteBytes(hostFile, RecordBytes(kNext));
    WriteBytes(path, "");
    ASSERT_EQ(::chmod(hostFile.c_str(), 0640), 0);
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        // A mount namespace of the child's own: the mount goes with it.
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(hostFile.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
        {
            ::_exit(77);
        }
        CSerialize s(dir.path());
        SetRecord(s, kNew);
        s.Save();
        CSerialize back(dir.path());
        ::_exit(back.Load() && ReadBytes(path) == RecordBytes(kNew) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
    {
        GTEST_SKIP() << "no bind mount here (needs root and a mount namespace)";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not reach the mounted file";
    EXPECT_EQ(ReadBytes(hostFile), RecordBytes(kNew));
    struct stat st{};
    ASSERT_EQ(::stat(hostFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
    EXPECT_EQ(Entries(host.path()), std::vector<std::string>{"host.dat"});
}

// Of the files beside the settings file, a save removes only what a dead
// save left: exactly its kind of name, a regular file, an hour old and not
// locked by anyone still writing it.
TEST(SettingsLeftovers, OnlyAbandonedFilesOfOurNameAreRemoved)
{
    TempDir dir;
    const long old = 2 * FileReplace::kLeftoverAgeSeconds;
    auto make = [&](const std::string& name, long age)
    {
        WriteBytes(dir.file(name), "x");
        Age(dir.file(name), age);
    };
    make(kFileName + ".Abandoned1", old);
    make(kFileName + ".JustWritte", 0);    // a save may be writing it now
    make(kFileName + ".LockedByAn", old);  // another instance is writing it
    make(kFileName + ".Nine56789", old);   // not our name
    make(kFileName + ".Eleven78901", old); // not our name
    make(kFileName + ".With-dash0", old);  // not our name
    make("Other.dat.Abandoned2", old);     // another file's
    ASSERT_EQ(::mkfifo(dir.file(kFileName + ".AFifo67890").c_str(), 0600), 0);
    Age(dir.file(kFileName + ".AFifo67890"), old);
    const int locked = ::open(dir.file(kFileName + ".LockedByAn").c_str(), O_RDONLY);
    ASSERT_GE(locked, 0);
    ASSERT_EQ(::flock(locked, LOCK_EX), 0);
    // The lock is held by another process, as another instance would.
    const pid_t holder = ::fork();
    if (holder == 0)
    {
        ::pause();
        ::_exit(0);
    }
    ::close(locked);

    CSerialize s(dir.path());
    s.Save();
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);

    std::vector<std::string> kept = {kFileName,
                                     kFileName + ".AFifo67890",
                                     kFileName + ".Eleven78901",
                                     kFileName + ".JustWritte",
                                     kFileName + ".LockedByAn",
                                     kFileName + ".Nine56789",
                                     kFileName + ".With-dash0",
                                     "Other.dat.Abandoned2"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Entries(dir.path()), kept);

    // Once its writer is gone, the locked one goes with the next save.
    s.Save();
    kept.erase(std::find(kept.begin(), kept.end(), kFileName + ".LockedByAn"));
    EXPECT_EQ(Entries(dir.path()), kept);
}

// While the new file is open for writing it is locked, and before it gets
// the old file's permissions it is readable by its owner only.
TEST(SettingsLeftovers, TheFileBeingWrittenIsLockedAndPrivate)
{
    TempDir dir;
    const std::string path = dir.file(kFileName);
    WriteBytes(path, RecordBytes(kOld));
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    std::vector<mode_t> modes;
    std::vector<bool> lockedForOthers;
    SystemCalls::SetHook(
        [&](const char* call) -> SystemCalls::Injected
        {
            if (std::strcmp(call, "fchown") != 0 && std::strcmp(call, "rename") != 0)
            {
                return {};
            }
            for (const std::string& name : Entries(dir.path()))
            {
                if (!FileReplace::IsLeftoverName(kFileName, name))
                {
                    continue;
                }
                struct stat st{};
                ::stat(dir.file(name).c_str(), &st);
                modes.push_back(st.st_mode & 07777);
                const int fd = ::open(dir.file(name).c_str(), O_RDONLY);
                lockedForOthers.push_back(::flock(fd, LOCK_EX | LOCK_NB) != 0);
                ::close(fd);
            }
            return {};
        });
    const mode_t mask = ::umask(0);
    CSerialize s(dir.path());
    SetRecord(s, kNew);
    s.Save();
    ::umask(mask);
    SystemCalls::SetHook(nullptr);
    EXPECT_EQ(modes, (std::vector<mode_t>{0600, 0644}));
    EXPECT_EQ(lockedForOthers, (std::vector<bool>{true, true}));
    EXPECT_EQ(ReadBytes(path), RecordBytes(kNew));
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

// Without the system's random source and without /dev/urandom, names are
// still made, still differ, and the save still lands.
TEST(SettingsLeftovers, NamesWithoutARandomSource)
{
    TempDir dir;
    SystemCalls::SetHook(
        [](const char* call) -> SystemCalls::Injected
        {
            if (std::strcmp(call, "getrandom") == 0)
            {
                return {ENOSYS, false};
            }
            if (std::strcmp(call, "read") == 0)
            {
                return {EIO, false}; // /dev/urandom unreadable
            }
            return {};
        });
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i)
    {
        CFile file;
        ASSERT_TRUE(file.CreateUniqueBeside(dir.file("x")));
        EXPECT_TRUE(
            FileReplace::IsLeftoverName("x", file.GetFilePath().substr(dir.path().size() + 1)));
        names.insert(file.GetFilePath());
    }
    CSerialize s(dir.path());
    SetRecord(s, kNew);
    s.Save();
    SystemCalls::SetHook(nullptr);
    EXPECT_EQ(names.size(), 50u);
    EXPECT_EQ(ReadBytes(dir.file(kFileName)), RecordBytes(kNew));
}
