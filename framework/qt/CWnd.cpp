// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CWnd.h"

#include "framework/core/AfxStrings.h"
#include "framework/dialogs/CMenu.h"
#include "framework/dialogs/CWinApp.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/MessageBoxes.h"
#include "framework/qt/QtBridge.h"

#include <QApplication>
#include <QWidget>

#include <cstring>

namespace
{
WindowRecord* RecordOf(const CWnd* window)
{
    return WindowRegistry::Find(window->m_hWnd.load());
}

// The dialog a window belongs to: itself, or a control's dialog.
DialogState* DialogOf(const CWnd* window)
{
    WindowRecord* record = RecordOf(window);
    return record != nullptr ? record->dialog : nullptr;
}

WindowRecord* ControlOf(const CWnd* dialog, int id)
{
    WindowRecord* record = RecordOf(dialog);
    return record != nullptr && record->kind == WindowKind::Dialog
               ? WindowRegistry::FindControl(record->dialog, id)
               : nullptr;
}
} // namespace

CWnd::~CWnd()
{
    WindowRecord* record = RecordOf(this);
    if (record != nullptr && record->bound == this)
    {
        record->bound = nullptr;
    }
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return WindowRegistry::ObjectOf(WindowRegistry::Find(hWnd));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd.load());
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return WindowRegistry::ObjectOf(ControlOf(this, id));
}

CWnd* CWnd::GetParent() const
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr)
    {
        return nullptr;
    }
    if (record->kind != WindowKind::Dialog)
    {
        return WindowRegistry::ObjectOf(record->dialog->self.get());
    }
    QWidget* owner = record->widget ? record->widget->parentWidget() : nullptr;
    return WindowRegistry::ObjectOf(owner != nullptr ? WindowRegistry::FromWidget(owner) : nullptr);
}

void CWnd::SetWindowText(const std::string& text)
{
    ControlOps::SetText(RecordOf(this), text);
}

void CWnd::GetWindowText(std::string& text) const
{
    text = ControlOps::GetText(RecordOf(this));
}

std::string CWnd::GetWindowText() const
{
    return ControlOps::GetText(RecordOf(this));
}

int CWnd::GetWindowText(char* buffer, int maxCount) const
{
    return static_cast<int>(ControlOps::Message(RecordOf(this), WM_GETTEXT,
                                                static_cast<WPARAM>(maxCount < 0 ? 0 : maxCount),
                                                reinterpret_cast<LPARAM>(buffer)));
}

int CWnd::GetWindowTextLength() const
{
    return static_cast<int>(ControlOps::GetText(RecordOf(this)).size());
}

void CWnd::SetDlgItemText(int id, const std::string& text)
{
    ControlOps::SetText(ControlOf(this, id), text);
}

void CWnd::GetDlgItemText(int id, std::string& text) const
{
    text = ControlOps::GetText(ControlOf(this, id));
}

int CWnd::GetDlgItemText(int id, char* buffer, int maxCount) const
{
    return static_cast<int>(ControlOps::Message(ControlOf(this, id), WM_GETTEXT,
                                                static_cast<WPARAM>(maxCount < 0 ? 0 : maxCount),
                                                reinterpret_cast<LPARAM>(buffer)));
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned)
{
    SetDlgItemText(id, isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value));
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const
{
    long long value = 0;
    const bool ok = ControlOps::ParseWholeNumber(ControlOps::GetText(ControlOf(this, id)),
                                                 isSigned != FALSE, value) &&
                    (isSigned ? value >= INT32_MIN && value <= INT32_MAX : value <= UINT32_MAX);
    if (translated != nullptr)
    {
        *translated = ok ? TRUE : FALSE;
    }
    return ok ? static_cast<UINT>(value) : 0;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr || !record->widget)
    {
        return FALSE;
    }
    const bool wasDisabled = !record->widget->isEnabled();
    record->widget->setEnabled(enable != FALSE);
    return wasDisabled ? TRUE : FALSE;
}

BOOL CWnd::IsWindowEnabled() const
{
    WindowRecord* record = RecordOf(this);
    return record != nullptr && record->widget && record->widget->isEnabled() ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int showCommand)
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr || !record->widget)
    {
        return FALSE;
    }
    const bool wasVisible = !record->widget->isHidden();
    record->widget->setVisible(showCommand != SW_HIDE);
    return wasVisible ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const
{
    WindowRecord* record = RecordOf(this);
    return record != nullptr && record->widget && !record->widget->isHidden() ? TRUE : FALSE;
}

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    WindowRecord* record = RecordOf(this);
    if (record != nullptr && record->widget)
    {
        if (record->kind == WindowKind::Dialog)
        {
            record->widget->activateWindow();
        }
        else
        {
            record->widget->setFocus(Qt::OtherFocusReason);
        }
    }
    return previous;
}

CWnd* CWnd::GetFocus()
{
    DialogState* dialog = WindowRegistry::ActiveModal();
    if (dialog == nullptr || !dialog->widget)
    {
        return nullptr;
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != dialog->widget)
    {
        focus = dialog->widget->focusWidget();
    }
    return focus != nullptr ? WindowRegistry::ObjectOf(WindowRegistry::FromWidget(focus)) : nullptr;
}

BOOL CWnd::IsIconic() const
{
    WindowRecord* record = RecordOf(this);
    return record != nullptr && record->kind == WindowKind::Dialog && record->widget &&
                   record->widget->isMinimized()
               ? TRUE
               : FALSE;
}

