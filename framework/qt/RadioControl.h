// SPDX-License-Identifier: Apache-2.0
// An automatic radio button. The toolkit's exclusive groups would also
// uncheck siblings when the program checks one; on the platform only the
// operator's click (and CheckRadioButton) does that, so the click goes to
// the dialog, which checks the button and clears its group.
#ifndef KELM_FRAMEWORK_UI_RADIOCONTROL_H
#define KELM_FRAMEWORK_UI_RADIOCONTROL_H

#include <QRadioButton>

#include <functional>

class RadioControl : public QRadioButton
{
public:
    explicit RadioControl(QWidget* parent);

    std::function<void()> onUserCheck;

protected:
    void nextCheckState() override;
};

#endif
