// SPDX-License-Identifier: Apache-2.0
// An unbuffered binary file. Open reports failure by its result (and,
// optionally, a CFileException filled in by the caller's object); Read, Write,
// Flush and Close throw CFileException* on failure.
#ifndef KELM_FRAMEWORK_CFILE_H
#define KELM_FRAMEWORK_CFILE_H

#include "framework/core/CException.h"
#include "framework/core/CObject.h"

#include <string>

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
        typeBinary = 0x8000
    };

    CFile() = default;
    ~CFile() override; // closes without reporting errors
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeRead opens an existing file; modeCreate | modeWrite creates the file
    // or truncates it to zero length.
    BOOL Open(const std::string& path, UINT openFlags, CFileException* error = nullptr);

    // Reads up to count bytes; fewer only at the end of the file.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // Writes the file's data through to the medium.
    void Flush();
    ULONGLONG GetLength() const;
    ULONGLONG GetPosition() const;
    void Close();
    // Closes, ignoring any error.
    void Abort();

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_path; }

    // Creates a new file for writing beside path (in its directory, named
    // after it with random characters appended, so that no one can plant
    // anything under that name in advance), exclusively: never an existing
    // file, never through a link. It gets the permissions of any new file
    // (0666 less the umask); GetFilePath gives its name.
    BOOL CreateUniqueBeside(const std::string& path, CFileException* error = nullptr);
    // Gives the open file the permission bits (rwx for owner, group and
    // others) and, as far as the process may, the owner and group of the
    // file at path. True when all of them were taken; a process that may
    // not give files away keeps its own user, and its own group unless it
    // belongs to the file's.
    bool TakeOwnerAndPermissionsOf(const std::string& path);

    static void Rename(const std::string& oldName, const std::string& newName);
    static void Remove(const std::string& fileName);
    // The file that path names once symbolic links are followed (at most 40
    // of them), whether it exists or not. False for a loop or longer chain,
    // a link that cannot be read, or a link that the system's rule for
    // shared directories would not follow: one in a world-writable sticky
    // directory (such as /tmp) owned by neither this user nor the
    // directory's owner.
    static bool ResolveLinks(const std::string& path, std::string& target);

private:
    [[noreturn]] void ThrowOsError(int osError) const;

    int m_fd = -1;
    std::string m_path;
};

#endif
