// SPDX-License-Identifier: Apache-2.0
// What the accessibility files of the layer share: how a control's record
// is found from its widget, and which up-down control an edit shows.
#ifndef KELM_FRAMEWORK_UI_ACCESSIBILITYPARTS_H
#define KELM_FRAMEWORK_UI_ACCESSIBILITYPARTS_H

#include "framework/qt/WindowRegistry.h"

#include <functional>

class QAccessibleEvent;
class QWidget;

namespace AccessibilityParts
{
// Buttons, static texts and group boxes say their own caption.
bool HasOwnCaption(WindowKind kind);
// The record of exactly this widget (not of a widget it sits in).
WindowRecord* RecordOf(const QWidget* widget);
// The up-down control whose position the edit shows, if any.
WindowRecord* SpinShownIn(const WindowRecord* edit);
// True for the arrows of an edit that shows their position: the edit is
// the spin button, and the arrows are part of it, with no object of their
// own (as in the toolkit's own spin box), so that a screen reader meets
// each number once.
bool PartOfSpinButton(const WindowRecord* spin);
// The smallest group box around the control, if any.
const WindowRecord* GroupAround(const WindowRecord* window);
// Puts the layer's watch over every event before the desktop's service
// sees it (AccessibilityEvents.cpp).
void InstallEventWatch();
// Sees every event handed on to the service (for tests); returns the one
// it replaces.
using EventTap = std::function<void(QAccessibleEvent*)>;
EventTap SetEventTap(EventTap tap);
} // namespace AccessibilityParts

#endif
