// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/RadioControl.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>

namespace
{
// The platform leaves 4 pixels between a radio button's circle and its
// text; the toolkit's style leaves more, which the templates' narrow radio
// buttons have no room for.
class PlatformRadioStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_RadioButtonLabelSpacing)
        {
            return 4;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle* RadioStyle()
{
    // Owned by the application object, so it goes with it.
    static QPointer<QStyle> style;
    if (!style)
    {
        style = new PlatformRadioStyle();
        style->setParent(qApp);
    }
    return style;
}
} // namespace

RadioControl::RadioControl(QWidget* parent) : QRadioButton(parent)
{
    setAutoExclusive(false);
    setStyle(RadioStyle());
}

void RadioControl::nextCheckState()
{
    if (onUserCheck)
    {
        onUserCheck();
    }
    else
    {
        setChecked(true);
    }
}
