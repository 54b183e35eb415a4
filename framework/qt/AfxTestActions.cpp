// SPDX-License-Identifier: Apache-2.0
// User-like actions for tests: real input events through the toolkit's test
// library, so that the dialog layer reacts as it would to an operator.
#include "framework/dialogs/CDialog.h"
#include "framework/qt/AccessibilityParts.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/DialogBuilder.h"
#include "framework/qt/QtBridge.h"
#include "framework/qt/StaticControl.h"
#include "framework/qt/TestHooks.h"
#include "framework/qt/TextRoom.h"
#include "framework/testing/TestSeams.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QGlyphRun>
#include <QHelpEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>
#include <climits>

namespace
{
DialogState* StateOf(CDialog& dialog)
{
    WindowRecord* record = WindowRegistry::Find(dialog.m_hWnd.load());
    return record != nullptr && record->kind == WindowKind::Dialog ? record->dialog : nullptr;
}

WindowRecord* ControlOf(CDialog& dialog, int id)
{
    return WindowRegistry::FindControl(StateOf(dialog), id);
}

// What an operator can reach: shown and enabled.
WindowRecord* UsableControl(CDialog& dialog, int id)
{
    WindowRecord* control = ControlOf(dialog, id);
    return control != nullptr && control->widget && !control->widget->isHidden() &&
                   control->widget->isEnabled()
               ? control
               : nullptr;
}

void Settle()
{
    QCoreApplication::processEvents();
}

QWidget* KeyTarget(DialogState* state)
{
    QWidget* focus = state->widget->focusWidget();
    return focus != nullptr ? focus : state->widget.data();
}

std::string RoleName(QAccessible::Role role)
{
    switch (role)
    {
    case QAccessible::Dialog:
        return "Dialog";
    case QAccessible::AlertMessage:
        return "AlertMessage";
    case QAccessible::Button:
        return "Button";
    case QAccessible::RadioButton:
        return "RadioButton";
    case QAccessible::CheckBox:
        return "CheckBox";
    case QAccessible::ComboBox:
        return "ComboBox";
    case QAccessible::EditableText:
        return "EditableText";
    case QAccessible::SpinBox:
        return "SpinBox";
    case QAccessible::List:
        return "List";
    case QAccessible::StaticText:
        return "StaticText";
    case QAccessible::Grouping:
        return "Grouping";
    case QAccessible::Graphic:
        return "Graphic";
    default:
        return "Role" + std::to_string(static_cast<int>(role));
    }
}

// The interface the desktop's service reaches the widget by: none for a
// control its window does not list among its children (the arrows of an
// edit's spin button, which are part of it).
QAccessibleInterface* Reached(QWidget* widget)
{
    QAccessibleInterface* iface =
        widget != nullptr ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    QAccessibleInterface* parent =
        iface != nullptr && !widget->isWindow() ? iface->parent() : nullptr;
    return parent != nullptr && parent->indexOfChild(iface) < 0 ? nullptr : iface;
}

bool Describe(QWidget* widget, AfxAccessibleInfo* info)
{
    QAccessibleInterface* iface = Reached(widget);
    if (iface == nullptr || info == nullptr)
    {
        return false;
    }
    *info = AfxAccessibleInfo{};
    info->role = RoleName(iface->role());
    info->name = iface->text(QAccessible::Name).toStdString();
    info->description = iface->text(QAccessible::Description).toStdString();
    info->value = iface->text(QAccessible::Value).toStdString();
    info->accelerator = iface->text(QAccessible::Accelerator).toStdString();
    if (QAccessibleActionInterface* actions = iface->actionInterface())
    {
        for (const QString& action : actions->actionNames())
        {
            info->actions.push_back(action.toStdString());
        }
    }
    info->childCount = iface->childCount();
    QAccessibleInterface* rows = iface->role() == QAccessible::ComboBox ? iface->child(0) : iface;
    for (int i = 0; rows != nullptr && i < rows->childCount(); ++i)
    {
        QAccessibleInterface* row = rows->child(i);
        if (row != nullptr && row->role() == QAccessible::ListItem && row->state().selected)
        {
            info->selectedRow = row->text(QAccessible::Name).toStdString();
            break;
        }
    }
    if (QAccessibleTextInterface* text = iface->textInterface())
    {
        info->text = text->text(0, text->characterCount()).toStdString();
        QString runs;
        for (int offset = 0; offset < text->characterCount();)
        {
            int start = 0;
            int end = 0;
            text->attributes(offset, &start, &end);
            runs += text->text(std::max(start, offset), end);
            offset = std::max(end, offset + 1);
        }
        info->textByRuns = runs.toStdString();
        if (text->selectionCount() > 0)
        {
            int start = 0;
            int end = 0;
            text->selection(0, &start, &end);
            info->selectedText = text->text(start, end).toStdString();
        }
    }
    const QAccessible::State state = iface->state();
    info->enabled = !state.disabled;
    info->busy = state.busy;
    info->visible = !state.invisible;
    info->focused = state.focused;
    info->focusable = state.focusable;
    info->checkable = state.checkable;
    info->checked = state.checked;
    info->password = state.passwordEdit;
    info->defaultButton = state.defaultButton;
    for (const auto& [other, relation] : iface->relations(QAccessible::Label))
    {
        info->labelledBy.push_back(other->text(QAccessible::Name).toStdString());
    }
    return true;
}

CRect ToCRect(const QRect& r)
{
    return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

Qt::Key QtKeyOf(AfxKey key)
{
    switch (key)
    {
    case AfxKey::Enter:
        return Qt::Key_Return;
    case AfxKey::Escape:
        return Qt::Key_Escape;
    case AfxKey::Tab:
        return Qt::Key_Tab;
    case AfxKey::BackTab:
        return Qt::Key_Backtab;
    case AfxKey::Space:
        return Qt::Key_Space;
    case AfxKey::Up:
        return Qt::Key_Up;
    case AfxKey::Down:
        return Qt::Key_Down;
    case AfxKey::Backspace:
        return Qt::Key_Backspace;
    case AfxKey::F4:
        return Qt::Key_F4;
    case AfxKey::F10:
        return Qt::Key_F10;
    case AfxKey::Menu:
        return Qt::Key_Menu;
    case AfxKey::Undo:
        return Qt::Key_Z;
    }
    return Qt::Key_unknown;
}

// The usable edit id, focused as Tab focuses it unless it has the focus.
QLineEdit* FocusedEdit(CDialog& dialog, int id)
{
    WindowRecord* control = UsableControl(dialog, id);
    if (control == nullptr || control->kind != WindowKind::Edit)
    {
        return nullptr;
    }
    auto* edit = static_cast<QLineEdit*>(control->widget.data());
    if (!edit->hasFocus())
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
    }
    return edit;
}
} // namespace

