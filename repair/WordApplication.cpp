#include "repair/WordApplication.h"

#include "repair/WordDispIds.h"

namespace {
LPDISPATCH GetDispatchProperty(COleDispatchDriver& driver, DISPID id)
{
    LPDISPATCH result = NULL;
    driver.InvokeHelper(id, DISPATCH_PROPERTYGET, VT_DISPATCH, &result, NULL);
    return result;
}
}  // namespace

void WordApplication::SetVisible(BOOL bVisible)
{
    static const BYTE params[] = VTS_BOOL;
    InvokeHelper(DISPID_WORD_APP_VISIBLE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, bVisible);
}

LPDISPATCH WordApplication::GetDocuments() { return GetDispatchProperty(*this, DISPID_WORD_APP_DOCUMENTS); }

LPDISPATCH WordApplication::GetSelection() { return GetDispatchProperty(*this, DISPID_WORD_APP_SELECTION); }

LPDISPATCH WordApplication::GetActiveDocument() { return GetDispatchProperty(*this, DISPID_WORD_APP_ACTIVEDOCUMENT); }

void WordApplication::Quit(VARIANT* SaveChanges, VARIANT* OriginalFormat, VARIANT* RouteDocument)
{
    static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    InvokeHelper(DISPID_WORD_APP_QUIT, DISPATCH_METHOD, VT_EMPTY, NULL, params, SaveChanges, OriginalFormat,
                 RouteDocument);
}
