// Generated inputs for the salvage benchmark.
#pragma once

#include "classlib/CString.h"

// Writes into folder, for 16 MiB and 64 MiB each: random bytes (random-16M.bin), zero bytes
// (zeros-16M.bin) and UTF-16LE Chinese prose with random 512-byte sectors among it
// (prose-16M.bin), and runs of 50 to 3,000 characters of that prose alternating with up to
// 4 KiB of random bytes (mixed-16M.bin). The prose is drawn from the common ideographs of the
// built tables. The contents are the same at every run. Returns FALSE when a file cannot be
// written.
BOOL MakeBenchInputs(const CString& folder);
