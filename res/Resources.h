// SPDX-License-Identifier: Apache-2.0
// Hands the program's resources (string table, dialog templates, icons,
// application title) to the dialog layer. The application object does it
// first thing; tools and tests that use the program's windows do the same.
#ifndef KELM_RES_RESOURCES_H
#define KELM_RES_RESOURCES_H

void ResRegisterProgramResources();

#endif
