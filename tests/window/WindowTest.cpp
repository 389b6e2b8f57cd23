// Windows and message maps in real windows: creation order, dispatch, reflection to the
// control's own object, subclassing, handle maps and the error edge of the window procedure.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "WindowTestUtil.h"
#include "classlib/Window.h"
#include "testutil.h"

namespace {

const UINT kButtonId = 101;
const UINT kStaticId = 102;
const UINT kTreeId = 103;
const UINT kMenuCommandId = 16;
const UINT WM_TEST_PING = WM_APP + 0x100;
const UINT WM_TEST_THROW = WM_APP + 0x101;

// Records the messages of its creation and the commands and notifications it receives.
class CRecordingWnd : public CWnd {
public:
    std::vector<std::string> log;
    int nPings = 0;
    NMTREEVIEWW lastSelChange = {};
    int nSelChanges = 0;
    int nClicks = 0;
    int nMenuCommands = 0;

protected:
    int OnCreate(LPCREATESTRUCT)
    {
        log.push_back(m_hWnd != NULL ? "create-bound" : "create-unbound");
        return static_cast<int>(Default());
    }
    void OnSize(UINT nType, int cx, int cy)
    {
        CWnd::OnSize(nType, cx, cy);
        log.push_back("size");
    }
    LRESULT OnPing(WPARAM wParam, LPARAM lParam)
    {
        ++nPings;
        return static_cast<LRESULT>(wParam + lParam);
    }
    LRESULT OnThrow(WPARAM, LPARAM) { throw new COleException(E_FAIL); }
    void OnClicked() { ++nClicks; }
    void OnMenuCommand() { ++nMenuCommands; }
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
    {
        lastSelChange = *reinterpret_cast<NMTREEVIEWW*>(pNMHDR);
        ++nSelChanges;
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_TEST_PING, &CRecordingWnd::OnPing)
    ON_MESSAGE(WM_TEST_THROW, &CRecordingWnd::OnThrow)
    ON_BN_CLICKED(kButtonId, &CRecordingWnd::OnClicked)
    ON_COMMAND(kMenuCommandId, &CRecordingWnd::OnMenuCommand)
    ON_NOTIFY(TVN_SELCHANGEDW, kTreeId, &CRecordingWnd::OnTreeSelChanged)
END_MESSAGE_MAP()

// An owner-drawn button that paints itself when its parent's WM_DRAWITEM is reflected to it.
class COwnerButton : public CButton {
public:
    int nDraws = 0;
    HWND hDrawnItem = NULL;
    UINT nCtlType = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDis) override
    {
        ++nDraws;
        hDrawnItem = lpDis->hwndItem;
        nCtlType = lpDis->CtlType;
        CDC* pDC = CDC::FromHandle(lpDis->hDC);
        pDC->FillSolidRect(&lpDis->rcItem, RGB(10, 200, 30));
    }
};

// A static that answers its own colour request.
class CColorStatic : public CStatic {
public:
    CBrush brush{RGB(1, 2, 3)};
    int nRequests = 0;
    UINT nLastKind = 99;

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        ++nRequests;
        nLastKind = nCtlColor;
        pDC->SetTextColor(RGB(200, 0, 0));
        return brush;
    }
    void OnClickedSelf() { ++nSelfClicks; }
    DECLARE_MESSAGE_MAP()

public:
    int nSelfClicks = 0;
};

BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT(STN_CLICKED, &CColorStatic::OnClickedSelf)
END_MESSAGE_MAP()

// A parent that answers the colour request of one control itself and leaves the rest to the default.
class CColorParent : public CRecordingWnd {
public:
    CBrush ownBrush{RGB(9, 9, 9)};
    HWND hAnswerItself = NULL;

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        if (pWnd != nullptr && pWnd->m_hWnd == hAnswerItself)
            return ownBrush;
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColorParent, CRecordingWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

}  // namespace

TEST(WindowCreation, CreateAndSizeReachTheObjectDuringCreation)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    ASSERT_GE(wnd.log.size(), 2u);
    EXPECT_EQ(wnd.log[0], "create-bound");
    EXPECT_EQ(wnd.log[1], "size");
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);

    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, HWND(NULL)) << "WM_NCDESTROY unbinds the object";
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WindowCreation, RegisteredClassIsSharedBySameAttributes)
{
    LPCTSTR a = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(NULL, IDC_ARROW));
    LPCTSTR b = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(NULL, IDC_ARROW));
    LPCTSTR c = AfxRegisterWndClass(0, ::LoadCursorW(NULL, IDC_ARROW));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_NE(Utf8(a), Utf8(c));
}

