// SPDX-License-Identifier: Apache-2.0
#include "framework/core/CFile.h"

#include "framework/core/SystemCalls.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int kMaxLinks = 40;

void FillError(CFileException* error, int osError, const std::string& path)
{
    if (error != nullptr)
    {
        error->m_cause = CFileException::CauseFromErrno(osError);
        error->m_lOsError = osError;
        error->m_strFileName = path;
    }
}

bool ReadAll(int fd, unsigned char* out, std::size_t count)
{
    std::size_t done = 0;
    while (done < count)
    {
        const ssize_t n = SystemCalls::Read(fd, out + done, count - done);
        if (n <= 0)
        {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// splitmix64: spreads every bit of its input over the whole result.
std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// Bytes no one can foresee. The system's random source may be missing (an
// old kernel: ENOSYS) or forbidden (a seccomp filter: EPERM) or not ready
// yet early at boot; /dev/urandom may be missing in a container. The last
// resort, the clocks, the process id and where this process's stack and
// code lie, is guessable only with work, and the name needs no more:
// creating it exclusively keeps even a foreseen name from touching anything.
void RandomBytes(unsigned char* out, std::size_t count)
{
    if (SystemCalls::Getrandom(out, count, GRND_NONBLOCK) == static_cast<ssize_t>(count))
    {
        return;
    }
    const int fd = SystemCalls::Open("/dev/urandom", O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0)
    {
        const bool whole = ReadAll(fd, out, count);
        SystemCalls::Close(fd);
        if (whole)
        {
            return;
        }
    }
    static std::uint64_t calls = 0;
    timespec realTime{};
    timespec monotonic{};
    ::clock_gettime(CLOCK_REALTIME, &realTime);
    ::clock_gettime(CLOCK_MONOTONIC, &monotonic);
    const int onStack = 0;
    std::uint64_t state = Mix(static_cast<std::uint64_t>(realTime.tv_sec) * 1000000000ULL +
                              static_cast<std::uint64_t>(realTime.tv_nsec));
    state = Mix(state ^ static_cast<std::uint64_t>(monotonic.tv_nsec));
    state = Mix(state ^ static_cast<std::uint64_t>(::getpid()));
    state = Mix(state ^ reinterpret_cast<std::uintptr_t>(&onStack));
    state = Mix(state ^ reinterpret_cast<std::uintptr_t>(&RandomBytes));
    state = Mix(state ^ ++calls);
    for (std::size_t i = 0; i < count; ++i)
    {
        state = Mix(state);
        out[i] = static_cast<unsigned char>(state >> 56);
    }
}

// Ten letters or digits.
std::string RandomSuffix()
{
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[10];
    RandomBytes(bytes, sizeof bytes);
    std::string suffix;
    for (unsigned char b : bytes)
    {
        suffix += kAlphabet[b % (sizeof kAlphabet - 1)];
    }
    return suffix;
}

// The kernel's protected_symlinks rule, kept whether the kernel enforces it
// or not: in a sticky world-writable directory only links of this user or
// of the directory's owner are followed.
bool MayFollow(const struct stat& link, const std::string& directory)
{
    struct stat dir{};
    if (SystemCalls::Stat(directory.c_str(), &dir) != 0)
    {
        return false;
    }
    const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

bool ReadLink(const std::string& path, std::string& text)
{
    std::string buffer(256, '\0');
    for (;;)
    {
        const ssize_t n = SystemCalls::Readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
        {
            return false;
        }
        if (static_cast<std::size_t>(n) < buffer.size())
        {
            text.assign(buffer.data(), static_cast<std::size_t>(n));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}
} // namespace

CFile::~CFile()
{
    Abort();
}

BOOL CFile::Open(const std::string& path, UINT openFlags, CFileException* error)
{
    Abort();
    // Not blocking: opening a FIFO would otherwise wait for a writer (or a
    // reader) that may never come.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if ((openFlags & modeReadWrite) != 0)
    {
        flags |= O_RDWR;
    }
    else if ((openFlags & modeWrite) != 0)
    {
        flags |= O_WRONLY;
    }
    else
    {
        flags |= O_RDONLY;
    }
    if ((openFlags & modeCreate) != 0)
    {
        flags |= O_CREAT | O_TRUNC;
    }
    if ((openFlags & modeNoFollow) != 0)
    {
        flags |= O_NOFOLLOW;
    }

    const int fd = SystemCalls::Open(path.c_str(), flags, 0666);
    if (fd < 0)
    {
        FillError(error, errno, path);
        return FALSE;
    }
    struct stat st{};
    int osError = 0;
    if (SystemCalls::Fstat(fd, &st) != 0)
    {
        osError = errno;
    }
    else if (!S_ISREG(st.st_mode))
    {
        osError = EINVAL;
    }
    else
    {
        const int status = SystemCalls::Fcntl(fd, F_GETFL, 0);
        if (status < 0 || SystemCalls::Fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)
        {
            osError = errno;
        }
    }
    if (osError != 0)
    {
        SystemCalls::Close(fd);
        FillError(error, osError, path);
        if (error != nullptr && osError == EINVAL)
        {
            error->m_cause = CFileException::invalidFile;
        }
        return FALSE;
    }
    m_fd = fd;
    m_path = path;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count)
    {
        ssize_t n = SystemCalls::Read(m_fd, out + done, count - done);
        if (n < 0)
        {
            ThrowOsError(errno);
        }
        if (n == 0)
        {
            break;
        }
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    const auto* in = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count)
    {
        ssize_t n = SystemCalls::Write(m_fd, in + done, count - done);
        if (n < 0)
        {
            ThrowOsError(errno);
        }
        done += static_cast<UINT>(n);
    }
}

void CFile::Flush()
{
    if (SystemCalls::Fsync(m_fd) != 0 && errno != EINVAL)
    {
        ThrowOsError(errno);
    }
}

ULONGLONG CFile::GetLength() const
{
    struct stat st{};
    if (SystemCalls::Fstat(m_fd, &st) != 0)
    {
        ThrowOsError(errno);
    }
    return static_cast<ULONGLONG>(st.st_size);
}

ULONGLONG CFile::GetPosition() const
{
    off_t pos = SystemCalls::Lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
    {
        ThrowOsError(errno);
    }
    return static_cast<ULONGLONG>(pos);
}

void CFile::SeekToBegin(ULONGLONG offset)
{
    if (SystemCalls::Lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0)
    {
        ThrowOsError(errno);
    }
}

void CFile::SetLength(ULONGLONG length)
{
    if (SystemCalls::Ftruncate(m_fd, static_cast<off_t>(length)) != 0)
    {
        ThrowOsError(errno);
    }
}

void CFile::Close()
{
    if (m_fd < 0)
    {
        return;
    }
    int fd = m_fd;
    m_fd = -1;
    if (SystemCalls::Close(fd) != 0 && errno != EINTR)
    {
        ThrowOsError(errno);
    }
}

void CFile::Abort()
{
    if (m_fd >= 0)
    {
        SystemCalls::Close(m_fd);
        m_fd = -1;
    }
}

BOOL CFile::CreateUniqueBeside(const std::string& path, mode_t permissions, CFileException* error)
{
    Abort();
    int osError = EEXIST;
    for (int attempt = 0; attempt < 100 && osError == EEXIST; ++attempt)
    {
        const std::string name = path + "." + RandomSuffix();
        const int fd = SystemCalls::Open(
            name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions);
        if (fd >= 0)
        {
            // Without a lock (a file system that has none) the file is
            // still safe from a cleaner for the age it waits for.
            static_cast<void>(SystemCalls::Flock(fd, LOCK_EX | LOCK_NB));
            m_fd = fd;
            m_path = name;
            return TRUE;
        }
        osError = errno;
    }
    FillError(error, osError, path);
    return FALSE;
}

bool CFile::TakeOwnerAndPermissionsOf(const struct stat& st)
{
    if (m_fd < 0)
    {
        return false;
    }
    // The owner first: changing it may clear permission bits.
    if (SystemCalls::Fchown(m_fd, st.st_uid, st.st_gid) != 0)
    {
        static_cast<void>(SystemCalls::Fchown(m_fd, static_cast<uid_t>(-1), st.st_gid));
    }
    return SystemCalls::Fchmod(m_fd, st.st_mode & 0777) == 0;
}

bool CFile::ResolveLinks(const std::string& path, std::string& target, bool* found, struct stat* st)
{
    std::string current = path;
    for (int links = 0; links <= kMaxLinks; ++links)
    {
        struct stat link{};
        if (SystemCalls::Lstat(current.c_str(), &link) != 0)
        {
            // Not there (yet): that is where it goes.
            target = current;
            if (found != nullptr)
            {
                *found = false;
            }
            return errno == ENOENT;
        }
        if (!S_ISLNK(link.st_mode))
        {
            target = current;
            if (found != nullptr)
            {
                *found = true;
            }
            if (st != nullptr)
            {
                *st = link;
            }
            return true;
        }
        const std::string directory = DirectoryOf(current);
        std::string next;
        if (!MayFollow(link, directory) || !ReadLink(current, next) || next.empty())
        {
            return false;
        }
        current = next[0] == '/' ? next : directory + "/" + next;
    }
    return false;
}

void CFile::Rename(const std::string& oldName, const std::string& newName)
{
    if (SystemCalls::Rename(oldName.c_str(), newName.c_str()) != 0)
    {
        int osError = errno;
        throw new CFileException(CFileException::CauseFromErrno(osError), osError, oldName);
    }
}

void CFile::Remove(const std::string& fileName)
{
    if (SystemCalls::Unlink(fileName.c_str()) != 0)
    {
        int osError = errno;
        throw new CFileException(CFileException::CauseFromErrno(osError), osError, fileName);
    }
}

bool CFile::MayWrite(const std::string& path)
{
    return SystemCalls::Access(path.c_str(), W_OK) == 0;
}

bool CFile::SyncDirectoryOf(const std::string& path)
{
    const int fd =
        SystemCalls::Open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
    {
        return false;
    }
    // Some file systems cannot sync a directory (EINVAL): nothing to wait for.
    const bool synced = SystemCalls::Fsync(fd) == 0 || errno == EINVAL;
    SystemCalls::Close(fd);
    return synced;
}

std::string CFile::DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
    {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void CFile::ThrowOsError(int osError) const
{
    throw new CFileException(CFileException::CauseFromErrno(osError), osError, m_path);
}
