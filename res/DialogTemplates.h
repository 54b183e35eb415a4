// SPDX-License-Identifier: Apache-2.0
// The program's dialog templates as data, in the shape of a resource script
// (the layer's ResDialogTemplate): each control with its window class, text,
// rectangle in dialog units and style bits. The dialog layer builds its
// windows from these once the program has handed them over, and finds them
// by id (AfxFindDialogTemplate).
#ifndef KELM_RES_DIALOGTEMPLATES_H
#define KELM_RES_DIALOGTEMPLATES_H

#include "framework/core/AfxResources.h"

#include <cstddef>

extern const ResDialogTemplate kResDialogTemplates[];
extern const std::size_t kResDialogTemplateCount;

#endif
