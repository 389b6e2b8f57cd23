// Window-free geometry and colour helpers shared by the controls' pure logic, so that the
// arithmetic of the controls can be tested (and built on the host) without a window.
#pragma once
#include <cstdint>

// A rectangle in pixels with the same member layout as Win32's RECT.
struct PixelRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const PixelRect& o) const { return !(*this == o); }
};

// A colour as 0x00BBGGRR, the layout of Win32's COLORREF.
typedef uint32_t PixelColour;

constexpr PixelColour MakeColour(int r, int g, int b)
{
    return static_cast<PixelColour>(r & 0xFF) | (static_cast<PixelColour>(g & 0xFF) << 8) |
           (static_cast<PixelColour>(b & 0xFF) << 16);
}

#ifdef _WIN32
#include <windows.h>
// The same rectangle as Win32 sees it (the layouts match).
inline PixelRect ToPixelRect(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
inline RECT ToRect(const PixelRect& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
#endif
