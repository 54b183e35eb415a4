// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/StaticControl.h"

#include "framework/dialogs/WinStyles.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>

StaticControl::StaticControl(Mode mode, unsigned style, QWidget* parent)
    : QWidget(parent), m_mode(mode), m_style(style)
{
    // Statics do not take the mouse on the platform: clicks and the
    // right-click of the system menu reach the dialog beneath them.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void StaticControl::setText(const QString& text)
{
    m_text = text;
    update();
}

void StaticControl::setIcon(const QIcon& icon)
{
    m_icon = icon;
    update();
}

int StaticControl::textFlags() const
{
    int flags = Qt::AlignTop;
    switch (m_style & SS_TYPEMASK)
    {
    case SS_CENTER:
        flags |= Qt::AlignHCenter | Qt::TextWordWrap;
        break;
    case SS_RIGHT:
        flags |= Qt::AlignRight | Qt::TextWordWrap;
        break;
    case SS_LEFTNOWORDWRAP:
        flags |= Qt::AlignLeft;
        break;
    default:
        flags |= Qt::AlignLeft | Qt::TextWordWrap;
        break;
    }
    if ((m_style & SS_NOPREFIX) == 0)
    {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

void StaticControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    switch (m_mode)
    {
    case Mode::Icon:
        m_icon.paint(&painter, QRect(0, 0, 32, 32));
        break;
    case Mode::GroupBox:
    {
        QStyleOptionGroupBox option;
        option.initFrom(this);
        option.text = m_text;
        option.lineWidth = 1;
        option.midLineWidth = 0;
        option.textAlignment = Qt::AlignLeft;
        option.subControls = QStyle::SC_GroupBoxFrame;
        if (!m_text.isEmpty())
        {
            option.subControls |= QStyle::SC_GroupBoxLabel;
        }
        option.textColor = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                           QPalette::WindowText);
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
        break;
    }
    case Mode::Text:
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(rect(), textFlags(), m_text);
        break;
    }
}
