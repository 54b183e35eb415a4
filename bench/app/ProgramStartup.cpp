// SPDX-License-Identifier: Apache-2.0
// The program as the operator starts it: the one application object and the
// framework's entry point, exactly as app/main.cpp has them. The only
// difference is a modal driver that closes the main window as soon as it has
// been shown, so the whole process (start, main window built, initialised and
// shown, closed, exit) can be timed and its peak memory read from outside.
#include "app/CTovApps.h"
#include "framework/testing/TestSeams.h"
#include "res/resource.h"

CTovApps theApp;

namespace
{
// Queued before main runs; the driver runs once the main window is shown.
const bool closesOnceShown =
    (AfxQueueModalDriver(IDD_TOVAPPS_DIALOG, [](CDialog& d) { d.EndDialog(IDCANCEL); }), true);
} // namespace
