// SPDX-License-Identifier: Apache-2.0
// Everything the program's dialog classes use of the dialog layer, in one
// include. None of it exposes the toolkit underneath.
#ifndef KELM_FRAMEWORK_AFXWIN_H
#define KELM_FRAMEWORK_AFXWIN_H

#include "framework/core/AfxStrings.h"
#include "framework/dialogs/AfxMessageBox.h"
#include "framework/dialogs/AfxWinTypes.h"
#include "framework/dialogs/CButton.h"
#include "framework/dialogs/CComboBox.h"
#include "framework/dialogs/CDataExchange.h"
#include "framework/dialogs/CDialog.h"
#include "framework/dialogs/CEdit.h"
#include "framework/dialogs/CListBox.h"
#include "framework/dialogs/CMenu.h"
#include "framework/dialogs/CPaintDC.h"
#include "framework/dialogs/CRect.h"
#include "framework/dialogs/CSpinButtonCtrl.h"
#include "framework/dialogs/CStatic.h"
#include "framework/dialogs/CWaitCursor.h"
#include "framework/dialogs/CWinApp.h"
#include "framework/dialogs/CWnd.h"

#endif
