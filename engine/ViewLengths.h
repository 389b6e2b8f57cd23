// The lengths of the block scanner's views, each in amortised constant time.
//
// A view is the sequence of UTF-16LE units that starts at a byte offset of the block; its length
// is the number of units before its first zero unit. Walking to that zero unit at every position
// would cost the length of the view each time: on data without zero units (compressed or
// encrypted sectors) that makes the scan quadratic. Instead, for each byte alignment, this keeps
// one stretch [start, zero) of units known to be non-zero, ended by a known zero unit. The
// scanner asks for offsets that only move forward (at most a unit back, after a re-alignment),
// so each byte is searched about once per alignment.
//
// The answers stay exactly those of a fresh walk over the block as it is now, although the
// scanner writes into it:
//  - the zero unit that cuts a candidate run is reported through NoteZeroUnit, and the stretch
//    that held it keeps only its part behind it;
//  - the blanks that run cleaning puts over '?' and control units replace a non-zero byte by a
//    non-zero byte, so no unit of either alignment turns zero or non-zero.
// The block must be followed by zero bytes (at least 16), which end every view.
#pragma once

#include "classlib/WinTypes.h"

class ViewLengths {
public:
    explicit ViewLengths(const BYTE* block);

    // Number of units before the first zero unit of the view that starts at offset.
    int LengthAt(int offset);
    // The unit at offset (bytes offset and offset + 1) has been set to zero.
    void NoteZeroUnit(int offset);

private:
    bool IsZeroUnit(int offset) const;
    // Offset of the first zero unit at or after offset, in the same alignment.
    int FindZeroUnit(int offset) const;
    // A zero unit now stands at offset: the known stretch must not hold it.
    void SplitStretchAt(int offset);

    const BYTE* m_pBlock;
    int m_nStart[2];  // per alignment (offset & 1): first unit of the known non-zero stretch;
                      // any unit before it may be zero
    int m_nZero[2];   // per alignment: the zero unit that ends it
};
