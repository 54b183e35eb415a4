// SPDX-License-Identifier: Apache-2.0
// Builds a dialog's window and controls from its template, and takes them
// down again when the modal loop has ended.
#ifndef KELM_FRAMEWORK_UI_DIALOGBUILDER_H
#define KELM_FRAMEWORK_UI_DIALOGBUILDER_H

#include "framework/qt/WindowRegistry.h"

#include <QRect>

#include <memory>

class DialogBuilder
{
public:
    // The window is created hidden; every control exists, is registered
    // and is laid out at its template rectangle.
    static std::unique_ptr<DialogState> Build(CDialog* dialog, const ResDialogTemplate* tmpl,
                                              QWidget* owner);
    // Gives every text the room it needs in the language in use, as a
    // translated template would: a control whose text does not fit widens,
    // everything to its right moves along, what spans it widens with it, and
    // the window grows; a control centred in the window stays centred. In
    // English the templates' sizes are kept exactly. Called once the dialog
    // has set its texts, and again when one changes.
    static void Fit(DialogState& state);
    // Unbinds every control object, forgets every handle, deletes the window.
    static void Destroy(std::unique_ptr<DialogState> state);

    // Dialog units to pixels with the dialog font's base units, rounded as
    // the platform's MulDiv rounds.
    static QRect MapDialogRect(const DialogState& state, int x, int y, int cx, int cy);
    // The font the template asks for, or the platform's sans-serif font of
    // that size when it is not installed.
    static QFont TemplateFont(const char* name, int pointSize);
};

#endif