bool AfxTestClick(CDialog& dialog, int id)
{
    WindowRecord* control = UsableControl(dialog, id);
    if (control == nullptr)
    {
        return false;
    }
    QTest::mouseClick(control->widget, Qt::LeftButton, Qt::NoModifier,
                      control->widget->rect().center());
    Settle();
    return true;
}

bool AfxTestType(CDialog& dialog, int id, const std::string& text)
{
    WindowRecord* control = UsableControl(dialog, id);
    if (control == nullptr)
    {
        return false;
    }
    control->widget->setFocus(Qt::TabFocusReason);
    if (control->kind == WindowKind::Edit)
    {
        static_cast<QLineEdit*>(control->widget.data())->selectAll();
    }
    for (char c : text)
    {
        QWidget* target = KeyTarget(control->dialog);
        if (c == '\n')
        {
            QTest::keyClick(target, Qt::Key_Return);
        }
        else if (c == '\b')
        {
            QTest::keyClick(target, Qt::Key_Backspace);
        }
        else if (c >= 0x20 && c < 0x7F)
        {
            QTest::keyClick(target, c);
        }
        else
        {
            QTest::keyClicks(target, QtBridge::ToQtData(std::string(1, c)));
        }
        Settle();
    }
    return true;
}

bool AfxTestPaste(CDialog& dialog, int id, const std::string& text)
{
    QLineEdit* edit = FocusedEdit(dialog, id);
    if (edit == nullptr)
    {
        return false;
    }
    QGuiApplication::clipboard()->setText(QtBridge::ToQtData(text));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    Settle();
    return true;
}

