// The block scanner: finds the UTF-16LE text in one block of raw bytes.
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"
#include "engine/StopFlag.h"

// The separator written after every accepted run ("\r\n", 23 hyphens, "\r\n").
extern const WCHAR RUN_SEPARATOR[];

// Walks the size bytes at block, measuring at every position it visits the text that starts
// there in both byte alignments, and appends each accepted, cleaned run and the run separator to
// text. The block must be followed by at least 16 zero bytes (the file reader leaves 1,536),
// which end every view. The scanner writes into the block (a zero unit after each candidate run,
// blanks over '?' and control units of accepted ones), only behind the position it goes on from.
// Returns early, with what it has appended so far, when *stop is non-zero at a step.
void ScanBlock(BYTE* block, int size, CString& text, const StopFlag* stop);