TEST(MessageMap, DispatchesMessagesCommandsAndTreeNotifications)
{
    CRecordingWnd parent;
    ASSERT_TRUE(CreateTestFrame(parent));
    EXPECT_EQ(parent.SendMessage(WM_TEST_PING, 2, 3), 5);
    EXPECT_EQ(parent.nPings, 1);

    CButton button;
    ASSERT_TRUE(CreateBoundControl(button, L"BUTTON", L"Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 5, 80, 30),
                                   &parent, kButtonId));
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(parent.nClicks, 1);
    // A menu command (notification code 0, no control) reaches ON_COMMAND; a control's other
    // notification with the same id does not.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kMenuCommandId, 0), 0);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kMenuCommandId, EN_CHANGE), 0);
    EXPECT_EQ(parent.nMenuCommands, 1);

    CTreeCtrl tree;
    ASSERT_TRUE(CreateBoundControl(tree, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES,
                                   CRect(5, 40, 200, 180), &parent, kTreeId));
    const UINT kTextAndImages = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    HTREEITEM hRoot = tree.InsertItem(TVIF_TEXT, L"root", 0, 0, 0, 0, 0, TVI_ROOT, TVI_LAST);
    HTREEITEM hChild = tree.InsertItem(kTextAndImages, L"child", 2, 3, 0, 0, 0, hRoot, TVI_LAST);
    HTREEITEM hSecond = tree.InsertItem(TVIF_TEXT, L"second", 0, 0, 0, 0, 0, hRoot, TVI_LAST);
    tree.SetItemData(hChild, 4242);
    EXPECT_EQ(tree.GetItemData(hChild), 4242u);
    EXPECT_EQ(tree.GetNextItem(hRoot, TVGN_CHILD), hChild);
    EXPECT_EQ(tree.GetNextItem(hChild, TVGN_NEXT), hSecond);
    EXPECT_EQ(tree.GetRootItem(), hRoot);
    TVITEMW item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = hChild;
    EXPECT_TRUE(tree.SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.iImage, 2);
    EXPECT_EQ(item.iSelectedImage, 3);
    EXPECT_TRUE(tree.Expand(hRoot, TVE_EXPAND));

    const int nBefore = parent.nSelChanges;
    EXPECT_TRUE(tree.Select(hChild, TVGN_CARET));
    EXPECT_EQ(parent.nSelChanges, nBefore + 1);
    EXPECT_EQ(parent.lastSelChange.hdr.idFrom, kTreeId);
    EXPECT_EQ(parent.lastSelChange.itemNew.hItem, hChild);
    EXPECT_EQ(tree.GetSelectedItem(), hChild);
    EXPECT_EQ(tree.SendMessage(TVM_GETCOUNT), 3);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.SendMessage(TVM_GETCOUNT), 0);
}

TEST(MessageMap, TreeFilledFromAWorkerThreadNotifiesOnTheWindowThread)
{
    CRecordingWnd parent;
    ASSERT_TRUE(CreateTestFrame(parent));
    CTreeCtrl tree;
    ASSERT_TRUE(CreateBoundControl(tree, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 150), &parent, kTreeId));
    bool bDone = false;
    HTREEITEM hLeaf = NULL;
    std::thread worker([&] {
        HTREEITEM hRoot = tree.InsertItem(TVIF_TEXT, L"root", 0, 0, 0, 0, 0, TVI_ROOT, TVI_LAST);
        hLeaf = tree.InsertItem(TVIF_TEXT, L"leaf", 0, 0, 0, 0, 0, hRoot, TVI_LAST);
        tree.Select(hLeaf, TVGN_CARET);  // a send: the notification runs on the window's thread meanwhile
        bDone = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return bDone; }));
    worker.join();
    EXPECT_EQ(parent.nSelChanges, 1);
    EXPECT_EQ(parent.lastSelChange.itemNew.hItem, hLeaf);
}

