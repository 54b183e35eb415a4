// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CDialog.h"

#include "framework/dialogs/CWinApp.h"
#include "framework/qt/Accessibility.h"
#include "framework/qt/ControlOps.h"
#include "framework/qt/DialogBuilder.h"
#include "framework/qt/QtBridge.h"
#include "framework/qt/TestHooks.h"
#include "framework/qt/WaitCursorState.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace
{
DialogState* StateOf(const CDialog* dialog)
{
    WindowRecord* record = WindowRegistry::Find(dialog->m_hWnd.load());
    return record != nullptr && record->kind == WindowKind::Dialog ? record->dialog : nullptr;
}

// The platform's initial focus: the first control that is visible, enabled
// and a tab stop; an edit gets its whole text selected.
void FocusFirstControl(DialogState& state)
{
    for (const auto& control : state.controls)
    {
        QWidget* widget = control->widget;
        if (widget != nullptr && !widget->isHidden() && widget->isEnabled() &&
            (control->style & WS_TABSTOP) != 0 && widget->focusPolicy() != Qt::NoFocus)
        {
            widget->setFocus(Qt::TabFocusReason);
            if (control->kind == WindowKind::Edit)
            {
                ControlOps::SetSel(control.get(), 0, -1);
            }
            return;
        }
    }
}

// Takes the window down on every way out of DoModal, exceptions included.
class ModalScope
{
public:
    explicit ModalScope(std::unique_ptr<DialogState> state) : m_state(std::move(state))
    {
        WindowRegistry::PushModal(m_state.get());
    }
    ~ModalScope()
    {
        WindowRegistry::PopModal(m_state.get());
        DialogBuilder::Destroy(std::move(m_state));
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    DialogState& state() { return *m_state; }

private:
    std::unique_ptr<DialogState> m_state;
};
} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

int CDialog::DoModal()
{
    const ResDialogTemplate* tmpl = TestHooks::FindTemplate(m_nIDTemplate);
    if (tmpl == nullptr || m_hWnd.load() != nullptr)
    {
        return -1;
    }
    QtBridge::EnsureApplication();

    DialogState* ownerState = nullptr;
    if (m_pParentWnd != nullptr)
    {
        WindowRecord* parent = WindowRegistry::Find(m_pParentWnd->m_hWnd.load());
        ownerState = parent != nullptr ? parent->dialog : nullptr;
    }
    if (ownerState == nullptr)
    {
        ownerState = WindowRegistry::ActiveModal();
    }
    QWidget* owner = ownerState != nullptr ? ownerState->widget.data() : nullptr;

    ModalScope scope(DialogBuilder::Build(this, tmpl, owner));
    DialogState& state = scope.state();
    m_hWnd = state.self->hwnd;
    m_nModalResult = -1;
    // The dialog shows the arrow; whoever wants the wait cursor back after
    // it restores it.
    WaitCursorState::Suspend();
    state.widget->setWindowModality(Qt::ApplicationModal);

    const BOOL defaultFocus = OnInitDialog();
    if (state.ended)
    {
        return m_nModalResult;
    }
    DialogBuilder::Fit(state);
    Accessibility::DialogInitialised(state);
    state.widget->show();
    state.widget->activateWindow();
    if (defaultFocus)
    {
        FocusFirstControl(state);
    }
    QCoreApplication::processEvents();

    if (AfxModalDriver driver = TestHooks::TakeDriver(m_nIDTemplate))
    {
        driver(*this);
        if (!state.ended)
        {
            TestHooks::NoteUnfinishedModal();
            std::fprintf(stderr, "Modal driver for dialog %u returned with the dialog open.\n",
                         m_nIDTemplate);
            EndDialog(-1);
        }
    }
    else if (TestHooks::TestMode())
    {
        TestHooks::NoteUnfinishedModal();
        std::fprintf(stderr, "No modal driver for dialog %u: ended at once.\n", m_nIDTemplate);
        EndDialog(-1);
    }
    else
    {
        QEventLoop loop;
        state.loop = &loop;
        loop.exec();
        state.loop = nullptr;
    }
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::EndDialog(int result)
{
    DialogState* state = StateOf(this);
    if (state == nullptr)
    {
        return;
    }
    m_nModalResult = result;
    state->ended = true;
    state->widget->hide();
    if (state->loop != nullptr)
    {
        state->loop->quit();
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    if (StateOf(this) == nullptr)
    {
        return FALSE;
    }
    CDataExchange exchange(this, saveAndValidate);
    try
    {
        DoDataExchange(&exchange);
    }
    catch (const CDataExchange::Failure&)
    {
        return FALSE;
    }
    return TRUE;
}

UINT CDialog::GetDefID() const
{
    DialogState* state = StateOf(this);
    return state != nullptr ? static_cast<UINT>(state->defaultId) : IDOK;
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control == nullptr)
    {
        return;
    }
    control->SetFocus();
    WindowRecord* record = WindowRegistry::Find(control->m_hWnd.load());
    if (record != nullptr && record->kind == WindowKind::Edit)
    {
        ControlOps::SetSel(record, 0, -1);
    }
}

void CDialog::NextDlgCtrl()
{
    DialogState* state = StateOf(this);
    if (state != nullptr && state->widget->focusWidget() != nullptr)
    {
        state->widget->focusWidget()->nextInFocusChain()->setFocus(Qt::TabFocusReason);
    }
}

void CDialog::PrevDlgCtrl()
{
    DialogState* state = StateOf(this);
    if (state != nullptr && state->widget->focusWidget() != nullptr)
    {
        state->widget->focusWidget()->previousInFocusChain()->setFocus(Qt::BacktabFocusReason);
    }
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
    {
        // A dialog's default answer to WM_CLOSE is the Cancel command.
        WindowRecord* cancel = WindowRegistry::FindControl(StateOf(this), IDCANCEL);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(cancel != nullptr ? cancel->hwnd : nullptr));
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCmdMsg(UINT id, UINT code)
{
    if (CWnd::OnCmdMsg(id, code))
    {
        return TRUE;
    }
    // Commands no window takes go on to the application object (ID_HELP).
    CWinApp* app = AfxGetApp();
    return app != nullptr && code == BN_CLICKED ? app->OnCmdMsg(id, code) : FALSE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
    {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
