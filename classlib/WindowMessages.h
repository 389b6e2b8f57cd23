#pragma once
// Every private message of the class library, one line each: what WPARAM and LPARAM carry.
// Program code that needs private messages of its own takes them from WM_APP + 0x100 upwards;
// this header keeps WM_APP .. WM_APP + 0xFF for the library.
#include "classlib/WinTypes.h"

// Runs a call on the thread that owns the window and waits for it (SendMessage).
//   WPARAM 0; LPARAM the caller's WindowThreadCall (on the sender's stack; the sender waits).
#define QM_WM_RUNCALL (WM_APP + 0x01)
// Runs a call on the thread that owns the window without waiting (PostMessage).
//   WPARAM 0; LPARAM a heap std::function<void()>*: the receiver runs and deletes it; a failed
//   post is deleted by the sender; one still queued when the window dies is deleted unrun.
#define QM_WM_POSTEDCALL (WM_APP + 0x02)

// The one message-map key for the seven WM_CTLCOLOR* messages (the old 16-bit message number);
// the handler learns the kind (CTLCOLOR_*) as an argument. Never sent as a real message.
#define QM_WM_CTLCOLOR 0x0019

// Reflected notifications never travel as real messages: the parent's dispatch hands them
// straight to the control's object, which finds them in its message map under these keys.
// They lie above 0xFFFF, where the system reserves every number: no message that a window
// receives (a program's WM_APP, a class's WM_USER, a registered one) can meet them in a map.
#define QM_REFLECT_BASE 0x10000
//   WM_COMMAND reflected: WPARAM and LPARAM as in WM_COMMAND.
#define QM_REFLECT_COMMAND (QM_REFLECT_BASE + WM_COMMAND)
//   WM_CTLCOLOR* reflected: WPARAM the HDC; LPARAM the CTLCOLOR_* kind (not a window).
#define QM_REFLECT_CTLCOLOR (QM_REFLECT_BASE + QM_WM_CTLCOLOR)
