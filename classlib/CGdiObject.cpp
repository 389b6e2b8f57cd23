#include "classlib/CGdiObject.h"

#include <memory>
#include <typeindex>

#include "classlib/WindowInternals.h"

namespace {

QmTemporaryGdiMap& TemporaryGdi() { return QmGetThreadState().gdiObjects; }

}  // namespace

CGdiObject* QmFindTemporaryGdi(HGDIOBJ hObject, const std::type_info& kind)
{
    auto& map = TemporaryGdi();
    auto it = map.find(QmTemporaryGdiKey(hObject, std::type_index(kind)));
    return it == map.end() ? nullptr : it->second.get();
}

void QmAddTemporaryGdi(HGDIOBJ hObject, const std::type_info& kind, CGdiObject* pObject)
{
    TemporaryGdi()[QmTemporaryGdiKey(hObject, std::type_index(kind))].reset(pObject);
}

void QmFreeTemporaryGdi() { TemporaryGdi().clear(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return TemporaryOf<CGdiObject>(hObject); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) { return m_object.Own(hObject); }

HGDIOBJ CGdiObject::Detach() { return m_object.Detach(); }

BOOL CGdiObject::DeleteObject() { return m_object.Release(); }

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    HGDIOBJ hObject = ::GetStockObject(nIndex);
    if (hObject == NULL)
        return FALSE;
    Borrow(hObject);
    return TRUE;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectW(m_hObject, nCount, lpObject); }

UINT CGdiObject::GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }
