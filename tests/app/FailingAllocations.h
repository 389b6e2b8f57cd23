// Memory that runs out on cue, for the tests of what the program does then: the n-th allocation
// (operator new) made on a chosen thread after arming throws std::bad_alloc, as an exhausted heap
// would. A test executable that links FailingAllocations.cpp has its global operator new and
// delete replaced by these.
#pragma once
#include <windows.h>

// Arms the failure of the nth allocation (counted from 1) that thread dwThreadId makes from now on.
void FailNthAllocationOn(DWORD dwThreadId, int nth);
// TRUE when the armed failure has happened since it was armed. Disarms a failure still pending.
bool TakeAllocationFailure();
