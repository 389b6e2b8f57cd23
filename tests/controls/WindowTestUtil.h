// Helpers of the controls' window tests: a visible top-level parent, a worker run while
// messages are pumped, and pixels read back from memory DCs. The message pumps (PumpUntil,
// PumpFor, WaitPumping) are the class library tests' own.
#pragma once
#include <windows.h>

#include <functional>
#include <ostream>

#include "classlib/CWnd.h"
#include "window/WindowTestUtil.h"
// Runs fn on a new thread and waits for it while running the calling thread's messages (the
// worker may be sending to a window of this thread).
void RunWorkerPumping(const std::function<void()>& fn);

// A plain visible top-level window whose client area is cx by cy, at the screen's top-left.
class TestParent : public CWnd {
public:
    TestParent(int cx, int cy);
};

// The one parent of the window tests (a top-level window costs seconds to come and go under
// Wine), its client area made cx by cy and emptied of the children earlier tests left.
TestParent& SharedParent(int cx, int cy);

// Colour channels of a pixel and a tolerant comparison (gradients and antialiased text).
bool ColourNear(COLORREF a, COLORREF b, int tolerance = 6);

// A memory DC with a 32-bit bitmap of the given size, pre-filled with a marker colour.
class MemoryCanvas {
public:
    MemoryCanvas(int cx, int cy, COLORREF clrFill);
    ~MemoryCanvas();
    HDC dc() const { return m_hDC; }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

// Lets GoogleTest print rectangles in failure messages.
inline void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}
