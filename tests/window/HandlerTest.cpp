// Every message-map entry unpacks WPARAM and LPARAM into its handler's arguments as the class
// library's handlers expect them, and answers with the handler's result; plus run-time class
// information and the less common member calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WindowTestUtil.h"
#include "classlib/Window.h"
#include "testutil.h"

namespace {

const UINT kEditId = 301;

class CHandlerWnd : public CWnd {
    DECLARE_DYNAMIC(CHandlerWnd)
public:
    std::vector<std::string> seen;
    UINT nFlags = 0;
    CPoint point;
    UINT nCode = 0;
    UINT nPos = 0;
    CScrollBar* pBar = reinterpret_cast<CScrollBar*>(1);
    short zDelta = 0;
    CWnd* pOther = reinterpret_cast<CWnd*>(1);
    UINT nHitTest = 0;
    UINT nMouseMessage = 0;
    MINMAXINFO* pMinMax = nullptr;
    UINT nSysCommand = 0;
    LPARAM sysParam = 0;
    HICON hDragIcon = ::LoadIconW(NULL, IDI_APPLICATION);

protected:
    void Record(const char* name) { seen.push_back(name); }
    void OnLButtonDown(UINT f, CPoint p) { Record("ldown"); nFlags = f; point = p; }
    void OnLButtonUp(UINT f, CPoint p) { Record("lup"); nFlags = f; point = p; }
    void OnMouseMove(UINT f, CPoint p) { Record("move"); nFlags = f; point = p; }
    BOOL OnSetCursor(CWnd* pWnd, UINT hit, UINT message)
    {
        Record("cursor");
        pOther = pWnd;
        nHitTest = hit;
        nMouseMessage = message;
        return TRUE;
    }
    void OnHScroll(UINT code, UINT pos, CScrollBar* pScrollBar) { Record("hscroll"); nCode = code; nPos = pos; pBar = pScrollBar; }
    void OnVScroll(UINT code, UINT pos, CScrollBar* pScrollBar) { Record("vscroll"); nCode = code; nPos = pos; pBar = pScrollBar; }
    BOOL OnMouseWheel(UINT f, short delta, CPoint p)
    {
        Record("wheel");
        nFlags = f;
        zDelta = delta;
        point = p;
        return TRUE;
    }
    void OnKillFocus(CWnd* pNew) { Record("killfocus"); pOther = pNew; }
    void OnCaptureChanged(CWnd* pWnd) { Record("capture"); pOther = pWnd; }
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI)
    {
        Record("minmax");
        pMinMax = lpMMI;
        lpMMI->ptMinTrackSize.x = 500;
        lpMMI->ptMinTrackSize.y = 400;
    }
    void OnSysCommand(UINT nID, LPARAM lParam)
    {
        Record("syscommand");
        nSysCommand = nID;
        sysParam = lParam;
        if ((nID & 0xFFF0) != 16)
            CWnd::OnSysCommand(nID, lParam);
    }
    HCURSOR OnQueryDragIcon() { Record("dragicon"); return hDragIcon; }
    void OnNcPaint() { Record("ncpaint"); Default(); }
    void OnDestroy() { Record("destroy"); CWnd::OnDestroy(); }
    void OnCustomNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        Record("notify");
        *pResult = static_cast<LRESULT>(pNMHDR->code) + 1;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(CHandlerWnd, CWnd)

const UINT kCustomCode = 0xFFFFF000u;

BEGIN_MESSAGE_MAP(CHandlerWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
    ON_WM_GETMINMAXINFO()
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
    ON_WM_NCPAINT()
    ON_WM_DESTROY()
    ON_NOTIFY(kCustomCode, kEditId, &CHandlerWnd::OnCustomNotify)
END_MESSAGE_MAP()

}  // namespace

TEST(Handlers, MouseKeyboardFocusAndScrollArgumentsAreUnpacked)
{
    CHandlerWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    auto last = [&] { return wnd.seen.empty() ? std::string() : wnd.seen.back(); };

    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 17));
    EXPECT_EQ(last(), "ldown");
    EXPECT_EQ(wnd.nFlags, static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(wnd.point.x, -3) << "coordinates are signed";
    EXPECT_EQ(wnd.point.y, 17);
    wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(4, 5));
    EXPECT_EQ(last(), "lup");
    EXPECT_EQ(wnd.point.x, 4);
    EXPECT_EQ(wnd.point.y, 5);
    wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(9, 8));
    EXPECT_EQ(last(), "move");
    EXPECT_EQ(wnd.point.x, 9);
    EXPECT_EQ(wnd.point.y, 8);

    EXPECT_EQ(wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(wnd.pOther, &wnd);
    EXPECT_EQ(wnd.nHitTest, static_cast<UINT>(HTCLIENT));
    EXPECT_EQ(wnd.nMouseMessage, static_cast<UINT>(WM_MOUSEMOVE));

    wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0);
    EXPECT_EQ(last(), "vscroll");
    EXPECT_EQ(wnd.nCode, static_cast<UINT>(SB_THUMBTRACK));
    EXPECT_EQ(wnd.nPos, 300u);
    EXPECT_EQ(wnd.pBar, nullptr) << "the window's own bar, not a control";
    wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    EXPECT_EQ(last(), "hscroll");
    EXPECT_EQ(wnd.nCode, static_cast<UINT>(SB_LINERIGHT));

    EXPECT_EQ(wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), MAKELPARAM(100, 200)), TRUE);
    EXPECT_EQ(wnd.zDelta, -WHEEL_DELTA);
    EXPECT_EQ(wnd.nFlags, static_cast<UINT>(MK_CONTROL));
    EXPECT_EQ(wnd.point.x, 100);
    EXPECT_EQ(wnd.point.y, 200);

    wnd.SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(::GetDesktopWindow()), 0);
    EXPECT_EQ(last(), "killfocus");
    EXPECT_EQ(wnd.pOther->m_hWnd, ::GetDesktopWindow());
    wnd.SendMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd.m_hWnd));
    EXPECT_EQ(last(), "capture");
    EXPECT_EQ(wnd.pOther, &wnd);
}