bool AfxTestCommitInputMethod(CDialog& dialog, int id, const std::string& text)
{
    QLineEdit* edit = FocusedEdit(dialog, id);
    if (edit == nullptr || !edit->testAttribute(Qt::WA_InputMethodEnabled))
    {
        return false;
    }
    QInputMethodEvent commit;
    commit.setCommitString(QtBridge::ToQtData(text));
    QApplication::sendEvent(edit, &commit);
    Settle();
    return true;
}

bool AfxTestPressKey(CDialog& dialog, AfxKey key, bool alt, bool shift)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return false;
    }
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    if (alt)
    {
        mods |= Qt::AltModifier;
    }
    if (shift)
    {
        mods |= Qt::ShiftModifier;
    }
    if (key == AfxKey::Undo)
    {
        mods |= Qt::ControlModifier;
    }
    QTest::keyClick(KeyTarget(state), QtKeyOf(key), mods);
    Settle();
    return true;
}

bool AfxTestPressAlt(CDialog& dialog, char letter)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return false;
    }
    QTest::keyClick(KeyTarget(state), letter, Qt::AltModifier);
    Settle();
    return true;
}

bool AfxTestSelect(CDialog& dialog, int id, int index)
{
    WindowRecord* control = UsableControl(dialog, id);
    if (control == nullptr)
    {
        return false;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control->widget))
    {
        if (index < 0 || index >= combo->count())
        {
            return false;
        }
        combo->setFocus(Qt::MouseFocusReason);
        combo->showPopup();
        Settle();
        QAbstractItemView* view = combo->view();
        const QModelIndex item = view->model()->index(index, combo->modelColumn());
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->visualRect(item).center());
        Settle();
        return !view->isVisible();
    }
    if (auto* list = qobject_cast<QListWidget*>(control->widget))
    {
        QListWidgetItem* item = list->item(index);
        if (item == nullptr)
        {
            return false;
        }
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(item).center());
        Settle();
        return true;
    }
    return false;
}

bool AfxTestDoubleClickItem(CDialog& dialog, int id, int index)
{
    WindowRecord* control = UsableControl(dialog, id);
    auto* list = control != nullptr ? qobject_cast<QListWidget*>(control->widget) : nullptr;
    QListWidgetItem* item = list != nullptr ? list->item(index) : nullptr;
    if (item == nullptr)
    {
        return false;
    }
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    Settle();
    return true;
}

bool AfxTestClickSpin(CDialog& dialog, int id, bool up)
{
    WindowRecord* control = UsableControl(dialog, id);
    if (control == nullptr || control->kind != WindowKind::UpDown)
    {
        return false;
    }
    QWidget* spin = control->widget;
    const QPoint at(spin->width() / 2, up ? spin->height() / 4 : spin->height() * 3 / 4);
    QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, at);
    Settle();
    return true;
}

bool AfxTestClickCloseBox(CDialog& dialog)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr || (state->tmpl->style & WS_SYSMENU) == 0)
    {
        return false;
    }
    state->widget->close();
    Settle();
    return true;
}

bool AfxTestToolTip(CDialog& dialog, int id, std::string* text)
{
    WindowRecord* control = ControlOf(dialog, id);
    if (text != nullptr)
    {
        text->clear();
    }
    if (control == nullptr || !control->widget || control->widget->isHidden())
    {
        return false;
    }
    DialogState* state = control->dialog;
    const int requestsBefore = state->toolTipRequests;
    QWidget* widget = control->widget;
    const QPoint at = widget->rect().center();
    QHelpEvent rest(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &rest);
    Settle();
    // A tip shows when the dialog answered this request with a text and the
    // toolkit is showing exactly that text.
    const bool shown = state->toolTipRequests != requestsBefore && state->toolTipShown &&
                       QToolTip::isVisible() && QToolTip::text() == state->toolTipText;
    if (shown && text != nullptr)
    {
        *text = QtBridge::FromQt(state->toolTipText);
    }
    QToolTip::hideText();
    Settle();
    return shown;
}

bool AfxTestRightClickBackground(CDialog& dialog, int x, int y)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return false;
    }
    QWidget* window = state->widget;
    const QPoint at(x, y);
    QWidget* target = window->childAt(at);
    if (target == nullptr)
    {
        target = window;
    }
    const QPoint local = target->mapFrom(window, at);
    QContextMenuEvent click(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
    QApplication::sendEvent(target, &click);
    Settle();
    return true;
}

