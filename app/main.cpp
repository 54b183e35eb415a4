// SPDX-License-Identifier: Apache-2.0
// The program's one application object; the framework's entry point starts
// the window system and runs its InitInstance.
#include "app/CTovApps.h"

CTovApps theApp;
