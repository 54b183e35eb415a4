// SPDX-License-Identifier: Apache-2.0
#include "framework/core/Platform.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Platform
{
std::string GetCurrentDirectoryPath()
{
    std::string buffer(256, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr)
    {
        if (errno != ERANGE)
        {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

char PathSeparator()
{
    return '/';
}

int SpawnAndWait(const std::string& program, const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
    {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);

    pid_t pid;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, args.data(), environ) != 0)
    {
        return -1;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
    {
        if (errno != EINTR)
        {
            return -1;
        }
    }
    if (WIFEXITED(status))
    {
        return WEXITSTATUS(status);
    }
    // It started and was ended by a signal: an exit status like a shell's.
    return 128 + WTERMSIG(status);
}
} // namespace Platform
