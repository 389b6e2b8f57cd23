// The text writer's file: UTF-16LE with the bytes FF FE first, nothing else around the text.
#pragma once
#include "classlib/CString.h"
#include "classlib/WinTypes.h"

// Writes text to path (replacing a file there, sharing it with nobody while it is open). FALSE
// when the file cannot be created, with *pError left empty, or when writing or closing fails,
// with the file error's message in *pError; what was written before a failure stays.
BOOL WriteTextFile(const CString& text, const CString& path, CString* pError);
