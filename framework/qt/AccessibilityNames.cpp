// SPDX-License-Identifier: Apache-2.0
// How a control is named and described: by what a sighted operator reads
// beside it (see Accessibility.h for the order of the rules).
#include "framework/qt/Accessibility.h"
#include "framework/qt/AccessibilityParts.h"

#include "framework/core/AfxResources.h"
#include "framework/dialogs/WinStyles.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/QtBridge.h"

#include <QWidget>

#include <climits>

using AccessibilityParts::GroupAround;
using AccessibilityParts::HasOwnCaption;

namespace
{
// The text without its mnemonic marks ("&&" is a literal ampersand), on one
// line: a wrapped caption is one sentence to a listener.
QString Spoken(const QString& text, bool mnemonics)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        if (mnemonics && text[i] == QLatin1Char('&') && i + 1 < text.size())
        {
            ++i;
        }
        out.append(text[i] == QLatin1Char('\n') ? QLatin1Char(' ') : text[i]);
    }
    return out.simplified();
}

QString CaptionOf(const WindowRecord* window)
{
    const bool mnemonics = window->kind != WindowKind::Static || (window->style & SS_NOPREFIX) == 0;
    return Spoken(QtBridge::ToQt(ControlOps::GetText(window)), mnemonics);
}

// The static text that labels the control by where it stands: the nearest
// control on its left on the same line when that is a static text, else the
// nearest one just above it in the same column when that is one. Group boxes
// surround controls rather than stand beside them, so they are not
// neighbours.
const WindowRecord* LabelBeside(const WindowRecord* window)
{
    const DialogState& dialog = *window->dialog;
    const QRect r = window->widget->geometry();
    const WindowRecord* left = nullptr;
    const WindowRecord* above = nullptr;
    int leftEdge = INT_MIN;
    int aboveEdge = INT_MIN;
    for (const auto& other : dialog.controls)
    {
        if (other.get() == window || other->kind == WindowKind::GroupBox || !other->widget)
        {
            continue;
        }
        const QRect o = other->widget->geometry();
        const bool sameLine = o.top() <= r.bottom() && o.bottom() >= r.top();
        const bool sameColumn = o.left() <= r.right() && o.right() >= r.left();
        // An up-down control overlaps its buddy's edge: beside means wholly
        // on that side of the control's middle.
        if (sameLine && o.left() < r.left() && o.right() < r.center().x() && o.right() > leftEdge)
        {
            left = other.get();
            leftEdge = o.right();
        }
        if (sameColumn && o.top() < r.top() && o.bottom() < r.center().y() &&
            o.bottom() > aboveEdge)
        {
            above = other.get();
            aboveEdge = o.bottom();
        }
    }
    if (left != nullptr && left->kind == WindowKind::Static)
    {
        return left;
    }
    // Just above: no more than a line of text between them.
    if (above != nullptr && above->kind == WindowKind::Static &&
        r.top() - aboveEdge <= dialog.baseY)
    {
        return above;
    }
    return nullptr;
}

QString ProgramName(const WindowRecord* window)
{
    if (window->dialog->tmpl == nullptr)
    {
        return {};
    }
    const unsigned stringId = AfxFindAccessibleName(window->dialog->tmpl->id, window->id);
    const char* text = stringId != 0 ? AfxFindStringUtf8(stringId) : nullptr;
    return text != nullptr ? QString::fromUtf8(text) : QString();
}

} // namespace

// The smallest group box whose frame holds the control's middle.
const WindowRecord* AccessibilityParts::GroupAround(const WindowRecord* window)
{
    const QPoint middle = window->widget->geometry().center();
    const WindowRecord* group = nullptr;
    long long area = LLONG_MAX;
    for (const auto& other : window->dialog->controls)
    {
        if (other->kind != WindowKind::GroupBox || !other->widget)
        {
            continue;
        }
        const QRect o = other->widget->geometry();
        const long long size = static_cast<long long>(o.width()) * o.height();
        if (o.contains(middle) && size < area)
        {
            group = other.get();
            area = size;
        }
    }
    return group;
}

bool AccessibilityParts::HasOwnCaption(WindowKind kind)
{
    return kind == WindowKind::PushButton || kind == WindowKind::RadioButton ||
           kind == WindowKind::CheckBox || kind == WindowKind::Static ||
           kind == WindowKind::GroupBox;
}

WindowRecord* AccessibilityParts::RecordOf(const QWidget* widget)
{
    WindowRecord* record = WindowRegistry::FromWidget(widget);
    return record != nullptr && record->widget == widget ? record : nullptr;
}

WindowRecord* AccessibilityParts::SpinShownIn(const WindowRecord* edit)
{
    if (edit == nullptr || edit->dialog == nullptr)
    {
        return nullptr;
    }
    for (const auto& control : edit->dialog->controls)
    {
        if (control->kind == WindowKind::UpDown && control->buddy == edit->hwnd &&
            (control->style & UDS_SETBUDDYINT) != 0)
        {
            return control.get();
        }
    }
    return nullptr;
}

bool AccessibilityParts::PartOfSpinButton(const WindowRecord* spin)
{
    if (spin == nullptr || spin->kind != WindowKind::UpDown)
    {
        return false;
    }
    const WindowRecord* buddy = WindowRegistry::Find(spin->buddy);
    return buddy != nullptr && buddy->kind == WindowKind::Edit && buddy->dialog == spin->dialog &&
           SpinShownIn(buddy) == spin;
}

QString Accessibility::NameOf(const WindowRecord* window)
{
    if (window == nullptr || !window->widget || window->dialog == nullptr)
    {
        return {};
    }
    if (window->kind == WindowKind::Dialog)
    {
        return window->widget->windowTitle();
    }
    const QString supplied = ProgramName(window);
    if (!supplied.isEmpty())
    {
        return supplied;
    }
    if (HasOwnCaption(window->kind))
    {
        return CaptionOf(window);
    }
    switch (window->kind)
    {
    case WindowKind::Icon:
        return QtBridge::ToQt(AfxResourceAppName());
    case WindowKind::UpDown:
    {
        const WindowRecord* buddy = WindowRegistry::Find(window->buddy);
        return buddy != nullptr && buddy->dialog == window->dialog ? NameOf(buddy) : QString();
    }
    default:
        break;
    }
    if (const WindowRecord* label = LabelBeside(window))
    {
        return CaptionOf(label);
    }
    if (const WindowRecord* group = GroupAround(window))
    {
        return CaptionOf(group);
    }
    return {};
}

QString Accessibility::DescriptionOf(const WindowRecord* window)
{
    if (window == nullptr || window->kind == WindowKind::Dialog || window->dialog == nullptr)
    {
        return {};
    }
    auto* dialogWindow = dynamic_cast<DialogWindow*>(window->dialog->widget.data());
    QString text;
    if (dialogWindow == nullptr || !dialogWindow->RequestToolTip(window, &text))
    {
        return {};
    }
    return text;
}
