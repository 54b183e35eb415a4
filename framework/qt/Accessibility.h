// SPDX-License-Identifier: Apache-2.0
// What the platform's accessibility gave every dialog for free, given through
// Qt's accessibility interfaces (which Qt hands on to the desktop's service,
// AT-SPI on Linux): each window and control has the role, name, value, states
// and description a screen reader expects.
//
// A control is named by what a sighted operator reads beside it: the program's
// own name for it when the program gives one, else its own caption, else the
// static text on its left on the same line, else the static text just above
// it, else the caption of the group box around it. Its tooltip, asked as the
// tooltip itself is asked (TTN_NEEDTEXTA), is its description.
#ifndef KELM_FRAMEWORK_UI_ACCESSIBILITY_H
#define KELM_FRAMEWORK_UI_ACCESSIBILITY_H

#include "framework/qt/WindowRegistry.h"

#include <QString>

class QComboBox;
class QLineEdit;

class Accessibility
{
public:
    // Puts the layer's interfaces before Qt's own; once per process, after
    // the application object exists.
    static void Install();

    static QString NameOf(const WindowRecord* window);
    static QString DescriptionOf(const WindowRecord* window);

    // List boxes keep Qt's own interface, which reads the name and
    // description the widget carries: these give them to the widgets. Once
    // OnInitDialog has run, both (so the dialog's tooltip handler is asked
    // then for each list box); after a static text or a group box caption
    // changed, the names (and the controls named by it announce the change).
    static void DialogInitialised(DialogState& dialog);
    static void TextChanged(WindowRecord* window);
    // A screen reader learns a drop-down list's selection from the row
    // marked selected in the list that drops down, which the toolkit marks
    // only while the list is open: this keeps it marked.
    static void ShowSelectionInList(QComboBox* combo);
    // An up-down control's position changed.
    static void ValueChanged(WindowRecord* spin);
    // The edit tells its changes once each is settled (the edit's rules
    // have taken or refused it), never a password's characters.
    static void WatchEdit(QLineEdit* edit);

    // While one exists, the program's change to the edit's text is not
    // told: it shows an up-down control's new position, which the position
    // change says.
    class QuietText
    {
    public:
        explicit QuietText(const WindowRecord* edit);
        ~QuietText();
        QuietText(const QuietText&) = delete;
        QuietText& operator=(const QuietText&) = delete;

    private:
        const QLineEdit* m_previous;
    };
};

#endif