std::vector<AfxMenuItemInfo> AfxTestSystemMenuItems(CDialog& dialog)
{
    std::vector<AfxMenuItemInfo> items;
    DialogState* state = StateOf(dialog);
    if (state == nullptr || !state->hasSystemMenu)
    {
        return items;
    }
    for (const CMenu::Item& item : state->systemMenu.Items())
    {
        const bool separator = (item.flags & MF_SEPARATOR) != 0;
        items.push_back(
            {separator ? 0u : item.id, item.text, separator, (item.flags & MF_GRAYED) == 0});
    }
    return items;
}

bool AfxTestInvokeSystemMenu(CDialog& dialog, UINT id)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr || !state->hasSystemMenu)
    {
        return false;
    }
    bool offered = false;
    AfxPopupMenuHandler previous = TestHooks::ExchangePopupHandler(
        [id, &offered](const std::vector<AfxMenuItemInfo>& items)
        {
            for (const AfxMenuItemInfo& item : items)
            {
                if (!item.separator && item.enabled && item.id == id)
                {
                    offered = true;
                    return id;
                }
            }
            return 0u;
        });
    // Opened the way the operator opens it, with Alt+Space.
    QTest::keyClick(KeyTarget(state), Qt::Key_Space, Qt::AltModifier);
    Settle();
    TestHooks::ExchangePopupHandler(std::move(previous));
    return offered;
}

CRect AfxTestControlRect(CDialog& dialog, int id)
{
    WindowRecord* control = ControlOf(dialog, id);
    return control != nullptr && control->widget ? ToCRect(control->widget->geometry()) : CRect();
}

CRect AfxTestTemplateRect(CDialog& dialog, int id)
{
    WindowRecord* control = ControlOf(dialog, id);
    if (control == nullptr || control->item == nullptr)
    {
        return CRect();
    }
    const ResDialogItem& item = *control->item;
    return CRect(item.x, item.y, item.x + item.cx, item.y + item.cy);
}

CRect AfxTestMapDialogRect(CDialog& dialog, const CRect& dialogUnits)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return CRect();
    }
    return ToCRect(DialogBuilder::MapDialogRect(*state, dialogUnits.left, dialogUnits.top,
                                                dialogUnits.Width(), dialogUnits.Height()));
}

void AfxTestBaseUnits(CDialog& dialog, int* baseX, int* baseY)
{
    DialogState* state = StateOf(dialog);
    if (baseX != nullptr)
    {
        *baseX = state != nullptr ? state->baseX : 0;
    }
    if (baseY != nullptr)
    {
        *baseY = state != nullptr ? state->baseY : 0;
    }
}

int AfxTestFocusedId(CDialog& dialog)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return 0;
    }
    WindowRecord* focus = WindowRegistry::FromWidget(state->widget->focusWidget());
    return focus != nullptr && focus->kind != WindowKind::Dialog ? focus->id : 0;
}

std::vector<int> AfxTestTabOrder(CDialog& dialog)
{
    std::vector<int> ids;
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return ids;
    }
    QWidget* window = state->widget;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
    {
        WindowRecord* control = WindowRegistry::FromWidget(w);
        if (control != nullptr && control->widget == w && (w->focusPolicy() & Qt::TabFocus) != 0 &&
            !w->isHidden() && w->isEnabled())
        {
            ids.push_back(control->id);
        }
    }
    return ids;
}

std::string AfxTestFontFamily(CDialog& dialog)
{
    DialogState* state = StateOf(dialog);
    return state != nullptr ? state->font.family().toStdString() : std::string();
}

int AfxTestFontPixelSize(CDialog& dialog)
{
    DialogState* state = StateOf(dialog);
    return state != nullptr ? QFontInfo(state->font).pixelSize() : 0;
}

bool AfxTestIsPassword(CDialog& dialog, int id)
{
    WindowRecord* control = ControlOf(dialog, id);
    auto* edit = control != nullptr ? qobject_cast<QLineEdit*>(control->widget) : nullptr;
    return edit != nullptr && edit->echoMode() == QLineEdit::Password;
}

