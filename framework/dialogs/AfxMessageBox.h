// SPDX-License-Identifier: Apache-2.0
// The application message box: captioned with the application title; when
// type has no icon flag it shows the exclamation icon. Modal; narrow text,
// "\n" breaks lines. Returns IDOK, IDCANCEL, IDYES, IDNO, ...
#ifndef KELM_FRAMEWORK_AFXMESSAGEBOX_H
#define KELM_FRAMEWORK_AFXMESSAGEBOX_H

#include "framework/dialogs/AfxWinTypes.h"

#include <string>

int AfxMessageBox(const std::string& text, UINT type = MB_OK, UINT helpId = 0);
// The text of string promptId from the string table.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));

#endif
