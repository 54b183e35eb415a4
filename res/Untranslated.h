// SPDX-License-Identifier: Apache-2.0
// Texts of the string table and the dialog templates that stay as they are
// in every language; the translations' template (po/) leaves them out.
#ifndef KELM_RES_UNTRANSLATED_H
#define KELM_RES_UNTRANSLATED_H

#include <cstddef>

struct ResUntranslatedItem
{
    unsigned dialogId;
    int controlId;
};

extern const unsigned kResUntranslatedStrings[];
extern const std::size_t kResUntranslatedStringCount;
extern const ResUntranslatedItem kResUntranslatedItems[];
extern const std::size_t kResUntranslatedItemCount;

#endif
