// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CStatic.h"

#include "framework/qt/QtBridge.h"
#include "framework/qt/StaticControl.h"
#include "framework/qt/WindowRegistry.h"

HICON CStatic::SetIcon(HICON icon)
{
    WindowRecord* record = WindowRegistry::Find(m_hWnd.load());
    if (record == nullptr || record->kind != WindowKind::Icon)
    {
        return nullptr;
    }
    HICON previous = record->icon;
    record->icon = icon;
    static_cast<StaticControl*>(record->widget.data())->setIcon(QtBridge::IconOf(icon));
    return previous;
}

HICON CStatic::GetIcon() const
{
    WindowRecord* record = WindowRegistry::Find(m_hWnd.load());
    return record != nullptr && record->kind == WindowKind::Icon ? record->icon : nullptr;
}
