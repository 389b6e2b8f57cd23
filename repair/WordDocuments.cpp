#include "repair/WordDocuments.h"

#include "repair/WordDispIds.h"

LPDISPATCH WordDocuments::Add(VARIANT* Template, VARIANT* NewTemplate, VARIANT* DocumentType, VARIANT* Visible)
{
    static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    LPDISPATCH result = NULL;
    InvokeHelper(DISPID_WORD_DOCUMENTS_ADD, DISPATCH_METHOD, VT_DISPATCH, &result, params, Template, NewTemplate,
                 DocumentType, Visible);
    return result;
}