namespace
{
int TextOverflow(WindowRecord* control, const std::string* text)
{
    if (text == nullptr)
    {
        return TextRoom::Overflow(control);
    }
    const QString given = QtBridge::ToQt(*text);
    return TextRoom::Overflow(control, &given);
}
} // namespace

int AfxTestTextOverflow(CDialog& dialog, int id, const std::string* text)
{
    return TextOverflow(ControlOf(dialog, id), text);
}

int AfxTestTextOverflowAt(CDialog& dialog, int index, const std::string* text)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return INT_MIN;
    }
    for (const auto& control : state->controls)
    {
        if (control->index == index)
        {
            return TextOverflow(control.get(), text);
        }
    }
    return INT_MIN;
}

std::string AfxTestMissingGlyphs(CDialog& dialog, int index)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr || index < 0 || static_cast<std::size_t>(index) >= state->controls.size())
    {
        return {};
    }
    WindowRecord* control = state->controls[static_cast<std::size_t>(index)].get();
    QWidget* widget = control->widget;
    QStringList texts;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
    {
        for (int i = 0; i < combo->count(); ++i)
        {
            texts << combo->itemText(i);
        }
    }
    else
    {
        texts << QtBridge::ToQt(ControlOps::GetText(control));
    }
    QString missing;
    for (const QString& text : texts)
    {
        // Laid out as the widget lays it out, the toolkit's fallback fonts
        // included: a character none of them has gets glyph 0, a box.
        for (const QString& character : text.split(QString(), Qt::SkipEmptyParts))
        {
            const QChar c = character.at(0);
            if (c.isSpace() || c.isLowSurrogate() || c == QLatin1Char('&'))
            {
                continue;
            }
            // Laid out as the widget lays it out, the toolkit's fallback
            // fonts included: a character none of them has gets glyph 0, a box.
            QTextLayout layout(character, widget->font());
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            bool drawn = false;
            for (const QGlyphRun& run : layout.glyphRuns())
            {
                for (quint32 glyph : run.glyphIndexes())
                {
                    drawn = drawn || glyph != 0;
                }
            }
            if (!drawn)
            {
                missing += character;
            }
        }
    }
    return missing.toStdString();
}

std::string AfxTestSelectedText(CDialog& dialog, int id)
{
    WindowRecord* control = ControlOf(dialog, id);
    auto* edit = control != nullptr ? qobject_cast<QLineEdit*>(control->widget) : nullptr;
    return edit != nullptr ? QtBridge::FromQtData(edit->selectedText()) : std::string();
}

bool AfxGrabWindow(CWnd& window, const std::string& path)
{
    WindowRecord* record = WindowRegistry::Find(window.m_hWnd.load());
    if (record == nullptr || !record->widget)
    {
        return false;
    }
    return record->widget->grab().save(QString::fromStdString(path), "PNG");
}

bool AfxTestGrabPixel(CWnd& window, int x, int y, unsigned* rgb)
{
    WindowRecord* record = WindowRegistry::Find(window.m_hWnd.load());
    if (record == nullptr || !record->widget)
    {
        return false;
    }
    const QImage image = record->widget->grab().toImage();
    if (!image.valid(x, y))
    {
        return false;
    }
    if (rgb != nullptr)
    {
        *rgb = image.pixel(x, y) & 0xFFFFFFu;
    }
    return true;
}

bool AfxTestAccessible(CDialog& dialog, int id, AfxAccessibleInfo* info)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr)
    {
        return false;
    }
    WindowRecord* control = id == 0 ? state->self.get() : ControlOf(dialog, id);
    return control != nullptr && Describe(control->widget, info);
}

bool AfxTestAccessibleAt(CDialog& dialog, int index, AfxAccessibleInfo* info)
{
    DialogState* state = StateOf(dialog);
    if (state == nullptr || index < 0 || static_cast<std::size_t>(index) >= state->controls.size())
    {
        return false;
    }
    return Describe(state->controls[static_cast<std::size_t>(index)]->widget, info);
}

bool AfxTestAccessibleAction(CDialog& dialog, int id, const std::string& action)
{
    if (!AfxTestAccessibleActionNoWait(dialog, id, action))
    {
        return false;
    }
    // A pressed button clicks when its animation ends, a tenth of a second on.
    QTest::qWait(150);
    return true;
}

