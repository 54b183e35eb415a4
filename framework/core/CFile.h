// SPDX-License-Identifier: Apache-2.0
// An unbuffered binary file. Open reports failure by its result (and,
// optionally, a CFileException filled in by the caller's object); Read, Write,
// SetLength, Sync and Close throw CFileException* on failure. Every system
// call goes through SystemCalls, where tests can see and fail it.
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
        // Hold a lock for as long as the file stays open here: exclusive, or
        // shared with other readers. Opening waits briefly for whoever holds
        // one that stands in the way, then fails (sharingViolation). A file
        // system without locks opens without one.
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        modeCreate = 0x1000,
        typeBinary = 0x8000
    };

    CFile() = default;
    ~CFile() override; // closes without reporting errors
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeRead opens an existing file; modeCreate | modeWrite creates the file
    // or cuts it to zero length. Links are followed under the rule of
    // ResolveLinks. What the path leads to is looked at before it is opened:
    // anything but a regular file (a FIFO, a device, a directory) is refused
    // (invalidFile) without being opened, and so is a file that turns out
    // not to be the one looked at.
    BOOL Open(const std::string& path, UINT openFlags, CFileException* error = nullptr);

    // Reads up to count bytes; fewer only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all of buffer; a write that moves nothing is an error.
    virtual void Write(const void* buffer, UINT count);
    // Writes the file's data through to the medium (fsync).
    virtual void Sync();
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const { return m_position; }
    // Moves to the given distance from the start.
    virtual void SeekToBegin(ULONGLONG offset = 0) { m_position = offset; }
    // Cuts or extends the file to length bytes.
    virtual void SetLength(ULONGLONG length);
    virtual void Close();

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_path; }

    // True when the process may write the file at path (access(2)).
    static bool MayWrite(const std::string& path);
    // The directory part of path ("." for a bare name).
    static std::string DirectoryOf(const std::string& path);
    // The file that path names once symbolic links are followed (at most 40
    // of them), whether it exists or not. False for a loop or longer chain,
    // a link that cannot be read, or a link that the system's rule for
    // shared directories would not follow: one in a world-writable sticky
    // directory (such as /tmp) owned by neither this user nor the
    // directory's owner. found tells whether the target exists, and st
    // describes it, not following a link.
    static bool ResolveLinks(const std::string& path, std::string& target, bool& found,
                             struct stat& st);
    // Takes a flock lock (LOCK_SH or LOCK_EX) on fd, waiting up to about two
    // seconds for others to let go. False with errno set when it could not.
    static bool WaitForLock(int fd, int operation);

private:
    [[noreturn]] void ThrowOsError(int osError) const;

    int m_fd = -1;
    ULONGLONG m_position = 0;
    std::string m_path;
};

#endif
