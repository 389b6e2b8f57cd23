// Turns an accepted run into the text the user sees.
#pragma once

#include "classlib/WinTypes.h"

// Cleans the zero-terminated run at run (any byte address) into a static buffer and returns it:
// '?' and control units other than CR and LF become blanks (in the run as well), a line is
// broken with CR LF after its 256th unit and then after every further 257, and a run whose units
// below U+00FF make up more than two thirds of the output is dropped (the empty string). Input is
// taken while fewer than 65,536 units have been written, so at most 65,538 are (the last unit may
// bring a line break with it); the result's length goes to *length when given. The
// result stays valid until the next call: only SalvageFile, which runs one at a time, calls it.
LPCWSTR CleanRun(BYTE* run, int* length = nullptr);
