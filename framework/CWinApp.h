// The application object. The program defines exactly one global object of
// a class derived from CWinApp; the framework's main() (kelm_framework_main)
// starts the window system and calls its InitInstance. When InitInstance
// returns FALSE the program ends with ExitInstance's code; otherwise Run()
// runs the event loop until the application quits.
#ifndef KELM_FRAMEWORK_CWINAPP_H
#define KELM_FRAMEWORK_CWINAPP_H

#include "framework/CCmdTarget.h"

#include <string>

class CWnd;

// The application title when the program gives none.
#define AFX_DEFAULT_APP_NAME "Kelm Utilities"

class CWinApp : public CCmdTarget
{
public:
    // appName null: AFX_DEFAULT_APP_NAME. It captions application message boxes.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();

    // The icon resource id (res/Icons), loaded once and shared; null when
    // there is none.
    HICON LoadIcon(UINT id) const;

    // The framework's help command (ID_HELP); there is no help file, so it
    // does nothing.
    afx_msg void OnHelp();

    const char* m_pszAppName; // narrow
    CWnd* m_pMainWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    std::string m_appName;
    CWinApp* m_previous; // the application object this one stands in front of
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
// The application title (AFX_DEFAULT_APP_NAME without an application object).
const char* AfxGetAppName();
CWnd* AfxGetMainWnd();

#endif
