// SPDX-License-Identifier: Apache-2.0
// The program's translations, compiled from po/ by kelm_po when it is built:
// one per language, each text under its key (framework/core/AfxLanguage.h).
#ifndef KELM_RES_TRANSLATIONS_H
#define KELM_RES_TRANSLATIONS_H

#include "framework/core/AfxResources.h"

#include <cstddef>

extern const ResLanguage* const kResLanguages;
extern const std::size_t kResLanguageCount;

#endif
