// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/DialogBuilder.h"

#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxStrings.h"
#include "framework/dialogs/CDialog.h"
#include "framework/qt/Accessibility.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/EditRules.h"
#include "framework/qt/Language.h"
#include "framework/qt/ListControl.h"
#include "framework/qt/QtBridge.h"
#include "framework/qt/RadioControl.h"
#include "framework/qt/StaticControl.h"
#include "framework/qt/TextRoom.h"
#include "framework/qt/UpDownControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr int kIconSize = 32;

int MulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

WindowKind KindOf(const ResDialogItem& item)
{
    const char* cls = item.className;
    if (std::strcmp(cls, RES_CLASS_BUTTON) == 0)
    {
        switch (item.style & BS_TYPEMASK)
        {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return WindowKind::PushButton;
        case BS_AUTORADIOBUTTON:
        case BS_RADIOBUTTON:
            return WindowKind::RadioButton;
        case BS_AUTOCHECKBOX:
        case BS_CHECKBOX:
            return WindowKind::CheckBox;
        case BS_GROUPBOX:
            return WindowKind::GroupBox;
        default:
            return WindowKind::Unknown;
        }
    }
    if (std::strcmp(cls, RES_CLASS_STATIC) == 0)
    {
        return (item.style & SS_TYPEMASK) == SS_ICON ? WindowKind::Icon : WindowKind::Static;
    }
    if (std::strcmp(cls, RES_CLASS_EDIT) == 0)
    {
        return WindowKind::Edit;
    }
    if (std::strcmp(cls, RES_CLASS_COMBOBOX) == 0)
    {
        return WindowKind::ComboBox;
    }
    if (std::strcmp(cls, RES_CLASS_LISTBOX) == 0)
    {
        return WindowKind::ListBox;
    }
    if (std::strcmp(cls, RES_CLASS_UPDOWN) == 0)
    {
        return WindowKind::UpDown;
    }
    return WindowKind::Unknown;
}

// Notifications look the control up by handle when they fire, so a signal
// that arrives while the window is being taken down finds nothing.
void NotifyLater(HWND hwnd, UINT code)
{
    ControlOps::Notify(WindowRegistry::Find(hwnd), code);
}

