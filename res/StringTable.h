// SPDX-License-Identifier: Apache-2.0
// The program's string table as data: one entry per string id, the text in
// UTF-8. The layer converts a text to the narrow code page when it is loaded
// (AfxLoadString).
#ifndef KELM_RES_STRINGTABLE_H
#define KELM_RES_STRINGTABLE_H

#include "framework/core/AfxResources.h"

#include <cstddef>

// Entries in ascending id order, each id once.
extern const ResStringEntry kResStringTable[];
extern const std::size_t kResStringCount;

#endif
