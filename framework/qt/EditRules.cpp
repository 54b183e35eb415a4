// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/EditRules.h"

#include "framework/dialogs/WinStyles.h"
#include "framework/qt/WindowRegistry.h"

#include <QLineEdit>

EditRules::EditRules(QLineEdit* edit, HWND hwnd)
    : QValidator(edit), m_edit(edit), m_hwnd(hwnd), m_current(edit->text()), m_held{m_current}
{
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& text) { Remember(text); });
}

void EditRules::Remember(const QString& text)
{
    // Set by the program (the rules are detached meanwhile) or cut to fit:
    // what came before is out of reach of undo.
    if (m_edit->validator() != this || m_cut)
    {
        m_held.clear();
        m_cut = false;
    }
    m_current = text;
    // A password's undo only empties it: no earlier text of it to keep.
    if (m_held.empty() || m_edit->echoMode() == QLineEdit::Normal)
    {
        m_held.insert(text);
    }
}

QValidator::State EditRules::validate(QString& input, int& pos) const
{
    const WindowRecord* record = WindowRegistry::Find(m_hwnd);
    if (record == nullptr || m_held.contains(input))
    {
        return Acceptable;
    }

    // What the change brought in: the new text between the beginning and
    // the end it shares with the text before.
    const qsizetype before = m_current.size();
    const qsizetype after = input.size();
    qsizetype head = 0;
    while (head < before && head < after && m_current[head] == input[head])
    {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < before - head && tail < after - head &&
           m_current[before - 1 - tail] == input[after - 1 - tail])
    {
        ++tail;
    }
    const qsizetype added = after - head - tail;
    if (added == 0)
    {
        return Acceptable;
    }

    if ((record->style & ES_NUMBER) != 0)
    {
        for (qsizetype i = head; i < head + added; ++i)
        {
            if (input[i] < QLatin1Char('0') || input[i] > QLatin1Char('9'))
            {
                return Invalid;
            }
        }
    }

    const auto limit = static_cast<qsizetype>(record->limitText);
    if (limit > 0 && after > limit)
    {
        const qsizetype room = limit - (after - added);
        if (room <= 0)
        {
            return Invalid;
        }
        input.remove(head + room, added - room);
        pos = static_cast<int>(head + room);
        m_cut = true;
    }
    return Acceptable;
}

void EditRules::SetByProgram(QLineEdit* edit, const QString& text)
{
    const QValidator* rules = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(text);
    edit->setValidator(rules);
}
