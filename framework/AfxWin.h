// Everything the program's dialog classes use of the dialog layer, in one
// include. None of it exposes the toolkit underneath.
#ifndef KELM_FRAMEWORK_AFXWIN_H
#define KELM_FRAMEWORK_AFXWIN_H

#include "framework/AfxMessageBox.h"
#include "framework/AfxStrings.h"
#include "framework/AfxWinTypes.h"
#include "framework/CButton.h"
#include "framework/CComboBox.h"
#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "framework/CListBox.h"
#include "framework/CMenu.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "framework/CSpinButtonCtrl.h"
#include "framework/CStatic.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"

#endif
