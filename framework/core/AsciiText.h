// SPDX-License-Identifier: Apache-2.0
// Comparing names that are plain ASCII by nature (the tracker's application
// names) without regard to letter case, the same way in every locale: only
// the letters A to Z fold, to a to z. The C library's strcasecmp follows
// the process's locale instead, and under a Turkish one "I" is not the
// capital of "i".
#ifndef KELM_FRAMEWORK_ASCIITEXT_H
#define KELM_FRAMEWORK_ASCIITEXT_H

// Compares a and b byte by byte after folding A to Z to lower case, as
// _stricmp does in the "C" locale: less than, equal to or greater than 0 as
// a sorts before, with or after b. Bytes outside ASCII compare as they are.
int AsciiCompareNoCase(const char* a, const char* b);

#endif
