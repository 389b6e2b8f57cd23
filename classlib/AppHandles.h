// The module handles of the running program, for loading its resources.
//
// Both default to the executable's own module (GetModuleHandleW(NULL)). The window layer's
// application start-up records the instance handle it was given with AfxSetInstanceHandle (and
// AfxSetResourceHandle, when resources are to come from another module) before anything loads a
// resource. The host build has no modules: there both are null unless set.
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetInstanceHandle(HINSTANCE instance);
void AfxSetResourceHandle(HINSTANCE resources);

// The program file's name without folder and extension ("Quillmend" for
// C:\Tools\Quillmend.exe): the default title of the application and of its message boxes.
// Empty on the host build.
CString AfxGetModuleBaseName();
