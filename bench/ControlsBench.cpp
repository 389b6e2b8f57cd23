// Measures the preview text view on big texts:
//   controls_bench.exe [rows]      (default 1,000,000 rows of 26 units: about 50 MB)
// Prints the time of SetText (copy and split) and of one full repaint with the view scrolled to
// its middle, at its top, and with a text of a hundredth of the rows, so that the repaint's cost
// can be seen not to depend on the row count. Needs a display (Xvfb under Wine).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/BenchClock.h"
#include "classlib/CWnd.h"
#include "controls/CTextWnd.h"

namespace {
void Pump()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

// Rows of 24 characters plus CR LF, numbered so that no two rows are alike.
std::vector<wchar_t> MakeText(int nRows)
{
    static const wchar_t kTail[] = L" salvaged text 恢复";
    std::vector<wchar_t> text;
    text.reserve(static_cast<size_t>(nRows) * 26 + 1);
    for (int i = 0; i < nRows; ++i) {
        int n = i;
        for (int d = 0; d < 7; ++d, n /= 10)
            text.push_back(static_cast<wchar_t>(L'0' + (n % 10)));
        for (const wchar_t* p = kTail; *p; ++p)
            text.push_back(*p);
        text.push_back(L'\r');
        text.push_back(L'\n');
    }
    text.push_back(0);
    return text;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeSetText(CTextWnd& view, const std::vector<wchar_t>& text, int nRuns)
{
    std::vector<double> runs;
    for (int i = 0; i < nRuns; ++i) {
        const double t0 = Now();
        view.SetText(text.data(), TRUE);
        runs.push_back(Now() - t0);
        Pump();
    }
    return Median(runs);
}

double TimeRepaint(CTextWnd& view, int nPos, int nRuns)
{
    view.SetScrollPos(SB_VERT, nPos, TRUE);
    Pump();
    std::vector<double> runs;
    for (int i = 0; i < nRuns; ++i) {
        view.InvalidateRect(NULL, FALSE);
        const double t0 = Now();
        ::UpdateWindow(view.GetSafeHwnd());
        runs.push_back(Now() - t0);
    }
    return Median(runs);
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int nRows = argc > 1 ? _wtoi(argv[1]) : 1000000;
    if (nRows < 1) {
        fprintf(stderr, "usage: controls_bench.exe [rows], rows at least 1\n");
        return 1;
    }
    CWnd frame;
    LPCTSTR pszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), NULL);
    if (!frame.CreateEx(0, pszClass, L"controls bench", WS_POPUP | WS_VISIBLE, 0, 0, 820, 620, NULL, NULL)) {
        fprintf(stderr, "no window\n");
        return 1;
    }
    CTextWnd view;
    view.Create(&frame, CRect(10, 10, 810, 610), 1000, WS_CHILD | WS_VISIBLE);
    view.SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))), TRUE);
    Pump();

    const std::vector<wchar_t> big = MakeText(nRows);
    const double mb = static_cast<double>(big.size() - 1) * sizeof(wchar_t) / (1024.0 * 1024.0);
    const double tSet = TimeSetText(view, big, 5);
    printf("SetText: %d rows, %.1f MB: %.1f ms (median of 5)\n", view.GetRowCount(), mb, tSet * 1000);

    const int lh = view.GetLineHeight();
    const double tMiddle = TimeRepaint(view, (nRows / 2) * lh, 21);
    const double tTop = TimeRepaint(view, 1, 21);
    printf("repaint, %d rows, scrolled to the middle: %.2f ms; at the top: %.2f ms (medians of 21)\n",
           nRows, tMiddle * 1000, tTop * 1000);

    const std::vector<wchar_t> small = MakeText(std::max(1, nRows / 100));
    const double tSetSmall = TimeSetText(view, small, 5);
    const double tSmallMiddle = TimeRepaint(view, (nRows / 200) * lh, 21);
    printf("SetText: %d rows: %.2f ms; repaint scrolled to its middle: %.2f ms\n", view.GetRowCount(),
           tSetSmall * 1000, tSmallMiddle * 1000);
    view.SetText(nullptr, TRUE);
    return 0;
}
