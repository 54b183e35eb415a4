// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/AfxWinTypes.h"

#include "framework/qt/WindowRegistry.h"

int GetSystemMetrics(int index)
{
    switch (index)
    {
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

int GetDlgCtrlID(HWND hWnd)
{
    WindowRecord* record = WindowRegistry::Find(hWnd);
    return record != nullptr && record->kind != WindowKind::Dialog ? record->id : 0;
}

BOOL IsWindow(HWND hWnd)
{
    return WindowRegistry::IsAlive(hWnd) ? TRUE : FALSE;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowRegistry::Post(hWnd, message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowRegistry::Send(hWnd, message, wParam, lParam);
}
