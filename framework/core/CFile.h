// SPDX-License-Identifier: Apache-2.0
// An unbuffered binary file. Open reports failure by its result (and,
// optionally, a CFileException filled in by the caller's object); Read, Write,
// Seek, SetLength, Flush and Close throw CFileException* on failure. Every
// system call goes through SystemCalls, where tests can see and fail it.
#ifndef KELM_FRAMEWORK_CFILE_H
#define KELM_FRAMEWORK_CFILE_H

#include "framework/core/CException.h"
#include "framework/core/CObject.h"

#include <string>
#include <sys/stat.h>

class CFile : public CObject
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyWrite = 0x0020,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
        // Never through a symbolic link in the last part of the path.
        modeNoFollow = 0x10000
    };

    CFile() = default;
    ~CFile() override; // closes without reporting errors
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeRead opens an existing file; modeCreate | modeWrite creates the file
    // or truncates it to zero length. Only a regular file is opened, and
    // opening never waits: a FIFO, a device, a socket or a directory under
    // the name is refused (invalidFile) rather than read, written or waited
    // on.
    BOOL Open(const std::string& path, UINT openFlags, CFileException* error = nullptr);

    // Reads up to count bytes; fewer only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    // Writes the file's data through to the medium.
    virtual void Flush();
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    // Moves to the given distance from the start.
    virtual void SeekToBegin(ULONGLONG offset = 0);
    // Cuts or extends the file to length bytes.
    virtual void SetLength(ULONGLONG length);
    virtual void Close();
    // Closes, ignoring any error.
    virtual void Abort();

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_path; }

    // Creates a new file for writing beside path (in its directory, named
    // after it with ten random letters and digits appended, so that no one
    // can plant anything under that name in advance), exclusively: never an
    // existing file, never through a link. It is created with the given
    // permissions less the umask, and holds an exclusive lock (flock) for as
    // long as it stays open here, which tells anyone who finds it that it is
    // still being written. GetFilePath gives its name. The random letters
    // come from the system's random source, else /dev/urandom, else the
    // clock, the process id and addresses mixed: exclusive creation keeps
    // even predictable names from touching any file but a new one.
    BOOL CreateUniqueBeside(const std::string& path, mode_t permissions = 0666,
                            CFileException* error = nullptr);
    // Gives the open file, as far as the process may, the owner and group
    // of the file described by st, then its permission bits (rwx for owner,
    // group and others). A process that may not give files away keeps its
    // own user, and its own group unless it belongs to the file's. False
    // when the permission bits could not be given.
    bool TakeOwnerAndPermissionsOf(const struct stat& st);

    // Throws CFileException* for a rename or removal refused.
    static void Rename(const std::string& oldName, const std::string& newName);
    static void Remove(const std::string& fileName);
    // True when the process may write the file at path (access(2)).
    static bool MayWrite(const std::string& path);
    // Writes the directory entry changes of path's directory (a rename into
    // it, say) through to the medium. False when that failed.
    static bool SyncDirectoryOf(const std::string& path);
    // The directory part of path ("." for a bare name).
    static std::string DirectoryOf(const std::string& path);
    // The file that path names once symbolic links are followed (at most 40
    // of them), whether it exists or not. False for a loop or longer chain,
    // a link that cannot be read, or a link that the system's rule for
    // shared directories would not follow: one in a world-writable sticky
    // directory (such as /tmp) owned by neither this user nor the
    // directory's owner. When found is given, it tells whether the target
    // exists and st (when given) describes it, not following a link.
    static bool ResolveLinks(const std::string& path, std::string& target, bool* found = nullptr,
                             struct stat* st = nullptr);

private:
    [[noreturn]] void ThrowOsError(int osError) const;

    int m_fd = -1;
    std::string m_path;
};

#endif
