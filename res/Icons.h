// SPDX-License-Identifier: Apache-2.0
// The program's icons as data (the layer's ResIcon): each icon resource holds
// images of several sizes.
#ifndef KELM_RES_ICONS_H
#define KELM_RES_ICONS_H

#include "framework/core/AfxResources.h"

#include <cstddef>

extern const ResIcon kResIcons[];
extern const std::size_t kResIconCount;

// The icon resource id, or null when there is none.
const ResIcon* ResFindIcon(unsigned id);

#endif
