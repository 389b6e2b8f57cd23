#include "WindowTestUtil.h"

#include <cstdlib>

namespace {
DWORD WINAPI RunFunction(LPVOID pParam)
{
    (*static_cast<const std::function<void()>*>(pParam))();
    return 0;
}
}  // namespace

void RunWorkerPumping(const std::function<void()>& fn)
{
    HANDLE hThread = ::CreateThread(NULL, 0, RunFunction, const_cast<std::function<void()>*>(&fn), 0, NULL);
    if (hThread == NULL)
        std::abort();  // a test that needs its worker cannot go on without it
    WaitPumping(hThread, INFINITE);
    ::CloseHandle(hThread);
}

TestParent::TestParent(int cx, int cy)
{
    RECT rc = {0, 0, cx, cy};
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    ::AdjustWindowRect(&rc, style, FALSE);
    LPCTSTR pszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), NULL);
    if (!CreateEx(0, pszClass, L"controls test", style, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                  NULL, NULL))
        std::abort();  // nothing of a window test can run without its parent
    ::UpdateWindow(m_hWnd);
}

namespace {
BOOL CALLBACK DestroyChild(HWND hWnd, LPARAM)
{
    if (::GetParent(hWnd) != NULL && ::GetWindow(hWnd, GW_OWNER) == NULL)
        ::DestroyWindow(hWnd);
    return TRUE;
}
}  // namespace

TestParent& SharedParent(int cx, int cy)
{
    static TestParent* s_pParent = new TestParent(cx, cy);  // lives until the process ends
    ::EnumChildWindows(s_pParent->GetSafeHwnd(), DestroyChild, 0);
    RECT rc = {0, 0, cx, cy};
    ::AdjustWindowRect(&rc, s_pParent->GetStyle(), FALSE);
    s_pParent->SetWindowPos(NULL, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    s_pParent->InvalidateRect(NULL, TRUE);
    ::UpdateWindow(s_pParent->GetSafeHwnd());
    return *s_pParent;
}

bool ColourNear(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

MemoryCanvas::MemoryCanvas(int cx, int cy, COLORREF clrFill)
{
    HDC hScreen = ::GetDC(NULL);
    m_hDC = ::CreateCompatibleDC(hScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(hScreen, &bi, DIB_RGB_COLORS, &pBits, NULL, 0);
    ::ReleaseDC(NULL, hScreen);
    m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    HBRUSH hbr = ::CreateSolidBrush(clrFill);
    RECT rc = {0, 0, cx, cy};
    ::FillRect(m_hDC, &rc, hbr);
    ::DeleteObject(hbr);
}

MemoryCanvas::~MemoryCanvas()
{
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
}
