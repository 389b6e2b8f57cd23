// Salvages the readable text of one file.
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"
#include "engine/StopFlag.h"

struct tagNode;

// The separator between the texts of two blocks ("\r\n", 26 hyphens, "\r\n").
extern const WCHAR BLOCK_SEPARATOR[];

// Bytes of one block of the file, and of the zero-filled area a block is read into (at
// BLOCK_OFFSET, so that at least 1,536 zero bytes follow a full block).
const int BLOCK_SIZE = 65536;
const int BLOCK_OFFSET = 512;
const int BLOCK_AREA_SIZE = 67584;

// Reads the file at node->strPath in blocks, scans each and joins the block texts with the block
// separator. Returns a new string that the caller deletes: empty when the file cannot be opened,
// is empty or holds 2 GiB or more, or when nothing was found. A read error or a non-zero *stop
// ends the salvage with the text gathered so far; no exception leaves this function. Keeps a
// 67,584-byte area on the caller's stack. Salvages run one at a time in the process: a call
// made while another thread salvages waits for it to end.
CString* SalvageFile(const tagNode* node, const StopFlag* stop);

// A function that salvages as SalvageFile does: the pages call the salvage through one, which
// tests replace to hold a worker at a known point or to make the salvage fail.
typedef CString* (*SalvageProc)(const tagNode* node, const StopFlag* stop);
