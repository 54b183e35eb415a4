// SPDX-License-Identifier: Apache-2.0
// For tests only: replaces the text of a string id, or removes the string,
// as a different string table would. Window thread only.
#ifndef KELM_FRAMEWORK_AFXSTRINGOVERRIDE_H
#define KELM_FRAMEWORK_AFXSTRINGOVERRIDE_H

#include "framework/core/AfxTypes.h"

#include <string>

// utf8 null: the id has no string. Each call replaces the previous one for id.
void AfxOverrideString(UINT id, const char* utf8);
void AfxClearStringOverrides();

#endif
