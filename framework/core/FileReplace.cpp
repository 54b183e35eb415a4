// SPDX-License-Identifier: Apache-2.0
#include "framework/core/FileReplace.h"

#include "framework/core/CFile.h"
#include "framework/core/SystemCalls.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr std::size_t kLetters = 10;

// The largest old content kept in memory to be written back on failure.
constexpr std::size_t kMaxInPlaceLength = 64 * 1024 * 1024;

// Closes its descriptor when it goes: by then the data that matters is
// synced, or is not to be kept.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
        {
            SystemCalls::Close(fd);
        }
    }
};

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool IsLetterOrDigit(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Ten letters or digits that differ from call to call and from process to
// process. Nothing here needs them unforeseeable: the file is created
// exclusively, so a name someone planted only costs another try.
std::string Letters()
{
    static std::uint64_t calls = 0;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t x = static_cast<std::uint64_t>(now.tv_sec) * 1000000000ULL +
                      static_cast<std::uint64_t>(now.tv_nsec) +
                      (static_cast<std::uint64_t>(::getpid()) << 40) +
                      ++calls * 0x9E3779B97F4A7C15ULL;
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string letters;
    for (std::size_t i = 0; i < kLetters; ++i)
    {
        // splitmix64: every bit of the input spread over the whole result.
        x += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        letters += kAlphabet[(z ^ (z >> 31)) % (sizeof kAlphabet - 1)];
    }
    return letters;
}

std::string MarkedNameBeside(const std::string& target)
{
    return CFile::DirectoryOf(target) + "/" + FileReplace::MarkedPrefix(FileNameOf(target)) +
           Letters();
}

bool IsMarkedName(const std::string& fileName, const std::string& name)
{
    const std::string prefix = FileReplace::MarkedPrefix(fileName);
    if (name.size() != prefix.size() + kLetters || name.compare(0, prefix.size(), prefix) != 0)
    {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
    {
        if (!IsLetterOrDigit(name[i]))
        {
            return false;
        }
    }
    return true;
}

bool WriteAll(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();)
    {
        const ssize_t n = SystemCalls::PWrite(fd, bytes.data() + done, bytes.size() - done,
                                              static_cast<off_t>(done));
        if (n <= 0)
        {
            // Nothing moved and no error (some FUSE file systems): trying
            // again would loop forever.
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Some file systems cannot sync (EINVAL): nothing to wait for there.
bool Sync(int fd)
{
    return SystemCalls::Fsync(fd) == 0 || errno == EINVAL;
}

void SyncDirectoryOf(const std::string& path)
{
    Descriptor dir{SystemCalls::Open(CFile::DirectoryOf(path).c_str(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY)};
    if (dir.fd >= 0)
    {
        static_cast<void>(Sync(dir.fd));
    }
}

// Gives the new file, as far as the process may, the owner and group of the
// old one, then its permission bits. A process that may not give files away
// keeps its own user, and its own group unless it belongs to the file's.
bool TakeOwnerAndPermissionsOf(int fd, const struct stat& old)
{
    // The owner first: changing it may clear permission bits.
    if (SystemCalls::Fchown(fd, old.st_uid, old.st_gid) != 0)
    {
        static_cast<void>(SystemCalls::Fchown(fd, static_cast<uid_t>(-1), old.st_gid));
    }
    return SystemCalls::Fchmod(fd, old.st_mode & 0777) == 0;
}

// Marks fd, a file this save has just created, as a save's own (see
// kMarkAttribute). A file system without extended attributes (ENOTSUP), or
// any other refusal, leaves it unmarked and the save goes on: the mark only
// lets a later save remove what a crash left, and an unmarked file is one
// that no save removes, which is safe.
void Mark(int fd, const std::string& target)
{
    const std::string value = FileNameOf(target);
    static_cast<void>(
        SystemCalls::Fsetxattr(fd, FileReplace::kMarkAttribute, value.data(), value.size(), 0));
}

// Whether the open file fd bears the mark of a save beside a file named
// fileName. Read through the descriptor, so that it is the mark of the very
// file examined, whatever is renamed meanwhile.
bool BearsTheMark(int fd, const std::string& fileName)
{
    // One byte more than the mark: a longer value does not fit, and fails.
    std::string value(fileName.size() + 1, '\0');
    const ssize_t n =
        SystemCalls::Fgetxattr(fd, FileReplace::kMarkAttribute, &value[0], value.size());
    return n == static_cast<ssize_t>(fileName.size()) &&
           value.compare(0, fileName.size(), fileName) == 0;
}

// A new file under a marked name beside target, created exclusively, marked
// and locked. Here the file is named by its very creation: the mark comes
// with the next call, before the file has any content, owner or permissions
// of the old file, so that a crash between the two leaves only an empty
// file without the mark, which stays. The lock is taken after the mark, so a
// cleaner may have locked and removed the file first: a file that could not
// be locked for that reason, or that has no name left once locked, is given
// up for another.
int CreateMarkedBeside(const std::string& target, mode_t mode, std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        name = MarkedNameBeside(target);
        const int fd = SystemCalls::Open(
            name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
        {
            return -1;
        }
        if (fd < 0)
        {
            continue;
        }
        Mark(fd, target);
        struct stat st{};
        // Without locks (a file system that has none) no cleaner removes it.
        const bool locked = SystemCalls::Flock(fd, LOCK_EX | LOCK_NB) == 0;
        if ((locked || errno != EWOULDBLOCK) && SystemCalls::Fstat(fd, &st) == 0 && st.st_nlink > 0)
        {
            return fd;
        }
        SystemCalls::Close(fd);
    }
    errno = EEXIST;
    return -1;
}

// The new file: unnamed where the file system has them, so that a crash
// before it is whole leaves nothing; else under a marked name. Marked and
// locked either way before it has content, so that what a crash leaves
// under a marked name is provably a save's, and no cleaner takes it while
// its save lives. name stays empty for an unnamed one.
int CreateBeside(const std::string& target, mode_t mode, std::string& name)
{
    const int fd = SystemCalls::Open(CFile::DirectoryOf(target).c_str(),
                                     O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0)
    {
        return CreateMarkedBeside(target, mode, name);
    }
    Mark(fd, target);
    static_cast<void>(SystemCalls::Flock(fd, LOCK_EX | LOCK_NB));
    name.clear();
    return fd;
}

// Names the unnamed file fd beside target, under a marked name, once it is
// whole: the rename needs a name to move.
bool GiveMarkedName(int fd, const std::string& target, std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        name = MarkedNameBeside(target);
        if (SystemCalls::LinkOpenFile(fd, name.c_str()) == 0)
        {
            return true;
        }
        if (errno != EEXIST)
        {
            break;
        }
    }
    name.clear();
    return false;
}

// Removes name if it is still the file fd: the only name this process may
// take away is the one it gave.
void RemoveOwnName(const std::string& name, int fd)
{
    struct stat named{};
    struct stat opened{};
    if (SystemCalls::Lstat(name.c_str(), &named) == 0 && SystemCalls::Fstat(fd, &opened) == 0 &&
        SameFile(named, opened))
    {
        static_cast<void>(SystemCalls::Unlink(name.c_str()));
    }
}

// A leftover is removed only when everything proves it one: a regular file
// under a marked name, bearing the mark a save sets on the file it creates,
// this user's, with no other link, and not locked by a save that is still
// writing it. A name alone proves nothing: an operator's file may bear one.
// Looked at before it is opened, so that nothing else under such a name is
// ever opened, and its mark read before it is locked, so that no file
// without it is ever locked.
void RemoveIfLeftover(const std::string& path, const std::string& fileName)
{
    struct stat named{};
    if (SystemCalls::Lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) ||
        named.st_uid != ::geteuid() || named.st_nlink != 1)
    {
        return;
    }
    Descriptor file{
        SystemCalls::Open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat opened{};
    struct stat again{};
    if (file.fd >= 0 && SystemCalls::Fstat(file.fd, &opened) == 0 && SameFile(opened, named) &&
        BearsTheMark(file.fd, fileName) && SystemCalls::Flock(file.fd, LOCK_EX | LOCK_NB) == 0 &&
        SystemCalls::Lstat(path.c_str(), &again) == 0 && SameFile(again, named) &&
        again.st_nlink == 1)
    {
        static_cast<void>(SystemCalls::Unlink(path.c_str()));
    }
}

// The rename refusals that writing in place gets round: a file that is a
// mount point of its own (EBUSY, EXDEV), a file in a sticky directory that
// is someone else's (EPERM, EACCES).
bool RenameRefused(int osError)
{
    return osError == EBUSY || osError == EXDEV || osError == EPERM || osError == EACCES;
}

// Writes content over the file examined as old, holding an exclusive lock for
// the whole write so that no other writer or reader sees it half done. The
// new bytes go over the old ones and are synced before the file is cut, so
// that a file that shrinks is cut only once the new record is whole and
// durable at its start.
bool WriteInPlace(const std::string& target, const struct stat& old, const std::string& content)
{
    Descriptor file{
        SystemCalls::Open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat st{};
    if (file.fd < 0 || !CFile::WaitForLock(file.fd, LOCK_EX) ||
        SystemCalls::Fstat(file.fd, &st) != 0 || !SameFile(st, old) || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > kMaxInPlaceLength ||
        content.size() > kMaxInPlaceLength)
    {
        return false;
    }
    std::string before(static_cast<std::size_t>(st.st_size), '\0');
    for (std::size_t done = 0; done < before.size();)
    {
        const ssize_t n = SystemCalls::PRead(file.fd, &before[done], before.size() - done,
                                             static_cast<off_t>(done));
        if (n <= 0)
        {
            return false; // unreadable, or cut shorter meanwhile: nothing to put back
        }
        done += static_cast<std::size_t>(n);
    }
    if (WriteAll(file.fd, content) && Sync(file.fd) &&
        (content.size() >= before.size() ||
         (SystemCalls::Ftruncate(file.fd, static_cast<off_t>(content.size())) == 0 &&
          Sync(file.fd))))
    {
        return true;
    }
    // The old bytes back where they were: they need no block they did not
    // have, so a full disk takes them.
    if (WriteAll(file.fd, before))
    {
        static_cast<void>(SystemCalls::Ftruncate(file.fd, static_cast<off_t>(before.size())));
        static_cast<void>(Sync(file.fd));
    }
    return false;
}
} // namespace

namespace FileReplace
{
std::string MarkedPrefix(const std::string& fileName)
{
    return fileName + ".kelm-utilities-unfinished-save-";
}

void RemoveLeftoversBeside(const std::string& target)
{
    const std::string directory = CFile::DirectoryOf(target);
    DIR* dir = SystemCalls::Opendir(directory.c_str());
    if (dir == nullptr)
    {
        return;
    }
    // The names first, the files after: removing while reading the
    // directory may skip entries.
    std::vector<std::string> marked;
    while (const dirent* entry = SystemCalls::Readdir(dir))
    {
        if (IsMarkedName(FileNameOf(target), entry->d_name))
        {
            marked.push_back(directory + "/" + entry->d_name);
        }
    }
    SystemCalls::Closedir(dir);
    for (const std::string& path : marked)
    {
        RemoveIfLeftover(path, FileNameOf(target));
    }
}

bool Replace(const std::string& path, const std::string& content)
{
    // A link stays a link: the file it leads to is the one written.
    std::string target;
    bool exists = false;
    struct stat old{};
    if (content.size() > SSIZE_MAX || !CFile::ResolveLinks(path, target, exists, old) ||
        (exists && (!S_ISREG(old.st_mode) || !CFile::MayWrite(target))))
    {
        return false;
    }
    RemoveLeftoversBeside(target);

    // An existing file's content may be for its owner's eyes only: the new
    // one is so until it has the old one's permissions.
    std::string name;
    Descriptor file{CreateBeside(target, exists ? 0600 : 0666, name)};
    if (file.fd < 0)
    {
        // A directory that takes no new file leaves only the file itself.
        return exists && (errno == EACCES || errno == EPERM) && WriteInPlace(target, old, content);
    }
    const bool whole = (!exists || TakeOwnerAndPermissionsOf(file.fd, old)) &&
                       WriteAll(file.fd, content) && Sync(file.fd);
    const bool named = whole && (!name.empty() || GiveMarkedName(file.fd, target, name));
    if (named && SystemCalls::Rename(name.c_str(), target.c_str()) == 0)
    {
        // The rename is on disk only once the directory is. Nothing is left
        // to undo if that fails: the file holds the new content either way.
        SyncDirectoryOf(target);
        return true;
    }
    const int renameError = named ? errno : 0;
    if (!name.empty())
    {
        RemoveOwnName(name, file.fd);
    }
    return exists && RenameRefused(renameError) && WriteInPlace(target, old, content);
}
} // namespace FileReplace
