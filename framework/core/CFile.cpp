// SPDX-License-Identifier: Apache-2.0
#include "framework/core/CFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int kMaxLinks = 40;

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
    {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Ten letters or digits from the system's random source.
bool RandomSuffix(std::string& suffix)
{
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[10];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
    {
        return false;
    }
    suffix.clear();
    for (unsigned char b : bytes)
    {
        suffix += kAlphabet[b % (sizeof kAlphabet - 1)];
    }
    return true;
}

// The kernel's protected_symlinks rule, kept whether the kernel enforces it
// or not: in a sticky world-writable directory only links of this user or
// of the directory's owner are followed.
bool MayFollow(const struct stat& link, const std::string& directory)
{
    struct stat dir{};
    if (::stat(directory.c_str(), &dir) != 0)
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
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
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
    int flags = O_CLOEXEC;
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

    int fd;
    do
    {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);

    if (fd < 0)
    {
        if (error != nullptr)
        {
            error->m_cause = CFileException::CauseFromErrno(errno);
            error->m_lOsError = errno;
            error->m_strFileName = path;
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
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
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
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            ThrowOsError(errno);
        }
        done += static_cast<UINT>(n);
    }
}

void CFile::Flush()
{
    if (::fsync(m_fd) != 0 && errno != EINVAL)
    {
        ThrowOsError(errno);
    }
}

ULONGLONG CFile::GetLength() const
{
    struct stat st{};
    if (::fstat(m_fd, &st) != 0)
    {
        ThrowOsError(errno);
    }
    return static_cast<ULONGLONG>(st.st_size);
}

ULONGLONG CFile::GetPosition() const
{
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
    {
        ThrowOsError(errno);
    }
    return static_cast<ULONGLONG>(pos);
}

void CFile::Close()
{
    if (m_fd < 0)
    {
        return;
    }
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
    {
        ThrowOsError(errno);
    }
}

void CFile::Abort()
{
    if (m_fd >= 0)
    {
        ::close(m_fd);
        m_fd = -1;
    }
}

BOOL CFile::CreateUniqueBeside(const std::string& path, CFileException* error)
{
    Abort();
    int osError = EEXIST;
    for (int attempt = 0; attempt < 100 && osError == EEXIST; ++attempt)
    {
        std::string suffix;
        if (!RandomSuffix(suffix))
        {
            osError = errno;
            break;
        }
        const std::string name = path + "." + suffix;
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
        {
            m_fd = fd;
            m_path = name;
            return TRUE;
        }
        osError = errno == EINTR ? EEXIST : errno;
    }
    if (error != nullptr)
    {
        error->m_cause = CFileException::CauseFromErrno(osError);
        error->m_lOsError = osError;
        error->m_strFileName = path;
    }
    return FALSE;
}

bool CFile::TakeOwnerAndPermissionsOf(const std::string& path)
{
    struct stat st{};
    if (m_fd < 0 || ::stat(path.c_str(), &st) != 0)
    {
        return false;
    }
    // The owner first: changing it may clear permission bits.
    bool all = ::fchown(m_fd, st.st_uid, st.st_gid) == 0;
    if (!all)
    {
        static_cast<void>(::fchown(m_fd, static_cast<uid_t>(-1), st.st_gid));
    }
    return ::fchmod(m_fd, st.st_mode & 0777) == 0 && all;
}

bool CFile::ResolveLinks(const std::string& path, std::string& target)
{
    std::string current = path;
    for (int links = 0; links <= kMaxLinks; ++links)
    {
        struct stat st{};
        if (::lstat(current.c_str(), &st) != 0)
        {
            // Not there (yet): that is where it goes.
            target = current;
            return errno == ENOENT;
        }
        if (!S_ISLNK(st.st_mode))
        {
            target = current;
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
    return false;
}

void CFile::Rename(const std::string& oldName, const std::string& newName)
{
    if (std::rename(oldName.c_str(), newName.c_str()) != 0)
    {
        int osError = errno;
        throw new CFileException(CFileException::CauseFromErrno(osError), osError, oldName);
    }
}

void CFile::Remove(const std::string& fileName)
{
    if (std::remove(fileName.c_str()) != 0)
    {
        int osError = errno;
        throw new CFileException(CFileException::CauseFromErrno(osError), osError, fileName);
    }
}

void CFile::ThrowOsError(int osError) const
{
    throw new CFileException(CFileException::CauseFromErrno(osError), osError, m_path);
}
