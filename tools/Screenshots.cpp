// Takes the README's pictures of the main window and the Select Units
// dialog: kelm-screenshots OUTPUT_DIR (run on any platform, offscreen too).
#include "app/CTovAppsDlg.h"
#include "framework/TestSeams.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : ".";
    AfxSetTestMode(true);
    AfxEnsureWindowSystem();
    CWinApp app;

    bool ok = true;
    AfxQueueModalDriver(IDD_SELECT_UNITS, [&](CDialog& d) {
        ok = AfxGrabWindow(d, dir + "/select-units.png") && ok;
        AfxTestClick(d, IDCANCEL);
    });
    AfxQueueModalDriver(IDD_TOVAPPS_DIALOG, [&](CDialog& d) {
        ok = AfxGrabWindow(d, dir + "/main-window.png") && ok;
        AfxTestClick(d, IDC_SELECT_UNITS);
        AfxTestClick(d, IDCANCEL);
    });
    CTovAppsDlg window;
    window.DoModal();
    if (!ok)
    {
        std::fprintf(stderr, "could not write the pictures to %s\n", dir.c_str());
    }
    return ok ? 0 : 1;
}
