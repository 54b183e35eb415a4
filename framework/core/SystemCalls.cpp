// SPDX-License-Identifier: Apache-2.0
#include "framework/core/SystemCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace
{
SystemCalls::Hook& TheHook()
{
    static SystemCalls::Hook hook;
    return hook;
}

SystemCalls::Injected Ask(const SystemCalls::Call& call)
{
    const SystemCalls::Hook& hook = TheHook();
    return hook ? hook(call) : SystemCalls::Injected{};
}

// Makes the call (or the failure the hook asks for), again while a signal
// interrupts it. make is given how many bytes it may move this time (calls
// that move none ignore it).
template <typename Result, typename Make>
Result Made(SystemCalls::Call call, Result failed, std::size_t count, Make make)
{
    for (;;)
    {
        const SystemCalls::Injected injected = Ask(call);
        Result result = failed;
        if (injected.error != 0)
        {
            errno = injected.error;
        }
        else
        {
            result = make(injected.noTransfer                   ? 0
                          : injected.shortTransfer && count > 1 ? 1
                                                                : count);
        }
        if (result != failed || errno != EINTR)
        {
            return result;
        }
    }
}
} // namespace

namespace SystemCalls
{
void SetHook(Hook hook)
{
    TheHook() = std::move(hook);
}

int Open(const char* path, int flags, mode_t mode)
{
    return Made({"open", -1, path, flags}, -1, 0,
                [&](std::size_t) { return ::open(path, flags, mode); });
}

int Close(int fd)
{
    // Never again after EINTR: the descriptor is gone either way, and its
    // number may already belong to another file.
    const Injected injected = Ask({"close", fd});
    const int result = ::close(fd);
    if (injected.error != 0)
    {
        errno = injected.error;
        return -1;
    }
    return result;
}

ssize_t PRead(int fd, void* buffer, size_t count, off_t offset)
{
    return Made({"pread", fd}, ssize_t{-1}, count,
                [&](std::size_t n) { return ::pread(fd, buffer, n, offset); });
}

ssize_t PWrite(int fd, const void* buffer, size_t count, off_t offset)
{
    return Made({"pwrite", fd}, ssize_t{-1}, count,
                [&](std::size_t n) { return ::pwrite(fd, buffer, n, offset); });
}

int Fsync(int fd)
{
    return Made({"fsync", fd}, -1, 0, [&](std::size_t) { return ::fsync(fd); });
}

int Fstat(int fd, struct stat* st)
{
    return Made({"fstat", fd}, -1, 0, [&](std::size_t) { return ::fstat(fd, st); });
}

int Stat(const char* path, struct stat* st)
{
    return Made({"stat", -1, path}, -1, 0, [&](std::size_t) { return ::stat(path, st); });
}

int Lstat(const char* path, struct stat* st)
{
    return Made({"lstat", -1, path}, -1, 0, [&](std::size_t) { return ::lstat(path, st); });
}

int Ftruncate(int fd, off_t length)
{
    return Made({"ftruncate", fd}, -1, 0, [&](std::size_t) { return ::ftruncate(fd, length); });
}

int Fchmod(int fd, mode_t mode)
{
    return Made({"fchmod", fd}, -1, 0, [&](std::size_t) { return ::fchmod(fd, mode); });
}

int Fchown(int fd, uid_t owner, gid_t group)
{
    return Made({"fchown", fd}, -1, 0, [&](std::size_t) { return ::fchown(fd, owner, group); });
}

int Flock(int fd, int operation)
{
    return Made({"flock", fd}, -1, 0, [&](std::size_t) { return ::flock(fd, operation); });
}

int Fsetxattr(int fd, const char* name, const void* value, size_t size, int flags)
{
    return Made({"fsetxattr", fd}, -1, 0,
                [&](std::size_t) { return ::fsetxattr(fd, name, value, size, flags); });
}

ssize_t Fgetxattr(int fd, const char* name, void* value, size_t size)
{
    return Made({"fgetxattr", fd}, ssize_t{-1}, 0,
                [&](std::size_t) { return ::fgetxattr(fd, name, value, size); });
}

int LinkOpenFile(int fd, const char* path)
{
    const std::string entry = "/proc/self/fd/" + std::to_string(fd);
    return Made({"linkat", fd, path}, -1, 0, [&](std::size_t)
                { return ::linkat(AT_FDCWD, entry.c_str(), AT_FDCWD, path, AT_SYMLINK_FOLLOW); });
}

int Rename(const char* oldPath, const char* newPath)
{
    return Made({"rename", -1, oldPath}, -1, 0,
                [&](std::size_t) { return std::rename(oldPath, newPath); });
}

int Unlink(const char* path)
{
    return Made({"unlink", -1, path}, -1, 0, [&](std::size_t) { return ::unlink(path); });
}

ssize_t Readlink(const char* path, char* buffer, size_t size)
{
    return Made({"readlink", -1, path}, ssize_t{-1}, 0,
                [&](std::size_t) { return ::readlink(path, buffer, size); });
}

int Access(const char* path, int mode)
{
    return Made({"access", -1, path}, -1, 0, [&](std::size_t) { return ::access(path, mode); });
}

DIR* Opendir(const char* path)
{
    return Made({"opendir", -1, path}, static_cast<DIR*>(nullptr), 0,
                [&](std::size_t) { return ::opendir(path); });
}

struct dirent* Readdir(DIR* directory)
{
    // The end of the directory is a null without an error: tell it from an
    // interrupted call by clearing errno first.
    return Made({"readdir", ::dirfd(directory)}, static_cast<struct dirent*>(nullptr), 0,
                [&](std::size_t)
                {
                    errno = 0;
                    return ::readdir(directory);
                });
}

int Closedir(DIR* directory)
{
    const Injected injected = Ask({"closedir", ::dirfd(directory)});
    const int result = ::closedir(directory);
    if (injected.error != 0)
    {
        errno = injected.error;
        return -1;
    }
    return result;
}
} // namespace SystemCalls