bool AfxTestAccessibleActionNoWait(CDialog& dialog, int id, const std::string& action)
{
    WindowRecord* control = ControlOf(dialog, id);
    QAccessibleInterface* iface = control != nullptr ? Reached(control->widget) : nullptr;
    QAccessibleActionInterface* actions = iface != nullptr ? iface->actionInterface() : nullptr;
    const QString name = QString::fromStdString(action);
    if (actions == nullptr || !actions->actionNames().contains(name))
    {
        return false;
    }
    actions->doAction(name);
    return true;
}

namespace
{
QAccessibleInterface* InterfaceOf(CDialog& dialog, int id)
{
    WindowRecord* control = ControlOf(dialog, id);
    return control != nullptr ? Reached(control->widget) : nullptr;
}
} // namespace

bool AfxTestAccessibleReplaceText(CDialog& dialog, int id, int start, int end,
                                  const std::string& text)
{
    if (!AfxTestAccessibleReplaceTextNoWait(dialog, id, start, end, text))
    {
        return false;
    }
    Settle();
    return true;
}

bool AfxTestAccessibleReplaceTextNoWait(CDialog& dialog, int id, int start, int end,
                                        const std::string& text)
{
    QAccessibleInterface* iface = InterfaceOf(dialog, id);
    QAccessibleEditableTextInterface* editable =
        iface != nullptr ? iface->editableTextInterface() : nullptr;
    QAccessibleTextInterface* shown = iface != nullptr ? iface->textInterface() : nullptr;
    if (editable == nullptr || shown == nullptr)
    {
        return false;
    }
    editable->replaceText(start, end < 0 ? shown->characterCount() : end, QtBridge::ToQtData(text));
    return true;
}

bool AfxTestAccessibleSetValue(CDialog& dialog, int id, int value)
{
    if (!AfxTestAccessibleSetValueNoWait(dialog, id, value))
    {
        return false;
    }
    Settle();
    return true;
}

bool AfxTestAccessibleSetValueNoWait(CDialog& dialog, int id, int value)
{
    QAccessibleInterface* iface = InterfaceOf(dialog, id);
    QAccessibleValueInterface* values = iface != nullptr ? iface->valueInterface() : nullptr;
    if (values == nullptr)
    {
        return false;
    }
    values->setCurrentValue(value);
    return true;
}

namespace
{
std::vector<std::string> g_accessibleEvents;

std::string EventLine(QAccessibleEvent* event)
{
    const WindowRecord* record = WindowRegistry::FromWidget(
        qobject_cast<QWidget*>(event->object() != nullptr ? event->object() : nullptr));
    std::string line = std::to_string(record != nullptr ? record->id : 0) + " ";
    switch (event->type())
    {
    case QAccessible::TextInserted:
        return line + "insert " +
               static_cast<QAccessibleTextInsertEvent*>(event)->textInserted().toStdString();
    case QAccessible::TextRemoved:
        return line + "remove " +
               static_cast<QAccessibleTextRemoveEvent*>(event)->textRemoved().toStdString();
    case QAccessible::TextUpdated:
    {
        auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
        return line + "update " + update->textRemoved().toStdString() + ">" +
               update->textInserted().toStdString();
    }
    case QAccessible::ValueChanged:
        return line + "value " +
               static_cast<QAccessibleValueChangeEvent*>(event)->value().toString().toStdString();
    case QAccessible::NameChanged:
        return line + "name";
    case QAccessible::TextCaretMoved:
        return line + "caret";
    case QAccessible::TextSelectionChanged:
        return line + "selection";
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    case QAccessible::Announcement:
        return line + "announce " +
               static_cast<QAccessibleAnnouncementEvent*>(event)->message().toStdString();
#endif
    default:
        return line + "event " + std::to_string(static_cast<int>(event->type()));
    }
}
} // namespace

void AfxTestRecordAccessibleEvents()
{
    g_accessibleEvents.clear();
    AccessibilityParts::SetEventTap([](QAccessibleEvent* event)
                                    { g_accessibleEvents.push_back(EventLine(event)); });
}

std::vector<std::string> AfxTestAccessibleEvents()
{
    return g_accessibleEvents;
}