TEST(Handlers, WindowManagementMessagesAndCommands)
{
    CHandlerWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    auto last = [&] { return wnd.seen.empty() ? std::string() : wnd.seen.back(); };

    MINMAXINFO mmi = {};
    wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(wnd.pMinMax, &mmi);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 500);

    wnd.SendMessage(WM_SYSCOMMAND, 16, MAKELPARAM(3, 4));
    EXPECT_EQ(last(), "syscommand");
    EXPECT_EQ(wnd.nSysCommand, 16u);
    EXPECT_EQ(wnd.sysParam, MAKELPARAM(3, 4));
    EXPECT_EQ(reinterpret_cast<HICON>(wnd.SendMessage(WM_QUERYDRAGICON)), wnd.hDragIcon);

    wnd.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    wnd.SendMessage(WM_NCPAINT, 1);
    EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), "ncpaint"), wnd.seen.end());

    CEdit edit;
    ASSERT_TRUE(CreateBoundControl(edit, L"EDIT", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &wnd, kEditId));

    NMHDR hdr = {edit.m_hWnd, kEditId, kCustomCode};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, kEditId, reinterpret_cast<LPARAM>(&hdr)), static_cast<LRESULT>(kCustomCode) + 1);
    hdr.idFrom = kEditId + 1;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, kEditId + 1, reinterpret_cast<LPARAM>(&hdr)), 0) << "another control's id";

    wnd.DestroyWindow();
    EXPECT_EQ(last(), "destroy");
}

