// A literal transcription of the block scanner, for comparison with the production scanner:
// every view length is measured by walking to its zero unit, every position is visited, and the
// run tests and cleaning are the engine's own. Slow (quadratic on data without zero units).
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

void ReferenceScanBlock(BYTE* block, int size, CString& text);
