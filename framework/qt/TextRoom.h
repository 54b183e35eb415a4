// SPDX-License-Identifier: Apache-2.0
// How much room a control's text needs in the font the dialog really draws
// with: what a language's longer words ask of a template, and what the tests
// hold every text of every dialog against.
#ifndef KELM_FRAMEWORK_UI_TEXTROOM_H
#define KELM_FRAMEWORK_UI_TEXTROOM_H

#include "framework/qt/WindowRegistry.h"

#include <QString>

namespace TextRoom
{
// Pixels by which the control's text (or the given text, in its place) is
// wider or taller than the room the control gives it: positive when it does
// not fit. A combo box is measured by its widest entry. INT_MIN for a control
// that shows no text.
int Overflow(const WindowRecord* control, const QString* text = nullptr);
// The same, across only: what widening the control would mend.
int WidthOverflow(const WindowRecord* control);
} // namespace TextRoom

#endif
