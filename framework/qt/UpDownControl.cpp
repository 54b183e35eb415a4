// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/UpDownControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace
{
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 80;
} // namespace

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    m_repeat.setSingleShot(false);
    QObject::connect(&m_repeat, &QTimer::timeout, this, [this] { repeat(); });
}

void UpDownControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i)
    {
        QStyleOptionButton bevel;
        bevel.initFrom(this);
        bevel.rect = halves[i];
        const bool sunken = (i == 0 && m_pressed > 0) || (i == 1 && m_pressed < 0);
        bevel.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &bevel, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(2, 1, -2, -1);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}

void UpDownControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
    {
        return;
    }
    m_pressed = event->position().y() < height() / 2 ? 1 : -1;
    update();
    if (onStep)
    {
        onStep(m_pressed);
    }
    m_repeat.start(kFirstRepeatMs);
}

void UpDownControl::mouseReleaseEvent(QMouseEvent*)
{
    m_pressed = 0;
    m_repeat.stop();
    update();
}

void UpDownControl::repeat()
{
    if (m_pressed == 0)
    {
        m_repeat.stop();
        return;
    }
    m_repeat.setInterval(kRepeatMs);
    if (onStep)
    {
        onStep(m_pressed);
    }
}
