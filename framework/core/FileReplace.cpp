// SPDX-License-Identifier: Apache-2.0
#include "framework/core/FileReplace.h"

#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/SystemCalls.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <vector>

namespace
{
// The rename refusals that writing in place gets round: a file that is a
// mount point of its own (EBUSY, EXDEV), a file in a sticky directory that
// is someone else's (EPERM, EACCES).
bool RenameRefused(int osError)
{
    return osError == EBUSY || osError == EXDEV || osError == EPERM || osError == EACCES;
}

// The largest old content kept in memory to be written back on failure.
constexpr ULONGLONG kMaxInPlaceLength = 64ULL * 1024 * 1024;

bool WriteInPlace(const std::string& target, const std::string& content)
{
    CFile file;
    if (!file.Open(target, CFile::modeReadWrite | CFile::modeNoFollow))
    {
        return false;
    }
    std::string old;
    try
    {
        const ULONGLONG length = file.GetLength();
        if (length > kMaxInPlaceLength || content.size() > kMaxInPlaceLength)
        {
            file.Abort();
            return false;
        }
        old.resize(static_cast<std::size_t>(length));
        if (file.Read(old.data(), static_cast<UINT>(old.size())) != old.size())
        {
            // Cut shorter meanwhile: no old content to put back.
            file.Abort();
            return false;
        }
    }
    catch (CException* e)
    {
        e->Delete();
        file.Abort();
        return false;
    }
    catch (const std::bad_alloc&)
    {
        file.Abort();
        return false;
    }

    // The new bytes go over the old ones in one write, so that a file that
    // grows takes its new blocks before anything is lost, and one that
    // shrinks is cut only once the new record is whole at its start.
    try
    {
        file.SeekToBegin();
        file.Write(content.data(), static_cast<UINT>(content.size()));
        if (content.size() < old.size())
        {
            file.SetLength(content.size());
        }
        file.Flush();
        // Synced: a failure to close changes nothing of what is on disk.
        file.Abort();
        return true;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    // The old bytes back where they were: they need no block they did not
    // have, so a full disk takes them.
    try
    {
        file.SeekToBegin();
        file.Write(old.data(), static_cast<UINT>(old.size()));
        file.SetLength(old.size());
        file.Flush();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    file.Abort();
    return false;
}

void RemoveIfAbandoned(const std::string& path)
{
    const int fd =
        SystemCalls::Open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
    {
        return;
    }
    struct stat st{};
    const std::time_t now = std::time(nullptr);
    // The age first: a file only just created may not be locked yet, and a
    // lock taken here, however briefly, would keep its writer from locking it.
    if (SystemCalls::Fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime <= now &&
        now - st.st_mtime >= FileReplace::kLeftoverAgeSeconds &&
        SystemCalls::Flock(fd, LOCK_EX | LOCK_NB) == 0)
    {
        static_cast<void>(SystemCalls::Unlink(path.c_str()));
    }
    SystemCalls::Close(fd);
}

void RemoveQuietly(const std::string& path)
{
    try
    {
        CFile::Remove(path);
    }
    catch (CException* e)
    {
        e->Delete();
    }
}
} // namespace

namespace FileReplace
{
bool IsLeftoverName(const std::string& fileName, const std::string& name)
{
    if (name.size() != fileName.size() + 11 || name.compare(0, fileName.size(), fileName) != 0 ||
        name[fileName.size()] != '.')
    {
        return false;
    }
    for (std::size_t i = fileName.size() + 1; i < name.size(); ++i)
    {
        const char c = name[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
        {
            return false;
        }
    }
    return true;
}

void RemoveLeftoversBeside(const std::string& target)
{
    const std::string directory = CFile::DirectoryOf(target);
    const std::size_t slash = target.rfind('/');
    const std::string fileName = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* dir = SystemCalls::Opendir(directory.c_str());
    if (dir == nullptr)
    {
        return;
    }
    // The names first, the files after: removing while reading the
    // directory may skip entries.
    std::vector<std::string> leftovers;
    while (const dirent* entry = SystemCalls::Readdir(dir))
    {
        if (IsLeftoverName(fileName, entry->d_name))
        {
            leftovers.push_back(entry->d_name);
        }
    }
    SystemCalls::Closedir(dir);
    for (const std::string& name : leftovers)
    {
        RemoveIfAbandoned(directory + "/" + name);
    }
}

bool Replace(const std::string& path, const std::string& content)
{
    if (content.size() > UINT_MAX)
    {
        return false;
    }
    // A link stays a link: the file it leads to is the one written.
    std::string target;
    bool exists = false;
    struct stat old{};
    if (!CFile::ResolveLinks(path, target, &exists, &old))
    {
        return false;
    }
    // Anything but a regular file (a link to /dev/null, a FIFO) is left as
    // it is: replacing it would change what it is; writing it would feed a
    // device or wait for a reader.
    if (exists && (!S_ISREG(old.st_mode) || !CFile::MayWrite(target)))
    {
        return false;
    }
    RemoveLeftoversBeside(target);

    // An existing file's content may be for its owner's eyes only: the new
    // one is so until it has the old one's permissions.
    CFile file;
    CFileException error;
    if (!file.CreateUniqueBeside(target, exists ? 0600 : 0666, &error))
    {
        // A directory that takes no new file leaves only the file itself.
        return exists && error.m_cause == CFileException::accessDenied &&
               WriteInPlace(target, content);
    }
    const std::string written = file.GetFilePath();
    bool complete = false;
    int renameError = 0;
    try
    {
        if (!exists || file.TakeOwnerAndPermissionsOf(old))
        {
            file.Write(content.data(), static_cast<UINT>(content.size()));
            file.Flush();
            complete = true;
            CFile::Rename(written, target);
        }
    }
    catch (CFileException* e)
    {
        renameError = complete ? e->m_lOsError : 0;
        e->Delete();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    if (!complete || renameError != 0)
    {
        // Removed while still locked, so that no cleaner ever sees it
        // unlocked.
        RemoveQuietly(written);
        file.Abort();
        return complete && RenameRefused(renameError) && WriteInPlace(target, content);
    }
    // The rename is on disk only once the directory is. Nothing is left to
    // undo if that fails: the file holds the new content either way.
    static_cast<void>(CFile::SyncDirectoryOf(target));
    file.Abort();
    return true;
}
} // namespace FileReplace
