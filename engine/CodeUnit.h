// Reading and writing one UTF-16LE code unit at any byte address.
// The scanner looks at text in both byte alignments, so a unit may start at an odd address of the
// block; these helpers never assume alignment. On x86 the compiler turns them into one 16-bit
// load or store.
#pragma once

#include "classlib/WinTypes.h"

inline WCHAR ReadUnit(const BYTE* p)
{
    return static_cast<WCHAR>(p[0] | (p[1] << 8));
}

// Unit i of the run that starts at p.
inline WCHAR ReadUnit(const BYTE* p, int i)
{
    return ReadUnit(p + 2 * i);
}

inline void WriteUnit(BYTE* p, WCHAR c)
{
    p[0] = static_cast<BYTE>(c & 0xFF);
    p[1] = static_cast<BYTE>(c >> 8);
}
