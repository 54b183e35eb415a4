// SPDX-License-Identifier: Apache-2.0
#include "framework/dialogs/CButton.h"

#include "framework/qt/ControlOps.h"

int CButton::GetCheck() const
{
    return ControlOps::GetCheck(WindowRegistry::Find(m_hWnd.load()));
}

void CButton::SetCheck(int check)
{
    ControlOps::SetCheck(WindowRegistry::Find(m_hWnd.load()), check);
}
