#pragma once
// Run-time class information: a class's name and its base. Classes opt in with DECLARE_DYNAMIC /
// IMPLEMENT_DYNAMIC; a class without its own answers with its nearest base's.

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    const CRuntimeClass class_name::class##class_name = { \
        #class_name, sizeof(class_name), RUNTIME_CLASS(base_class_name) }; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
