// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/MessageBoxes.h"

#include "framework/qt/QtBridge.h"
#include "framework/qt/TestHooks.h"
#include "framework/qt/WaitCursorState.h"
#include "framework/qt/WindowRegistry.h"

#include <QMessageBox>
#include <QPushButton>

namespace
{
QMessageBox::Icon IconOf(UINT type)
{
    switch (type & MB_ICONMASK)
    {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSpec
{
    QMessageBox::StandardButton button;
    int result;
};

std::vector<ButtonSpec> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT},
                {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}
} // namespace

int MessageBoxes::Show(const std::string& text, const std::string& caption, UINT type,
                       bool application, DialogState* owner)
{
    DialogState* over = owner != nullptr ? owner : WindowRegistry::ActiveModal();
    AfxMessageBoxInfo info{text,
                           caption,
                           type,
                           type & MB_TYPEMASK,
                           type & MB_ICONMASK,
                           application,
                           over != nullptr && over->tmpl != nullptr ? over->tmpl->id : 0u};
    int answer = 0;
    if (TestHooks::AnswerMessageBox(info, answer))
    {
        return answer;
    }

    QtBridge::EnsureApplication();
    QMessageBox box(IconOf(type), QtBridge::ToQt(caption), QtBridge::ToQt(text),
                    QMessageBox::NoButton, over != nullptr ? over->widget.data() : nullptr);
    box.setTextFormat(Qt::PlainText);
    const std::vector<ButtonSpec> buttons = ButtonsOf(type);
    const std::size_t defaultIndex =
        ((type & MB_DEFMASK) >> 8) < buttons.size() ? ((type & MB_DEFMASK) >> 8) : 0;
    for (std::size_t i = 0; i < buttons.size(); ++i)
    {
        QPushButton* button = box.addButton(buttons[i].button);
        if (i == defaultIndex)
        {
            box.setDefaultButton(button);
        }
    }
    // The box shows the arrow over itself; the wait cursor comes back
    // when the caller restores it.
    WaitCursorState::Suspend();
    box.exec();
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonSpec& spec : buttons)
    {
        if (spec.button == pressed)
        {
            return spec.result;
        }
    }
    // Closed without a button: the platform answers Cancel when the box
    // has one, else its only button.
    for (const ButtonSpec& spec : buttons)
    {
        if (spec.result == IDCANCEL)
        {
            return IDCANCEL;
        }
    }
    return buttons.front().result;
}
