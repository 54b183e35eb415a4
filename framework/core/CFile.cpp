// SPDX-License-Identifier: Apache-2.0
#include "framework/core/CFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    struct stat st
    {
    };
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
