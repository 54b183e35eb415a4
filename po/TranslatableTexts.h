// SPDX-License-Identifier: Apache-2.0
// Every text of the program that a language translates, with its key
// (framework/core/AfxLanguage.h): the application title, the string table
// and the layer's own table, the dialog templates' titles and texts; not the
// texts that stay as they are (res/Untranslated.h).
#ifndef KELM_PO_TRANSLATABLETEXTS_H
#define KELM_PO_TRANSLATABLETEXTS_H

#include <string>
#include <vector>

struct TranslatableText
{
    std::string comment; // where it stands, for translators
    std::string key;
    std::string english; // UTF-8
};

std::vector<TranslatableText> TranslatableTexts();

#endif
