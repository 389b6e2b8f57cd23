// Word's Application object through automation. Every operation is one Invoke; a failed call
// throws the class library's automation exception; on an empty wrapper it does nothing.
#pragma once
#include "classlib/COleDispatchDriver.h"

class WordApplication : public COleDispatchDriver {
public:
    WordApplication() {}
    explicit WordApplication(LPDISPATCH lpDispatch) : COleDispatchDriver(lpDispatch) {}

    void SetVisible(BOOL bVisible);
    // Each returns a new reference that the caller owns (NULL on an empty wrapper).
    LPDISPATCH GetDocuments();
    LPDISPATCH GetSelection();
    LPDISPATCH GetActiveDocument();
    // SaveChanges, OriginalFormat, RouteDocument; each reaches Word by reference.
    void Quit(VARIANT* SaveChanges, VARIANT* OriginalFormat, VARIANT* RouteDocument);
};
