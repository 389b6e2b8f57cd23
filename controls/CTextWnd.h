// The read-only preview view: one wide text shown as rows, with scrolling, a highlighted range,
// a loading banner and a one-line hint.
//
// Threads. SetText, Clear, SetHint and StartRefreshTimer may be called from any thread; the
// window's own thread paints. The rows, the text, the hint and the highlight sit behind one lock
// (m_lock) that is held only around reads and writes of those fields, never across a call that
// sends a message to another thread, and what a paint may be reading is freed only after it has
// been taken out from under the lock. Scroll bars and timers are touched on the window's thread
// only: other threads hand that work over (PostToWindowThread).
#pragma once
#include <mutex>

#include "classlib/CString.h"
#include "controls/CWndEx.h"
#include "controls/TextRows.h"

// Identifier of the user-interface thread, recorded by the main dialog when it starts; the view
// shows its wait cursor only on that thread.
extern DWORD g_dwUIThreadId;

class CTextWnd : public CWndEx {
public:
    typedef TextRowInfo tagRowInfo;

    CTextWnd();
    ~CTextWnd() override;

    // Empties the view, shows the loading banner, takes the text in (a copy when bCopy, else the
    // caller's text, which must then stay unchanged until the view is next cleared), splits it
    // into rows and repaints. A NULL or empty text only empties the view. Throws the library's
    // memory exception when memory runs out (the view is then left empty).
    void SetText(const wchar_t* pszText, BOOL bCopy);
    void Clear();
    // The one-line hint shown while the view has no rows; shown at the next repaint.
    void SetHint(const CString& strHint);
    // Starts the one-shot refresh timer (identifier 1, 100 ms) unless one is pending; it
    // repaints the view when it fires. From any thread: carried to the window's thread.
    void StartRefreshTimer();
    void UpdateHScrollBar();

    // Offset of the character under the client point, or -1.
    int CharFromPoint(int x, int y);
    void SetSelection(int nStart, int nEnd);

    // Read accessors (taken under the lock) for owners and tests.
    int GetRowCount() const;
    int GetTextWidth() const;
    int GetLineHeight() const;
    void GetSelection(int* pnStart, int* pnEnd) const;
    BOOL IsLoading() const;
    CString GetHint() const;
    UINT_PTR GetRefreshTimerId() const { return m_nTimerId; }

protected:
    void Draw(CDC* pDC, const RECT* pClipBox) override;
    void OnButtonDownHook() override;
    void OnScrollHook() override;
    void OnScrollHook2() override;
    void UpdateScrollBars() override;
    void OnTimerHook(UINT_PTR nIDEvent) override;

private:
    void RequestRepaint();
    // Runs the scroll-bar update (which repaints) on the window's thread.
    void UpdateScrollBarsOnOwnerThread();
    void SetLoading(BOOL bLoading);
    void DrawBannerNow();
    void DrawEmpty(CDC* pDC, const CRect& rcClient, BOOL bLoading, const CString& strHint);
    void DrawRows(const CRect& rcClient, const RECT* pClipBox);
    // Draws rows [first, end) into pDC; returns the paint's running width. Called under m_lock.
    int DrawRowRange(CDC* pDC, const CRect& rcClient, int nFirst, int nEnd, int nVPos, int nHPos);

    mutable std::mutex m_lock;
    CString m_strHint;
    int m_nSelStart;
    int m_nSelEnd;
    int m_nRowCount;
    int m_nTextWidth;
    tagRowInfo* m_pRows;
    BOOL m_bLoading;
    wchar_t* m_pszText;
    int m_nLineHeight;
    UINT_PTR m_nTimerId;  // window's thread only
};
