// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/DialogWindow.h"

#include "framework/dialogs/CDialog.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/QtBridge.h"
#include "framework/qt/TestHooks.h"
#include "framework/testing/TestSeams.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <cstring>

namespace
{
bool IsUsable(const WindowRecord* rec)
{
    return rec != nullptr && rec->widget && !rec->widget->isHidden() && rec->widget->isEnabled();
}

bool IsButton(const WindowRecord* rec)
{
    return rec != nullptr &&
           (rec->kind == WindowKind::PushButton || rec->kind == WindowKind::RadioButton ||
            rec->kind == WindowKind::CheckBox);
}

bool HasMnemonicText(const WindowRecord* rec)
{
    switch (rec->kind)
    {
    case WindowKind::PushButton:
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
    case WindowKind::GroupBox:
        return true;
    case WindowKind::Static:
        return (rec->style & SS_NOPREFIX) == 0;
    default:
        return false;
    }
}

Qt::KeyboardModifiers Modifiers(const QKeyEvent* event)
{
    return event->modifiers() &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// Shift+F10 and the Menu key ask for the focused control's menu. Window
// managers take Alt+Space for their own menu and leave these to the program.
bool IsMenuKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = Modifiers(event);
    return (event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier) ||
           (event->key() == Qt::Key_Menu && mods == Qt::NoModifier);
}

bool IsWindowSystemKeyboardMenu(const QEvent* event)
{
    return event->spontaneous() &&
           static_cast<const QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
}

// The letter or digit of an Alt+key press, whatever text the platform
// attached to it.
QChar KeyLetter(const QKeyEvent* event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    {
        return QChar(key).toLower();
    }
    return {};
}
} // namespace

DialogWindow::DialogWindow(DialogState* state, QWidget* owner)
    : QWidget(owner, ((state->tmpl->exStyle & WS_EX_APPWINDOW) != 0 ? Qt::Window : Qt::Dialog) |
                         Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         ((state->tmpl->style & WS_SYSMENU) != 0
                              ? Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                              : Qt::WindowFlags()) |
                         ((state->tmpl->style & WS_MINIMIZEBOX) != 0 ? Qt::WindowMinimizeButtonHint
                                                                     : Qt::WindowFlags())),
      m_state(state)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

HWND DialogWindow::Hwnd() const
{
    return m_state->self->hwnd;
}

void DialogWindow::WatchControl(QWidget* control)
{
    control->installEventFilter(this);
    for (QWidget* inner : control->findChildren<QWidget*>())
    {
        inner->installEventFilter(this);
    }
}

void DialogWindow::SendCommand(int id)
{
    WindowRecord* control = WindowRegistry::FindControl(m_state, id);
    if (control != nullptr && control->widget && !control->widget->isEnabled())
    {
        return;
    }
    WindowRegistry::SendOrHold(
        Hwnd(), WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), BN_CLICKED),
        reinterpret_cast<LPARAM>(control != nullptr ? control->hwnd : nullptr));
}

void DialogWindow::PressButton(WindowRecord* button)
{
    button->widget->setFocus(Qt::ShortcutFocusReason);
    static_cast<QAbstractButton*>(button->widget.data())->click();
}

WindowRecord* DialogWindow::MnemonicTarget(QChar letter, const WindowRecord* focus) const
{
    if (letter.isNull())
    {
        return nullptr;
    }
    const std::size_t count = m_state->controls.size();
    // From the control after the focus onwards, as the platform cycles
    // through controls that share a letter.
    const std::size_t first = focus != nullptr ? static_cast<std::size_t>(focus->index) + 1 : 0;
    for (std::size_t n = 0; n < count; ++n)
    {
        WindowRecord* rec = m_state->controls[(first + n) % count].get();
        if (HasMnemonicText(rec) && IsUsable(rec) &&
            QtBridge::MnemonicOf(QtBridge::ToQt(ControlOps::GetText(rec))) == letter)
        {
            return rec;
        }
    }
    return nullptr;
}

bool DialogWindow::HandleMnemonic(QChar letter, WindowRecord* focus)
{
    WindowRecord* target = MnemonicTarget(letter, focus);
    if (target == nullptr)
    {
        return false;
    }
    if (IsButton(target))
    {
        PressButton(target);
        return true;
    }
    // A label or frame hands the focus to the control that follows it.
    const std::size_t count = m_state->controls.size();
    for (std::size_t i = static_cast<std::size_t>(target->index) + 1; i < count; ++i)
    {
        WindowRecord* next = m_state->controls[i].get();
        if (IsUsable(next) && next->widget->focusPolicy() != Qt::NoFocus)
        {
            next->widget->setFocus(Qt::ShortcutFocusReason);
            if (next->kind == WindowKind::Edit)
            {
                ControlOps::SetSel(next, 0, -1);
            }
            return true;
        }
    }
    return true;
}

