// The busy bar: a standard progress bar painted flicker-free through a memory bitmap, with a
// status text centred over it and, while animating, a 40-pixel block that jumps along it.
//
// SetText and SetAnimate may be called from any thread: the text sits behind a small lock that
// painting shares, and the animation timer is started and stopped on the window's own thread.
#pragma once
#include <mutex>

#include "classlib/CProgressCtrl.h"
#include "classlib/CString.h"

class CProgressWnd : public CProgressCtrl {
public:
    CProgressWnd();
    ~CProgressWnd() override;

    void SetText(const CString& strText);
    // Switches the moving block and its 300 ms timer on or off.
    void SetAnimate(BOOL bOn);

    CString GetText() const;
    BOOL IsAnimating() const;
    // The animation step shared by every busy bar (advanced by each animated paint).
    static int GetBlockStep() { return s_nBlockStep; }

protected:
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    mutable std::mutex m_lock;
    CString m_strText;
    BOOL m_bAnimate;
    static int s_nBlockStep;  // painting only, on the user-interface thread
};
