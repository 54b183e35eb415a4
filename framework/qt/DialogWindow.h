// SPDX-License-Identifier: Apache-2.0
// A dialog's top-level window. It plays the platform's dialog manager: it
// sees every key before the focused control does (Enter, Escape, Alt+letter
// mnemonics, Alt+Space, Shift+F10 and the Menu key, arrow keys of radio
// groups and spin buddies), asks for tooltips, shows the system menu, and
// turns painting and the close box into window messages.
#ifndef KELM_FRAMEWORK_UI_DIALOGWINDOW_H
#define KELM_FRAMEWORK_UI_DIALOGWINDOW_H

#include "framework/qt/WindowRegistry.h"

#include <QWidget>

class QHelpEvent;
class QKeyEvent;

class DialogWindow : public QWidget
{
public:
    DialogWindow(DialogState* state, QWidget* owner);

    // Routes the control's (and its inner widgets') keys and tooltip
    // requests through this window first.
    void WatchControl(QWidget* control);

    // Shows the system menu at globalPos and sends the chosen command.
    void ShowSystemMenu(const QPoint& globalPos, bool byMouse);

    // What the platform's dialog manager does with a key pressed while
    // focus is in the dialog. Returns whether the key was used up.
    bool HandleKey(QKeyEvent* event, QWidget* focus);
    // Whether HandleKey wants this key, so that no shortcut takes it.
    bool ClaimsKey(QKeyEvent* event) const;

    // Asks the dialog for the control's tooltip; returns whether one shows,
    // with its text.
    bool RequestToolTip(const WindowRecord* control, QString* text);

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SendCommand(int id);
    void PressButton(WindowRecord* button);
    bool HandleMnemonic(QChar letter, WindowRecord* focus);
    WindowRecord* MnemonicTarget(QChar letter, const WindowRecord* focus) const;
    bool MoveInRadioGroup(WindowRecord* radio, int step);
    bool HandleToolTipEvent(QWidget* widget, QHelpEvent* event);
    HWND Hwnd() const;

    DialogState* m_state;
};

#endif