TEST(Reflection, OwnerDrawnButtonDrawsItselfThroughItsParent)
{
    CRecordingWnd parent;
    ASSERT_TRUE(CreateTestFrame(parent));
    COwnerButton button;
    ASSERT_TRUE(CreateBoundControl(button, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 90, 40),
                                   &parent, kButtonId));
    button.Invalidate();
    ::UpdateWindow(button.m_hWnd);
    EXPECT_GE(button.nDraws, 1);
    EXPECT_EQ(button.hDrawnItem, button.m_hWnd);
    EXPECT_EQ(button.nCtlType, static_cast<UINT>(ODT_BUTTON));

    // The parent's default handling of WM_DRAWITEM, called directly, reaches the button too.
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = kButtonId;
    dis.hwndItem = button.m_hWnd;
    CClientDC dc(&button);
    dis.hDC = dc.m_hDC;
    button.GetClientRect(&dis.rcItem);
    const int nBefore = button.nDraws;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(button.nDraws, nBefore + 1);
}

TEST(Reflection, StaticAnswersItsOwnColourRequestUnlessTheParentDoes)
{
    CColorParent parent;
    ASSERT_TRUE(CreateTestFrame(parent));
    CColorStatic label;
    ASSERT_TRUE(CreateBoundControl(label, L"STATIC", L"label", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(10, 10, 100, 30),
                                   &parent, kStaticId));
    CStatic plain;
    ASSERT_TRUE(CreateBoundControl(plain, L"STATIC", L"plain", WS_CHILD | WS_VISIBLE, CRect(10, 40, 100, 60), &parent,
                                   kStaticId + 1));

    label.Invalidate();
    ::UpdateWindow(label.m_hWnd);  // the static's own painting asks its parent for colours
    EXPECT_GE(label.nRequests, 1);
    EXPECT_EQ(label.nLastKind, static_cast<UINT>(CTLCOLOR_STATIC));

    CClientDC dc(&label);
    const LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                             reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), static_cast<HBRUSH>(label.brush));
    EXPECT_EQ(::GetTextColor(dc.m_hDC), RGB(200, 0, 0));

    // A control without its own answer gets the default brush, not a NULL one.
    const LRESULT plainBrush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                                  reinterpret_cast<LPARAM>(plain.m_hWnd));
    EXPECT_NE(plainBrush, 0);

    // The parent's own handler comes first: the label is not asked.
    parent.hAnswerItself = label.m_hWnd;
    const int nBefore = label.nRequests;
    const LRESULT parentBrush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                                   reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(parentBrush), static_cast<HBRUSH>(parent.ownBrush));
    EXPECT_EQ(label.nRequests, nBefore);

    // A control's own command notification goes to the control, not to its parent.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kStaticId, STN_CLICKED), reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_EQ(label.nSelfClicks, 1);
}

namespace {

// A window class with its own procedure, recording what reaches it, for the subclassing test.
std::vector<std::string>* g_pOrder = nullptr;

LRESULT CALLBACK OriginalProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TEST_PING) {
        if (g_pOrder)
            g_pOrder->push_back("original");
        return 40 + static_cast<LRESULT>(wParam);
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

class CSubclassed : public CWnd {
public:
    bool bPreSubclassed = false;
    LRESULT seenDefault = 0;

protected:
    void PreSubclassWindow() override
    {
        bPreSubclassed = m_hWnd != NULL;
        CWnd::PreSubclassWindow();
    }
    LRESULT OnPing(WPARAM, LPARAM)
    {
        seenDefault = Default();  // the window's own procedure first
        g_pOrder->push_back("object");
        return seenDefault + 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassed, CWnd)
    ON_MESSAGE(WM_TEST_PING, &CSubclassed::OnPing)
END_MESSAGE_MAP()

}  // namespace

TEST(Subclassing, TheOriginalProcedureRunsFirstAndComesBackAfterwards)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = OriginalProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"QmTestOriginal";
    ::RegisterClassW(&wc);
    HWND hWnd = ::CreateWindowExW(0, L"QmTestOriginal", L"", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                                  wc.hInstance, NULL);
    ASSERT_NE(hWnd, HWND(NULL));

    std::vector<std::string> order;
    g_pOrder = &order;
    {
        CSubclassed wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
        EXPECT_TRUE(wnd.bPreSubclassed);
        EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_PING, 2, 0), 43);
        ASSERT_EQ(order.size(), 2u);
        EXPECT_EQ(order[0], "original");
        EXPECT_EQ(order[1], "object");
        EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)), &OriginalProc);
    }
    order.clear();
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_PING, 2, 0), 42);
    EXPECT_EQ(order.size(), 1u);
    g_pOrder = nullptr;
    ::DestroyWindow(hWnd);
}

