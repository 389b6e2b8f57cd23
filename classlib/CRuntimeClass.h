#pragma once
// Run-time class information: a class's name, its base, and (for classes that allow it) a way
// to construct one by description. Classes opt in with DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC
// (or the DYNCREATE pair); a class without its own answers with its nearest base's.
class CCmdTarget;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;
    CCmdTarget* (*m_pfnCreateObject)();

    // A new object of this class, or NULL when the class cannot be created dynamically.
    CCmdTarget* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CCmdTarget* CreateObject();

#define QM_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew) \
    const CRuntimeClass class_name::class##class_name = { \
        #class_name, sizeof(class_name), RUNTIME_CLASS(base_class_name), pfnNew }; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    QM_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CCmdTarget* class_name::CreateObject() { return new class_name; } \
    QM_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)
