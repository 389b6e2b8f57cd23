// Message boxes of the class library, usable before any window exists.
//
// The caption is the application's title and the owner its main window. The core knows no
// windows, so the window layer's application object supplies both through a hook:
//     AfxSetMessageBoxOwnerProc(proc);
// proc is called with *owner = nullptr and *title = the program file's base name already filled
// in, and may replace either. Without a hook there is no owner and the title is the base name.
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

typedef void (*AFX_MSGBOX_OWNER_PROC)(HWND* owner, CString* title);

void AfxSetMessageBoxOwnerProc(AFX_MSGBOX_OWNER_PROC proc);

// Shows text with the given MB_ button type and icon. Without an icon bit, OK and OK/Cancel boxes
// show the exclamation icon and Yes/No boxes the question icon. Returns the button's IDOK,
// IDYES, ... (0 when the box could not be shown). The host build writes the text to stderr and
// returns IDOK.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);

// The same with string-table entry stringId of the resource module as text.
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
