// SPDX-License-Identifier: Apache-2.0
#include "framework/core/SystemCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>
#include <utility>

namespace
{
SystemCalls::Hook& TheHook()
{
    static SystemCalls::Hook hook;
    return hook;
}

// Makes the call (or the failure the hook asks for), again while a signal
// interrupts it. call is given how many bytes it may move this time (calls
// that move none ignore it).
template <typename Result, typename Call>
Result Make(const char* name, Result failed, std::size_t count, Call call)
{
    for (;;)
    {
        SystemCalls::Injected injected;
        if (const SystemCalls::Hook& hook = TheHook())
        {
            injected = hook(name);
        }
        Result result;
        if (injected.error != 0)
        {
            errno = injected.error;
            result = failed;
        }
        else
        {
            result = call(injected.shortTransfer && count > 1 ? 1 : count);
        }
        if (result == failed && errno == EINTR)
        {
            continue;
        }
        return result;
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
    return Make("open", -1, 0, [&](std::size_t) { return ::open(path, flags, mode); });
}

int Close(int fd)
{
    // Never again after EINTR: the descriptor is gone either way, and its
    // number may already belong to another file.
    Injected injected;
    if (const Hook& hook = TheHook())
    {
        injected = hook("close");
    }
    if (injected.error != 0)
    {
        ::close(fd);
        errno = injected.error;
        return -1;
    }
    return ::close(fd);
}

ssize_t Read(int fd, void* buffer, size_t count)
{
    return Make("read", ssize_t{-1}, count, [&](std::size_t n) { return ::read(fd, buffer, n); });
}

ssize_t PRead(int fd, void* buffer, size_t count, off_t offset)
{
    return Make("pread", ssize_t{-1}, count,
                [&](std::size_t n) { return ::pread(fd, buffer, n, offset); });
}

ssize_t Write(int fd, const void* buffer, size_t count)
{
    return Make("write", ssize_t{-1}, count, [&](std::size_t n) { return ::write(fd, buffer, n); });
}

ssize_t PWrite(int fd, const void* buffer, size_t count, off_t offset)
{
    return Make("pwrite", ssize_t{-1}, count,
                [&](std::size_t n) { return ::pwrite(fd, buffer, n, offset); });
}

int Fsync(int fd)
{
    return Make("fsync", -1, 0, [&](std::size_t) { return ::fsync(fd); });
}

int Fstat(int fd, struct stat* st)
{
    return Make("fstat", -1, 0, [&](std::size_t) { return ::fstat(fd, st); });
}

int Stat(const char* path, struct stat* st)
{
    return Make("stat", -1, 0, [&](std::size_t) { return ::stat(path, st); });
}

int Lstat(const char* path, struct stat* st)
{
    return Make("lstat", -1, 0, [&](std::size_t) { return ::lstat(path, st); });
}

off_t Lseek(int fd, off_t offset, int whence)
{
    return Make("lseek", off_t{-1}, 0, [&](std::size_t) { return ::lseek(fd, offset, whence); });
}

int Ftruncate(int fd, off_t length)
{
    return Make("ftruncate", -1, 0, [&](std::size_t) { return ::ftruncate(fd, length); });
}

int Fchmod(int fd, mode_t mode)
{
    return Make("fchmod", -1, 0, [&](std::size_t) { return ::fchmod(fd, mode); });
}

int Fchown(int fd, uid_t owner, gid_t group)
{
    return Make("fchown", -1, 0, [&](std::size_t) { return ::fchown(fd, owner, group); });
}

int Rename(const char* oldPath, const char* newPath)
{
    return Make("rename", -1, 0, [&](std::size_t) { return std::rename(oldPath, newPath); });
}

int Unlink(const char* path)
{
    return Make("unlink", -1, 0, [&](std::size_t) { return ::unlink(path); });
}

ssize_t Readlink(const char* path, char* buffer, size_t size)
{
    return Make("readlink", ssize_t{-1}, 0,
                [&](std::size_t) { return ::readlink(path, buffer, size); });
}

int Access(const char* path, int mode)
{
    return Make("access", -1, 0, [&](std::size_t) { return ::access(path, mode); });
}

int Fcntl(int fd, int command, int argument)
{
    return Make("fcntl", -1, 0, [&](std::size_t) { return ::fcntl(fd, command, argument); });
}

int Flock(int fd, int operation)
{
    return Make("flock", -1, 0, [&](std::size_t) { return ::flock(fd, operation); });
}

ssize_t Getrandom(void* buffer, size_t count, unsigned int flags)
{
    return Make("getrandom", ssize_t{-1}, 0,
                [&](std::size_t) { return ::getrandom(buffer, count, flags); });
}

DIR* Opendir(const char* path)
{
    return Make("opendir", static_cast<DIR*>(nullptr), 0,
                [&](std::size_t) { return ::opendir(path); });
}

struct dirent* Readdir(DIR* directory)
{
    // The end of the directory is a null without an error: tell it from an
    // interrupted call by clearing errno first.
    return Make("readdir", static_cast<struct dirent*>(nullptr), 0,
                [&](std::size_t)
                {
                    errno = 0;
                    return ::readdir(directory);
                });
}

int Closedir(DIR* directory)
{
    Injected injected;
    if (const Hook& hook = TheHook())
    {
        injected = hook("closedir");
    }
    const int result = ::closedir(directory);
    if (injected.error != 0)
    {
        errno = injected.error;
        return -1;
    }
    return result;
}
} // namespace SystemCalls
