// The program's push button: owner-drawn, with a rounded window, a vertical two-colour gradient
// face that follows the button's state, a caption of one or more lines, an optional 32x32 icon
// at its left and an optional progress strip along its bottom edge.
#pragma once
#include "classlib/CButton.h"
#include "classlib/CDC.h"

// Fills the rectangle with a two-colour gradient (GRADIENT_FILL_RECT_V: first colour at the
// top; GRADIENT_FILL_RECT_H: at the left); GradientFill's result.
BOOL FillGradientRect(HDC hDC, const RECT* pRect, COLORREF clrFirst, COLORREF clrSecond, ULONG nMode);

class CButtonEx : public CButton {
public:
    CButtonEx();
    ~CButtonEx() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void SetRoundRegion();
    // Draws m_hIcon at the left and moves the text rectangle's left edge right by 24.
    void DrawIcon(CDC* pDC, RECT* pText);
    void DrawCaption(CDC* pDC, RECT rcText, CString strCaption);

    int m_nState;             // 0 normal, 1 hot, 2 pressed
    HICON m_hIcon;            // not owned
    int* m_pnProgressPos;     // the owner's counters, read at every paint; the owner keeps
    int* m_pnProgressTotal;   // them alive while the button may paint

protected:
    void PreSubclassWindow() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnKillFocus(CWnd* pNewWnd);
    void OnCaptureChanged(CWnd* pWnd);
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    void MakeOwnerDrawn();
    void ReturnToNormal();
};