QWidget* CreateWidget(WindowRecord& rec, QWidget* parent)
{
    const unsigned style = rec.style;
    const HWND hwnd = rec.hwnd;
    switch (rec.kind)
    {
    case WindowKind::PushButton:
    {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        button->setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        QObject::connect(button, &QPushButton::clicked, [hwnd] { NotifyLater(hwnd, BN_CLICKED); });
        return button;
    }
    case WindowKind::RadioButton:
    {
        auto* radio = new RadioControl(parent);
        radio->onUserCheck = [hwnd] { ControlOps::CheckInGroup(WindowRegistry::Find(hwnd)); };
        QObject::connect(radio, &QAbstractButton::clicked,
                         [hwnd] { NotifyLater(hwnd, BN_CLICKED); });
        return radio;
    }
    case WindowKind::CheckBox:
    {
        auto* check = new QCheckBox(parent);
        QObject::connect(check, &QAbstractButton::clicked,
                         [hwnd] { NotifyLater(hwnd, BN_CLICKED); });
        return check;
    }
    case WindowKind::GroupBox:
        return new StaticControl(StaticControl::Mode::GroupBox, style, parent);
    case WindowKind::Static:
        return new StaticControl(StaticControl::Mode::Text, style, parent);
    case WindowKind::Icon:
        return new StaticControl(StaticControl::Mode::Icon, style, parent);
    case WindowKind::Edit:
    {
        auto* edit = new QLineEdit(parent);
        edit->setFrame((style & WS_BORDER) != 0);
        if ((style & ES_PASSWORD) != 0)
        {
            edit->setEchoMode(QLineEdit::Password);
        }
        // The platform's limit; SetLimitText narrows what the operator may
        // enter only, by the edit's rules.
        edit->setMaxLength(32767);
        edit->setValidator(new EditRules(edit, hwnd));
        QObject::connect(edit, &QLineEdit::textEdited, [hwnd] { NotifyLater(hwnd, EN_CHANGE); });
        Accessibility::WatchEdit(edit);
        return edit;
    }
    case WindowKind::ComboBox:
    {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        QObject::connect(combo, &QComboBox::activated,
                         [hwnd] { NotifyLater(hwnd, CBN_SELCHANGE); });
        Accessibility::ShowSelectionInList(combo);
        return combo;
    }
    case WindowKind::ListBox:
    {
        auto* list = new ListControl(parent);
        list->setFrameShape((style & WS_BORDER) != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
        list->setVerticalScrollBarPolicy((style & WS_VSCROLL) != 0 ? Qt::ScrollBarAsNeeded
                                                                   : Qt::ScrollBarAlwaysOff);
        if ((style & LBS_NOTIFY) != 0)
        {
            list->onUserSelectionChange = [hwnd] { NotifyLater(hwnd, LBN_SELCHANGE); };
            list->onDoubleClick = [hwnd] { NotifyLater(hwnd, LBN_DBLCLK); };
        }
        return list;
    }
    case WindowKind::UpDown:
    {
        auto* spin = new UpDownControl(parent);
        spin->onStep = [hwnd](int delta) { ControlOps::Step(WindowRegistry::Find(hwnd), delta); };
        return spin;
    }
    default:
        return new QWidget(parent);
    }
}

Qt::FocusPolicy FocusPolicyOf(const WindowRecord& rec)
{
    switch (rec.kind)
    {
    case WindowKind::Static:
    case WindowKind::Icon:
    case WindowKind::GroupBox:
    case WindowKind::UpDown:
        return Qt::NoFocus;
    default:
        return (rec.style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus;
    }
}

void PlaceControl(DialogState& state, WindowRecord& rec)
{
    const QRect& units = rec.units;
    QRect r =
        DialogBuilder::MapDialogRect(state, units.x(), units.y(), units.width(), units.height());
    if (rec.kind == WindowKind::Icon)
    {
        // An icon static takes the icon's size, whatever the template says.
        r.setSize(QSize(kIconSize, kIconSize));
    }
    else if (rec.kind == WindowKind::ComboBox)
    {
        // The template's height is the dropped-down list's; the box itself
        // is as tall as its font needs.
        auto* combo = static_cast<QComboBox*>(rec.widget.data());
        const int fieldHeight = combo->sizeHint().height();
        const int rowHeight = QFontMetrics(combo->font()).height() + 2;
        combo->setMaxVisibleItems(std::max(1, (r.height() - fieldHeight) / rowHeight));
        r.setHeight(fieldHeight);
    }
    rec.widget->setGeometry(r);
}

// An up-down control with UDS_AUTOBUDDY takes the control before it; with
// UDS_ALIGNRIGHT it sits over the buddy's right edge, overlapping the
// buddy's border, and the buddy narrows by its width.
void AttachBuddy(DialogState& state, std::size_t index)
{
    WindowRecord& spin = *state.controls[index];
    if ((spin.style & UDS_AUTOBUDDY) == 0 || index == 0)
    {
        return;
    }
    WindowRecord& buddy = *state.controls[index - 1];
    spin.buddy = buddy.hwnd;
    if ((spin.style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) == 0)
    {
        return;
    }
    constexpr int kBorderOverlap = 2;
    const QRect b = buddy.widget->geometry();
    const int width = spin.widget->width();
    if ((spin.style & UDS_ALIGNRIGHT) != 0)
    {
        buddy.widget->setGeometry(b.x(), b.y(), b.width() - width + kBorderOverlap, b.height());
        spin.widget->setGeometry(b.right() + 1 - width, b.y(), width, b.height());
    }
    else
    {
        buddy.widget->setGeometry(b.x() + width - kBorderOverlap, b.y(),
                                  b.width() - width + kBorderOverlap, b.height());
        spin.widget->setGeometry(b.x(), b.y(), width, b.height());
    }
}
// Every control at its rectangle, and the window at its size; a language
// written from right to left sees the whole window mirrored, as the platform
// mirrors it.
void Layout(DialogState& state)
{
    const QRect client =
        DialogBuilder::MapDialogRect(state, 0, 0, state.units.width(), state.units.height());
    state.widget->setFixedSize(client.size());
    for (const auto& rec : state.controls)
    {
        PlaceControl(state, *rec);
    }
    for (std::size_t i = 0; i < state.controls.size(); ++i)
    {
        if (state.controls[i]->kind == WindowKind::UpDown)
        {
            AttachBuddy(state, i);
        }
    }
    if (Language::RightToLeft())
    {
        for (const auto& rec : state.controls)
        {
            QRect g = rec->widget->geometry();
            g.moveLeft(client.width() - g.x() - g.width());
            rec->widget->setGeometry(g);
        }
    }
}
} // namespace

void DialogBuilder::Fit(DialogState& state)
{
    state.fitted = true;
    if (!AfxLanguage::Translated())
    {
        return;
    }
    std::vector<bool> centred;
    for (const auto& rec : state.controls)
    {
        const QRect& r = rec->units;
        centred.push_back(std::abs(2 * r.x() + r.width() - state.units.width()) <= 1);
    }
    bool grown = false;
    // Each round mends one control; a text never needs more rounds than this.
    for (int round = 0; round < 64; ++round)
    {
        WindowRecord* wide = nullptr;
        int overflow = 0;
        for (const auto& rec : state.controls)
        {
            overflow = TextRoom::WidthOverflow(rec.get());
            if (overflow > 0)
            {
                wide = rec.get();
                break;
            }
        }
        if (wide == nullptr)
        {
            break;
        }
        const int grow = std::max(1, (overflow * 4 + state.baseX - 1) / state.baseX);
        const int edge = wide->units.x() + wide->units.width();
        for (const auto& rec : state.controls)
        {
            QRect& r = rec->units;
            if (r.x() >= edge)
            {
                r.translate(grow, 0);
            }
            else if (r.x() + r.width() >= edge)
            {
                r.setWidth(r.width() + grow);
            }
        }
        state.units.rwidth() += grow;
        grown = true;
        Layout(state);
    }
    // A script taller than the template's font gets its labels' lines the
    // height they need; a label has room below it in every template.
    for (const auto& rec : state.controls)
    {
        const int overflow = rec->kind == WindowKind::Static ? TextRoom::Overflow(rec.get()) : 0;
        if (overflow > 0)
        {
            rec->units.setHeight(rec->units.height() +
                                 (overflow * 8 + state.baseY - 1) / state.baseY);
            grown = true;
        }
    }
    if (!grown)
    {
        return;
    }
    for (std::size_t i = 0; i < state.controls.size(); ++i)
    {
        QRect& r = state.controls[i]->units;
        if (centred[i])
        {
            r.moveLeft((state.units.width() - r.width()) / 2);
        }
    }
    Layout(state);
}

QFont DialogBuilder::TemplateFont(const char* name, int pointSize)
{
    const QString family = QString::fromUtf8(name);
    if (QFontDatabase::families().contains(family, Qt::CaseInsensitive))
    {
        return QFont(family, pointSize);
    }
    // The platform's dialog fonts are not on free systems. Their free
    // stand-in is chosen for its letter widths: MS Sans Serif at 8 points is
    // a bitmap font whose letters average 5.5 pixels, as FreeSans's do at 10
    // pixels, so texts take the room their templates were drawn for.
    struct Substitute
    {
        const char* requested;
        const char* family;
        double pixelsPerPoint;
    };
    static const Substitute kSubstitutes[] = {
        {"MS Sans Serif", "FreeSans", 1.25},
        {"MS Shell Dlg", "FreeSans", 1.25},
        {"Microsoft Sans Serif", "FreeSans", 1.25},
    };
    // A language whose letters the free stand-in lacks is drawn as its own
    // translated templates would be: in a dialog font of its script, a
    // little larger where its characters need the height to be read.
    struct ScriptFont
    {
        const char* language;
        const char* family;
        double pixelsPerPoint;
    };
    static const ScriptFont kScriptFonts[] = {
        {"zh", "WenQuanYi Micro Hei", 1.5},
        {"ja", "IPAPGothic", 1.5},
        {"ko", "WenQuanYi Micro Hei", 1.5},
        {"ar", "DejaVu Sans", 1.25},
    };
    const std::string language = AfxLanguage::Active().substr(0, 2);
    for (const ScriptFont& script : kScriptFonts)
    {
        const QString free = QString::fromLatin1(script.family);
        if (language == script.language &&
            QFontDatabase::families().contains(free, Qt::CaseInsensitive))
        {
            QFont font(free);
            font.setPixelSize(qRound(pointSize * script.pixelsPerPoint));
            return font;
        }
    }
    for (const Substitute& substitute : kSubstitutes)
    {
        const QString free = QString::fromLatin1(substitute.family);
        if (family.compare(QLatin1String(substitute.requested), Qt::CaseInsensitive) == 0 &&
            QFontDatabase::families().contains(free, Qt::CaseInsensitive))
        {
            QFont font(free);
            font.setPixelSize(qRound(pointSize * substitute.pixelsPerPoint));
            return font;
        }
    }
    QFont fallback(QStringLiteral("Sans Serif"), pointSize);
    fallback.setStyleHint(QFont::SansSerif);
    fallback.setFamily(QFontInfo(fallback).family());
    return fallback;
}

QRect DialogBuilder::MapDialogRect(const DialogState& state, int x, int y, int cx, int cy)
{
    const int left = MulDiv(x, state.baseX, 4);
    const int top = MulDiv(y, state.baseY, 8);
    const int right = MulDiv(x + cx, state.baseX, 4);
    const int bottom = MulDiv(y + cy, state.baseY, 8);
    return QRect(left, top, right - left, bottom - top);
}

std::unique_ptr<DialogState> DialogBuilder::Build(CDialog* dialog, const ResDialogTemplate* tmpl,
                                                  QWidget* owner)
{
    auto state = std::make_unique<DialogState>();
    state->dialog = dialog;
    state->tmpl = tmpl;

    auto* window = new DialogWindow(state.get(), owner);
    state->widget = window;
    state->font = TemplateFont(tmpl->fontName, tmpl->pointSize);
    window->setFont(state->font);

    // Base units as the platform derives them from the dialog font: the
    // average width of the Latin letters, and the font's height.
    const QFontMetrics metrics(state->font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    state->baseX = (letters / 26 + 1) / 2;
    state->baseY = metrics.height();
    state->units = QSize(tmpl->cx, tmpl->cy);
    const char* caption = AfxLanguage::Find(AfxLanguage::DialogKey(tmpl->id));
    window->setWindowTitle(QString::fromUtf8(caption != nullptr ? caption : tmpl->caption));

    state->self = std::make_unique<WindowRecord>();
    state->self->hwnd = WindowRegistry::NewHandle();
    state->self->kind = WindowKind::Dialog;
    state->self->style = tmpl->style;
    state->self->widget = window;
    state->self->bound = dialog;
    state->self->dialog = state.get();
    WindowRegistry::Add(state->self.get());

    state->toolTip = std::make_unique<WindowRecord>();
    state->toolTip->hwnd = WindowRegistry::NewHandle();
    state->toolTip->kind = WindowKind::ToolTip;
    state->toolTip->dialog = state.get();
    WindowRegistry::Add(state->toolTip.get());

    state->hasSystemMenu = (tmpl->style & WS_SYSMENU) != 0;
    if (state->hasSystemMenu)
    {
        state->systemMenu.AppendMenu(MF_STRING, SC_CLOSE, AfxLoadString(AFX_IDS_SCCLOSE));
    }

    int groupStart = -1;
    bool haveDefault = false;
    for (std::size_t i = 0; i < tmpl->itemCount; ++i)
    {
        const ResDialogItem& item = tmpl->items[i];
        auto rec = std::make_unique<WindowRecord>();
        rec->hwnd = WindowRegistry::NewHandle();
        rec->kind = KindOf(item);
        rec->id = item.id;
        rec->style = item.style;
        rec->index = static_cast<int>(i);
        rec->item = &item;
        rec->units = QRect(item.x, item.y, item.cx, item.cy);
        rec->dialog = state.get();
        if ((item.style & WS_GROUP) != 0 || groupStart < 0)
        {
            groupStart = static_cast<int>(i);
        }
        rec->group = groupStart;
        // The platform's initial range is 100 down to 0.
        rec->lower = 100;
        rec->upper = 0;

        rec->widget = CreateWidget(*rec, window);
        rec->widget->setFont(state->font);
        rec->widget->setFocusPolicy(FocusPolicyOf(*rec));
        WindowRegistry::Add(rec.get());
        if (rec->kind == WindowKind::Icon)
        {
            const char* text = item.text;
            if (text != nullptr && text[0] == '#')
            {
                rec->icon = QtBridge::LoadIconResource(static_cast<unsigned>(std::atoi(text + 1)));
                static_cast<StaticControl*>(rec->widget.data())
                    ->setIcon(QtBridge::IconOf(rec->icon));
            }
        }
        else
        {
            // A control is created with its template text; that is no change
            // of text, so no EN_CHANGE.
            const char* text = AfxLanguage::Find(AfxLanguage::ItemKey(tmpl->id, item, i));
            ControlOps::SetText(rec.get(),
                                AfxLanguage::Utf8ToUi(text != nullptr        ? text
                                                      : item.text != nullptr ? item.text
                                                                             : ""),
                                false);
        }
        if (rec->kind == WindowKind::PushButton && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
            !haveDefault)
        {
            state->defaultId = item.id;
            haveDefault = true;
        }
        if ((item.style & WS_VISIBLE) == 0)
        {
            rec->widget->setVisible(false);
        }
        if ((item.style & WS_DISABLED) != 0)
        {
            rec->widget->setEnabled(false);
        }
        state->controls.push_back(std::move(rec));
    }

    Layout(*state);
    for (const auto& rec : state->controls)
    {
        if (rec->kind == WindowKind::GroupBox)
        {
            // Frames go beneath the controls they surround.
            rec->widget->lower();
        }
        window->WatchControl(rec->widget);
    }
    QWidget* previous = nullptr;
    for (const auto& rec : state->controls)
    {
        if (rec->widget->focusPolicy() == Qt::NoFocus)
        {
            continue;
        }
        if (previous != nullptr)
        {
            QWidget::setTabOrder(previous, rec->widget);
        }
        previous = rec->widget;
    }
    return state;
}

void DialogBuilder::Destroy(std::unique_ptr<DialogState> state)
{
    if (!state)
    {
        return;
    }
    for (const auto& rec : state->controls)
    {
        if (rec->bound != nullptr)
        {
            rec->bound->m_hWnd = nullptr;
            rec->bound = nullptr;
        }
        if (rec->wrapper)
        {
            rec->wrapper->m_hWnd = nullptr;
        }
        WindowRegistry::Remove(rec->hwnd);
    }
    WindowRegistry::Remove(state->toolTip->hwnd);
    WindowRegistry::Remove(state->self->hwnd);
    if (state->dialog != nullptr)
    {
        state->dialog->m_hWnd = nullptr;
    }
    delete state->widget.data();
}
