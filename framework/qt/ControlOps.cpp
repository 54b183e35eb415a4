// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/ControlOps.h"

#include "framework/qt/DialogBuilder.h"

#include "framework/dialogs/CDialog.h"
#include "framework/qt/Accessibility.h"
#include "framework/qt/EditRules.h"
#include "framework/qt/ListControl.h"
#include "framework/qt/QtBridge.h"
#include "framework/qt/StaticControl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace
{
QComboBox* ComboOf(const WindowRecord* w)
{
    return w != nullptr && w->kind == WindowKind::ComboBox ? qobject_cast<QComboBox*>(w->widget)
                                                           : nullptr;
}

ListControl* ListOf(const WindowRecord* w)
{
    return w != nullptr && w->kind == WindowKind::ListBox
               ? static_cast<ListControl*>(w->widget.data())
               : nullptr;
}

// A list box's items are data (the tracker's application names), in the
// data's code page in every language; a combo box's are the program's own
// texts, in the language's.
QString ItemToQt(const WindowRecord* w, const std::string& text)
{
    return ListOf(w) != nullptr ? QtBridge::ToQtData(text) : QtBridge::ToQt(text);
}

std::string ItemFromQt(const WindowRecord* w, const QString& text)
{
    return ListOf(w) != nullptr ? QtBridge::FromQtData(text) : QtBridge::FromQt(text);
}

QLineEdit* EditOf(const WindowRecord* w)
{
    return w != nullptr && w->kind == WindowKind::Edit ? qobject_cast<QLineEdit*>(w->widget)
                                                       : nullptr;
}

QAbstractButton* ButtonOf(const WindowRecord* w)
{
    if (w == nullptr)
    {
        return nullptr;
    }
    switch (w->kind)
    {
    case WindowKind::PushButton:
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
        return qobject_cast<QAbstractButton*>(w->widget);
    default:
        return nullptr;
    }
}

bool IsSorted(const WindowRecord* w)
{
    return (w->kind == WindowKind::ComboBox && (w->style & CBS_SORT) != 0) ||
           (w->kind == WindowKind::ListBox && (w->style & LBS_SORT) != 0);
}

QString ItemAt(const WindowRecord* w, int index)
{
    if (QComboBox* combo = ComboOf(w))
    {
        return combo->itemText(index);
    }
    if (ListControl* list = ListOf(w))
    {
        QListWidgetItem* item = list->item(index);
        return item != nullptr ? item->text() : QString();
    }
    return {};
}

int CopyOut(const std::string& text, char* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
    {
        return 0;
    }
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int Clamp(const WindowRecord* spin, long long value)
{
    const int lo = std::min(spin->lower, spin->upper);
    const int hi = std::max(spin->lower, spin->upper);
    return static_cast<int>(std::clamp<long long>(value, lo, hi));
}

// The buddy's number, when it holds one.
bool BuddyNumber(const WindowRecord* spin, long long& value)
{
    if ((spin->style & UDS_SETBUDDYINT) == 0)
    {
        return false;
    }
    WindowRecord* buddy = WindowRegistry::Find(spin->buddy);
    return buddy != nullptr &&
           ControlOps::ParseWholeNumber(ControlOps::GetText(buddy), true, value);
}
} // namespace

void ControlOps::SetText(WindowRecord* w, const std::string& text, bool notify)
{
    if (w == nullptr || !w->widget)
    {
        return;
    }
    const QString qtext =
        w->kind == WindowKind::Edit ? QtBridge::ToQtData(text) : QtBridge::ToQt(text);
    switch (w->kind)
    {
    case WindowKind::Dialog:
        w->widget->setWindowTitle(qtext);
        break;
    case WindowKind::PushButton:
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
    {
        auto* button = static_cast<QAbstractButton*>(w->widget.data());
        button->setText(qtext);
        // The dialog answers mnemonics itself (so that Alt+letter goes
        // through the message map); the toolkit's own shortcut would
        // press the button behind its back.
        button->setShortcut(QKeySequence());
        break;
    }
    case WindowKind::Static:
    case WindowKind::GroupBox:
        static_cast<StaticControl*>(w->widget.data())->setText(qtext);
        Accessibility::TextChanged(w);
        break;
    case WindowKind::Edit:
        EditRules::SetByProgram(static_cast<QLineEdit*>(w->widget.data()), qtext);
        if (notify)
        {
            Notify(w, EN_CHANGE);
        }
        break;
    default:
        break;
    }
    // A text set once the window is laid out may need more room in its
    // language than the one it replaces.
    if (w->dialog != nullptr && w->dialog->fitted && w->kind != WindowKind::Edit &&
        w->kind != WindowKind::Dialog)
    {
        DialogBuilder::Fit(*w->dialog);
    }
}

std::string ControlOps::GetText(const WindowRecord* w)
{
    if (w == nullptr || !w->widget)
    {
        return {};
    }
    switch (w->kind)
    {
    case WindowKind::Dialog:
        return QtBridge::FromQt(w->widget->windowTitle());
    case WindowKind::PushButton:
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
        return QtBridge::FromQt(static_cast<QAbstractButton*>(w->widget.data())->text());
    case WindowKind::Static:
    case WindowKind::GroupBox:
        return QtBridge::FromQt(static_cast<StaticControl*>(w->widget.data())->text());
    case WindowKind::Edit:
        return QtBridge::FromQtData(static_cast<QLineEdit*>(w->widget.data())->text());
    case WindowKind::ComboBox:
        return QtBridge::FromQt(static_cast<QComboBox*>(w->widget.data())->currentText());
    default:
        return {};
    }
}

void ControlOps::Notify(WindowRecord* control, UINT code)
{
    if (control == nullptr || control->dialog == nullptr || !control->dialog->self)
    {
        return;
    }
    WindowRegistry::SendOrHold(control->dialog->self->hwnd, WM_COMMAND,
                               MAKEWPARAM(static_cast<UINT>(control->id), code),
                               reinterpret_cast<LPARAM>(control->hwnd));
}

int ControlOps::GetCheck(const WindowRecord* w)
{
    QAbstractButton* button = ButtonOf(w);
    return button != nullptr && button->isCheckable() && button->isChecked() ? BST_CHECKED
                                                                             : BST_UNCHECKED;
}

void ControlOps::SetCheck(WindowRecord* w, int check)
{
    QAbstractButton* button = ButtonOf(w);
    if (button != nullptr && button->isCheckable())
    {
        button->setChecked(check == static_cast<int>(BST_CHECKED));
    }
}

void ControlOps::CheckInGroup(WindowRecord* radio)
{
    if (radio == nullptr || radio->dialog == nullptr)
    {
        return;
    }
    const bool groupTabs =
        radio->group >= 0 && (radio->dialog->controls[radio->group]->style & WS_TABSTOP) != 0;
    for (const auto& other : radio->dialog->controls)
    {
        if (other->kind != WindowKind::RadioButton || other->group != radio->group ||
            !other->widget)
        {
            continue;
        }
        auto* button = static_cast<QAbstractButton*>(other->widget.data());
        button->setChecked(other.get() == radio);
        if (groupTabs)
        {
            button->setFocusPolicy(other.get() == radio ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }
}

void ControlOps::CheckRadioRange(DialogState* dialog, int firstId, int lastId, int checkId)
{
    if (dialog == nullptr)
    {
        return;
    }
    for (const auto& control : dialog->controls)
    {
        if (control->kind == WindowKind::RadioButton && control->id >= firstId &&
            control->id <= lastId)
        {
            if (control->id == checkId)
            {
                CheckInGroup(control.get());
            }
            else
            {
                SetCheck(control.get(), BST_UNCHECKED);
            }
        }
    }
}

int ControlOps::AddString(WindowRecord* w, const std::string& text)
{
    if (ComboOf(w) == nullptr && ListOf(w) == nullptr)
    {
        return LB_ERR;
    }
    int position = GetCount(w);
    if (IsSorted(w))
    {
        // After every entry that is not greater, so that equal entries keep
        // the order in which they were added.
        const QString qtext = ItemToQt(w, text);
        for (int i = 0; i < GetCount(w); ++i)
        {
            if (QString::compare(ItemAt(w, i), qtext, Qt::CaseInsensitive) > 0)
            {
                position = i;
                break;
            }
        }
    }
    return InsertString(w, position, text);
}

int ControlOps::InsertString(WindowRecord* w, int index, const std::string& text)
{
    const int count = GetCount(w);
    if (index < 0)
    {
        index = count;
    }
    if (index > count)
    {
        return LB_ERR;
    }
    if (QComboBox* combo = ComboOf(w))
    {
        const int selected = combo->currentIndex();
        combo->insertItem(index, QtBridge::ToQt(text));
        // A drop-down list does not select what is added to it.
        combo->setCurrentIndex(selected < 0 ? -1 : (selected >= index ? selected + 1 : selected));
        return index;
    }
    if (ListControl* list = ListOf(w))
    {
        list->insertItem(index, QtBridge::ToQtData(text));
        return index;
    }
    return LB_ERR;
}

int ControlOps::DeleteString(WindowRecord* w, int index)
{
    if (index < 0 || index >= GetCount(w))
    {
        return LB_ERR;
    }
    if (QComboBox* combo = ComboOf(w))
    {
        combo->removeItem(index);
    }
    else if (ListControl* list = ListOf(w))
    {
        delete list->takeItem(index);
    }
    return GetCount(w);
}

void ControlOps::ResetContent(WindowRecord* w)
{
    if (QComboBox* combo = ComboOf(w))
    {
        combo->clear();
    }
    else if (ListControl* list = ListOf(w))
    {
        list->clear();
    }
}

int ControlOps::GetCount(const WindowRecord* w)
{
    if (QComboBox* combo = ComboOf(w))
    {
        return combo->count();
    }
    if (ListControl* list = ListOf(w))
    {
        return list->count();
    }
    return LB_ERR;
}

int ControlOps::GetCurSel(const WindowRecord* w)
{
    if (QComboBox* combo = ComboOf(w))
    {
        return combo->currentIndex() < 0 ? CB_ERR : combo->currentIndex();
    }
    if (ListControl* list = ListOf(w))
    {
        return list->selectedRow();
    }
    return LB_ERR;
}

int ControlOps::SetCurSel(WindowRecord* w, int index)
{
    const int count = GetCount(w);
    if (count == LB_ERR)
    {
        return LB_ERR;
    }
    const bool clear = index < 0 || index >= count;
    if (QComboBox* combo = ComboOf(w))
    {
        combo->setCurrentIndex(clear ? -1 : index);
    }
    else if (ListControl* list = ListOf(w))
    {
        if (clear)
        {
            list->clearSelection();
            list->setCurrentItem(nullptr);
        }
        else
        {
            list->setCurrentRow(index);
            list->scrollToItem(list->item(index));
        }
    }
    return clear ? LB_ERR : index;
}

bool ControlOps::GetItemText(const WindowRecord* w, int index, std::string& text)
{
    text.clear();
    if (index < 0 || index >= GetCount(w))
    {
        return false;
    }
    text = ItemFromQt(w, ItemAt(w, index));
    return true;
}

int ControlOps::FindStringExact(const WindowRecord* w, int startAfter, const std::string& text)
{
    const int count = GetCount(w);
    if (count <= 0)
    {
        return LB_ERR;
    }
    const QString qtext = ItemToQt(w, text);
    const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
    for (int n = 0; n < count; ++n)
    {
        const int i = (first + n) % count;
        if (QString::compare(ItemAt(w, i), qtext, Qt::CaseInsensitive) == 0)
        {
            return i;
        }
    }
    return LB_ERR;
}

void ControlOps::SetSel(WindowRecord* w, int start, int end)
{
    QLineEdit* edit = EditOf(w);
    if (edit == nullptr)
    {
        return;
    }
    const int length = static_cast<int>(edit->text().size());
    if (start < 0)
    {
        edit->deselect();
        return;
    }
    if (end < 0 || end > length)
    {
        end = length;
    }
    start = std::min(start, length);
    if (start > end)
    {
        std::swap(start, end);
    }
    edit->setSelection(start, end - start);
    if (start == end)
    {
        edit->setCursorPosition(end);
    }
}

void ControlOps::GetSel(const WindowRecord* w, int& start, int& end)
{
    start = end = 0;
    QLineEdit* edit = EditOf(w);
    if (edit == nullptr)
    {
        return;
    }
    if (edit->hasSelectedText())
    {
        start = edit->selectionStart();
        end = start + static_cast<int>(edit->selectedText().size());
    }
    else
    {
        start = end = edit->cursorPosition();
    }
}

void ControlOps::SetRange(WindowRecord* spin, int lower, int upper)
{
    if (spin == nullptr || spin->kind != WindowKind::UpDown)
    {
        return;
    }
    spin->lower = lower;
    spin->upper = upper;
    spin->pos = Clamp(spin, spin->pos);
}

int ControlOps::SetPos(WindowRecord* spin, int position)
{
    if (spin == nullptr || spin->kind != WindowKind::UpDown)
    {
        return 0;
    }
    const int previous = GetPos(spin);
    spin->pos = Clamp(spin, position);
    if ((spin->style & UDS_SETBUDDYINT) != 0)
    {
        WindowRecord* buddy = WindowRegistry::Find(spin->buddy);
        const Accessibility::QuietText shownByPosition(buddy);
        SetText(buddy, std::to_string(spin->pos));
    }
    if (GetPos(spin) != previous)
    {
        Accessibility::ValueChanged(spin);
    }
    return previous;
}

int ControlOps::GetPos(const WindowRecord* spin)
{
    if (spin == nullptr || spin->kind != WindowKind::UpDown)
    {
        return 0;
    }
    long long value = 0;
    return BuddyNumber(spin, value) ? Clamp(spin, value) : spin->pos;
}

void ControlOps::Step(WindowRecord* spin, int delta)
{
    if (spin == nullptr || spin->kind != WindowKind::UpDown)
    {
        return;
    }
    // The operator may have typed a number since the last step: step
    // from it, as the platform does.
    long long typed = 0;
    if (BuddyNumber(spin, typed))
    {
        spin->pos = Clamp(spin, typed);
    }
    // A range given upside down turns the arrows round.
    const int direction = spin->lower <= spin->upper ? 1 : -1;
    SetPos(spin, spin->pos + delta * direction);
}

WindowRecord* ControlOps::ArrowKeySpinOf(const WindowRecord* window)
{
    if (window == nullptr || window->dialog == nullptr)
    {
        return nullptr;
    }
    for (const auto& control : window->dialog->controls)
    {
        if (control->kind == WindowKind::UpDown && control->buddy == window->hwnd &&
            (control->style & UDS_ARROWKEYS) != 0 && control->widget &&
            control->widget->isEnabled())
        {
            return control.get();
        }
    }
    return nullptr;
}

bool ControlOps::ParseWholeNumber(const std::string& text, bool allowMinus, long long& value)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (i < n && isSpace(text[i]))
    {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
    {
        negative = text[i] == '-';
        if (negative && !allowMinus)
        {
            return false;
        }
        ++i;
    }
    const std::size_t digitsStart = i;
    unsigned long long magnitude = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9')
    {
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
        if (magnitude > 0xFFFFFFFFull)
        {
            return false;
        }
        ++i;
    }
    if (i == digitsStart)
    {
        return false;
    }
    while (i < n && isSpace(text[i]))
    {
        ++i;
    }
    if (i != n)
    {
        return false;
    }
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

LRESULT ControlOps::Message(WindowRecord* w, UINT message, WPARAM wParam, LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message)
    {
    case WM_SETTEXT:
        SetText(w, text != nullptr ? text : "");
        return TRUE;
    case WM_GETTEXT:
        return CopyOut(GetText(w), reinterpret_cast<char*>(lParam), wParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(GetText(w).size());
    case LB_ADDSTRING:
    case CB_ADDSTRING:
        return AddString(w, text != nullptr ? text : "");
    case LB_INSERTSTRING:
    case CB_INSERTSTRING:
        return InsertString(w, index, text != nullptr ? text : "");
    case LB_DELETESTRING:
    case CB_DELETESTRING:
        return DeleteString(w, index);
    case LB_RESETCONTENT:
    case CB_RESETCONTENT:
        ResetContent(w);
        return 0;
    case LB_GETCOUNT:
    case CB_GETCOUNT:
        return GetCount(w);
    case LB_GETCURSEL:
    case CB_GETCURSEL:
        return GetCurSel(w);
    case LB_SETCURSEL:
    case CB_SETCURSEL:
        return SetCurSel(w, index);
    case LB_GETTEXT:
    case CB_GETLBTEXT:
    {
        std::string item;
        if (!GetItemText(w, index, item))
        {
            return LB_ERR;
        }
        // The caller's buffer is sized from LB_GETTEXTLEN, as on the platform.
        return CopyOut(item, reinterpret_cast<char*>(lParam), item.size() + 1);
    }
    case LB_GETTEXTLEN:
    case CB_GETLBTEXTLEN:
    {
        std::string item;
        return GetItemText(w, index, item) ? static_cast<LRESULT>(item.size()) : LB_ERR;
    }
    default:
        return 0;
    }
}
