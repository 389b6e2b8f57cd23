// Word's Documents collection through automation (see WordApplication.h).
#pragma once
#include "classlib/COleDispatchDriver.h"

class WordDocuments : public COleDispatchDriver {
public:
    WordDocuments() {}
    explicit WordDocuments(LPDISPATCH lpDispatch) : COleDispatchDriver(lpDispatch) {}

    // Template, NewTemplate, DocumentType, Visible, each by reference; returns the new document
    // (a reference the caller owns).
    LPDISPATCH Add(VARIANT* Template, VARIANT* NewTemplate, VARIANT* DocumentType, VARIANT* Visible);
};
