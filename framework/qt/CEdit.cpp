// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CEdit.h"

#include "framework/qt/ControlOps.h"

namespace
{
constexpr UINT kPlatformLimit = 32767;
}

void CEdit::SetLimitText(UINT maxChars)
{
    WindowRecord* record = WindowRegistry::Find(m_hWnd.load());
    if (record != nullptr && record->kind == WindowKind::Edit)
    {
        record->limitText = maxChars;
    }
}

UINT CEdit::GetLimitText() const
{
    WindowRecord* record = WindowRegistry::Find(m_hWnd.load());
    if (record == nullptr || record->kind != WindowKind::Edit)
    {
        return 0;
    }
    return record->limitText != 0 ? record->limitText : kPlatformLimit;
}

void CEdit::SetSel(int start, int end, BOOL)
{
    ControlOps::SetSel(WindowRegistry::Find(m_hWnd.load()), start, end);
}

void CEdit::GetSel(int& start, int& end) const
{
    ControlOps::GetSel(WindowRegistry::Find(m_hWnd.load()), start, end);
}
