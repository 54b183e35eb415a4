// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CPaintDC.h"

#include "framework/dialogs/CWnd.h"
#include "framework/qt/QtBridge.h"
#include "framework/qt/WindowRegistry.h"

#include <QPainter>

struct CPaintDC::Impl
{
    DialogState* dialog = nullptr;
};

CPaintDC::CPaintDC(CWnd* window) : m_impl(std::make_unique<Impl>())
{
    WindowRecord* record =
        window != nullptr ? WindowRegistry::Find(window->m_hWnd.load()) : nullptr;
    if (record == nullptr || record->kind != WindowKind::Dialog || !record->dialog->painting)
    {
        return;
    }
    DialogState* dialog = record->dialog;
    if (dialog->painter == nullptr)
    {
        dialog->painter = new QPainter(dialog->widget);
    }
    m_impl->dialog = dialog;
    m_hDC = reinterpret_cast<HDC>(record->hwnd);
}

CPaintDC::~CPaintDC() = default;

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon)
{
    if (m_hDC == nullptr || icon == nullptr || m_impl->dialog->painter == nullptr)
    {
        return FALSE;
    }
    const int size = GetSystemMetrics(SM_CXICON);
    m_impl->dialog->painter->drawPixmap(x, y, QtBridge::IconOf(icon).pixmap(size, size));
    return TRUE;
}
