// SPDX-License-Identifier: Apache-2.0
#include "framework/core/CObject.h"

#include <cstring>
#include <vector>

namespace
{
// Serialisable classes, registered during static initialisation (a function
// static, so the order of registrations across files does not matter).
std::vector<const CRuntimeClass*>& Registry()
{
    static std::vector<const CRuntimeClass*> classes;
    return classes;
}
} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                             nullptr, nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
    {
        if (c == base)
        {
            return true;
        }
    }
    return false;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* name)
{
    for (const CRuntimeClass* c : Registry())
    {
        if (std::strcmp(c->m_lpszClassName, name) == 0)
        {
            return c;
        }
    }
    return nullptr;
}

AFX_CLASSINIT::AFX_CLASSINIT(const CRuntimeClass* runtimeClass)
{
    Registry().push_back(runtimeClass);
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

CObject::~CObject() = default;

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* runtimeClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}
