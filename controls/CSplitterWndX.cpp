#include "controls/CSplitterWndX.h"

#include <vector>

#include "classlib/AppHandles.h"
#include "classlib/CDC.h"
#include "controls/PixelRect.h"
#include "controls/SplitterLogic.h"
#include "resources/resource.h"

CSplitterWndX::CSplitterWndX()
{
    m_hCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_SPLITTER));
}

HWND CSplitterWndX::GetPane(UINT nID) const
{
    // NULL when the identifier names no child of the parent: that entry is then left out.
    return ::GetDlgItem(m_pParent->GetSafeHwnd(), static_cast<int>(nID));
}

void CSplitterWndX::CollectEdges(const CDWordArray& ids, bool bLeftEdges, std::vector<int>* pEdges) const
{
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        CRect rc;
        HWND hPane = GetPane(ids[i]);
        if (hPane != NULL && ::GetWindowRect(hPane, &rc))
            pEdges->push_back(bLeftEdges ? rc.left : rc.right);
    }
}

void CSplitterWndX::FitPane(UINT nID, bool bLeftPane, const PixelRect& bar)
{
    HWND hPane = GetPane(nID);
    CRect rc;
    if (hPane == NULL || !::GetWindowRect(hPane, &rc))
        return;
    m_pParent->ScreenToClient(&rc);
    const CRect next = ToRect(bLeftPane ? SplitterLeftPane(ToPixelRect(rc), bar)
                                        : SplitterRightPane(ToPixelRect(rc), bar));
    if (next != rc)
        ::MoveWindow(hPane, next.left, next.top, next.Width(), next.Height(), TRUE);
}

BOOL CSplitterWndX::GetDragRect(RECT* pClip, int x, int)
{
    CRect bar;
    GetWindowRect(&bar);
    CRect client;
    m_pParent->GetClientRect(&client);
    m_pParent->ClientToScreen(&client);

    // Control edges in screen coordinates, like the bar and the client area.
    std::vector<int> leftEdges, rightEdges;
    CollectEdges(m_arrLeftIds, true, &leftEdges);
    CollectEdges(m_arrRightIds, false, &rightEdges);
    const SplitterLimits lim = {client.left, client.right,
                                leftEdges.data(), static_cast<int>(leftEdges.size()),
                                rightEdges.data(), static_cast<int>(rightEdges.size()),
                                m_nMinLeft, m_nMinRight};
    PixelRect clip;
    if (!SplitterDragClip(lim, ToPixelRect(bar), x, &clip))
        return FALSE;
    *pClip = ToRect(clip);
    return TRUE;
}

void CSplitterWndX::TrackDrag()
{
    CPoint grab;
    ::GetCursorPos(&grab);
    ScreenToClient(&grab);
    if (::GetCapture() != NULL)
        return;
    CRect clip;
    if (!GetDragRect(&clip, grab.x, grab.y))
        return;
    ::ClipCursor(&clip);
    SetCapture();

    CRect start;
    GetWindowRect(&start);
    m_pParent->ScreenToClient(&start);
    const CSize size(start.Width(), start.Height());
    CRect last = start;
    int d = 0;
    {
        CClientDC dc(m_pParent);
        dc.DrawDragRect(&start, size, NULL, size);

        MSG msg;
        for (;;) {
            const BOOL bGot = ::GetMessage(&msg, NULL, 0, 0);
            if (bGot == 0) {
                // WM_QUIT belongs to the thread's own loop: hand it back and end the drag.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (bGot == -1 || ::GetCapture() != m_hWnd)
                break;
            if (msg.message == WM_MOUSEMOVE) {
                d = static_cast<short>(LOWORD(msg.lParam)) - grab.x;
                const CRect next = ToRect(SplitterMovedBar(ToPixelRect(start), d));
                dc.DrawDragRect(&next, size, &last, size);
                last = next;
                continue;
            }
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONDOWN)
                break;
            if (msg.message == WM_KEYDOWN) {
                if (msg.wParam == VK_ESCAPE)
                    break;
                continue;  // other keys are dropped during the drag
            }
            ::DispatchMessage(&msg);
        }

        dc.DrawDragRect(&last, size, NULL, size);
    }  // the parent's device context goes back before the capture and the cursor do
    ReleaseCapture();
    ::ClipCursor(NULL);
    if (d != 0) {
        MoveWindow(&last, FALSE);
        LayoutPanes();
    }
}

void CSplitterWndX::LayoutPanes()
{
    CRect bar;
    GetWindowRect(&bar);
    m_pParent->ScreenToClient(&bar);
    m_pParent->InvalidateRect(NULL, TRUE);
    const PixelRect pxBar = ToPixelRect(bar);
    for (INT_PTR i = 0; i < m_arrLeftIds.GetSize(); ++i)
        FitPane(m_arrLeftIds[i], true, pxBar);
    for (INT_PTR i = 0; i < m_arrRightIds.GetSize(); ++i)
        FitPane(m_arrRightIds[i], false, pxBar);
    m_pParent->PostMessage(WM_COMMAND, MAKEWPARAM(kSplitterMovedCommand, 0), 0);
}
