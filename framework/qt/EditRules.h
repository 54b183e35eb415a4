// SPDX-License-Identifier: Apache-2.0
// The rules an edit control holds whichever way the operator's text enters
// it: typed, pasted (keys, context menu, middle button), dropped or
// committed by an input method. The toolkit validates every such change,
// and this validator applies the platform's two rules to what the change
// brings in: ES_NUMBER takes digits only, refusing the whole change
// otherwise, and the limit of SetLimitText keeps what fits of it, refusing
// it when nothing does. Removing text is never refused, and text the
// program sets is not held to either rule.
#ifndef KELM_FRAMEWORK_UI_EDITRULES_H
#define KELM_FRAMEWORK_UI_EDITRULES_H

#include "framework/dialogs/AfxWinTypes.h"

#include <QSet>
#include <QString>
#include <QValidator>

class QLineEdit;

class EditRules : public QValidator
{
public:
    // Validates edit, the control of hwnd, from now on (owned by edit).
    EditRules(QLineEdit* edit, HWND hwnd);

    State validate(QString& input, int& pos) const override;

    // Sets the edit's text as the program: no rule applies.
    static void SetByProgram(QLineEdit* edit, const QString& text);

private:
    void Remember(const QString& text);

    QLineEdit* m_edit;
    HWND m_hwnd;
    // The text before the change being validated.
    QString m_current;
    // The texts held since the program last set one: undo and redo go back
    // to them, program's text included, and are not refused for it. (A
    // password's undo only empties it, so none of its texts are kept.)
    QSet<QString> m_held;
    // A change was cut to fit: the toolkit forgets its undo steps then.
    mutable bool m_cut = false;
};

#endif
