#include "classlib/AfxMessageBox.h"

#include <atomic>

#include "classlib/AppHandles.h"

#ifndef _WIN32
#include <cstdio>

#include "classlib/Utf8.h"
#endif

static std::atomic<AFX_MSGBOX_OWNER_PROC> g_ownerProc{nullptr};

void AfxSetMessageBoxOwnerProc(AFX_MSGBOX_OWNER_PROC proc)
{
    g_ownerProc.store(proc);
}

#ifdef _WIN32

static UINT WithDefaultIcon(UINT type)
{
    if ((type & MB_ICONMASK) != 0)
        return type;
    switch (type & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
        return type | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return type | MB_ICONQUESTION;
    default:
        return type;
    }
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT helpId)
{
    HWND owner = nullptr;
    CString title = AfxGetModuleBaseName();
    if (AFX_MSGBOX_OWNER_PROC proc = g_ownerProc.load())
        proc(&owner, &title);
    // A modal dialog over the main window is the one the user is looking at.
    if (owner && ::IsWindow(owner))
        owner = ::GetLastActivePopup(owner);
    else
        owner = nullptr;
    return ::MessageBoxW(owner, text ? text : L"", title, WithDefaultIcon(type));
}

#else

int AfxMessageBox(LPCWSTR text, UINT type, UINT helpId)
{
    std::fprintf(stderr, "%s\n", WideToUtf8(text).c_str());
    return IDOK;
}

#endif

int AfxMessageBox(UINT stringId, UINT type, UINT helpId)
{
    CString text;
    text.LoadString(stringId);  // an absent entry shows an empty box rather than none
    return AfxMessageBox(text.GetString(), type, helpId);
}
