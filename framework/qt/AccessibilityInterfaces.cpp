// SPDX-License-Identifier: Apache-2.0
// The interfaces through which the desktop's service reads and works each
// window and control: roles, names, texts, values and actions.
#include "framework/qt/Accessibility.h"
#include "framework/qt/AccessibilityParts.h"

#include "framework/core/AfxResources.h"
#include "framework/dialogs/WinStyles.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/QtBridge.h"
#include "framework/qt/RadioControl.h"
#include "framework/qt/StaticControl.h"
#include "framework/qt/UpDownControl.h"
#include "framework/qt/WindowWait.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

using AccessibilityParts::HasOwnCaption;
using AccessibilityParts::RecordOf;
using AccessibilityParts::SpinShownIn;

namespace
{
// A screen reader reads a text run by run of like attributes (it splits by
// language): these texts have one run, the whole text. (An empty run at each
// offset, as the toolkit's own edit reports, loses the last character.)
void WholeTextRun(int offset, int length, int* startOffset, int* endOffset)
{
    const bool inside = offset >= 0 && offset <= length;
    *startOffset = inside ? 0 : offset;
    *endOffset = inside ? length : offset;
}

// Every interface of the layer: role by the kind of control, name and
// description by the rules above, asked afresh each time.
class ControlInterface : public QAccessibleWidget
{
public:
    ControlInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    using QAccessibleWidget::text;
    QString text(QAccessible::Text t) const override
    {
        const WindowRecord* record = RecordOf(widget());
        switch (t)
        {
        case QAccessible::Name:
            return record != nullptr ? Accessibility::NameOf(record) : QString();
        case QAccessible::Description:
            return record != nullptr ? Accessibility::DescriptionOf(record) : QString();
        case QAccessible::Value:
            return Value();
        case QAccessible::Accelerator:
        {
            const QChar letter =
                record != nullptr && HasOwnCaption(record->kind) &&
                        (record->kind != WindowKind::Static || (record->style & SS_NOPREFIX) == 0)
                    ? QtBridge::MnemonicOf(QtBridge::ToQt(ControlOps::GetText(record)))
                    : QChar();
            return letter.isNull() ? QString() : QStringLiteral("Alt+") + letter.toUpper();
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

protected:
    virtual QString Value() const { return {}; }
};

// A dialog lists its controls in template order, which is their tab order,
// as the platform does; the toolkit's order puts group boxes first, since
// they are drawn beneath the rest. The arrows of an edit's spin button are
// within it, not listed beside it.
class DialogInterface : public ControlInterface
{
public:
    explicit DialogInterface(QWidget* window) : ControlInterface(window, QAccessible::Dialog) {}

    // Busy while the window waits for a call: it takes no input until then.
    QAccessible::State state() const override
    {
        QAccessible::State s = ControlInterface::state();
        s.busy = WindowWait::Waiting();
        return s;
    }

    int childCount() const override
    {
        const DialogState* dialog = Dialog();
        return dialog != nullptr ? static_cast<int>(Children(*dialog).size())
                                 : ControlInterface::childCount();
    }

    QAccessibleInterface* child(int index) const override
    {
        const DialogState* dialog = Dialog();
        if (dialog == nullptr)
        {
            return ControlInterface::child(index);
        }
        const std::vector<const WindowRecord*> children = Children(*dialog);
        if (index < 0 || static_cast<std::size_t>(index) >= children.size() ||
            !children[static_cast<std::size_t>(index)]->widget)
        {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(
            children[static_cast<std::size_t>(index)]->widget.data());
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const DialogState* dialog = Dialog();
        if (dialog == nullptr)
        {
            return ControlInterface::indexOfChild(child);
        }
        const std::vector<const WindowRecord*> children = Children(*dialog);
        for (std::size_t i = 0; child != nullptr && i < children.size(); ++i)
        {
            if (children[i]->widget.data() == child->object())
            {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

private:
    const DialogState* Dialog() const
    {
        const WindowRecord* record = RecordOf(widget());
        return record != nullptr && record->kind == WindowKind::Dialog ? record->dialog : nullptr;
    }
    // Every control but the arrows that are part of an edit's spin button.
    static std::vector<const WindowRecord*> Children(const DialogState& dialog)
    {
        std::vector<const WindowRecord*> children;
        for (const auto& control : dialog.controls)
        {
            if (!AccessibilityParts::PartOfSpinButton(control.get()))
            {
                children.push_back(control.get());
            }
        }
        return children;
    }
};

// Push buttons, radio buttons and check boxes. An action presses the button
// as a click would, a moment later, so that whoever asked is answered before
// the button's command runs (which may open a modal dialog).
class ButtonInterface : public ControlInterface
{
public:
    ButtonInterface(QAbstractButton* button, QAccessible::Role role)
        : ControlInterface(button, role)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = ControlInterface::state();
        const auto* button = static_cast<const QAbstractButton*>(widget());
        if (role() == QAccessible::Button)
        {
            const auto* push = qobject_cast<const QPushButton*>(button);
            s.defaultButton = push != nullptr && push->isDefault();
        }
        else
        {
            s.checkable = true;
            s.checked = button->isChecked();
        }
        return s;
    }

    // A radio button answers its group's question: the group box around it
    // labels it, as a screen reader reads a radio group (before the
    // button's own caption, when the focus comes into the group).
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto found = ControlInterface::relations(match);
        const WindowRecord* record = RecordOf(widget());
        const WindowRecord* group = record != nullptr && role() == QAccessible::RadioButton
                                        ? AccessibilityParts::GroupAround(record)
                                        : nullptr;
        if (group != nullptr && (match & QAccessible::Label) != 0)
        {
            if (QAccessibleInterface* label =
                    QAccessible::queryAccessibleInterface(group->widget.data()))
            {
                found.append({label, QAccessible::Label});
            }
        }
        return found;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
        {
            names << (role() == QAccessible::Button ? pressAction() : toggleAction());
        }
        return names + ControlInterface::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (!widget()->isEnabled())
        {
            return;
        }
        if (action == pressAction() || action == toggleAction())
        {
            static_cast<QAbstractButton*>(widget())->animateClick();
            return;
        }
        ControlInterface::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        const QString accelerator = text(QAccessible::Accelerator);
        if ((action == pressAction() || action == toggleAction()) && !accelerator.isEmpty())
        {
            return {accelerator};
        }
        return ControlInterface::keyBindingsForAction(action);
    }
};

// Drop-down lists: named by their label, the selection is their value, the
// dropped-down list is their one child (as in Qt's own combo box).
class ComboInterface : public ControlInterface, public QAccessibleTextInterface
{
public:
    explicit ComboInterface(QComboBox* combo) : ControlInterface(combo, QAccessible::ComboBox) {}

    // The choice shown in the box is also its text, as a screen reader
    // reads what a drop-down list displays; the whole of it is the chosen
    // text, so that a new choice is read as it replaces the old one.
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : ControlInterface::interface_cast(type);
    }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = selectionIndex == 0 ? characterCount() : 0;
    }
    int selectionCount() const override { return characterCount() > 0 ? 1 : 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset < 0 || endOffset < startOffset)
        {
            return {};
        }
        return Combo()->currentText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Combo()->currentText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        WholeTextRun(offset, characterCount(), startOffset, endOffset);
        return {};
    }

    int childCount() const override { return 1; }

    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr && child->object() == Combo()->view() ? 0 : -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = ControlInterface::state();
        const bool open = Combo()->view()->isVisible();
        s.expandable = true;
        s.expanded = open;
        s.collapsed = !open;
        s.hasPopup = true;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + ControlInterface::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
        {
            ControlInterface::doAction(action);
            return;
        }
        if (Combo()->view()->isVisible())
        {
            Combo()->hidePopup();
        }
        else if (Combo()->isEnabled())
        {
            Combo()->showPopup();
        }
    }

protected:
    QString Value() const override { return Combo()->currentText(); }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

// An up-down control's position, as an assistive tool reads and sets it:
// through the arrows' own spin button, or through the edit's that shows the
// position (the arrows then being part of it).
namespace Position
{
// As the arrows take a position: not while they, or the edit they show it
// in, are disabled.
bool Taken(const WindowRecord* spin)
{
    if (spin == nullptr || !spin->widget || !spin->widget->isEnabled())
    {
        return false;
    }
    const WindowRecord* buddy = WindowRegistry::Find(spin->buddy);
    return (spin->style & UDS_SETBUDDYINT) == 0 || buddy == nullptr || !buddy->widget ||
           buddy->widget->isEnabled();
}

QVariant Maximum(const WindowRecord* spin)
{
    return spin != nullptr ? std::max(spin->lower, spin->upper) : 0;
}

QVariant Minimum(const WindowRecord* spin)
{
    return spin != nullptr ? std::min(spin->lower, spin->upper) : 0;
}

// A moment later, as a button's click: the dialog's handler runs after the
// assistive tool has its answer.
void SetLater(const WindowRecord* spin, int position)
{
    if (!Taken(spin))
    {
        return;
    }
    QTimer::singleShot(0, spin->widget.data(),
                       [arrows = QPointer<QWidget>(spin->widget.data()), position]
                       {
                           WindowRecord* record = arrows ? RecordOf(arrows) : nullptr;
                           if (record != nullptr && Taken(record))
                           {
                               ControlOps::SetPos(record, position);
                           }
                       });
}

// The arrows' actions, offered while they take a position.
QStringList Actions(const WindowRecord* spin)
{
    return Taken(spin) ? QStringList{QAccessibleActionInterface::increaseAction(),
                                     QAccessibleActionInterface::decreaseAction()}
                       : QStringList{};
}

// True when the action was one of the arrows'.
bool Step(WindowRecord* spin, const QString& action)
{
    const bool up = action == QAccessibleActionInterface::increaseAction();
    if (!up && action != QAccessibleActionInterface::decreaseAction())
    {
        return false;
    }
    if (Taken(spin))
    {
        ControlOps::Step(spin, up ? 1 : -1);
    }
    return true;
}
} // namespace Position

// Up-down controls whose position no edit shows: a spin button of their
// own, named after their buddy, their position as a number, set as the
// arrows set it.
class SpinInterface : public ControlInterface, public QAccessibleValueInterface
{
public:
    explicit SpinInterface(QWidget* spin) : ControlInterface(spin, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : ControlInterface::interface_cast(type);
    }

    QVariant currentValue() const override { return ControlOps::GetPos(Record()); }
    void setCurrentValue(const QVariant& value) override
    {
        Position::SetLater(Record(), value.toInt());
    }
    QVariant maximumValue() const override { return Position::Maximum(Record()); }
    QVariant minimumValue() const override { return Position::Minimum(Record()); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override
    {
        return Position::Actions(Record()) + ControlInterface::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (!Position::Step(Record(), action))
        {
            ControlInterface::doAction(action);
        }
    }

protected:
    QString Value() const override { return QString::number(ControlOps::GetPos(Record())); }

private:
    WindowRecord* Record() const { return RecordOf(widget()); }
};

// Edits: their text, caret and selection as the operator sees them; a
// password says it is one and nothing of its characters. Text put in through
// the interface (an on-screen keyboard, voice control) goes in as typed text
// does: the edit's rules apply, the dialog hears EN_CHANGE, and a disabled
// or read-only edit takes nothing.
class EditInterface : public ControlInterface,
                      public QAccessibleTextInterface,
                      public QAccessibleEditableTextInterface,
                      public QAccessibleValueInterface
{
public:
    explicit EditInterface(QLineEdit* edit) : ControlInterface(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
        {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface)
        {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        // An edit that shows an up-down control's position has its value,
        // so that each step is read where the operator is.
        if (type == QAccessible::ValueInterface && SpinShownIn(RecordOf(widget())) != nullptr)
        {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return ControlInterface::interface_cast(type);
    }

    // An edit that shows an up-down control's position is read as a spin
    // button: the operator learns that Up and Down change it.
    QAccessible::Role role() const override
    {
        return SpinShownIn(RecordOf(widget())) != nullptr ? QAccessible::SpinBox
                                                          : QAccessible::EditableText;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = ControlInterface::state();
        s.editable = true;
        s.readOnly = Edit()->isReadOnly();
        s.passwordEdit = Secret();
        s.selectableText = true;
        return s;
    }

    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t == QAccessible::Value)
        {
            replaceText(0, characterCount(), text);
            return;
        }
        ControlInterface::setText(t, text);
    }

    // ---- text
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && !Secret() && Edit()->hasSelectedText())
        {
            *startOffset = Edit()->selectionStart();
            *endOffset = Edit()->selectionEnd();
        }
    }
    int selectionCount() const override { return !Secret() && Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
        {
            Edit()->deselect();
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
        {
            Edit()->setSelection(startOffset, endOffset - startOffset);
        }
    }
    int cursorPosition() const override { return Secret() ? 0 : Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset < 0 || endOffset < startOffset)
        {
            return {};
        }
        return Shown().mid(startOffset, endOffset - startOffset);
    }
    // Offset -2 is where the caret is.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override
    {
        return QAccessibleTextInterface::textBeforeOffset(AtCaret(offset), boundary, startOffset,
                                                          endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override
    {
        return QAccessibleTextInterface::textAfterOffset(AtCaret(offset), boundary, startOffset,
                                                         endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override
    {
        return QAccessibleTextInterface::textAtOffset(AtCaret(offset), boundary, startOffset,
                                                      endOffset);
    }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    QRect characterRect(int offset) const override
    {
        const QString shown = Shown();
        if (offset < 0 || offset >= shown.size())
        {
            return {};
        }
        // Where the edit draws its text: its contents less its margins,
        // from the left (the layer's edits never scroll sideways to show
        // their short texts).
        QStyleOptionFrame frame;
        frame.initFrom(Edit());
        frame.lineWidth = Edit()->hasFrame() ? 1 : 0;
        QRect area = Edit()->style()->subElementRect(QStyle::SE_LineEditContents, &frame, Edit());
        area = area.marginsRemoved(Edit()->textMargins());
        const QFontMetrics metrics(Edit()->font());
        const int x = area.left() + 2 + metrics.horizontalAdvance(shown.left(offset));
        const int y = area.top() + (area.height() - metrics.height() + 1) / 2;
        const QRect r(x, y, metrics.horizontalAdvance(shown.at(offset)), metrics.height());
        return QRect(Edit()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        Edit()->setCursorPosition(endIndex);
        Edit()->setCursorPosition(startIndex);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        WholeTextRun(offset, characterCount(), startOffset, endOffset);
        return {};
    }

    // ---- value: the up-down control's, set by its rules
    QVariant currentValue() const override
    {
        return Spin() != nullptr ? ControlOps::GetPos(Spin()) : 0;
    }
    void setCurrentValue(const QVariant& value) override
    {
        Position::SetLater(Spin(), value.toInt());
    }
    QVariant maximumValue() const override { return Position::Maximum(Spin()); }
    QVariant minimumValue() const override { return Position::Minimum(Spin()); }
    QVariant minimumStepSize() const override { return 1; }

    // ---- the arrows, part of the spin button: their steps are its actions,
    // and where they stand is within it
    QStringList actionNames() const override
    {
        return Position::Actions(Spin()) + ControlInterface::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (Spin() == nullptr || !Position::Step(Spin(), action))
        {
            ControlInterface::doAction(action);
        }
    }
    QRect rect() const override
    {
        const WindowRecord* spin = Spin();
        QRect area = ControlInterface::rect();
        if (spin != nullptr && spin->widget && spin->widget->isVisible())
        {
            area |= QRect(spin->widget->mapToGlobal(QPoint(0, 0)), spin->widget->size());
        }
        return area;
    }

    // ---- editable text
    void deleteText(int startOffset, int endOffset) override
    {
        Change(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString& text) override { Change(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        Change(startOffset, endOffset, text);
    }

protected:
    QString Value() const override { return Shown(); }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    bool Secret() const { return Edit()->echoMode() != QLineEdit::Normal; }
    QString Shown() const { return Secret() ? QString() : Edit()->text(); }
    int AtCaret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
    WindowRecord* Spin() const { return SpinShownIn(RecordOf(widget())); }

    // The characters from start to end replaced by text, as the operator
    // would: select them, then type (or delete) over them. The toolkit then
    // asks the edit's rules and reports the edit to the dialog, exactly as
    // for a key press; a moment later, as a button's click, so that the
    // assistive tool has its answer before the dialog's handler runs.
    void Change(int startOffset, int endOffset, const QString& text)
    {
        if (!Takes(Edit()))
        {
            return;
        }
        QTimer::singleShot(0, Edit(),
                           [edit = QPointer<QLineEdit>(Edit()), startOffset, endOffset, text]
                           {
                               if (edit && Takes(edit))
                               {
                                   Apply(edit, startOffset, endOffset, text);
                               }
                           });
    }
    static bool Takes(const QLineEdit* edit) { return edit->isEnabled() && !edit->isReadOnly(); }
    static void Apply(QLineEdit* edit, int startOffset, int endOffset, const QString& text)
    {
        const int length = static_cast<int>(edit->text().size());
        const int start = std::clamp(std::min(startOffset, endOffset), 0, length);
        const int end = std::clamp(std::max(startOffset, endOffset), 0, length);
        if (start == end && text.isEmpty())
        {
            return;
        }
        if (start == end)
        {
            edit->setCursorPosition(start);
        }
        else
        {
            edit->setSelection(start, end - start);
        }
        if (text.isEmpty())
        {
            edit->del();
        }
        else
        {
            edit->insert(text);
        }
    }
};

// The layer's windows and controls get the interfaces above; list boxes keep
// Qt's own, which serves rows fully and reads the name and description the
// layer gives the widget. Anything else (message boxes, menus, tooltips) is
// Qt's.
// The application: its windows, and the menus open over them. Qt leaves
// popups out of the application's children, so a screen reader takes an
// open menu for one already gone, and announces only its item.
class ApplicationInterface : public QAccessibleApplication
{
public:
    int childCount() const override
    {
        return QAccessibleApplication::childCount() + static_cast<int>(OpenMenus().size());
    }
    QAccessibleInterface* child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
        {
            return QAccessibleApplication::child(index);
        }
        const QList<QWidget*> menus = OpenMenus();
        return index - windows < menus.size()
                   ? QAccessible::queryAccessibleInterface(menus.at(index - windows))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const int index = QAccessibleApplication::indexOfChild(child);
        if (index >= 0 || child == nullptr || !child->object() || !child->object()->isWidgetType())
        {
            return index;
        }
        const auto menu = OpenMenus().indexOf(static_cast<QWidget*>(child->object()));
        return menu < 0 ? -1 : QAccessibleApplication::childCount() + static_cast<int>(menu);
    }

private:
    static QList<QWidget*> OpenMenus()
    {
        QList<QWidget*> menus;
        for (QWidget* window : QApplication::topLevelWidgets())
        {
            if (window->isVisible() && qobject_cast<QMenu*>(window) != nullptr)
            {
                menus.append(window);
            }
        }
        return menus;
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    if (object != nullptr && object == QCoreApplication::instance())
    {
        return new ApplicationInterface;
    }
    if (object == nullptr || !object->isWidgetType())
    {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (dynamic_cast<DialogWindow*>(widget) != nullptr)
    {
        return new DialogInterface(widget);
    }
    if (widget->isWindow() || dynamic_cast<DialogWindow*>(widget->parentWidget()) == nullptr)
    {
        return nullptr;
    }
    if (auto* label = dynamic_cast<StaticControl*>(widget))
    {
        switch (label->mode())
        {
        case StaticControl::Mode::Icon:
            return new ControlInterface(widget, QAccessible::Graphic);
        case StaticControl::Mode::GroupBox:
            return new ControlInterface(widget, QAccessible::Grouping);
        case StaticControl::Mode::Text:
            return new ControlInterface(widget, QAccessible::StaticText);
        }
    }
    if (dynamic_cast<UpDownControl*>(widget) != nullptr)
    {
        return new SpinInterface(widget);
    }
    if (auto* radio = dynamic_cast<RadioControl*>(widget))
    {
        return new ButtonInterface(radio, QAccessible::RadioButton);
    }
    if (auto* check = qobject_cast<QCheckBox*>(widget))
    {
        return new ButtonInterface(check, QAccessible::CheckBox);
    }
    if (auto* push = qobject_cast<QPushButton*>(widget))
    {
        return new ButtonInterface(push, QAccessible::Button);
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget))
    {
        return new ComboInterface(combo);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
    {
        return new EditInterface(edit);
    }
    return nullptr;
}
} // namespace

void Accessibility::Install()
{
    static bool installed = false;
    if (!installed)
    {
        QAccessible::installFactory(Factory);
        AccessibilityParts::InstallEventWatch();
        installed = true;
    }
}
