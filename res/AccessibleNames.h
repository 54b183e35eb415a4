// SPDX-License-Identifier: Apache-2.0
// The controls the program names for screen readers itself: the layer names
// every other control by the text an operator reads beside it.
#ifndef KELM_RES_ACCESSIBLENAMES_H
#define KELM_RES_ACCESSIBLENAMES_H

#include "framework/core/AfxResources.h"

#include <cstddef>

extern const ResAccessibleName kResAccessibleNames[];
extern const std::size_t kResAccessibleNameCount;

#endif
