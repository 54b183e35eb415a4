// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CComboBox.h"

#include "framework/qt/ControlOps.h"

#include <cstring>

namespace
{
WindowRecord* RecordOf(const CComboBox* list)
{
    return WindowRegistry::Find(list->m_hWnd.load());
}
} // namespace

int CComboBox::AddString(const std::string& text)
{
    return ControlOps::AddString(RecordOf(this), text);
}

int CComboBox::InsertString(int index, const std::string& text)
{
    return ControlOps::InsertString(RecordOf(this), index, text);
}

int CComboBox::DeleteString(int index)
{
    return ControlOps::DeleteString(RecordOf(this), index);
}

void CComboBox::ResetContent()
{
    ControlOps::ResetContent(RecordOf(this));
}

int CComboBox::GetCount() const
{
    return ControlOps::GetCount(RecordOf(this));
}

int CComboBox::GetCurSel() const
{
    return ControlOps::GetCurSel(RecordOf(this));
}

int CComboBox::SetCurSel(int index)
{
    return ControlOps::SetCurSel(RecordOf(this), index);
}

void CComboBox::GetLBText(int index, std::string& text) const
{
    ControlOps::GetItemText(RecordOf(this), index, text);
}

int CComboBox::GetLBText(int index, char* buffer) const
{
    std::string text;
    if (!ControlOps::GetItemText(RecordOf(this), index, text))
    {
        return CB_ERR;
    }
    if (buffer != nullptr)
    {
        std::memcpy(buffer, text.c_str(), text.size() + 1);
    }
    return static_cast<int>(text.size());
}

int CComboBox::GetLBTextLen(int index) const
{
    std::string text;
    return ControlOps::GetItemText(RecordOf(this), index, text) ? static_cast<int>(text.size())
                                                                : CB_ERR;
}

int CComboBox::FindStringExact(int startAfter, const std::string& text) const
{
    return ControlOps::FindStringExact(RecordOf(this), startAfter, text);
}