TEST(Subclassing, DialogItemIsBoundAndItsObjectDiesWithoutTheWindow)
{
    CRecordingWnd parent;
    ASSERT_TRUE(CreateTestFrame(parent));
    HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"abc", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(55), ::GetModuleHandleW(NULL), NULL);
    ASSERT_NE(hEdit, HWND(NULL));
    {
        CEdit edit;
        ASSERT_TRUE(edit.SubclassDlgItem(55, &parent));
        EXPECT_EQ(parent.GetDlgItem(55), &edit);
        EXPECT_EQ(edit.GetDlgCtrlID(), 55);
        edit.SetWindowText(L"xyz");
        CString text;
        edit.GetWindowText(text);
        EXPECT_EQ(Utf8(text), "xyz");
        EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &edit);
        edit.DestroyWindow();  // the object outlives its window
        EXPECT_EQ(edit.m_hWnd, HWND(NULL));
    }
    EXPECT_EQ(parent.GetDlgItem(55), nullptr);
}

TEST(HandleMap, WorkerThreadsFindThePermanentObjectAndGetTemporariesOtherwise)
{
    CRecordingWnd parent;
    ASSERT_TRUE(CreateTestFrame(parent));
    CWnd* pFromWorker = nullptr;
    CWnd* pDesktopTemp = nullptr;
    std::thread worker([&] {
        pFromWorker = CWnd::FromHandle(parent.m_hWnd);
        pDesktopTemp = CWnd::FromHandle(::GetDesktopWindow());
        // A worker's temporary is its own: freed when the worker ends.
        EXPECT_EQ(pDesktopTemp, CWnd::FromHandle(::GetDesktopWindow()));
        EXPECT_EQ(pDesktopTemp->m_hWnd, ::GetDesktopWindow());
    });
    worker.join();
    EXPECT_EQ(pFromWorker, &parent);
    CWnd* pTemp = CWnd::FromHandle(::GetDesktopWindow());
    EXPECT_EQ(CWnd::FromHandlePermanent(::GetDesktopWindow()), nullptr);
    EXPECT_EQ(pTemp->m_hWnd, ::GetDesktopWindow());
    AfxFreeTemporaryWrappers();
    EXPECT_TRUE(::IsWindow(::GetDesktopWindow())) << "freeing a temporary never destroys its window";

    CWnd attached;
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    EXPECT_TRUE(attached.Attach(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &attached);
    EXPECT_FALSE(CWnd().Attach(hWnd)) << "one object per window";
    EXPECT_EQ(attached.Detach(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    ::DestroyWindow(hWnd);
}

namespace {
int g_nErrors = 0;
void CountError(HWND, UINT, const wchar_t*) { ++g_nErrors; }
}  // namespace

TEST(WindowProcedureEdge, AnExceptionInAHandlerStopsAtTheWindowProcedure)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    WindowProcErrorHandler old = SetWindowProcErrorHandler(&CountError);
    g_nErrors = 0;
    EXPECT_EQ(wnd.SendMessage(WM_TEST_THROW), 0);
    EXPECT_EQ(g_nErrors, 1);
    EXPECT_EQ(wnd.SendMessage(WM_TEST_PING, 1, 1), 2) << "the window goes on working";
    SetWindowProcErrorHandler(old);
}

TEST(WindowCalls, GeometryStyleTextScrollAndMenus)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd, 320, 240, WS_OVERLAPPEDWINDOW));  // with a system menu
    wnd.MoveWindow(30, 40, 300, 200);
    CRect window;
    wnd.GetWindowRect(&window);
    EXPECT_EQ(window.left, 30);
    EXPECT_EQ(window.Width(), 300);
    CRect client;
    wnd.GetClientRect(&client);
    CPoint origin(0, 0);
    wnd.ClientToScreen(&origin);
    CRect asScreen = client;
    wnd.ClientToScreen(&asScreen);
    EXPECT_EQ(asScreen.left, origin.x);
    EXPECT_EQ(asScreen.top, origin.y);
    wnd.ScreenToClient(&asScreen);
    EXPECT_EQ(asScreen, client);
    EXPECT_TRUE(wnd.SetWindowPos(nullptr, 0, 0, 310, 210, SWP_NOMOVE | SWP_NOZORDER));

    EXPECT_TRUE(wnd.ModifyStyle(0, WS_VSCROLL, SWP_FRAMECHANGED));
    EXPECT_NE(wnd.GetStyle() & WS_VSCROLL, 0u);
    EXPECT_FALSE(wnd.ModifyStyle(0, WS_VSCROLL)) << "nothing to change";
    SCROLLINFO si = {};
    si.fMask = SIF_PAGE | SIF_RANGE;
    si.nMax = 500;
    si.nPage = 100;
    wnd.SetScrollInfo(SB_VERT, &si);
    wnd.SetScrollPos(SB_VERT, 250);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 250);
    int nMin = -1, nMax = -1;
    wnd.GetScrollRange(SB_VERT, &nMin, &nMax);
    EXPECT_EQ(nMax, 500);
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &si));
    EXPECT_EQ(si.nPage, 100u);

    wnd.SetWindowText(L"标题");
    CString title;
    wnd.GetWindowText(title);
    EXPECT_EQ(Utf8(title), "标题");

    HFONT hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    CButton button;
    ASSERT_TRUE(CreateBoundControl(button, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 50, 20),
                                   &wnd, kButtonId));
    button.SetFont(CFont::FromHandle(hFont));
    EXPECT_EQ(reinterpret_cast<HFONT>(button.SendMessage(WM_GETFONT)), hFont);
    button.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(wnd.m_hWnd, kButtonId), static_cast<UINT>(BST_CHECKED));
    button.EnableWindow(FALSE);
    EXPECT_FALSE(button.IsWindowEnabled());
    button.ShowWindow(SW_HIDE);
    EXPECT_FALSE(button.IsWindowVisible());
    EXPECT_EQ(button.GetParent(), &wnd);
    wnd.SetDlgItemText(kButtonId, L"renamed");
    wchar_t caption[16] = {};
    EXPECT_EQ(::GetDlgItemTextW(wnd.m_hWnd, kButtonId, caption, 16), 7u);

    HICON hIcon = ::LoadIconW(NULL, IDI_APPLICATION);
    wnd.SetIcon(hIcon, TRUE);
    wnd.SetIcon(hIcon, FALSE);
    EXPECT_EQ(reinterpret_cast<HICON>(wnd.SendMessage(WM_GETICON, ICON_BIG)), hIcon);

    CMenu* pSystem = wnd.GetSystemMenu(FALSE);
    ASSERT_NE(pSystem, nullptr);
    const int nItems = ::GetMenuItemCount(pSystem->m_hMenu);
    EXPECT_TRUE(pSystem->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(pSystem->AppendMenu(MF_STRING, 16, L"关于(&A)..."));
    EXPECT_EQ(::GetMenuItemCount(pSystem->m_hMenu), nItems + 2);
    wchar_t item[32] = {};
    ::GetMenuStringW(pSystem->m_hMenu, 16, item, 32, MF_BYCOMMAND);
    EXPECT_EQ(Utf8(CString(item)), "关于(&A)...");

    CRgn region;
    ASSERT_TRUE(region.CreateRoundRectRgn(0, 0, 300, 200, 5, 5));
    EXPECT_NE(wnd.SetWindowRgn(static_cast<HRGN>(region.Detach()), TRUE), 0);  // the window owns it now
    wnd.Invalidate();
    wnd.InvalidateRect(nullptr, FALSE);
    EXPECT_TRUE(::GetUpdateRect(wnd.m_hWnd, nullptr, FALSE));
    EXPECT_EQ(wnd.SetCapture(), nullptr);
    EXPECT_EQ(::GetCapture(), wnd.m_hWnd);
    EXPECT_TRUE(CWnd::ReleaseCapture());
    EXPECT_EQ(::GetCapture(), HWND(NULL));
    EXPECT_TRUE(wnd.PostMessage(WM_TEST_PING, 1, 2));
    EXPECT_TRUE(PumpUntil([&] { return wnd.nPings == 1; }));
}
