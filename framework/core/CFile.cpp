// SPDX-License-Identifier: Apache-2.0
#include "framework/core/CFile.h"

#include "framework/core/SystemCalls.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{
constexpr int kMaxLinks = 40;

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
    errno = EACCES;
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

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens what ResolveLinks found at target, never through a link and never
// waiting (a FIFO swapped in meanwhile), and checks that it is what was
// looked at: the file examined, or a new regular file. -1 with errno set.
int OpenExamined(const std::string& target, bool exists, const struct stat& examined,
                 UINT openFlags)
{
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    flags |= (openFlags & CFile::modeReadWrite) != 0 ? O_RDWR
             : (openFlags & CFile::modeWrite) != 0   ? O_WRONLY
                                                     : O_RDONLY;
    if (!exists)
    {
        if ((openFlags & CFile::modeCreate) == 0)
        {
            errno = ENOENT;
            return -1;
        }
        flags |= O_CREAT | O_EXCL;
    }
    else if (!S_ISREG(examined.st_mode))
    {
        errno = EINVAL;
        return -1;
    }
    const int fd = SystemCalls::Open(target.c_str(), flags, 0666);
    if (fd < 0)
    {
        return -1;
    }
    struct stat opened{};
    if (SystemCalls::Fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
        (exists && !SameFile(opened, examined)))
    {
        SystemCalls::Close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}
} // namespace

CFile::~CFile()
{
    if (m_fd >= 0)
    {
        SystemCalls::Close(m_fd);
    }
}

BOOL CFile::Open(const std::string& path, UINT openFlags, CFileException* error)
{
    if (m_fd >= 0)
    {
        SystemCalls::Close(m_fd);
        m_fd = -1;
    }
    std::string target;
    bool exists = false;
    struct stat examined{};
    int fd = -1;
    if (ResolveLinks(path, target, exists, examined))
    {
        fd = OpenExamined(target, exists, examined, openFlags);
    }
    const UINT share = openFlags & (shareExclusive | shareDenyWrite);
    if (fd >= 0 && share != 0 && !WaitForLock(fd, share == shareDenyWrite ? LOCK_SH : LOCK_EX) &&
        errno == EWOULDBLOCK)
    {
        SystemCalls::Close(fd);
        fd = -1;
        errno = EWOULDBLOCK;
    }
    if (fd >= 0 && exists && (openFlags & modeCreate) != 0 && SystemCalls::Ftruncate(fd, 0) != 0)
    {
        const int osError = errno;
        SystemCalls::Close(fd);
        fd = -1;
        errno = osError;
    }
    if (fd < 0)
    {
        if (error != nullptr)
        {
            const int osError = errno;
            error->m_cause = osError == EINVAL        ? CFileException::invalidFile
                             : osError == EWOULDBLOCK ? CFileException::sharingViolation
                                                      : CFileException::CauseFromErrno(osError);
            error->m_lOsError = osError;
            error->m_strFileName = path;
        }
        return FALSE;
    }
    m_fd = fd;
    m_position = 0;
    m_path = path;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count)
    {
        const ssize_t n = SystemCalls::PRead(m_fd, out + done, count - done,
                                             static_cast<off_t>(m_position + done));
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
    m_position += done;
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    const auto* in = static_cast<const char*>(buffer);
    for (UINT done = 0; done < count;)
    {
        const ssize_t n =
            SystemCalls::PWrite(m_fd, in + done, count - done, static_cast<off_t>(m_position));
        if (n <= 0)
        {
            // Nothing moved and no error (some FUSE file systems): trying
            // again would loop forever.
            ThrowOsError(n < 0 ? errno : EIO);
        }
        done += static_cast<UINT>(n);
        m_position += static_cast<ULONGLONG>(n);
    }
}

void CFile::Sync()
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
    const int fd = m_fd;
    m_fd = -1;
    if (SystemCalls::Close(fd) != 0 && errno != EINTR)
    {
        ThrowOsError(errno);
    }
}

bool CFile::ResolveLinks(const std::string& path, std::string& target, bool& found, struct stat& st)
{
    std::string current = path;
    for (int links = 0; links <= kMaxLinks; ++links)
    {
        if (SystemCalls::Lstat(current.c_str(), &st) != 0)
        {
            // Not there (yet): that is where it goes.
            target = current;
            found = false;
            return errno == ENOENT;
        }
        if (!S_ISLNK(st.st_mode))
        {
            target = current;
            found = true;
            return true;
        }
        const std::string directory = DirectoryOf(current);
        std::string next;
        if (!MayFollow(st, directory) || !ReadLink(current, next) || next.empty())
        {
            return false;
        }
        current = next[0] == '/' ? next : directory + "/" + next;
    }
    errno = ELOOP;
    return false;
}

bool CFile::WaitForLock(int fd, int operation)
{
    for (int attempt = 0; attempt < 200; ++attempt)
    {
        if (SystemCalls::Flock(fd, operation | LOCK_NB) == 0)
        {
            return true;
        }
        if (errno != EWOULDBLOCK)
        {
            return false;
        }
        const timespec pause{0, 10 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
    errno = EWOULDBLOCK;
    return false;
}

bool CFile::MayWrite(const std::string& path)
{
    return SystemCalls::Access(path.c_str(), W_OK) == 0;
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
