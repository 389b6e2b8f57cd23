#include "repair/WordSelection.h"

#include "repair/WordDispIds.h"

void WordSelection::InsertText(LPCWSTR Text)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(DISPID_WORD_SELECTION_INSERTTEXT, DISPATCH_METHOD, VT_EMPTY, NULL, params, Text);
}
