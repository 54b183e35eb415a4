// SPDX-License-Identifier: Apache-2.0
// The system calls of the file layer, each made through here under its own
// name. A call interrupted by a signal (EINTR) is made again, except close,
// which has already released the descriptor by then.
//
// Tests install a hook that sees every call, with the descriptor or path it
// works on, before it is made, and may make it fail with an error of its
// choosing, come up short (pread and pwrite move at most one byte, or none)
// or never return (a crash). The program itself never installs one.
#ifndef KELM_FRAMEWORK_SYSTEMCALLS_H
#define KELM_FRAMEWORK_SYSTEMCALLS_H

#include <dirent.h>
#include <functional>
#include <sys/stat.h>
#include <sys/types.h>

namespace SystemCalls
{
struct Call
{
    const char* name;           // "open", "pwrite", "fsync", ... as in the manual
    int fd = -1;                // the descriptor it works on, or -1
    const char* path = nullptr; // the path it names (the first one), or null
    int flags = 0;              // open: its flags
};

struct Injected
{
    int error = 0;              // non-zero: the call fails with this errno, unmade
    bool shortTransfer = false; // pread, pwrite: at most one byte this time
    bool noTransfer = false;    // pread, pwrite: no byte and no error this time
};

using Hook = std::function<Injected(const Call& call)>;

// Replaces the hook (an empty one removes it).
void SetHook(Hook hook);

int Open(const char* path, int flags, mode_t mode = 0);
int Close(int fd);
ssize_t PRead(int fd, void* buffer, size_t count, off_t offset);
ssize_t PWrite(int fd, const void* buffer, size_t count, off_t offset);
int Fsync(int fd);
int Fstat(int fd, struct stat* st);
int Stat(const char* path, struct stat* st);
int Lstat(const char* path, struct stat* st);
int Ftruncate(int fd, off_t length);
int Fchmod(int fd, mode_t mode);
int Fchown(int fd, uid_t owner, gid_t group);
int Flock(int fd, int operation);
// The extended attribute name of the open file fd, set or read.
int Fsetxattr(int fd, const char* name, const void* value, size_t size, int flags);
ssize_t Fgetxattr(int fd, const char* name, void* value, size_t size);
// Gives the open file fd the name path, which must not exist yet (linkat of
// its /proc/self/fd entry: how an unnamed file gets its name).
int LinkOpenFile(int fd, const char* path);
int Rename(const char* oldPath, const char* newPath);
int Unlink(const char* path);
ssize_t Readlink(const char* path, char* buffer, size_t size);
int Access(const char* path, int mode);
DIR* Opendir(const char* path);
// Null at the end or on failure (errno tells them apart, as readdir does).
struct dirent* Readdir(DIR* directory);
int Closedir(DIR* directory);
} // namespace SystemCalls

#endif
