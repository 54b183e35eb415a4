// SPDX-License-Identifier: Apache-2.0
// What the program asks of the operating system outside the window system:
// the current directory and starting a child process.
#ifndef KELM_FRAMEWORK_PLATFORM_H
#define KELM_FRAMEWORK_PLATFORM_H

#include <string>
#include <vector>

namespace Platform
{
// The current directory's full path, however long.
std::string GetCurrentDirectoryPath();

// The character that separates the parts of a path.
char PathSeparator();

// Starts program (a path, relative to the current directory unless absolute)
// with the given argument vector, argv[0] included, and waits until it exits.
// Returns its exit status, or -1 when it could not be started.
int SpawnAndWait(const std::string& program, const std::vector<std::string>& argv);
} // namespace Platform

#endif
