// SPDX-License-Identifier: Apache-2.0
// The application object. The program defines exactly one global object of
// a class derived from CWinApp; the framework's main() (kelm_framework_main)
// starts the window system and calls its InitInstance. When InitInstance
// returns FALSE the program ends with ExitInstance's code; otherwise Run()
// runs the event loop until the application quits.
#ifndef KELM_FRAMEWORK_CWINAPP_H
#define KELM_FRAMEWORK_CWINAPP_H

#include "framework/dialogs/CCmdTarget.h"

#include <string>

class CWnd;

class CWinApp : public CCmdTarget
{
public:
    // appName captions application message boxes; null: the title the
    // program handed over with its resources (AfxSetResources).
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();

    // The icon resource id (AfxSetResources), loaded once and shared; null
    // when there is none.
    HICON LoadIcon(UINT id) const;

    // The framework's help command (ID_HELP); there is no help file, so it
    // does nothing.
    afx_msg void OnHelp();

    const char* m_pszAppName; // narrow; null when none was given
    CWnd* m_pMainWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    std::string m_appName;
    CWinApp* m_previous; // the application object this one stands in front of
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
// The application title: the application object's own, else the one handed
// over with the resources.
const char* AfxGetAppName();
CWnd* AfxGetMainWnd();

#endif
