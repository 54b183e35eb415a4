// SPDX-License-Identifier: Apache-2.0
// Takes the README's pictures: kelm-screenshots OUTPUT_DIR (run on any
// platform, offscreen too, from a directory without a settings file).
//   main-window.png        disconnected, as after start-up
//   select-units.png       the Select Units dialog with no settings file
//   connect.png            the Connect to Tracker dialog with no settings file
//   main-connected.png     connected to 192.0.2.10, Readiness Test running
//   other-apps.png         the Other Applications dialog of 192.0.2.10
//   main-window-LANG.png   the main window, and connect-LANG.png the Connect
//   connect-LANG.png       to Tracker dialog, in German, Japanese and Arabic
#include "app/CTovAppsDlg.h"
#include "framework/testing/TestSeams.h"
#include "res/Resources.h"
#include "tracker/sim/SimControl.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : ".";
    ResRegisterProgramResources();
    AfxSetTestMode(true);
    AfxEnsureWindowSystem();
    CWinApp app;
    // The simulated tracker answers, but only the events we ask for happen,
    // so the pictures do not depend on timing.
    TrackerSim::SetAutomaticEvents(false);
    TrackerSim::SetTraceSink([](const std::string&) {});
    AfxSetMessageBoxHandler([](const AfxMessageBoxInfo&) { return IDOK; });

    bool ok = true;
    auto grab = [&](CWnd& window, const char* name)
    { ok = AfxGrabWindow(window, dir + "/" + name) && ok; };

    AfxQueueModalDriver(IDD_SELECT_UNITS,
                        [&](CDialog& d)
                        {
                            grab(d, "select-units.png");
                            AfxTestClick(d, IDCANCEL);
                        });
    AfxQueueModalDriver(IDD_TRACKER_CONNECT,
                        [&](CDialog& d)
                        {
                            grab(d, "connect.png");
                            AfxTestClick(d, IDOK);
                        });
    AfxQueueModalDriver(IDD_OTHER_APPS,
                        [&](CDialog& d)
                        {
                            AfxTestSelect(d, IDC_APP_LIST, 0);
                            grab(d, "other-apps.png");
                            AfxTestPressKey(d, AfxKey::Escape);
                        });
    AfxQueueModalDriver(IDD_TOVAPPS_DIALOG,
                        [&](CDialog& d)
                        {
                            grab(d, "main-window.png");
                            AfxTestClick(d, IDC_SELECT_UNITS);
                            AfxTestClick(d, IDC_CONNECT);
                            AfxTestClick(d, IDC_READINESS_TEST);
                            TrackerSim::EmitApplication("192.0.2.10", "ReadinessTest", true);
                            TrackerSim::WaitForEvents();
                            AfxPumpEvents();
                            grab(d, "main-connected.png");
                            AfxTestClick(d, IDC_OTHER_APPLICATIONS);
                            AfxTestClick(d, IDCANCEL);
                        });
    CTovAppsDlg window;
    window.DoModal();

    for (const std::string language : {"de", "ja", "ar"})
    {
        ok = AfxTestUseLanguage(language) && ok;
        const std::string connect = "connect-" + language + ".png";
        const std::string main = "main-window-" + language + ".png";
        AfxQueueModalDriver(IDD_TRACKER_CONNECT,
                            [&](CDialog& d)
                            {
                                grab(d, connect.c_str());
                                AfxTestClick(d, IDCANCEL);
                            });
        AfxQueueModalDriver(IDD_TOVAPPS_DIALOG,
                            [&](CDialog& d)
                            {
                                grab(d, main.c_str());
                                AfxTestClick(d, IDC_CONNECT);
                                AfxTestClick(d, IDCANCEL);
                            });
        CTovAppsDlg translated;
        translated.DoModal();
    }
    AfxTestUseLanguage("en");
    if (!ok)
    {
        std::fprintf(stderr, "could not write the pictures to %s\n", dir.c_str());
    }
    return ok ? 0 : 1;
}
