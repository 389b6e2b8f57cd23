// The tests by which the block scanner judges a stretch of raw bytes read as UTF-16LE units.
//
// A run is given by the address of its first unit (any byte address: units are read
// byte-wise) and a number of units n. "Text", "common" and "other" character mean an entry 1 in
// TextCharTable, CommonCharTable and OtherCharTable.
#pragma once

#include "classlib/WinTypes.h"

// Counts the text units of a run, passing over bad units: a non-text unit other than the zero
// unit, or a '?' directly followed by another '?'. The measurement ends after n units, at a zero
// unit, or right after the fifth bad unit. firstBad is the index of the first non-text unit met
// (a '?' pair does not set it), -1 when none. n >= 1; the unit after the n-th must exist.
void MeasureRun(const BYTE* run, int n, int& count, int& firstBad);

// Number of non-text units (the zero unit included) among the first n, counting no further than
// limit + 1.
int CountNonText(const BYTE* run, int n, int limit);

// TRUE when at least k of the first n units are common characters.
BOOL CountCommon(const BYTE* run, int n, int k);

// Percentage 100 x score / n of the noise score over the n units (n >= 1): every other character
// adds a point, and a repeated ideograph that is no other character raises the score to its
// number of occurrences so far. Depends on the order of the units. Uses the one process-wide
// NoiseCounter: never call it on two threads at once (SalvageFile runs one at a time).
double NoiseScore(const BYTE* run, int n);
