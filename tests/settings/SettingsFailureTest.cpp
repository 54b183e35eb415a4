// SPDX-License-Identifier: Apache-2.0
// The settings file under every failing system call, every crash and every
// power cut. The calls are the ones a real save or load makes, as
// SystemCalls sees them: each is made to fail in turn with each error that
// matters for it, calls fail for good from each point on, and the machine
// loses its power at each, dropping what was written but not yet synced, or
// keeping part of it. Afterwards the file holds the old record or the new
// one, nothing the program did not make is touched, and the next save works.
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
#include <fcntl.h>
#include <functional>
#include <map>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace
{
const std::string kFileName = "KelmUtilitiesSerialize.dat";

// The errors that matter for each call, the first being what a medium that
// keeps failing gives. A call the save or load makes that is missing here
// fails the test: a new call needs its failure cases.
const std::map<std::string, std::vector<int>>& ErrorsOf()
{
    static const std::map<std::string, std::vector<int>> table = {
        {"access", {EIO, EACCES, EROFS, EINTR}},
        {"close", {EIO, ENOSPC, EINTR}},
        {"closedir", {EBADF, EINTR}},
        {"fchmod", {EIO, EPERM, EROFS, EINTR}},
        {"fchown", {EIO, EPERM, EROFS, EINTR}},
        {"fgetxattr", {EIO, ENODATA, ENOTSUP, ERANGE, EACCES, EINTR}},
        {"flock", {ENOLCK, EWOULDBLOCK, EINTR}},
        {"fstat", {EIO, EOVERFLOW, EINTR}},
        {"fsetxattr", {EIO, ENOTSUP, ENOSPC, EDQUOT, EACCES, EPERM, EROFS, EINTR}},
        {"fsync", {EIO, ENOSPC, EROFS, EINVAL, EINTR}},
        {"ftruncate", {EIO, EPERM, EROFS, EFBIG, EINTR}},
        {"linkat", {EIO, EEXIST, ENOENT, ENOSPC, EPERM, EINTR}},
        {"lstat", {EIO, EACCES, ELOOP, EINTR}},
        {"open",
         {EIO, ENOSPC, EACCES, EPERM, EROFS, EEXIST, EMFILE, ENXIO, EOPNOTSUPP, EISDIR, EINTR}},
        {"opendir", {EIO, EACCES, EMFILE, EINTR}},
        {"pread", {EIO, EINTR}},
        {"pwrite", {EIO, ENOSPC, EDQUOT, EFBIG, EINTR}},
        {"readdir", {EIO, EINTR}},
        {"readlink", {EIO, EACCES, EINVAL, EINTR}},
        {"rename", {EIO, EBUSY, EXDEV, EPERM, EACCES, EROFS, ENOSPC, EINTR}},
        {"stat", {EIO, EACCES, EINTR}},
        {"unlink", {EIO, EBUSY, EPERM, EACCES, EROFS, EINTR}},
    };
    return table;
}

// Refusals that writing in place gets round: the new record lands anyway.
bool RenameRefused(int error)
{
    return error == EBUSY || error == EXDEV || error == EPERM || error == EACCES;
}

// One call: its name, how many of that name came before it, its descriptor,
// and for fsync whether that was a directory.
struct Point
{
    std::string call;
    int occurrence;
    int fd;
    bool directory;
};

// One way a call goes wrong: an error, a short transfer, or a short
// transfer followed by an error (the disk filling up part-way).
struct Fault
{
    SystemCalls::Injected first;
    int then = 0;

    bool Recovers() const { return (first.shortTransfer && then == 0) || first.error == EINTR; }
    std::string Describe() const
    {
        if (first.noTransfer)
        {
            return "moving nothing";
        }
        if (!first.shortTransfer)
        {
            return std::string("failing with ") + std::strerror(first.error);
        }
        return then == 0 ? "short" : std::string("short, then ") + std::strerror(then);
    }
};

// What the hook does to the calls of one save or load.
struct Plan
{
    std::function<int(const SystemCalls::Call&)> always; // an errno for calls that always fail
    std::string failCall;                                // this call's occurrence ...
    int failOccurrence = -1;
    Fault fault; // ... goes wrong so
    // From the call of this index on: every call fails (medium gone), the
    // disk is full (one write comes up short, every later one fails), or
    // reads and writes move nothing without an error.
    enum class From
    {
        failing,
        diskFull,
        movingNothing
    };
    int failingFrom = -1;
    From from = From::failing;
    int crashBefore = -1;        // the process ends before the call of this index
    std::function<void()> crash; // ... after calling this
    std::function<void(const SystemCalls::Call&)> watch; // sees every call before it is made
    std::vector<Point> seen;
    std::map<std::string, int> counts;
    int writesSinceFull = 0;

    SystemCalls::Injected Decide(const SystemCalls::Call& call)
    {
        const int index = static_cast<int>(seen.size());
        if (index == crashBefore)
        {
            crashBefore = -1; // the calls crash makes go through
            crash();
            ::_exit(0);
        }
        if (index == 100000)
        {
            ADD_FAILURE() << "a hundred thousand calls: a call is retried forever";
            return {EIO, false};
        }
        const std::string name = call.name;
        const int occurrence = counts[name]++;
        struct stat st{};
        const bool directory = name == "fsync" && ::fstat(call.fd, &st) == 0 && S_ISDIR(st.st_mode);
        seen.push_back({name, occurrence, call.fd, directory});
        if (watch)
        {
            watch(call);
        }
        if (always)
        {
            if (const int error = always(call))
            {
                return {error, false};
            }
        }
        if (failingFrom >= 0 && index >= failingFrom)
        {
            if (from == From::failing)
            {
                return {ErrorsOf().at(name).front(), false};
            }
            if (from == From::movingNothing && (name == "pread" || name == "pwrite"))
            {
                return {0, false, true};
            }
            if (from == From::diskFull && name == "pwrite")
            {
                return writesSinceFull++ == 0 ? SystemCalls::Injected{0, true}
                                              : SystemCalls::Injected{ENOSPC, false};
            }
        }
        if (failCall == name && failOccurrence == occurrence)
        {
            return fault.first;
        }
        if (failCall == name && failOccurrence + 1 == occurrence)
        {
            return {fault.then, false};
        }
        return {};
    }
};

// Installs plan's hook for its lifetime.
class Hooked
{
public:
    explicit Hooked(Plan& plan)
    {
        SystemCalls::SetHook([&plan](const SystemCalls::Call& call) { return plan.Decide(call); });
    }
    ~Hooked() { SystemCalls::SetHook(nullptr); }
    Hooked(const Hooked&) = delete;
    Hooked& operator=(const Hooked&) = delete;
};

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

// The fields of a record, in file order, as text.
std::vector<std::string> Fields(const CSerialize& s)
{
    std::int32_t v[10];
    std::string address;
    s.GetConnection(v[0], v[1], address);
    s.GetLengthUnits(v[2], v[3]);
    s.GetAngleUnits(v[4], v[5]);
    s.GetPressureUnits(v[6], v[7]);
    s.GetTemperatureUnits(v[8], v[9]);
    std::vector<std::string> fields = {std::to_string(v[0]), std::to_string(v[1]), address};
    for (int i = 2; i < 10; ++i)
    {
        fields.push_back(std::to_string(v[i]));
    }
    return fields;
}

// True when bytes, as a settings file, load as record which.
bool LoadsAs(const std::string& bytes, int which)
{
    TempDir dir;
    WriteBytes(dir.file(kFileName), bytes);
    CSerialize loaded(dir.path());
    CSerialize expected(dir.path());
    SetRecord(expected, which);
    return loaded.Load() && Fields(loaded) == Fields(expected);
}

bool IsMarked(const std::string& fileName, const std::string& name)
{
    return name.rfind(FileReplace::MarkedPrefix(fileName), 0) == 0;
}

// Gives path the mark a save beside fileName sets on the file it creates.
void Mark(const std::string& path, const std::string& fileName)
{
    ASSERT_EQ(
        ::setxattr(path.c_str(), FileReplace::kMarkAttribute, fileName.data(), fileName.size(), 0),
        0)
        << path << ": the temporary folder keeps no extended attributes";
}

bool BearsTheMark(const std::string& path, const std::string& fileName)
{
    char value[256];
    const ssize_t n = ::getxattr(path.c_str(), FileReplace::kMarkAttribute, value, sizeof value);
    return n >= 0 && std::string(value, static_cast<std::size_t>(n)) == fileName;
}

int RenameAlwaysRefused(const SystemCalls::Call& call)
{
    return std::strcmp(call.name, "rename") == 0 ? EBUSY : 0;
}

int NoUnnamedFiles(const SystemCalls::Call& call)
{
    return std::strcmp(call.name, "open") == 0 && (call.flags & O_TMPFILE) == O_TMPFILE ? EOPNOTSUPP
                                                                                        : 0;
}

// A situation to save in: what is on disk, which name holds the record,
// and which calls always fail.
struct Base
{
    const char* name;
    bool oldFile;
    bool throughLink; // the settings file is a link to real.dat
    bool leftover;    // a file of ours that a dead save left lies beside
    int (*always)(const SystemCalls::Call&);
};

const Base kBases[] = {
    {"replacing through a link, with a leftover", true, true, true, nullptr},
    {"a new file", false, false, false, nullptr},
    {"the rename refused (mounted on its own)", true, false, false, RenameAlwaysRefused},
    {"no unnamed files here", true, false, true, NoUnnamedFiles},
};

class SaveCase
{
public:
    explicit SaveCase(const Base& base) : base(base)
    {
        recordName = base.throughLink ? "real.dat" : kFileName;
        record = dir.file(recordName);
        expected = {kFileName};
        if (base.throughLink)
        {
            ::symlink("real.dat", dir.file(kFileName).c_str());
            expected.push_back("real.dat");
        }
        if (base.oldFile)
        {
            WriteBytes(record, RecordBytes(kOld));
        }
        if (base.leftover)
        {
            const std::string leftover =
                dir.file(FileReplace::MarkedPrefix(recordName) + "Abandoned0");
            WriteBytes(leftover, "half");
            Mark(leftover, recordName);
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

    // The names beside the record that do not belong there.
    std::vector<std::string> Strays() const
    {
        std::vector<std::string> strays;
        for (const std::string& name : Entries(dir.path()))
        {
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
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

    // Whatever the save left beside the record is a file of ours, under a
    // marked name. One without the mark (marking it failed, or the process
    // ended right before) is empty, and the next save keeps it.
    void CheckStrays()
    {
        for (const std::string& stray : Strays())
        {
            EXPECT_TRUE(IsMarked(recordName, stray)) << stray << " left beside";
            if (!BearsTheMark(dir.file(stray), recordName))
            {
                EXPECT_EQ(ReadBytes(dir.file(stray)), "") << stray << " left without the mark";
                expected.push_back(stray);
                std::sort(expected.begin(), expected.end());
            }
        }
    }

    // The next save, with no failure but those of the base: the record is
    // the next one, and whatever earlier saves left beside is gone.
    void ExpectTheNextSaveWorks() const
    {
        Plan plan;
        Save(kNext, plan);
        EXPECT_TRUE(Holds({kNext})) << "the next save did not store its record";
        EXPECT_EQ(Entries(dir.path()), expected);
        CSerialize back(dir.path());
        EXPECT_TRUE(back.Load());
    }

    TempDir dir;
    const Base& base;
    std::string recordName;
    std::string record;
    std::vector<std::string> expected;
};

// The calls of one undisturbed save in base.
std::vector<Point> PointsOf(const Base& base)
{
    SaveCase c(base);
    Plan plan;
    c.Save(kNew, plan);
    return plan.seen;
}

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
    if (call == "pread" || call == "pwrite")
    {
        faults.push_back({{0, true}, 0});
        faults.push_back({{0, true}, call == "pread" ? EIO : ENOSPC});
        // Some FUSE file systems: no byte moved, and no error either.
        faults.push_back({{0, false, true}, 0});
    }
    return faults;
}

std::string Describe(const Point& p)
{
    return p.call + " #" + std::to_string(p.occurrence + 1);
}

// Runs body in a child process; true when it exited with status 0.
bool InChild(const std::function<void()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        body();
        ::_exit(0);
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

// What makes a save durable, as properties of its calls: the new content is
// synced after its last write and before the rename, and the directory is
// synced after the rename; written in place, the file is synced after its
// last write or cut.
TEST(SettingsFailurePoints, TheSaveSyncsBeforeAndAfterTheRename)
{
    for (const Base& base : kBases)
    {
        SCOPED_TRACE(base.name);
        const std::vector<Point> calls = PointsOf(base);
        auto last = [&](const char* name, std::size_t before)
        {
            std::size_t found = calls.size();
            for (std::size_t i = 0; i < before; ++i)
            {
                found = calls[i].call == name ? i : found;
            }
            return found;
        };
        auto syncedBetween = [&](std::size_t from, std::size_t to, int fd, bool directory)
        {
            for (std::size_t i = from + 1; i < to; ++i)
            {
                if (calls[i].call == "fsync" && calls[i].directory == directory &&
                    (directory || calls[i].fd == fd))
                {
                    return true;
                }
            }
            return false;
        };
        const std::size_t write = last("pwrite", calls.size());
        ASSERT_LT(write, calls.size());
        const std::size_t cut = last("ftruncate", calls.size());
        if (base.always == RenameAlwaysRefused)
        {
            const std::size_t end = std::max(write, cut == calls.size() ? write : cut);
            EXPECT_TRUE(syncedBetween(end, calls.size(), calls[write].fd, false));
            continue;
        }
        std::size_t rename = calls.size();
        for (std::size_t i = 0; i < calls.size(); ++i)
        {
            rename = calls[i].call == "rename" ? i : rename;
        }
        ASSERT_LT(rename, calls.size());
        EXPECT_TRUE(syncedBetween(write, rename, calls[write].fd, false))
            << "no fsync of the new file between its last write and the rename";
        EXPECT_TRUE(syncedBetween(rename, calls.size(), -1, true))
            << "no fsync of the directory after the rename";
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
                plan.failCall = point.call;
                plan.failOccurrence = point.occurrence;
                plan.fault = fault;
                c.Save(kNew, plan);

                // Marking is no condition of saving: a file that cannot be
                // marked is saved all the same.
                const bool mustLand =
                    fault.Recovers() || point.call == "fsetxattr" ||
                    (point.call == "rename" && base.oldFile && RenameRefused(fault.first.error));
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
                // Only a file of ours that could not be removed stays, for
                // the next save to remove.
                c.CheckStrays();
                c.ExpectTheNextSaveWorks();
            }
        }
    }
}

// A medium that keeps failing, a disk that stays full, or one that moves
// nothing and reports no error, from each call on. Replacing, the file is the old record or the new
// one. Writing in place, a disk that fills part-way through the write and refuses the old bytes
// back too leaves the new bytes written so far over the old ones: the one mix the save cannot undo,
// pinned here.
TEST(SettingsFailurePoints, CallsFailingFromEachPointOnLoseNothing)
{
    int mixes = 0;
    for (const Base& base : kBases)
    {
        SCOPED_TRACE(base.name);
        const std::size_t count = PointsOf(base).size();
        for (Plan::From mode :
             {Plan::From::failing, Plan::From::diskFull, Plan::From::movingNothing})
        {
            const bool diskFull = mode == Plan::From::diskFull;
            for (std::size_t from = 0; from < count; ++from)
            {
                static const char* const kModes[] = {"failing", "disk full", "moving nothing"};
                SCOPED_TRACE(kModes[static_cast<int>(mode)] + std::string(" from call ") +
                             std::to_string(from + 1));
                SaveCase c(base);
                Plan plan;
                plan.failingFrom = static_cast<int>(from);
                plan.from = mode;
                c.Save(kNew, plan);
                const std::string mix =
                    RecordBytes(kNew).substr(0, 1) + RecordBytes(kOld).substr(1);
                const bool inPlace = base.always == RenameAlwaysRefused;
                const bool mixed = inPlace && diskFull && ReadBytes(c.record) == mix;
                mixes += mixed;
                EXPECT_TRUE(c.Holds({base.oldFile ? kOld : -1, kNew}) || mixed)
                    << "the file is neither record: " << ReadBytes(c.record).size() << " bytes";
                EXPECT_TRUE(c.LinkIntact());
                c.CheckStrays();
                c.ExpectTheNextSaveWorks();
            }
        }
    }
    EXPECT_GT(mixes, 0) << "the mix writing in place leaves is no longer what is pinned here";
}

namespace
{
std::string ContentOf(const std::string& path)
{
    return ReadBytes(path);
}

// The directory's names and the files they lead to.
std::map<std::string, ino_t> NamesIn(const std::string& dir)
{
    std::map<std::string, ino_t> names;
    for (const std::string& name : Entries(dir))
    {
        struct stat st{};
        if (::lstat((dir + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
        {
            names[name] = st.st_ino;
        }
    }
    return names;
}

// The medium under one directory as a power cut finds it. A file's data is
// on it as of the file's last fsync, the directory's names as of the
// directory's last fsync. What was written since is kept apart: the cut
// drops it, keeps it, or keeps it up to a sector boundary, the unit a disk
// writes whole; names changed since are all kept or all lost.
class Medium
{
public:
    explicit Medium(std::string dir) : m_dir(std::move(dir)), m_names(NamesIn(m_dir))
    {
        for (const auto& [name, inode] : m_names)
        {
            m_data[inode] = ContentOf(m_dir + "/" + name);
        }
    }

    // Takes note of what call, about to be made, makes durable, or of a file
    // it ends, whose number a new file may get.
    void See(const SystemCalls::Call& call)
    {
        struct stat st{};
        if (std::strcmp(call.name, "unlink") == 0 && ::lstat(call.path, &st) == 0 &&
            st.st_nlink == 1)
        {
            m_data.erase(st.st_ino);
        }
        if (std::strcmp(call.name, "fsync") != 0 || ::fstat(call.fd, &st) != 0)
        {
            return;
        }
        if (S_ISDIR(st.st_mode))
        {
            m_names = NamesIn(m_dir);
        }
        else
        {
            m_data[st.st_ino] = ContentOf("/proc/self/fd/" + std::to_string(call.fd));
        }
    }

    // Every content name may hold after a power cut now (kMissing: no file
    // under that name).
    std::vector<std::string> AfterAPowerCut(const std::string& name) const
    {
        const std::map<std::string, ino_t> now = NamesIn(m_dir);
        std::vector<std::string> outcomes;
        for (const std::map<std::string, ino_t>* names : {&m_names, &now})
        {
            const auto entry = names->find(name);
            if (entry == names->end())
            {
                outcomes.push_back(kMissing);
                continue;
            }
            const auto synced = m_data.find(entry->second);
            const std::string durable = synced == m_data.end() ? std::string() : synced->second;
            std::string current = durable;
            for (const auto& [other, inode] : now)
            {
                if (inode == entry->second)
                {
                    current = ContentOf(m_dir + "/" + other);
                }
            }
            const std::size_t longest = std::max(durable.size(), current.size());
            for (std::size_t kept = 0; kept < longest; kept += 512)
            {
                std::string mixed = current.substr(0, std::min(kept, current.size()));
                if (durable.size() > mixed.size())
                {
                    mixed += durable.substr(mixed.size());
                }
                outcomes.push_back(mixed);
            }
            outcomes.push_back(current);
        }
        return outcomes;
    }

    static constexpr const char* kMissing = "\\0missing";

private:
    std::string m_dir;
    std::map<std::string, ino_t> m_names;
    std::map<ino_t, std::string> m_data;
};
} // namespace

// The power goes before each call of a save in turn, and once more after the
// save has returned. At every point each thing a power cut may leave loads
// as the old record or the new one (or, for a new file, there is none); once
// the save has returned, only the new record.
TEST(SettingsFailurePoints, APowerCutAtEveryCallLosesNothing)
{
    for (const Base& base : kBases)
    {
        SCOPED_TRACE(base.name);
        const std::size_t count = PointsOf(base).size();
        for (std::size_t cut = 0; cut <= count; ++cut)
        {
            SCOPED_TRACE(cut == count ? "power cut after the save returned"
                                      : "power cut before call " + std::to_string(cut + 1) +
                                            " of " + std::to_string(count));
            SaveCase c(base);
            // The child judges what the power cut left, there and then, and
            // says what was wrong.
            const bool survived = InChild(
                [&]
                {
                    Medium medium(c.dir.path());
                    auto powerCut = [&]
                    {
                        for (const std::string& outcome : medium.AfterAPowerCut(c.recordName))
                        {
                            const bool whole = outcome == Medium::kMissing
                                                   ? !base.oldFile && cut < count
                                                   : LoadsAs(outcome, kNew) ||
                                                         (cut < count && LoadsAs(outcome, kOld));
                            if (!whole)
                            {
                                std::fprintf(stderr, "the file after a power cut: %zu bytes%s\n",
                                             outcome.size(),
                                             cut < count ? "" : ", not the new record");
                                ::_exit(1);
                            }
                        }
                    };
                    Plan plan;
                    plan.crashBefore = static_cast<int>(cut);
                    plan.crash = powerCut;
                    plan.watch = [&](const SystemCalls::Call& call) { medium.See(call); };
                    c.Save(kNew, plan);
                    powerCut();
                });
            EXPECT_TRUE(survived);
            // What the crash itself left: the record whole, at most one
            // file of ours beside it, marked and gone with the next save,
            // unless the crash came between naming a file and marking it.
            EXPECT_TRUE(c.Holds({base.oldFile ? kOld : -1, kNew}));
            EXPECT_TRUE(c.LinkIntact());
            int left = 0;
            for (const std::string& stray : c.Strays())
            {
                left += stray.find("Abandoned") == std::string::npos;
            }
            EXPECT_LE(left, 1);
            c.CheckStrays();
            c.ExpectTheNextSaveWorks();
        }
    }
}

// Load under each failing call: it reads the whole record, or answers false
// with the fields read before the failure holding the file's values and the
// rest what they held; interrupted and short reads lose nothing.
TEST(SettingsFailurePoints, EveryCallFailingLoadKeepsWhatItRead)
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
    const std::vector<std::string> before = Fields(untouched());
    const std::vector<std::string> whole = {
        "2", "0", std::string(9000, '7'), "5", "3", "1", "1", "0", "2", "1", "1"};
    auto readUpTo = [&](const std::vector<std::string>& fields)
    {
        for (std::size_t read = 0; read <= whole.size(); ++read)
        {
            std::vector<std::string> expected(whole.begin(), whole.begin() + read);
            expected.insert(expected.end(), before.begin() + read, before.end());
            if (fields == expected)
            {
                return true;
            }
        }
        return false;
    };

    Plan record;
    {
        CSerialize s = untouched();
        Hooked hooked(record);
        ASSERT_TRUE(s.Load());
        EXPECT_EQ(Fields(s), whole);
    }
    for (const Point& point : record.seen)
    {
        for (const Fault& fault : FaultsOf(point.call))
        {
            SCOPED_TRACE(Describe(point) + " " + fault.Describe());
            CSerialize s = untouched();
            Plan plan;
            plan.failCall = point.call;
            plan.failOccurrence = point.occurrence;
            plan.fault = fault;
            bool loaded;
            {
                Hooked hooked(plan);
                loaded = s.Load();
            }
            if (loaded || fault.Recovers())
            {
                EXPECT_TRUE(loaded);
                EXPECT_EQ(Fields(s), whole);
            }
            EXPECT_TRUE(readUpTo(Fields(s))) << "a field holds neither its value nor the file's";
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
            [](const SystemCalls::Call& call) -> SystemCalls::Injected
            {
                if (std::strcmp(call.name, "ftruncate") == 0)
                {
                    ::_exit(0);
                }
                return {RenameAlwaysRefused(call), false};
            });
        s.Save();
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the file was not cut";
    EXPECT_EQ(ReadBytes(path).substr(0, RecordBytes(kOld).size()), RecordBytes(kOld));
    EXPECT_TRUE(LoadsAs(ReadBytes(path), kOld));
}

namespace
{
// Runs body in a child process that is killed if it takes longer than
// seconds: a call that waits forever shows as a failure, not a hung test.
bool FinishesInChild(const std::function<bool()>& body, unsigned seconds = 10)
{
    return InChild(
        [&]
        {
            ::alarm(seconds);
            ::_exit(body() ? 0 : 1);
        });
}

// A Load, then a Save of s: whether the load succeeded, and the paths that
// open was asked for by either.
struct LoadAndSave
{
    bool loaded = false;
    std::vector<std::string> opened;
};

LoadAndSave OpenedByLoadAndSave(CSerialize& s)
{
    LoadAndSave run;
    SystemCalls::SetHook(
        [&](const SystemCalls::Call& call)
        {
            if (std::strcmp(call.name, "open") == 0)
            {
                run.opened.push_back(call.path);
            }
            return SystemCalls::Injected{};
        });
    run.loaded = s.Load();
    s.Save();
    SystemCalls::SetHook(nullptr);
    return run;
}
} // namespace

// A FIFO where the settings file belongs: loading answers false at once,
// saving stores nothing, neither opens it, and the FIFO stays a FIFO.
TEST(SettingsNonRegularFile, AFifoIsNeitherOpenedNorReplaced)
{
    TempDir dir;
    const std::string path = dir.file(kFileName);
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("fifo", path.c_str()), 0);
    // A reader waiting at the other end, to receive whatever is written.
    const int reader = ::open(dir.file("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(FinishesInChild(
        [&]
        {
            CSerialize s(dir.path());
            SetRecord(s, kNew);
            const LoadAndSave run = OpenedByLoadAndSave(s);
            return !run.loaded && run.opened.empty();
        }));
    char byte;
    EXPECT_EQ(::read(reader, &byte, 1), 0) << "something was written into the FIFO";
    ::close(reader);
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{kFileName, "fifo"}));
}

// A settings file linked to a device is never opened: opening a terminal
// device allocates one, opening a serial port raises its control lines,
// which resets some instruments. The device stays as it was, even for root,
// who could replace it.
TEST(SettingsNonRegularFile, ALinkToADeviceIsNeverOpened)
{
    for (const char* device : {"/dev/null", "/dev/ptmx"})
    {
        SCOPED_TRACE(device);
        struct stat before{};
        ASSERT_EQ(::stat(device, &before), 0);
        TempDir dir;
        ASSERT_EQ(::symlink(device, dir.file(kFileName).c_str()), 0);
        CSerialize s(dir.path());
        SetRecord(s, kNew);
        const LoadAndSave run = OpenedByLoadAndSave(s);
        EXPECT_FALSE(run.loaded);
        EXPECT_TRUE(run.opened.empty()) << run.opened.front();
        struct stat after{};
        ASSERT_EQ(::stat(device, &after), 0);
        EXPECT_EQ(after.st_rdev, before.st_rdev);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
    }
}

namespace
{
// Runs body in a child process with a mount namespace of its own, in which
// file is bind-mounted over path; body's false fails the test. Answers
// whether the mount was made (it needs root and a mount namespace): where it
// was not, the caller skips, since nothing it checks then was written.
bool WithBindMount(const std::string& file, const std::string& path,
                   const std::function<bool()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(file.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
        {
            ::_exit(77);
        }
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
    {
        return false;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child's status: " << status;
    return true;
}

constexpr const char* kNoBindMount = "no bind mount here (needs root and a mount namespace)";
} // namespace

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
    if (!WithBindMount(hostFile, path,
                       [&]
                       {
                           CSerialize s(dir.path());
                           SetRecord(s, kNew);
                           s.Save();
                           return ReadBytes(path) == RecordBytes(kNew) &&
                                  LoadsAs(ReadBytes(path), kNew);
                       }))
    {
        GTEST_SKIP() << kNoBindMount;
    }
    EXPECT_EQ(ReadBytes(hostFile), RecordBytes(kNew));
    struct stat st{};
    ASSERT_EQ(::stat(hostFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
    EXPECT_EQ(Entries(host.path()), std::vector<std::string>{"host.dat"});
}

// A file put in the settings file's place between the look and the open of
// writing in place is not the one examined: it is left as it is.
TEST(SettingsMountedFile, WritingInPlaceWritesOnlyTheFileItExamined)
{
    TempDir dir;
    const std::string path = dir.file(kFileName);
    WriteBytes(path, RecordBytes(kOld));
    WriteBytes(dir.file("stranger"), "keep me");
    SystemCalls::SetHook(
        [&](const SystemCalls::Call& call) -> SystemCalls::Injected
        {
            if (std::strcmp(call.name, "open") == 0 && (call.flags & O_RDWR) != 0 &&
                path == call.path)
            {
                ::rename(dir.file("stranger").c_str(), path.c_str());
            }
            return {RenameAlwaysRefused(call), false};
        });
    CSerialize s(dir.path());
    SetRecord(s, kNew);
    s.Save();
    SystemCalls::SetHook(nullptr);
    EXPECT_EQ(ReadBytes(path), "keep me");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
}

// Two programs saving records of different lengths, several pages each,
// into one bind-mounted file many times over, while a third loads it: every
// load finds one of the two records whole, and so does the last.
TEST(SettingsMountedFile, TwoWritersInPlaceNeverTearTheRecord)
{
    TempDir host;
    TempDir dir;
    const std::string hostFile = host.file("host.dat");
    const std::string path = dir.file(kFileName);
    auto record = [&](int which)
    {
        CSerialize s(dir.path());
        SetRecord(s, which);
        s.SetConnection(which, 0, std::string(which == kNew ? 9000 : 15000, '0' + which));
        return s;
    };
    WriteBytes(path, "");
    WriteBytes(hostFile, "");
    const bool mounted = WithBindMount(
        hostFile, path,
        [&]
        {
            record(kNew).Save();
            std::vector<pid_t> writers;
            for (int which : {kNew, kNext})
            {
                const pid_t pid = ::fork();
                if (pid == 0)
                {
                    CSerialize s = record(which);
                    for (int i = 0; i < 300; ++i)
                    {
                        s.Save();
                    }
                    ::_exit(0);
                }
                writers.push_back(pid);
            }
            const std::vector<std::string> first = Fields(record(kNew));
            const std::vector<std::string> second = Fields(record(kNext));
            int torn = 0;
            int loads = 0;
            for (bool writing = true; writing; ++loads)
            {
                writing = ::waitpid(writers[0], nullptr, WNOHANG) == 0 ||
                          ::waitpid(writers[1], nullptr, WNOHANG) == 0;
                CSerialize s(dir.path());
                torn += !s.Load() || (Fields(s) != first && Fields(s) != second);
            }
            CSerialize last(dir.path());
            if (torn != 0 || !last.Load() || (Fields(last) != first && Fields(last) != second))
            {
                std::fprintf(stderr, "%d of %d loads found no whole record\n", torn, loads);
                return false;
            }
            return true;
        });
    if (!mounted)
    {
        GTEST_SKIP() << kNoBindMount;
    }
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{kFileName});
}

// Of the files beside the settings file, a save removes only what a save of
// its own left: a regular file under the marked name, bearing the mark, this
// user's, with no other link, not locked. Whatever else lies there stays,
// whatever its name and age: an operator's backups, names that merely look
// generated, an operator's file under a marked name without the mark, and
// marked files that fail any other of the proofs.
TEST(SettingsLeftovers, OnlyFilesProvedOursAreRemoved)
{
    TempDir dir;
    const std::string marked = FileReplace::MarkedPrefix(kFileName);
    // Every file bears the mark unless told: each fails one proof alone.
    auto make = [&](const std::string& name, const char* mark = kFileName.c_str())
    {
        WriteBytes(dir.file(name), "x");
        if (mark != nullptr)
        {
            Mark(dir.file(name), mark);
        }
        // Days old: age proves nothing.
        timespec times[2] = {{::time(nullptr) - 86400 * 3, 0}, {::time(nullptr) - 86400 * 3, 0}};
        ::utimensat(AT_FDCWD, dir.file(name).c_str(), times, AT_SYMLINK_NOFOLLOW);
    };
    std::vector<std::string> kept = {kFileName};
    for (const std::string& name :
         {kFileName + ".backup2024", kFileName + ".2026120801", kFileName + ".bak", kFileName + "~",
          kFileName + ".Abandoned1", marked + "TooShort", marked + "MuchTooLong01",
          "Other.dat." + marked + "Abandoned2", marked + "Not-ours-9"})
    {
        make(name);
        kept.push_back(name);
    }
    make(marked + "Abandoned3"); // ours: removed
    make(marked + "Operators0", nullptr);
    make(marked + "OtherMark0", "Other.dat");
    make(marked + "SomeoneEls");
    ASSERT_EQ(::chown(dir.file(marked + "SomeoneEls").c_str(), 65534, 65534), 0)
        << "the test runs as root";
    make(marked + "HardLinked");
    ASSERT_EQ(::link(dir.file(marked + "HardLinked").c_str(), dir.file("second-link").c_str()), 0);
    make(marked + "LockedByAn");
    ASSERT_EQ(::mkfifo(dir.file(marked + "AFifo67890").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.file(marked + "Directory0").c_str(), 0700), 0);
    Mark(dir.file(marked + "Directory0"), kFileName);
    TempDir elsewhere;
    WriteBytes(elsewhere.file("victim"), "keep me");
    Mark(elsewhere.file("victim"), kFileName);
    ASSERT_EQ(::symlink(elsewhere.file("victim").c_str(), dir.file(marked + "ALinkAway0").c_str()),
              0);
    for (const char* name : {"Operators0", "OtherMark0", "SomeoneEls", "HardLinked", "LockedByAn",
                             "AFifo67890", "Directory0", "ALinkAway0"})
    {
        kept.push_back(marked + name);
    }
    kept.push_back("second-link");
    // The lock is held by another process, as another instance would.
    const int locked = ::open(dir.file(marked + "LockedByAn").c_str(), O_RDONLY);
    ASSERT_GE(locked, 0);
    ASSERT_EQ(::flock(locked, LOCK_EX), 0);
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
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Entries(dir.path()), kept);
    EXPECT_EQ(ReadBytes(elsewhere.file("victim")), "keep me");

    // Once its writer is gone, the locked one goes with the next save.
    s.Save();
    kept.erase(std::find(kept.begin(), kept.end(), marked + "LockedByAn"));
    EXPECT_EQ(Entries(dir.path()), kept);
}

// Where the file system keeps no extended attributes, nothing is marked: a
// save stores its record all the same, and the file a failed save left stays
// for good, since nothing proves it a save's.
TEST(SettingsLeftovers, WithoutExtendedAttributesTheSaveWorksAndALeftoverStays)
{
    TempDir dir;
    bool failing = true; // the first save can neither rename its file nor remove it
    SystemCalls::SetHook(
        [&](const SystemCalls::Call& call) -> SystemCalls::Injected
        {
            const std::string name = call.name;
            const bool attribute = name == "fsetxattr" || name == "fgetxattr";
            const bool renaming = name == "rename" || name == "unlink";
            return {attribute ? ENOTSUP : failing && renaming ? EIO : 0, false};
        });
    CSerialize s(dir.path());
    s.Save();
    const std::vector<std::string> left = Entries(dir.path());
    failing = false;
    SetRecord(s, kNew);
    s.Save();
    SystemCalls::SetHook(nullptr);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(IsMarked(kFileName, left[0]));
    EXPECT_EQ(ReadBytes(dir.file(kFileName)), RecordBytes(kNew));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{kFileName, left[0]}));
}

// While the new file is written it is locked, and before it gets the old
// file's permissions it is readable by its owner only; where the file system
// makes unnamed files it has no name until it is whole.
TEST(SettingsLeftovers, TheFileBeingWrittenIsLockedAndPrivate)
{
    for (bool unnamed : {true, false})
    {
        SCOPED_TRACE(unnamed ? "unnamed" : "marked name");
        TempDir dir;
        // Not every file system makes unnamed files (overlayfs before Linux 6.6).
        const int probe = ::open(dir.path().c_str(), O_TMPFILE | O_WRONLY, 0600);
        if (unnamed && probe < 0)
        {
            continue;
        }
        if (probe >= 0)
        {
            ::close(probe);
        }
        const std::string path = dir.file(kFileName);
        WriteBytes(path, RecordBytes(kOld));
        ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
        std::vector<mode_t> modes;
        std::vector<bool> locked;
        std::vector<std::size_t> names;
        SystemCalls::SetHook(
            [&](const SystemCalls::Call& call) -> SystemCalls::Injected
            {
                if (!unnamed && NoUnnamedFiles(call) != 0)
                {
                    return {EOPNOTSUPP, false};
                }
                const bool renamed = std::strcmp(call.name, "rename") == 0;
                if (!renamed && std::strcmp(call.name, "fchown") != 0 &&
                    std::strcmp(call.name, "pwrite") != 0)
                {
                    return {};
                }
                const std::string file =
                    renamed ? call.path : "/proc/self/fd/" + std::to_string(call.fd);
                struct stat st{};
                ::stat(file.c_str(), &st);
                modes.push_back(st.st_mode & 07777);
                const int fd = ::open(file.c_str(), O_RDONLY);
                locked.push_back(::flock(fd, LOCK_EX | LOCK_NB) != 0);
                ::close(fd);
                names.push_back(Entries(dir.path()).size());
                return {};
            });
        const mode_t mask = ::umask(0);
        CSerialize s(dir.path());
        SetRecord(s, kNew);
        s.Save();
        ::umask(mask);
        SystemCalls::SetHook(nullptr);
        const std::size_t whileWritten = unnamed ? 1 : 2;
        EXPECT_EQ(modes, (std::vector<mode_t>{0600, 0644, 0644}));
        EXPECT_EQ(locked, (std::vector<bool>{true, true, true}));
        EXPECT_EQ(names, (std::vector<std::size_t>{whileWritten, whileWritten, 2}));
        EXPECT_EQ(ReadBytes(path), RecordBytes(kNew));
    }
}
