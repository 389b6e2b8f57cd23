// A literal transcription of the block scanner and of every test and cleaning step it uses, for
// comparison with the production engine: only the character tables are shared. Each function
// does what its production namesake's header describes, one unit at a time, with no shortcut:
// the view lengths are counted unit by unit, the noise score counts in a fresh record at every
// call, cleaning writes into a buffer of its own. Slow, and meant to be.
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

void ReferenceMeasureRun(const BYTE* run, int n, int& count, int& firstBad);
int ReferenceCountNonText(const BYTE* run, int n, int limit);
BOOL ReferenceCountCommon(const BYTE* run, int n, int k);
// The noise score as a number of points; ReferenceNoiseScore is its percentage of n.
int ReferenceNoisePoints(const BYTE* run, int n);
double ReferenceNoiseScore(const BYTE* run, int n);
// The cleaned text (empty when the run is dropped); blanks the run's '?' and control units.
CString ReferenceCleanRun(BYTE* run);

void ReferenceScanBlock(BYTE* block, int size, CString& text);
