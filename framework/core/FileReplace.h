// SPDX-License-Identifier: Apache-2.0
// Replacing the whole content of a small file so that nothing is lost at any
// failure: whatever call fails, wherever the process dies and whenever the
// power goes, the file holds either its old content or the new one.
#ifndef KELM_FRAMEWORK_FILEREPLACE_H
#define KELM_FRAMEWORK_FILEREPLACE_H

#include <string>

namespace FileReplace
{
// What every name of a file being written beside fileName starts with: a
// name no operator's own file carries by chance, though one may carry it all
// the same, so it proves nothing alone (see kMarkAttribute).
std::string MarkedPrefix(const std::string& fileName);

// The extended attribute a save sets on the file it creates before the file
// has any content, and where the file system makes unnamed files before it
// has a name; its value is the name of the file the save replaces. A name
// proves nothing, since anyone may give a file one: this attribute is what
// proves a file under a marked name to be one a save made.
inline constexpr const char* kMarkAttribute = "user.kelm-utilities.unfinished-save";

// Makes content the whole of the file that path names (through symbolic
// links; the links stay). The content goes to a new file beside it, unnamed
// where the file system allows (O_TMPFILE), otherwise under a marked name;
// it starts readable by its owner only, takes the old file's permissions and,
// as far as the process may, its owner before it gets any content, is synced,
// given a marked name if it has none, renamed over the old file, and the
// directory is synced. A crash leaves nothing beside the file, or one file
// under a marked name and bearing the mark, which the next save removes.
// Where there are no unnamed files the file is named by its creation and
// marked by the next call: a crash between the two leaves an empty file
// without the mark, which stays. Where the file system keeps no extended
// attributes nothing is marked, the save goes on, and a leftover stays.
//
// Where the system refuses that rename (the file is a mount point of its
// own, is someone else's in a sticky directory) or the directory takes no
// new file, the existing file is written in place under an exclusive lock,
// synced, cut to length and synced again; any failure part-way writes the old
// bytes back. Only a crash, or a medium that keeps failing, in the middle of
// that can leave the new bytes written so far over the old ones.
//
// A path that leads to anything but a regular file (a device, a FIFO, a
// directory) is never opened, replaced or written, and neither is a file the
// process may not write. True when content is now the file's.
bool Replace(const std::string& path, const std::string& content);

// Removes the files that saves which never finished left beside target: only
// a regular file under a marked name, bearing the mark, of this user, with no
// other link, and not locked by a save still writing it.
void RemoveLeftoversBeside(const std::string& target);
} // namespace FileReplace

#endif