TEST(Handlers, RuntimeClassInformation)
{
    CHandlerWnd wnd;
    EXPECT_STREQ(wnd.GetRuntimeClass()->m_lpszClassName, "CHandlerWnd");
    EXPECT_EQ(wnd.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CWnd));
    EXPECT_EQ(RUNTIME_CLASS(CWnd)->m_pBaseClass, RUNTIME_CLASS(CCmdTarget));
    CButton button;
    EXPECT_STREQ(button.GetRuntimeClass()->m_lpszClassName, "CButton");
    EXPECT_EQ(button.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CWnd));
}

TEST(WindowCalls, FocusDialogItemMessagesAndRedraw)
{
    CWnd frame;
    ASSERT_TRUE(CreateTestFrame(frame));
    CEdit edit;
    ASSERT_TRUE(CreateBoundControl(edit, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 90, 30), &frame,
                                   kEditId));
    ::SetActiveWindow(frame.m_hWnd);
    edit.SetFocus();
    EXPECT_EQ(::GetFocus(), edit.m_hWnd);
    EXPECT_EQ(frame.SendDlgItemMessage(kEditId, WM_GETTEXTLENGTH), 0);
    EXPECT_FALSE(frame.IsIconic());

    frame.SetRedraw(FALSE);
    frame.SetRedraw(TRUE);
    ::ValidateRect(frame.m_hWnd, nullptr);
    frame.Invalidate();
    EXPECT_TRUE(::GetUpdateRect(frame.m_hWnd, nullptr, FALSE));
}

TEST(Gdi, DeviceContextCallsOnAMemoryBitmap)
{
    CClientDC screen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 30, 30));
    CBitmap* pOld = dc.SelectObject(&bitmap);
    const CRect all(0, 0, 30, 30);
    dc.FillSolidRect(&all, RGB(255, 255, 255));
    EXPECT_EQ(::GetPixel(dc, 15, 15), RGB(255, 255, 255));
    CBrush red(RGB(255, 0, 0));
    const int nSaved = dc.SaveDC();
    ::IntersectClipRect(dc, 0, 0, 10, 30);
    ::ExcludeClipRect(dc, 0, 0, 10, 5);
    dc.FillRect(&all, &red);
    EXPECT_TRUE(dc.RestoreDC(nSaved));
    EXPECT_EQ(::GetPixel(dc, 5, 10), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc, 5, 2), RGB(255, 255, 255)) << "excluded";
    EXPECT_EQ(::GetPixel(dc, 20, 10), RGB(255, 255, 255)) << "outside the clip";
    dc.FillRect(&all, &red);
    EXPECT_EQ(::GetPixel(dc, 20, 10), RGB(255, 0, 0)) << "the saved clip came back";
    EXPECT_EQ(dc.SetBkColor(RGB(1, 2, 3)), RGB(255, 255, 255)) << "FillSolidRect left the colour as it was";
    dc.SetTextColor(RGB(4, 5, 6));
    EXPECT_EQ(::GetTextColor(dc), RGB(4, 5, 6));

    LOGBRUSH lb = {BS_SOLID, RGB(7, 8, 9), 0};
    CBrush indirect;
    EXPECT_TRUE(indirect.CreateBrushIndirect(&lb));
    CBitmap pattern;
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, nullptr));
    CBrush patterned;
    EXPECT_TRUE(patterned.CreatePatternBrush(&pattern));
    EXPECT_NE(CDC::GetHalftoneBrush(), nullptr);
    EXPECT_EQ(CDC::GetHalftoneBrush(), CDC::GetHalftoneBrush());

    LOGFONTW lf = {};
    lf.lfHeight = -11;
    lstrcpyW(lf.lfFaceName, L"Arial");
    CFont font;
    EXPECT_TRUE(font.CreateFontIndirect(&lf));
    CRgn rect;
    const CRect pixel(0, 0, 1, 1);
    EXPECT_TRUE(rect.CreateRectRgnIndirect(&pixel));
    EXPECT_TRUE(::PtInRegion(rect, 0, 0));
    dc.SelectObject(pOld);
}

