// SPDX-License-Identifier: Apache-2.0
// A list box: tells the dialog of selection changes the operator makes and
// of double-clicks (LBN_SELCHANGE, LBN_DBLCLK), never of changes the
// program makes.
#ifndef KELM_FRAMEWORK_UI_LISTCONTROL_H
#define KELM_FRAMEWORK_UI_LISTCONTROL_H

#include <QListWidget>

#include <functional>

class ListControl : public QListWidget
{
public:
    explicit ListControl(QWidget* parent);

    // The selected row, -1 when none.
    int selectedRow() const;

    std::function<void()> onUserSelectionChange;
    std::function<void()> onDoubleClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void reportIfChanged(int before);
};

#endif
