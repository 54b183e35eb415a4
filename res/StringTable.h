// The program's string table as data: one entry per string id, the text in
// UTF-8. The framework converts a text to the narrow code page when it is
// loaded (AfxLoadString).
#ifndef KELM_RES_STRINGTABLE_H
#define KELM_RES_STRINGTABLE_H

#include <cstddef>

struct ResStringEntry
{
    unsigned id;
    const char* utf8;
};

// Entries in ascending id order, each id once.
extern const ResStringEntry kResStringTable[];
extern const std::size_t kResStringCount;

#endif
