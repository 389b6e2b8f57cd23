#pragma once
// A GDI object (font, brush, bitmap, region) held by handle.
// A wrapper that created or attached its handle owns it and deletes it when destroyed; a wrapper
// made by FromHandle (a temporary of the calling thread) borrows it and never deletes it.
#include "classlib/WinTypes.h"
#include <typeinfo>

#include "classlib/COwnedHandle.h"

// Deleting fails while the object is selected into a DC: the caller's bug; the handle is lost.
struct QmDeleteGdiObject {
    BOOL operator()(HGDIOBJ hObject) const { return ::DeleteObject(hObject); }
};

class CGdiObject {
    COwnedHandle<HGDIOBJ, QmDeleteGdiObject> m_object;  // declared first: m_hObject refers into it

public:
    const HGDIOBJ& m_hObject = m_object.Get();  // read-only: Attach, Detach, DeleteObject change it

    CGdiObject() = default;
    virtual ~CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    BOOL Attach(HGDIOBJ hObject);  // takes ownership
    HGDIOBJ Detach();              // gives the handle back without deleting it
    BOOL DeleteObject();           // deletes an owned handle; forgets a borrowed one
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    int GetObject(int nCount, LPVOID lpObject) const;
    bool IsOwner() const { return m_object.IsOwner(); }

protected:
    // A temporary borrowing wrapper of the calling thread (see CWnd.h on temporaries), kept per
    // thread, handle and wrapper class.
    template <class T> static T* TemporaryOf(HGDIOBJ hObject);
    void Borrow(HGDIOBJ hObject) { m_object.Borrow(hObject); }
};

// Internal: the calling thread's temporary GDI wrappers, one per handle and wrapper class, so
// that asking for another class of wrapper never frees one that the caller still holds.
CGdiObject* QmFindTemporaryGdi(HGDIOBJ hObject, const std::type_info& kind);
void QmAddTemporaryGdi(HGDIOBJ hObject, const std::type_info& kind, CGdiObject* pObject);
void QmFreeTemporaryGdi();

template <class T> T* CGdiObject::TemporaryOf(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return nullptr;
    if (CGdiObject* pExisting = QmFindTemporaryGdi(hObject, typeid(T)))
        return static_cast<T*>(pExisting);
    T* pNew = new T;
    pNew->Borrow(hObject);
    QmAddTemporaryGdi(hObject, typeid(T), pNew);
    return pNew;
}
