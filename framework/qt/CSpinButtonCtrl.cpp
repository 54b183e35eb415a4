// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CSpinButtonCtrl.h"

#include "framework/qt/ControlOps.h"

namespace
{
WindowRecord* RecordOf(const CSpinButtonCtrl* spin)
{
    WindowRecord* record = WindowRegistry::Find(spin->m_hWnd.load());
    return record != nullptr && record->kind == WindowKind::UpDown ? record : nullptr;
}
} // namespace

void CSpinButtonCtrl::SetRange(int lower, int upper)
{
    ControlOps::SetRange(RecordOf(this), lower, upper);
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    WindowRecord* record = RecordOf(this);
    lower = record != nullptr ? record->lower : 0;
    upper = record != nullptr ? record->upper : 0;
}

int CSpinButtonCtrl::SetPos(int position)
{
    return ControlOps::SetPos(RecordOf(this), position);
}

int CSpinButtonCtrl::GetPos() const
{
    return ControlOps::GetPos(RecordOf(this));
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy)
{
    WindowRecord* record = RecordOf(this);
    if (record == nullptr)
    {
        return nullptr;
    }
    CWnd* previous = CWnd::FromHandle(record->buddy);
    record->buddy = buddy != nullptr ? buddy->m_hWnd.load() : nullptr;
    return previous;
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    WindowRecord* record = RecordOf(this);
    return record != nullptr ? CWnd::FromHandle(record->buddy) : nullptr;
}
