#include "framework/CButton.h"

#include "framework/ui/ControlOps.h"

int CButton::GetCheck() const
{
    return ControlOps::GetCheck(WindowRegistry::Find(m_hWnd.load()));
}

void CButton::SetCheck(int check)
{
    ControlOps::SetCheck(WindowRegistry::Find(m_hWnd.load()), check);
}