bool DialogWindow::MoveInRadioGroup(WindowRecord* radio, int step)
{
    std::vector<WindowRecord*> group;
    for (const auto& rec : m_state->controls)
    {
        if (rec->kind == WindowKind::RadioButton && rec->group == radio->group &&
            (IsUsable(rec.get()) || rec.get() == radio))
        {
            group.push_back(rec.get());
        }
    }
    if (group.size() < 2)
    {
        return false;
    }
    std::size_t at = 0;
    while (group[at] != radio)
    {
        ++at;
    }
    const std::size_t n = group.size();
    WindowRecord* target = group[step > 0 ? (at + 1) % n : (at + n - 1) % n];
    target->widget->setFocus(Qt::TabFocusReason);
    ControlOps::CheckInGroup(target);
    ControlOps::Notify(target, BN_CLICKED);
    return true;
}

bool DialogWindow::ClaimsKey(QKeyEvent* event) const
{
    const Qt::KeyboardModifiers mods = Modifiers(event);
    const int key = event->key();
    if (key == Qt::Key_Escape && mods == Qt::NoModifier)
    {
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (mods & ~Qt::ShiftModifier) == 0)
    {
        return true;
    }
    if (IsMenuKey(event))
    {
        return true;
    }
    if (mods == Qt::AltModifier)
    {
        if (key == Qt::Key_Space || key == Qt::Key_F4)
        {
            return true;
        }
        return !KeyLetter(event).isNull();
    }
    return false;
}

