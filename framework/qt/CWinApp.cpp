// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CWinApp.h"

#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxResources.h"
#include "framework/qt/QtBridge.h"

#include <QCoreApplication>

#include <map>
#include <string>

namespace
{
// Constant-initialised, so the program's global application object may
// register itself during static initialisation in any order.
CWinApp* g_app = nullptr;
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName) : m_appName(appName != nullptr ? appName : "")
{
    m_pszAppName = appName != nullptr ? m_appName.c_str() : nullptr;
    m_previous = g_app;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
    {
        g_app = m_previous;
    }
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    QtBridge::EnsureApplication();
    QCoreApplication::exec();
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return QtBridge::LoadIconResource(id);
}

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp()
{
    return g_app;
}

const char* AfxGetAppName()
{
    if (g_app != nullptr && g_app->m_pszAppName != nullptr)
    {
        return g_app->m_pszAppName;
    }
    // The title in the language in use, made once per language and kept for
    // the run: callers hold on to it.
    static std::map<const char*, std::string> titles;
    if (const char* title = AfxLanguage::Find(AfxLanguage::kTitleKey))
    {
        auto made = titles.find(title);
        if (made == titles.end())
        {
            made = titles.emplace(title, AfxLanguage::Utf8ToUi(title)).first;
        }
        return made->second.c_str();
    }
    return AfxResourceAppName();
}

CWnd* AfxGetMainWnd()
{
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}
