// Shows every custom control in one window on the virtual display and saves a picture of it:
//   controls_showcase.exe <picture.bmp> [milliseconds to stay open]
// The picture is taken from the window's own DC once everything has painted; while the window
// stays open a screenshot of the display (ImageMagick's import) shows the same.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "WindowTestUtil.h"
#include "classlib/CStatic.h"
#include "controls/CButtonEx.h"
#include "controls/CHyperLink.h"
#include "controls/CProgressWnd.h"
#include "controls/CSplitterWndX.h"
#include "controls/CTextWnd.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

namespace {
const int kWidth = 760, kHeight = 520;

// Writes the window's client area as a 24-bit BMP.
bool SaveClientBmp(HWND hWnd, const wchar_t* pszPath)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    const int cx = rc.right, cy = rc.bottom;
    HDC hdcWnd = ::GetDC(hWnd);
    HDC hdcMem = ::CreateCompatibleDC(hdcWnd);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcWnd, cx, cy);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hbm);
    ::BitBlt(hdcMem, 0, 0, cx, cy, hdcWnd, 0, 0, SRCCOPY);
    ::SelectObject(hdcMem, hOld);

    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = cx;
    bih.biHeight = cy;  // bottom-up, as a BMP file stores it
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    const int stride = (cx * 3 + 3) & ~3;
    std::vector<BYTE> bits(static_cast<size_t>(stride) * cy);
    const int lines = ::GetDIBits(hdcMem, hbm, 0, cy, bits.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS);
    ::DeleteObject(hbm);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(hWnd, hdcWnd);
    if (lines != cy)
        return false;

    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;  // "BM"
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(bits.size());
    FILE* f = _wfopen(pszPath, L"wb");
    if (!f)
        return false;
    bool ok = fwrite(&bfh, sizeof(bfh), 1, f) == 1 && fwrite(&bih, sizeof(bih), 1, f) == 1 &&
              fwrite(bits.data(), bits.size(), 1, f) == 1;
    ok = fclose(f) == 0 && ok;
    return ok;
}

HWND Child(CWnd& parent, const wchar_t* pszClass, const wchar_t* pszText, DWORD style, UINT nID, const CRect& rc)
{
    return ::CreateWindowExW(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | style, rc.left, rc.top, rc.Width(),
                             rc.Height(), parent.GetSafeHwnd(),
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), NULL, NULL);
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fwprintf(stderr, L"usage: controls_showcase <picture.bmp> [milliseconds]\n");
        return 2;
    }
    const DWORD stayMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 0;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    g_dwUIThreadId = ::GetCurrentThreadId();

    TestParent frame(kWidth, kHeight);
    HFONT hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));

    // Buttons: normal, hot, pressed, focused (two lines, with a progress strip), disabled.
    CButtonEx buttons[5];
    const wchar_t* captions[5] = {nullptr, L"Hot", L"Pressed", L"Two\nlines", L"Disabled"};
    int stripPos = 3, stripTotal = 5;
    for (int i = 0; i < 5; ++i) {
        const CString caption = captions[i] ? CString(captions[i]) : LoadStr(IDS_NEXT);
        CreateBoundControl(buttons[i], L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                           CRect(10 + i * 120, 10, 120 + i * 120, 55), &frame, 1100 + i);
        buttons[i].SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    }
    buttons[1].m_nState = 1;
    buttons[2].m_nState = 2;
    buttons[3].m_pnProgressPos = &stripPos;
    buttons[3].m_pnProgressTotal = &stripTotal;
    buttons[3].SetFocus();
    buttons[4].EnableWindow(FALSE);

    // Link.
    Child(frame, L"STATIC", L"http://www.example.test/quillmend", SS_LEFT, 1200, CRect(10, 70, 400, 90));
    CHyperLink link;
    link.SubclassDlgItem(1200, &frame);
    link.SetUrl(L"http://www.example.test/quillmend");

    // Busy bar with a status text, animating.
    CProgressWnd busy;
    CreateBoundControl(busy, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH, CRect(10, 100, 750, 130),
                       &frame, 1004);
    busy.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    CString status;
    status.Format(LoadStr(IDS_REPAIRING), L"D:\\docs\\report.doc");
    busy.SetText(status);
    busy.SetAnimate(TRUE);

    // Tree placeholder | splitter | text view.
    Child(frame, L"STATIC", L"(file tree)", SS_SUNKEN | SS_CENTER, 1029, CRect(10, 145, 259, 510));
    CSplitterWndX splitter;
    splitter.Create(WS_CHILD | WS_VISIBLE, CRect(260, 145, 266, 510), 1030, &frame);
    splitter.AddLeftControl(1029);
    splitter.AddRightControl(1000);
    splitter.SetMinPaneWidths(200, 300);
    CTextWnd view;
    view.Create(&frame, CRect(267, 145, 750, 510), 1000, WS_CHILD | WS_VISIBLE);
    view.SetFont(CFont::FromHandle(hFont), TRUE);
    CString text;
    for (int i = 1; i <= 60; ++i) {
        CString line;
        line.Format(L"%d. 恢复的文本 recovered text line %d & more\r\n", i, i);
        text += line;
    }
    text += L"-----------------------\r\n";
    view.SetText(text, TRUE);
    view.SetSelection(3, 20);

    PumpFor(800);
    for (CButtonEx& b : buttons)
        b.InvalidateRect(NULL, TRUE);
    ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    PumpFor(400);
    const bool saved = SaveClientBmp(frame.GetSafeHwnd(), argv[1]);
    if (stayMs)
        PumpFor(stayMs);
    busy.SetAnimate(FALSE);
    return saved ? 0 : 1;
}
