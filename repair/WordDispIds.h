// The dispatch identifiers of the Word automation calls the program makes. Shared by the four
// wrappers and by the test server that stands in for Word.
#pragma once
#include "classlib/WinTypes.h"
#include <oaidl.h>

const DISPID DISPID_WORD_APP_VISIBLE = 23;          // Application.Visible, property put, VT_BOOL
const DISPID DISPID_WORD_APP_DOCUMENTS = 6;         // Application.Documents, property get
const DISPID DISPID_WORD_APP_SELECTION = 5;         // Application.Selection, property get
const DISPID DISPID_WORD_APP_ACTIVEDOCUMENT = 3;    // Application.ActiveDocument, property get
const DISPID DISPID_WORD_APP_QUIT = 1105;           // Application.Quit, method, 3 VARIANT by reference
const DISPID DISPID_WORD_DOCUMENTS_ADD = 14;        // Documents.Add, method, 4 VARIANT by reference
const DISPID DISPID_WORD_SELECTION_INSERTTEXT = 507;  // Selection's text entry, method, one BSTR
const DISPID DISPID_WORD_DOCUMENT_SAVEAS = 102;     // Document.SaveAs, method, 11 VARIANT by reference

const int WORD_QUIT_ARG_COUNT = 3;
const int WORD_ADD_ARG_COUNT = 4;
const int WORD_SAVEAS_ARG_COUNT = 11;
