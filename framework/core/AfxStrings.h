// SPDX-License-Identifier: Apache-2.0
// Loading texts from the program's string table.
#ifndef KELM_FRAMEWORK_AFXSTRINGS_H
#define KELM_FRAMEWORK_AFXSTRINGS_H

#include "framework/core/AfxTypes.h"

#include <string>

// Gives the narrow (Windows-1252) text of string id. Returns false, with text
// emptied, when the table has no string of that id, so that a caller can tell
// a missing string from a present empty one.
bool AfxLoadString(UINT id, std::string& text);

// The text of string id, empty when there is none: for texts the program
// shows whatever they hold.
std::string AfxLoadString(UINT id);

#endif
