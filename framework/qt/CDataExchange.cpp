// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CDataExchange.h"

#include "framework/core/AfxStrings.h"
#include "framework/dialogs/AfxMessageBox.h"
#include "framework/dialogs/CEdit.h"
#include "framework/dialogs/CWnd.h"
#include "framework/qt/ControlOps.h"

#include <climits>
#include <cstdio>
#include <string>

namespace
{
// Help context ids of the framework's own prompts.
constexpr UINT kHelpParseInt = 0xF110;
constexpr UINT kHelpParseUInt = 0xF111;
constexpr UINT kHelpParseRange = 0xF112;
constexpr UINT kHelpMaxChars = 0xF113;

WindowRecord* ControlOf(CDataExchange* pDX, int id)
{
    WindowRecord* dialog = WindowRegistry::Find(pDX->m_pDlgWnd->m_hWnd.load());
    return dialog != nullptr && dialog->kind == WindowKind::Dialog
               ? WindowRegistry::FindControl(dialog->dialog, id)
               : nullptr;
}

// Puts text into the control only when it differs, as the framework's
// exchange does, so that loading an unchanged value sends no EN_CHANGE.
void SetTextIfChanged(WindowRecord* control, const std::string& text)
{
    if (control != nullptr && ControlOps::GetText(control) != text)
    {
        ControlOps::SetText(control, text);
    }
}

// A prompt of the layer's table with its numbers filled in. The language's
// text has the English text's conversions, or is not used (AfxLanguage.h).
template <typename... Numbers> std::string Format(UINT id, Numbers... numbers)
{
    const std::string format = AfxLoadString(id);
    const int size = std::snprintf(nullptr, 0, format.c_str(), numbers...);
    if (size <= 0)
    {
        return format;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, format.c_str(), numbers...);
    return text;
}

[[noreturn]] void Prompt(CDataExchange* pDX, const std::string& text, UINT helpId)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION, helpId);
    pDX->Fail();
}

std::vector<WindowRecord*> RadioGroup(CDataExchange* pDX, int firstId)
{
    std::vector<WindowRecord*> group;
    WindowRecord* first = ControlOf(pDX, firstId);
    if (first == nullptr)
    {
        return group;
    }
    const auto& controls = first->dialog->controls;
    for (std::size_t i = static_cast<std::size_t>(first->index); i < controls.size(); ++i)
    {
        WindowRecord* control = controls[i].get();
        if (control != first && (control->style & WS_GROUP) != 0)
        {
            break;
        }
        if (control->kind == WindowKind::RadioButton)
        {
            group.push_back(control);
        }
    }
    return group;
}
} // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    m_idLastControl = id;
    m_bEditLastControl = FALSE;
    WindowRecord* control = ControlOf(this, id);
    return control != nullptr ? control->hwnd : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND hwnd = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return hwnd;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate)
    {
        WindowRecord* control = ControlOf(this, m_idLastControl);
        if (control != nullptr && control->widget)
        {
            control->widget->setFocus(Qt::OtherFocusReason);
            if (m_bEditLastControl)
            {
                ControlOps::SetSel(control, 0, -1);
            }
        }
    }
    throw Failure{};
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd.load() != nullptr)
    {
        return;
    }
    WindowRecord* record = ControlOf(pDX, id);
    if (record != nullptr)
    {
        record->bound = &control;
        control.m_hWnd = record->hwnd;
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    pDX->PrepareEditCtrl(id);
    WindowRecord* control = ControlOf(pDX, id);
    if (!pDX->m_bSaveAndValidate)
    {
        SetTextIfChanged(control, std::to_string(value));
        return;
    }
    long long parsed = 0;
    if (!ControlOps::ParseWholeNumber(ControlOps::GetText(control), true, parsed) ||
        parsed < INT_MIN || parsed > INT_MAX)
    {
        Prompt(pDX, AfxLoadString(AFX_IDP_PARSE_INT), kHelpParseInt);
    }
    value = static_cast<int>(parsed);
}

void DDX_Text(CDataExchange* pDX, int id, UINT& value)
{
    pDX->PrepareEditCtrl(id);
    WindowRecord* control = ControlOf(pDX, id);
    if (!pDX->m_bSaveAndValidate)
    {
        SetTextIfChanged(control, std::to_string(value));
        return;
    }
    long long parsed = 0;
    if (!ControlOps::ParseWholeNumber(ControlOps::GetText(control), false, parsed) ||
        parsed > UINT_MAX)
    {
        Prompt(pDX, AfxLoadString(AFX_IDP_PARSE_UINT), kHelpParseUInt);
    }
    value = static_cast<UINT>(parsed);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    pDX->PrepareEditCtrl(id);
    WindowRecord* control = ControlOf(pDX, id);
    if (pDX->m_bSaveAndValidate)
    {
        value = ControlOps::GetText(control);
    }
    else
    {
        SetTextIfChanged(control, value);
    }
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value)
{
    pDX->PrepareCtrl(firstId);
    const std::vector<WindowRecord*> group = RadioGroup(pDX, firstId);
    if (pDX->m_bSaveAndValidate)
    {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
        {
            if (ControlOps::GetCheck(group[i]) == static_cast<int>(BST_CHECKED))
            {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i)
    {
        ControlOps::SetCheck(group[i], static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    pDX->PrepareCtrl(id);
    WindowRecord* control = ControlOf(pDX, id);
    if (pDX->m_bSaveAndValidate)
    {
        value = ControlOps::GetCheck(control);
    }
    else
    {
        ControlOps::SetCheck(control, value);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        Prompt(pDX, Format(AFX_IDP_PARSE_INT_RANGE, minValue, maxValue), kHelpParseRange);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        Prompt(pDX, Format(AFX_IDP_PARSE_UINT_RANGE, minValue, maxValue), kHelpParseRange);
    }
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars)
{
    if (!pDX->m_bSaveAndValidate)
    {
        // Loading sets the edit's limit, so the operator cannot type more.
        WindowRecord* control = ControlOf(pDX, pDX->m_idLastControl);
        if (control != nullptr && control->kind == WindowKind::Edit && maxChars > 0)
        {
            control->limitText = static_cast<UINT>(maxChars);
        }
        return;
    }
    if (static_cast<int>(value.size()) > maxChars)
    {
        Prompt(pDX, Format(AFX_IDP_PARSE_STRING_SIZE, maxChars), kHelpMaxChars);
    }
}
