// SPDX-License-Identifier: Apache-2.0
// Replacing the whole content of a small file so that nothing is lost at any
// failure: whatever call fails, and wherever the process dies, the file
// holds either its old content or the new one, byte for byte.
#ifndef KELM_FRAMEWORK_FILEREPLACE_H
#define KELM_FRAMEWORK_FILEREPLACE_H

#include <string>

namespace FileReplace
{
// How long a file left beside by a save that never finished stays before a
// later save removes it. A save takes milliseconds; the margin covers the
// moment between creating that file and locking it, file systems without
// locks and clocks that disagree across a network.
constexpr long kLeftoverAgeSeconds = 3600;

// Makes content the whole of the file that path names (through symbolic
// links; the links stay). The content goes to a new file beside it, locked,
// synced and then renamed over it, and the directory is synced. The new
// file starts readable by its owner only and takes the old file's
// permissions and, as far as the process may, its owner before it gets any
// content; a file new to the directory gets what any new file gets (0666
// less the umask).
//
// Where the system refuses that rename (the file is a mount point of its
// own, is someone else's in a sticky directory, ...) or the directory takes
// no new file, the existing file is written in place: over its old bytes,
// then cut to length and synced; any failure part-way writes the old bytes
// back. Only a crash in the middle of that can leave a mix.
//
// A path that leads to anything but a regular file (a device, a FIFO, a
// directory) is never replaced, written or waited on, and neither is a
// file the process may not write. True when content is now the file's.
bool Replace(const std::string& path, const std::string& content);

// True when name is one that Replace gives the new file beside a file
// named fileName: fileName, a dot, then ten letters or digits.
bool IsLeftoverName(const std::string& fileName, const std::string& name);

// Removes the files left beside target by saves that never finished (the
// process died between creating one and renaming it). Only a regular file
// under exactly such a name, untouched for kLeftoverAgeSeconds and not
// locked is removed: whoever is still writing one holds its lock, so
// another instance's save in progress is never taken away.
void RemoveLeftoversBeside(const std::string& target);
} // namespace FileReplace

#endif
