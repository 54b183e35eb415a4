// SPDX-License-Identifier: Apache-2.0
// What the desktop's service (and so a screen reader) hears from the layer,
// and when. Every event passes the watch below before the service sees it,
// the toolkit's own included, so that this file is where to look for what an
// operator hears.
//
// The events the program sends itself:
//   - a label's or group box's caption changed: NameChanged on it, and on
//     each control it names whose name changed with it (TextChanged);
//   - an up-down control's position changed: ValueChanged on the edit that
//     shows it, where the operator is, or on the control when no edit shows
//     it (ValueChanged);
//   - a layer edit's text changed, once the change is settled: one text
//     insertion, removal or update with the characters that changed
//     (WatchEdit), never for a password;
//   - a drop-down list's choice changed: the new choice as its text arriving,
//     then the old one going from behind it (TellChoice), and on Qt 6.8 on
//     announced too while the list has the focus (ShowSelectionInList);
//   - list boxes' names and descriptions, through the widget's own
//     properties (Qt then sends NameChanged, DescriptionChanged).
// The events the toolkit sends for the layer's controls, and what is done
// with them here:
//   - a line edit's text insertion, removal and update: withheld; the edit's
//     settled change above takes their place, so a key the edit refuses is
//     not heard as inserted;
//   - a password edit's text, caret and selection events: withheld, so no
//     character of a password (nor its length, from the caret) goes out;
//   - the caret and selection events of an edit while the program shows an
//     up-down control's new position in it: withheld (the value says it);
//   - every event of the arrows of an edit's spin button: withheld (they
//     are part of it, with no object of their own);
//   - focus, state (checked, enabled), selection in lists, dialog start and
//     end, caret and selection in plain edits: passed on as they are;
//   - a drop-down list's ValueChanged: passed on (the service makes a name
//     change and a selection change of it, which tools re-read the list by).
#include "framework/qt/Accessibility.h"
#include "framework/qt/AccessibilityParts.h"

#include "framework/qt/ControlOps.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPointer>
#include <QVariant>

#include <memory>

