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

CGdiObject::CGdiObject() : m_hObject(NULL), m_bOwner(false) {}

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return TemporaryOf<CGdiObject>(hObject); }

void CGdiObject::Borrow(HGDIOBJ hObject)
{
    DeleteObject();
    m_hObject = hObject;
    m_bOwner = false;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return FALSE;
    DeleteObject();
    m_hObject = hObject;
    m_bOwner = true;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    m_hObject = NULL;
    m_bOwner = false;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    BOOL bResult = TRUE;
    if (m_bOwner)
        bResult = ::DeleteObject(m_hObject);  // fails while selected into a DC: the caller's bug, handle kept
    m_hObject = NULL;
    m_bOwner = false;
    return bResult;
}

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
