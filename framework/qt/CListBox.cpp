// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CListBox.h"

#include "framework/qt/ControlOps.h"

#include <cstring>

namespace
{
WindowRecord* RecordOf(const CListBox* list)
{
    return WindowRegistry::Find(list->m_hWnd.load());
}
} // namespace

int CListBox::AddString(const std::string& text)
{
    return ControlOps::AddString(RecordOf(this), text);
}

int CListBox::InsertString(int index, const std::string& text)
{
    return ControlOps::InsertString(RecordOf(this), index, text);
}

int CListBox::DeleteString(int index)
{
    return ControlOps::DeleteString(RecordOf(this), index);
}

void CListBox::ResetContent()
{
    ControlOps::ResetContent(RecordOf(this));
}

int CListBox::GetCount() const
{
    return ControlOps::GetCount(RecordOf(this));
}

int CListBox::GetCurSel() const
{
    return ControlOps::GetCurSel(RecordOf(this));
}

int CListBox::SetCurSel(int index)
{
    return ControlOps::SetCurSel(RecordOf(this), index);
}

void CListBox::GetText(int index, std::string& text) const
{
    ControlOps::GetItemText(RecordOf(this), index, text);
}

int CListBox::GetText(int index, char* buffer) const
{
    std::string text;
    if (!ControlOps::GetItemText(RecordOf(this), index, text))
    {
        return LB_ERR;
    }
    if (buffer != nullptr)
    {
        std::memcpy(buffer, text.c_str(), text.size() + 1);
    }
    return static_cast<int>(text.size());
}

int CListBox::GetTextLen(int index) const
{
    std::string text;
    return ControlOps::GetItemText(RecordOf(this), index, text) ? static_cast<int>(text.size())
                                                                : LB_ERR;
}

int CListBox::FindStringExact(int startAfter, const std::string& text) const
{
    return ControlOps::FindStringExact(RecordOf(this), startAfter, text);
}