namespace
{
// The text of a layer edit as the service last heard it (a dynamic
// property of the edit, set by WatchEdit).
constexpr char kToldText[] = "kelmToldText";
// The name of a control as the service last heard it.
constexpr char kToldName[] = "kelmToldName";

// Whoever had the events before the layer (none, unless a test tool put its
// own): the events go on to it, else to the service.
QAccessible::UpdateHandler g_before = nullptr;
AccessibilityParts::EventTap g_tap;
// The edit whose text the program is setting to show an up-down control's
// position: the position change says it; the text change, and the caret and
// selection that move with it, are not said too.
const QLineEdit* g_quiet = nullptr;

void Watch(QAccessibleEvent* event);

// Hands an event on to the service, past the watch.
void Pass(QAccessibleEvent* event)
{
    if (g_tap)
    {
        g_tap(event);
    }
    if (g_before != nullptr)
    {
        g_before(event);
        return;
    }
    // The toolkit has already given a table its model change, and the
    // service makes nothing of it: sent again, the table would count the
    // change twice.
    if (event->type() == QAccessible::TableModelChanged || !QAccessible::isActive())
    {
        return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Watch);
}

bool IsTextChange(QAccessible::Event type)
{
    return type == QAccessible::TextInserted || type == QAccessible::TextRemoved ||
           type == QAccessible::TextUpdated;
}

bool IsSecret(const QLineEdit* edit)
{
    return edit->echoMode() != QLineEdit::Normal;
}

bool Withheld(const QAccessibleEvent* event)
{
    const QObject* object = event->object();
    if (object != nullptr && object->isWidgetType() &&
        AccessibilityParts::PartOfSpinButton(
            AccessibilityParts::RecordOf(static_cast<const QWidget*>(object))))
    {
        return true;
    }
    const auto* edit = qobject_cast<const QLineEdit*>(object);
    if (edit == nullptr)
    {
        return false;
    }
    const QAccessible::Event type = event->type();
    // The program showing a stepped position: its value change says it,
    // and the old text's selection going is no news to the operator.
    if (edit == g_quiet && (IsTextChange(type) || type == QAccessible::TextCaretMoved ||
                            type == QAccessible::TextSelectionChanged))
    {
        return true;
    }
    if (IsSecret(edit))
    {
        return IsTextChange(type) || type == QAccessible::TextCaretMoved ||
               type == QAccessible::TextSelectionChanged || type == QAccessible::ValueChanged;
    }
    return IsTextChange(type) && edit->property(kToldText).isValid();
}

void Watch(QAccessibleEvent* event)
{
    if (!Withheld(event))
    {
        Pass(event);
    }
}

// Tells the service of the edit's change from what it last heard: the
// characters between the common start and the common end.
void TellSettled(QLineEdit* edit)
{
    const QString before = edit->property(kToldText).toString();
    // A password's text is never kept, nor told.
    const QString now = IsSecret(edit) ? QString() : edit->text();
    if (before == now)
    {
        return;
    }
    edit->setProperty(kToldText, now);
    if (edit == g_quiet)
    {
        return;
    }
    qsizetype head = 0;
    while (head < before.size() && head < now.size() && before[head] == now[head])
    {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < now.size() - head &&
           before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
    {
        ++tail;
    }
    const QString removed = before.mid(head, before.size() - head - tail);
    const QString inserted = now.mid(head, now.size() - head - tail);
    const int at = static_cast<int>(head);
    if (removed.isEmpty())
    {
        QAccessibleTextInsertEvent event(edit, at, inserted);
        Pass(&event);
    }
    else if (inserted.isEmpty())
    {
        QAccessibleTextRemoveEvent event(edit, at, removed);
        Pass(&event);
    }
    else
    {
        QAccessibleTextUpdateEvent event(edit, at, removed, inserted);
        Pass(&event);
    }
}

bool IsNamedByLabels(WindowKind kind)
{
    return kind == WindowKind::ComboBox || kind == WindowKind::UpDown || kind == WindowKind::Edit ||
           kind == WindowKind::Static || kind == WindowKind::GroupBox;
}

// Tells the service the control's name changed, when it did since it last
// heard it.
void TellName(const WindowRecord* control)
{
    const QString name = Accessibility::NameOf(control);
    if (control->widget->property(kToldName).toString() == name)
    {
        return;
    }
    control->widget->setProperty(kToldName, name);
    QAccessibleEvent renamed(control->widget.data(), QAccessible::NameChanged);
    Watch(&renamed);
}

bool KeepsQtInterface(WindowKind kind)
{
    return kind == WindowKind::ListBox;
}

void Mirror(WindowRecord* control, bool names, bool descriptions)
{
    if (control == nullptr || !control->widget || !KeepsQtInterface(control->kind))
    {
        return;
    }
    // Setting either one announces a change, so only a real change is set.
    if (names)
    {
        const QString name = Accessibility::NameOf(control);
        if (control->widget->accessibleName() != name)
        {
            control->widget->setAccessibleName(name);
        }
    }
    if (descriptions)
    {
        const QString description = Accessibility::DescriptionOf(control);
        if (control->widget->accessibleDescription() != description)
        {
            control->widget->setAccessibleDescription(description);
        }
    }
}
} // namespace

void AccessibilityParts::InstallEventWatch()
{
    g_before = QAccessible::installUpdateHandler(Watch);
}

AccessibilityParts::EventTap AccessibilityParts::SetEventTap(EventTap tap)
{
    EventTap previous = std::move(g_tap);
    g_tap = std::move(tap);
    return previous;
}

void Accessibility::WatchEdit(QLineEdit* edit)
{
    edit->setProperty(kToldText, IsSecret(edit) ? QString() : edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { TellSettled(edit); });
}

Accessibility::QuietText::QuietText(const WindowRecord* edit) : m_previous(g_quiet)
{
    g_quiet = edit != nullptr ? qobject_cast<const QLineEdit*>(edit->widget.data()) : nullptr;
}

Accessibility::QuietText::~QuietText()
{
    g_quiet = m_previous;
}

void Accessibility::DialogInitialised(DialogState& dialog)
{
    for (const auto& control : dialog.controls)
    {
        Mirror(control.get(), true, true);
        if (control->widget && IsNamedByLabels(control->kind))
        {
            control->widget->setProperty(kToldName, NameOf(control.get()));
        }
    }
}

void Accessibility::TextChanged(WindowRecord* window)
{
    if (window == nullptr || !window->widget || window->dialog == nullptr)
    {
        return;
    }
    // Buttons and windows announce their own new captions.
    if (window->kind != WindowKind::Static && window->kind != WindowKind::GroupBox)
    {
        return;
    }
    // A label's text is its name, and the name of whatever it labels.
    for (const auto& control : window->dialog->controls)
    {
        if (KeepsQtInterface(control->kind))
        {
            Mirror(control.get(), true, false);
        }
        else if (IsNamedByLabels(control->kind) && control->widget)
        {
            TellName(control.get());
        }
    }
}

namespace
{
// A drop-down list's new choice, as its text changing: the new text arrives
// first, at the start, where it is read as the new choice (it is all
// selected); the old one goes after it, from behind the new, so that
// whoever keeps the text keeps the new choice alone. The other order would
// take away what a screen reader last saw selected, which it reads as the
// selection deleted.
void TellChoice(QComboBox* combo, const QString& before, const QString& now)
{
    if (!now.isEmpty())
    {
        QAccessibleTextInsertEvent chosen(combo, 0, now);
        Watch(&chosen);
    }
    if (!before.isEmpty())
    {
        QAccessibleTextRemoveEvent replaced(combo, static_cast<int>(now.size()), before);
        Watch(&replaced);
    }
}
} // namespace

void Accessibility::ShowSelectionInList(QComboBox* combo)
{
    // The choice as a screen reader last heard of it.
    auto shown = std::make_shared<QString>(combo->currentText());
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                     [combo, shown](int index)
                     {
                         // The text always changes with the choice, so that
                         // nothing keeps the old one. Screen readers of Qt
                         // 6.8's time read no text arriving in a list that
                         // cannot be typed into: there the choice is also
                         // announced, while the list has the focus, and so
                         // said once on every release.
                         if (combo->currentText() != *shown)
                         {
                             const QString before = *shown;
                             *shown = combo->currentText();
                             TellChoice(combo, before, *shown);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
                             if (combo->hasFocus())
                             {
                                 QAccessibleAnnouncementEvent announced(combo, *shown);
                                 Watch(&announced);
                             }
#endif
                         }
                         QItemSelectionModel* rows = combo->view()->selectionModel();
                         if (rows == nullptr)
                         {
                             return;
                         }
                         if (index < 0)
                         {
                             rows->clearSelection();
                             return;
                         }
                         rows->select(combo->model()->index(index, combo->modelColumn()),
                                      QItemSelectionModel::ClearAndSelect);
                     });
}

void Accessibility::ValueChanged(WindowRecord* spin)
{
    // The operator is in the edit that shows the position: the spin button
    // the arrows are part of.
    const WindowRecord* shown =
        AccessibilityParts::PartOfSpinButton(spin) ? WindowRegistry::Find(spin->buddy) : spin;
    if (shown == nullptr || !shown->widget)
    {
        return;
    }
    QAccessibleValueChangeEvent changed(shown->widget.data(), ControlOps::GetPos(spin));
    Watch(&changed);
}
