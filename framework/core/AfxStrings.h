// SPDX-License-Identifier: Apache-2.0
// Loading texts from the program's string table.
#ifndef KELM_FRAMEWORK_AFXSTRINGS_H
#define KELM_FRAMEWORK_AFXSTRINGS_H

#include "framework/core/AfxTypes.h"

#include <cstddef>
#include <string>

// The layer's own texts, which a program's translations may translate as
// they translate its own table: the window menu's Close, the prompts of data
// exchange.
#define AFX_IDS_SCCLOSE 0xEF06
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_UINT 0xF111
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_UINT_RANGE 0xF113
#define AFX_IDP_PARSE_STRING_SIZE 0xF114

struct ResStringEntry;

// The layer's own texts, in UTF-8, ids ascending.
const ResStringEntry* AfxLayerStrings(std::size_t* count);
// The layer's text of id in UTF-8, null when it has none.
const char* AfxFindLayerStringUtf8(unsigned id);

// Gives the text of string id: the program's table, then the layer's, in the
// language in use and the user interface's narrow code page (AfxLanguage.h;
// Windows-1252 in English). Returns false, with text
// emptied, when the table has no string of that id, so that a caller can tell
// a missing string from a present empty one.
bool AfxLoadString(UINT id, std::string& text);

// The text of string id, empty when there is none: for texts the program
// shows whatever they hold.
std::string AfxLoadString(UINT id);

#endif
