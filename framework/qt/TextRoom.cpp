// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/TextRoom.h"

#include "framework/qt/StaticControl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <climits>

namespace
{
int TextWidth(const QWidget* widget, const QString& text)
{
    return widget->fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

int ButtonOverflow(const QAbstractButton* button, const QString& text, QStyle::SubElement contents)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    return TextWidth(button, text) - room.width();
}

// Across and down.
QSize StaticOverflow(const StaticControl* label, const QString& text)
{
    const QRect room = label->rect();
    // As tall as needed, so that wrapped lines show in the height asked for.
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), INT_MAX / 2),
                                                           label->textFlags(), text);
    return {needed.width() - room.width(), needed.height() - room.height()};
}

int GroupBoxOverflow(const StaticControl* box, const QString& text)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = text;
    option.textAlignment = Qt::AlignLeft;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    return label.right() + 1 - box->width();
}

int ComboOverflow(const QComboBox* combo, const QString* text)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, combo);
    int widest = 0;
    if (text != nullptr)
    {
        widest = combo->fontMetrics().horizontalAdvance(*text);
    }
    else
    {
        for (int i = 0; i < combo->count(); ++i)
        {
            widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
        }
    }
    return widest - room.width();
}

int Measure(const WindowRecord* control, const QString* text, bool acrossOnly)
{
    if (control == nullptr || !control->widget)
    {
        return INT_MIN;
    }
    const QWidget* widget = control->widget;
    switch (control->kind)
    {
    case WindowKind::PushButton:
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
    {
        const auto* button = static_cast<const QAbstractButton*>(widget);
        const QStyle::SubElement contents =
            control->kind == WindowKind::PushButton    ? QStyle::SE_PushButtonContents
            : control->kind == WindowKind::RadioButton ? QStyle::SE_RadioButtonContents
                                                       : QStyle::SE_CheckBoxContents;
        return ButtonOverflow(button, text != nullptr ? *text : button->text(), contents);
    }
    case WindowKind::Static:
    {
        const auto* label = static_cast<const StaticControl*>(widget);
        const QString shown = text != nullptr ? *text : label->text();
        if (acrossOnly)
        {
            // A text that wraps fits across by wrapping: what it needs is
            // the room for its lines as they were written.
            const int flags = label->textFlags() & ~Qt::TextWordWrap;
            return label->fontMetrics().boundingRect(QRect(), flags, shown).width() -
                   label->width();
        }
        const QSize over = StaticOverflow(label, shown);
        return std::max(over.width(), over.height());
    }
    case WindowKind::GroupBox:
    {
        const auto* box = static_cast<const StaticControl*>(widget);
        return GroupBoxOverflow(box, text != nullptr ? *text : box->text());
    }
    case WindowKind::ComboBox:
        return ComboOverflow(static_cast<const QComboBox*>(widget), text);
    default:
        return INT_MIN;
    }
}
} // namespace

namespace TextRoom
{
int Overflow(const WindowRecord* control, const QString* text)
{
    return Measure(control, text, false);
}

int WidthOverflow(const WindowRecord* control)
{
    return Measure(control, nullptr, true);
}
} // namespace TextRoom
