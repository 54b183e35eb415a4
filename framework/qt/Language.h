// SPDX-License-Identifier: Apache-2.0
// The language in the toolkit: the desktop's choice read as the toolkit reads
// it, the toolkit's own translations (its edit menu, its message boxes'
// buttons) from the system's package, and the direction of the layout.
#ifndef KELM_FRAMEWORK_UI_LANGUAGE_H
#define KELM_FRAMEWORK_UI_LANGUAGE_H

#include <string>

namespace Language
{
// At start-up: the first language of the desktop's list (LANGUAGE, then
// LC_ALL, LC_MESSAGES, LANG) that the program has, English when none.
void ChooseFromDesktop();
// Makes the toolkit follow the language in use (AfxLanguage.h): its own
// translations and the direction of every window's layout.
void ApplyToToolkit();
// True when the language in use is written from right to left.
bool RightToLeft();
} // namespace Language

#endif