TEST(Menus, BorrowedMenuTakesItemsAndOutlivesItsTemporary)
{
    HMENU hMenu = ::CreatePopupMenu();
    CMenu* pBorrowed = CMenu::FromHandle(hMenu);
    ASSERT_NE(pBorrowed, nullptr);
    EXPECT_TRUE(pBorrowed->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(pBorrowed->AppendMenu(MF_STRING, 41, L"two"));
    EXPECT_EQ(::GetMenuItemID(hMenu, 1), 41u);
    AfxFreeTemporaryWrappers();
    EXPECT_TRUE(::IsMenu(hMenu)) << "a temporary never destroys its menu";
    ::DestroyMenu(hMenu);
}

TEST(Threads, WorkerThreadObjectWithItsOwnInstanceAndSuspension)
{
    struct CCountingThread : CWinThread {
        int nInit = 0;
        BOOL InitInstance() override
        {
            ++nInit;
            return FALSE;  // no message loop: ExitInstance ends the thread
        }
        int ExitInstance() override { return 33; }
    } thread;
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
    EXPECT_TRUE(thread.SetThreadPriority(THREAD_PRIORITY_LOWEST));
    EXPECT_EQ(::SuspendThread(thread.m_hThread), 1u) << "already suspended once";
    EXPECT_EQ(thread.ResumeThread(), 2u);
    EXPECT_EQ(thread.ResumeThread(), 1u);
    ASSERT_EQ(::WaitForSingleObject(thread.m_hThread, kFailureLimitMs), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    ::GetExitCodeThread(thread.m_hThread, &code);
    EXPECT_EQ(code, 33u);
    EXPECT_EQ(thread.nInit, 1);
    EXPECT_EQ(AfxGetThread()->m_nThreadID, ::GetCurrentThreadId()) << "the test's main thread is the application's";

    // A self-deleting object started at once ends and deletes itself at any moment: its handle
    // and id are already stored when it does, and its destructor closes that handle.
    struct CQuickThread : CWinThread {
        HANDLE* phSeen;
        HANDLE hDone;
        CQuickThread(HANDLE* ph, HANDLE hEvent) : phSeen(ph), hDone(hEvent) {}
        ~CQuickThread() override
        {
            *phSeen = m_hThread;
            ::SetEvent(hDone);
        }
    };
    HANDLE hDone = ::CreateEventW(NULL, FALSE, FALSE, NULL);
    for (int i = 0; i < 20; ++i) {
        HANDLE hSeen = INVALID_HANDLE_VALUE;
        CQuickThread* pQuick = new CQuickThread(&hSeen, hDone);
        ASSERT_TRUE(pQuick->CreateThread());  // InitInstance FALSE: the thread ends at once
        ASSERT_EQ(::WaitForSingleObject(hDone, kFailureLimitMs), static_cast<DWORD>(WAIT_OBJECT_0));
        EXPECT_NE(hSeen, static_cast<HANDLE>(NULL)) << "round " << i;
    }
    ::CloseHandle(hDone);
}

TEST(DispatchDriver, UnregisteredClassAndRaisedDispatchErrors)
{
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(NULL)));
    {
        COleDispatchDriver driver;
        const CLSID unknown = {0x1b2c3d4e, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
        COleException error(S_OK);
        EXPECT_FALSE(driver.CreateDispatch(unknown, &error));
        EXPECT_EQ(error.m_sc, REGDB_E_CLASSNOTREG);
    }
    ::CoUninitialize();
    try {
        throw new COleDispatchException(L"stopped", 3, 7);
    } catch (COleDispatchException* e) {
        EXPECT_EQ(e->m_wCode, 7);
        EXPECT_EQ(e->m_dwHelpContext, 3u);
        UINT nHelp = 0;
        wchar_t text[32];
        EXPECT_TRUE(e->GetErrorMessage(text, 32, &nHelp));
        EXPECT_EQ(nHelp, 3u);
        EXPECT_EQ(Utf8(text), "stopped");
        e->Delete();
    }
}
