// SPDX-License-Identifier: Apache-2.0
// Root of the framework's class tree, with the run-time class query and the
// registration of serialisable classes by name.
#ifndef KELM_FRAMEWORK_COBJECT_H
#define KELM_FRAMEWORK_COBJECT_H

#include "framework/core/AfxTypes.h"

class CArchive;
class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF for classes that are not serialisable
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    bool IsDerivedFrom(const CRuntimeClass* base) const;
    // A new object of this class, or null when it cannot be created by name.
    CObject* CreateObject() const;
    // The serialisable class registered under name, or null.
    static const CRuntimeClass* FromName(const char* name);
};

// Registers a serialisable class at static-initialisation time.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(const CRuntimeClass* runtimeClass);
};

class CObject
{
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* runtimeClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_SERIAL(class_name)                                                                 \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;                                         \
    static CObject* CreateObject();

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                      \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, static_cast<int>(sizeof(class_name)), schema, class_name::CreateObject,       \
        RUNTIME_CLASS(base_class_name)};                                                           \
    const CRuntimeClass* class_name::GetRuntimeClass() const                                       \
    {                                                                                              \
        return RUNTIME_CLASS(class_name);                                                          \
    }                                                                                              \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#endif
