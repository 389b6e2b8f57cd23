// Saving one text as a Word document through automation.
#pragma once
#include "classlib/CString.h"
#include "classlib/WinTypes.h"

// Starts a new hidden Word, opens an empty document, enters the text in one call, saves the
// document at path in Word's own format and quits Word. TRUE when every call went through;
// FALSE when Word cannot be started or a call fails, and then a Word that was started is still
// asked to quit, so no hidden instance outlives the call. The calling thread has initialised COM.
BOOL SaveTextViaWord(const CString& text, const CString& path);

// Whether Word can be driven here: initialises COM on the calling thread, starts Word, asks it
// to quit and ends COM again. TRUE when Word could be started, even when quitting it failed;
// a failure of the quit ends the probe quietly (COM then stays initialised on this thread).
BOOL ProbeWord();