bool DialogWindow::HandleKey(QKeyEvent* event, QWidget* focus)
{
    WindowRecord* rec = WindowRegistry::FromWidget(focus);
    if (rec != nullptr && (rec->dialog != m_state || rec->kind == WindowKind::Dialog))
    {
        rec = nullptr;
    }
    const Qt::KeyboardModifiers mods = Modifiers(event);
    const int key = event->key();

    if (key == Qt::Key_Escape && mods == Qt::NoModifier)
    {
        SendCommand(IDCANCEL);
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (mods & ~Qt::ShiftModifier) == 0)
    {
        // A focused push button is the default for the moment; otherwise
        // the template's default button, or IDOK when it has none.
        SendCommand(rec != nullptr && rec->kind == WindowKind::PushButton ? rec->id
                                                                          : m_state->defaultId);
        return true;
    }
    if (IsMenuKey(event))
    {
        // An edit keeps its own menu (cut, copy, paste), as on the
        // platform; every other control has none, so the window's opens.
        if (rec != nullptr && rec->kind == WindowKind::Edit)
        {
            const QPoint at =
                rec->widget->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QContextMenuEvent request(QContextMenuEvent::Keyboard, at,
                                      rec->widget->mapToGlobal(at));
            QCoreApplication::sendEvent(rec->widget, &request);
            return true;
        }
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)), false);
        return true;
    }
    if (mods == Qt::AltModifier)
    {
        if (key == Qt::Key_Space)
        {
            ShowSystemMenu(mapToGlobal(QPoint(0, 0)), false);
            return true;
        }
        if (key == Qt::Key_F4)
        {
            WindowRegistry::Send(Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        }
        // Alt+letter is never typed into a control, mnemonic or not.
        const QChar letter = KeyLetter(event);
        return HandleMnemonic(letter, rec) || !letter.isNull();
    }
    if (rec == nullptr || mods != Qt::NoModifier)
    {
        return false;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down)
    {
        if (WindowRecord* spin = ControlOps::ArrowKeySpinOf(rec))
        {
            ControlOps::Step(spin, key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    if (rec->kind == WindowKind::RadioButton &&
        (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right))
    {
        return MoveInRadioGroup(rec, key == Qt::Key_Up || key == Qt::Key_Left ? -1 : 1);
    }
    if (IsButton(rec) && !event->text().isEmpty() && event->text()[0].isLetterOrNumber())
    {
        // Buttons take no characters, so a plain letter is a mnemonic there.
        return HandleMnemonic(event->text()[0].toLower(), rec);
    }
    // What an edit takes of the typed text is its own rules' business
    // (EditRules), the same for every way text enters it.
    return false;
}

bool DialogWindow::RequestToolTip(const WindowRecord* control, QString* text)
{
    if (!m_state->toolTipsEnabled || control == nullptr || control->id == IDC_STATIC ||
        m_state->dialog == nullptr)
    {
        return false;
    }
    TOOLTIPTEXTA request{};
    request.hdr.hwndFrom = m_state->toolTip->hwnd;
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(control->hwnd);
    request.hdr.code = TTN_NEEDTEXTA;
    request.uFlags = TTF_IDISHWND;
    LRESULT result = 0;
    if (!m_state->dialog->OnNotify(0, reinterpret_cast<LPARAM>(&request.hdr), &result))
    {
        return false;
    }
    const std::string narrow =
        request.lpszText != nullptr
            ? std::string(request.lpszText)
            : std::string(request.szText, strnlen(request.szText, sizeof(request.szText)));
    if (text != nullptr)
    {
        *text = QtBridge::ToQt(narrow);
    }
    return !narrow.empty();
}

bool DialogWindow::HandleToolTipEvent(QWidget* widget, QHelpEvent* event)
{
    WindowRecord* rec = WindowRegistry::FromWidget(widget);
    if (rec == nullptr || rec->dialog != m_state || rec->kind == WindowKind::Dialog ||
        !m_state->toolTipsEnabled)
    {
        return false;
    }
    QString text;
    const bool shown = RequestToolTip(rec, &text);
    ++m_state->toolTipRequests;
    m_state->toolTipShown = shown;
    m_state->toolTipText = shown ? text : QString();
    if (shown)
    {
        QToolTip::showText(event->globalPos(), text, rec->widget);
    }
    else
    {
        QToolTip::hideText();
    }
    return true;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::ShortcutOverride:
        if (ClaimsKey(static_cast<QKeyEvent*>(event)))
        {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (HandleKey(static_cast<QKeyEvent*>(event), qobject_cast<QWidget*>(watched)))
        {
            event->accept();
            return true;
        }
        break;
    case QEvent::ToolTip:
        return HandleToolTipEvent(qobject_cast<QWidget*>(watched), static_cast<QHelpEvent*>(event));
    case QEvent::ContextMenu:
        // The keyboard's menu requests are answered by HandleKey, the same
        // on every display system; one the window system makes up from the
        // Menu key would open a second menu.
        if (IsWindowSystemKeyboardMenu(event))
        {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool DialogWindow::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && ClaimsKey(static_cast<QKeyEvent*>(event)))
    {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void DialogWindow::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(event, focusWidget()))
    {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DialogWindow::paintEvent(QPaintEvent*)
{
    m_state->painting = true;
    WindowRegistry::Send(Hwnd(), WM_PAINT, 0, 0);
    m_state->painting = false;
    delete m_state->painter;
    m_state->painter = nullptr;
}

void DialogWindow::closeEvent(QCloseEvent* event)
{
    // The close box is the system menu's Close: WM_SYSCOMMAND SC_CLOSE,
    // whose default handling sends WM_CLOSE. The window itself stays until
    // the dialog ends.
    event->ignore();
    if (!m_state->ended)
    {
        WindowRegistry::SendOrHold(Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event)
{
    if (IsWindowSystemKeyboardMenu(event))
    {
        event->accept();
        return;
    }
    if (childAt(event->pos()) != nullptr)
    {
        event->ignore();
        return;
    }
    ShowSystemMenu(event->globalPos(), true);
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPos, bool byMouse)
{
    if (!m_state->hasSystemMenu)
    {
        return;
    }
    std::vector<AfxMenuItemInfo> items;
    for (const CMenu::Item& item : m_state->systemMenu.Items())
    {
        const bool separator = (item.flags & MF_SEPARATOR) != 0;
        items.push_back(
            {separator ? 0u : item.id, item.text, separator, (item.flags & MF_GRAYED) == 0});
    }
    UINT chosen = 0;
    if (!TestHooks::AnswerPopupMenu(items, chosen))
    {
        QMenu menu(this);
        // Named after its window: the name a screen reader gives the menu.
        menu.setWindowTitle(windowTitle());
        QAction* first = nullptr;
        for (const AfxMenuItemInfo& item : items)
        {
            if (item.separator)
            {
                menu.addSeparator();
                continue;
            }
            QAction* action = menu.addAction(QtBridge::ToQt(item.text));
            action->setData(item.id);
            action->setEnabled(item.enabled);
            if (first == nullptr && item.enabled)
            {
                first = action;
            }
        }
        // Opened from the keyboard, the menu opens on its first item, as
        // the platform's window menu does: a screen reader then announces
        // the menu and that item at once, and the next key moves on from it.
        if (!byMouse && first != nullptr)
        {
            QTimer::singleShot(0, &menu, [&menu, first] { menu.setActiveAction(first); });
        }
        QAction* picked = menu.exec(globalPos);
        chosen = picked != nullptr ? picked->data().toUInt() : 0;
    }
    if (chosen != 0)
    {
        WindowRegistry::Send(Hwnd(), WM_SYSCOMMAND, chosen,
                             byMouse ? MAKELPARAM(globalPos.x(), globalPos.y()) : 0);
    }
}
