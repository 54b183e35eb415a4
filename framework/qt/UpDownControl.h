// SPDX-License-Identifier: Apache-2.0
// The up-down control's two arrows. A press on the upper half steps up, on
// the lower half down; holding the button repeats, as on the platform.
#ifndef KELM_FRAMEWORK_UI_UPDOWNCONTROL_H
#define KELM_FRAMEWORK_UI_UPDOWNCONTROL_H

#include <QTimer>
#include <QWidget>

#include <functional>

class UpDownControl : public QWidget
{
public:
    explicit UpDownControl(QWidget* parent);

    // Called with +1 or -1 for each step.
    std::function<void(int)> onStep;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void repeat();

    int m_pressed = 0; // +1 upper arrow held, -1 lower, 0 none
    QTimer m_repeat;
};

#endif
