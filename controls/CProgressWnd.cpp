#include "controls/CProgressWnd.h"

#include "classlib/CDC.h"
#include "classlib/CSelectGuard.h"
#include "controls/BusyBarLogic.h"
#include "controls/PixelRect.h"

namespace {
const UINT_PTR kAnimationTimerId = 1;
const UINT kAnimationMs = 300;
const COLORREF kAnimatedText = RGB(10, 10, 50);
const COLORREF kStillText = RGB(255, 0, 255);
}  // namespace

int CProgressWnd::s_nBlockStep = 0;

BEGIN_MESSAGE_MAP(CProgressWnd, CProgressCtrl)
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CProgressWnd::CProgressWnd() : m_bAnimate(FALSE) {}

CProgressWnd::~CProgressWnd() {}

void CProgressWnd::SetText(const CString& strText)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_strText = strText;
    }
    if (m_hWnd != NULL)
        InvalidateRect(NULL, FALSE);
}

void CProgressWnd::SetAnimate(BOOL bOn)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bAnimate = bOn;
    }
    if (m_hWnd == NULL)
        return;
    // Timers belong to the window's thread; the repair thread's calls are carried there.
    if (bOn)
        SetTimerOnOwnerThread(kAnimationTimerId, kAnimationMs);
    else
        KillTimerOnOwnerThread(kAnimationTimerId);  // no timer running is not an error here
    InvalidateRect(NULL, FALSE);
}

CString CProgressWnd::GetText() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_strText;
}

BOOL CProgressWnd::IsAnimating() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_bAnimate;
}

// The drawing calls' results are not looked at: a failed one shows at the next paint at worst.
void CProgressWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC dcMem;
    CBitmap bitmap;
    if (!dcMem.CreateCompatibleDC(NULL) || !bitmap.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height()))
        return;  // out of GDI resources: this paint shows nothing new
    CSelectGuard bmp(dcMem.GetSafeHdc(), bitmap.GetSafeHandle());
    dcMem.SetBkMode(TRANSPARENT);
    CSelectGuard font(dcMem.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    ::FillRect(dcMem.GetSafeHdc(), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    // The standard bar paints itself into the memory DC (its procedure takes the DC in wParam).
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dcMem.GetSafeHdc()), 0);

    CString strText;
    BOOL bAnimate;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        strText = m_strText;
        bAnimate = m_bAnimate;
    }
    COLORREF clrText = kStillText;
    if (bAnimate && rc.Width() > 0) {
        const int n = s_nBlockStep;
        const RECT rcBlock = ToRect(BusyBlockRect(n, ToPixelRect(rc)));
        dcMem.FillSolidRect(&rcBlock, BusyBlockColour(n));  // cut off at the right edge
        ++s_nBlockStep;
        clrText = kAnimatedText;
    }
    dcMem.SetTextColor(clrText);
    dcMem.DrawText(strText, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    CRect clip(0, 0, 0, 0);
    dc.GetClipBox(&clip);
    dc.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &dcMem, clip.left, clip.top, SRCCOPY);
}

void CProgressWnd::OnTimer(UINT_PTR)
{
    Default();
    InvalidateRect(NULL, FALSE);
}
