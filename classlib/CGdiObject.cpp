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

BOOL CGdiObject::Attach(HGDIOBJ hObject) { return m_object.Own(hObject); }

HGDIOBJ CGdiObject::Detach() { return m_object.Detach(); }

BOOL CGdiObject::DeleteObject() { return m_object.Release(); }

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectW(m_hObject, nCount, lpObject); }
