// SPDX-License-Identifier: Apache-2.0
// The program's entry point, as the framework provides it: the window system
// starts, then the one application object takes over.
#include "framework/dialogs/CWinApp.h"
#include "framework/qt/Language.h"
#include "framework/qt/QtBridge.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QtBridge::EnsureApplication();
    Language::ChooseFromDesktop();
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
    {
        std::fputs("No application object: define one global object derived from CWinApp.\n",
                   stderr);
        return 1;
    }
    if (!app->InitInstance())
    {
        return app->ExitInstance();
    }
    return app->Run();
}