void CWnd::GetClientRect(CRect* rect) const
{
    WindowRecord* record = RecordOf(this);
    if (rect == nullptr)
    {
        return;
    }
    *rect = record != nullptr && record->widget
                ? CRect(0, 0, record->widget->width(), record->widget->height())
                : CRect();
}

void CWnd::GetWindowRect(CRect* rect) const
{
    WindowRecord* record = RecordOf(this);
    if (rect == nullptr)
    {
        return;
    }
    if (record == nullptr || !record->widget)
    {
        *rect = CRect();
        return;
    }
    const QRect r = record->kind == WindowKind::Dialog ? record->widget->frameGeometry()
                                                       : record->widget->geometry();
    *rect = CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void CWnd::Invalidate(BOOL)
{
    WindowRecord* record = RecordOf(this);
    if (record != nullptr && record->widget)
    {
        record->widget->update();
    }
}

void CWnd::UpdateWindow()
{
    WindowRecord* record = RecordOf(this);
    if (record != nullptr && record->widget && record->widget->isVisible())
    {
        record->widget->repaint();
    }
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId)
{
    WindowRecord* record = RecordOf(this);
    if (record != nullptr && record->kind == WindowKind::Dialog)
    {
        ControlOps::CheckRadioRange(record->dialog, firstId, lastId, checkId);
    }
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    ControlOps::SetCheck(ControlOf(this, id), static_cast<int>(check));
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    return static_cast<UINT>(ControlOps::GetCheck(ControlOf(this, id)));
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowRegistry::Post(m_hWnd.load(), message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowRegistry::Send(m_hWnd.load(), message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* control = ControlOf(this, id);
    return control != nullptr ? WindowRegistry::Send(control->hwnd, message, wParam, lParam) : 0;
}

int CWnd::MessageBox(const std::string& text, const char* caption, UINT type)
{
    return MessageBoxes::Show(text, caption != nullptr ? caption : AfxGetAppName(), type, false,
                              DialogOf(this));
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type)
{
    return MessageBoxes::Show(text, caption, type, false, DialogOf(this));
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr || record->kind != WindowKind::Dialog || !record->dialog->hasSystemMenu)
    {
        return nullptr;
    }
    CMenu& menu = record->dialog->systemMenu;
    if (revert)
    {
        menu.RemoveAll();
        menu.AppendMenu(MF_STRING, SC_CLOSE, AfxLoadString(AFX_IDS_SCCLOSE));
        return nullptr;
    }
    return &menu;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon)
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr || record->kind != WindowKind::Dialog)
    {
        return nullptr;
    }
    DialogState* dialog = record->dialog;
    HICON& slot = bigIcon ? dialog->bigIcon : dialog->smallIcon;
    HICON previous = slot;
    slot = icon;
    // One window icon holds every size; the large one, when set, is it.
    record->widget->setWindowIcon(
        QtBridge::IconOf(dialog->bigIcon != nullptr ? dialog->bigIcon : dialog->smallIcon));
    return previous;
}

HICON CWnd::GetIcon(BOOL bigIcon) const
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr || record->kind != WindowKind::Dialog)
    {
        return nullptr;
    }
    return bigIcon ? record->dialog->bigIcon : record->dialog->smallIcon;
}

BOOL CWnd::EnableToolTips(BOOL enable)
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr || record->kind != WindowKind::Dialog)
    {
        return FALSE;
    }
    const bool previous = record->dialog->toolTipsEnabled;
    record->dialog->toolTipsEnabled = enable != FALSE;
    return previous ? TRUE : FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage outer = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
        {
            result = DefWindowProc(message, wParam, lParam);
        }
    }
    else if (message == WM_NOTIFY)
    {
        LRESULT notifyResult = 0;
        result = OnNotify(wParam, lParam, &notifyResult) ? notifyResult
                                                         : DefWindowProc(message, wParam, lParam);
    }
    else
    {
        AfxMsgCall call{message, wParam, lParam, 0, 0};
        result = DispatchToMessageMap(call) ? call.result : DefWindowProc(message, wParam, lParam);
    }
    m_current = outer;
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_SYSCOMMAND && (static_cast<UINT>(wParam) & 0xFFF0u) == SC_CLOSE)
    {
        SendMessage(WM_CLOSE);
    }
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr)
    {
        return FALSE;
    }
    // The sender's own id, as the platform's framework takes it: a tooltip
    // control is id 0 whatever tool it asks about.
    const UINT id = IsWindow(header->hwndFrom) ? static_cast<UINT>(::GetDlgCtrlID(header->hwndFrom))
                                               : static_cast<UINT>(header->idFrom);
    AfxMsgCall call{WM_NOTIFY, wParam, lParam, id, header->code, header, result};
    return DispatchToMessageMap(call) ? TRUE : FALSE;
}

void CWnd::OnSysCommand(UINT id, LPARAM lParam)
{
    DefWindowProc(WM_SYSCOMMAND, id, lParam);
}

void CWnd::OnPaint()
{
    DefWindowProc(WM_PAINT, 0, 0);
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(DefWindowProc(WM_QUERYDRAGICON, 0, 0));
}

void CWnd::OnClose()
{
    DefWindowProc(WM_CLOSE, 0, 0);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}
