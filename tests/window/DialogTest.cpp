// Dialogs from the tests' own templates: the modal loop, its PreTranslateMessage walk and
// result, the owner's state, modeless child pages, and dialog data exchange.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "WindowTestRes.h"
#include "WindowTestUtil.h"
#include "classlib/Window.h"
#include "testutil.h"

namespace {

const UINT WM_TEST_FINISH = WM_APP + 0x110;
const UINT WM_TEST_EATEN = WM_APP + 0x111;

// An edit control that logs what the modal loop offers it and swallows one private message.
class CLoggingEdit : public CEdit {
public:
    std::vector<std::string>* pLog = nullptr;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TEST_FINISH)
            pLog->push_back("edit");
        if (pMsg->message == WM_TEST_EATEN) {
            pLog->push_back("edit-ate");
            return TRUE;
        }
        return CEdit::PreTranslateMessage(pMsg);
    }
};

class CLoopDialog : public CDialog {
public:
    CLoopDialog() : CDialog(IDD_TEST_LOOP) {}
    std::vector<std::string> log;
    CLoggingEdit edit;
    bool bInitSawBoundEdit = false;
    bool bEatenReachedDialog = false;
    HWND hOwnerSeen = NULL;
    BOOL bOwnerEnabledDuringLoop = TRUE;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_TEST_EDIT, edit);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        edit.pLog = &log;
        bInitSawBoundEdit = edit.m_hWnd != NULL && GetDlgItem(IDC_TEST_EDIT) == &edit;
        hOwnerSeen = ::GetWindow(m_hWnd, GW_OWNER);
        bOwnerEnabledDuringLoop = hOwnerSeen ? ::IsWindowEnabled(hOwnerSeen) : TRUE;
        // Posted to the edit: the loop must offer them to the edit first, then to the dialog.
        edit.PostMessage(WM_TEST_EATEN);
        edit.PostMessage(WM_TEST_FINISH);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TEST_EATEN)
            bEatenReachedDialog = true;
        if (pMsg->message == WM_TEST_FINISH) {
            log.push_back("dialog");
            EndDialog(1234);
            return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }
};

}  // namespace

TEST(ModalDialog, LoopWalksFromTheControlUpAndReturnsTheEndDialogResult)
{
    CWnd owner;
    ASSERT_TRUE(CreateTestFrame(owner));
    CLoopDialog dialog;
    dialog.m_pParentWnd = &owner;
    EXPECT_EQ(dialog.DoModal(), 1234);
    EXPECT_TRUE(dialog.bInitSawBoundEdit);
    ASSERT_EQ(dialog.log.size(), 3u);
    EXPECT_EQ(dialog.log[0], "edit-ate");
    EXPECT_EQ(dialog.log[1], "edit");
    EXPECT_EQ(dialog.log[2], "dialog");
    EXPECT_FALSE(dialog.bEatenReachedDialog) << "a message taken by the control goes no further";
    EXPECT_EQ(dialog.hOwnerSeen, owner.m_hWnd);
    EXPECT_FALSE(dialog.bOwnerEnabledDuringLoop) << "the owner is disabled while the dialog runs";
    EXPECT_TRUE(owner.IsWindowEnabled()) << "and enabled again afterwards";
    EXPECT_EQ(dialog.m_hWnd, HWND(NULL)) << "the window is destroyed when DoModal returns";
    EXPECT_EQ(dialog.edit.m_hWnd, HWND(NULL));
}

namespace {

// Throws from PreTranslateMessage, which runs in the modal loop outside any window procedure.
class CThrowingLoopDialog : public CDialog {
public:
    CThrowingLoopDialog() : CDialog(IDD_TEST_LOOP) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        PostMessage(WM_TEST_FINISH);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TEST_FINISH)
            throw std::runtime_error("from the modal loop");
        return CDialog::PreTranslateMessage(pMsg);
    }
};

}  // namespace

TEST(ModalDialog, MissingTemplateOrAnEscapingExceptionLeavesTheOwnerEnabled)
{
    CWnd owner;
    ASSERT_TRUE(CreateTestFrame(owner));
    CDialog dialog(IDD_TEST_MISSING, &owner);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(owner.IsWindowEnabled());

    // An exception out of the loop reaches the caller with the owner enabled and the dialog gone.
    CThrowingLoopDialog throwing;
    throwing.m_pParentWnd = &owner;
    EXPECT_THROW(throwing.DoModal(), std::runtime_error);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(throwing.m_hWnd, HWND(NULL));
}

namespace {

// Closes itself through the standard Cancel command, posted from outside the dialog.
class CCancelledDialog : public CDialog {
public:
    CCancelledDialog() : CDialog(IDD_TEST_LOOP) {}
    int nCancels = 0;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDCANCEL)));
        return TRUE;
    }
    void OnCancel() override
    {
        ++nCancels;
        CDialog::OnCancel();
    }
};

}  // namespace

TEST(ModalDialog, CancelButtonReachesTheOverriddenOnCancel)
{
    CCancelledDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.nCancels, 1);
}

namespace {

class CRadioDialog : public CDialog {
public:
    CRadioDialog() : CDialog(IDD_TEST_RADIO) {}
    int nMode = 0;
    bool bWithMissingControl = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Radio(pDX, IDC_RADIO_FIRST, nMode);
        if (bWithMissingControl) {
            int nUnused = 0;
            DDX_Radio(pDX, IDC_RADIO_MISSING, nUnused);
        }
    }
};

}  // namespace

TEST(DataExchange, RadioGroupCountsRadioButtonsOnlyAndStopsAtTheNextGroup)
{
    CRadioDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_RADIO));
    auto checked = [&](int id) { return ::IsDlgButtonChecked(dialog.m_hWnd, id) == BST_CHECKED; };

    dialog.nMode = 1;  // the second radio button: the push button between them does not count
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_FALSE(checked(IDC_RADIO_FIRST));
    EXPECT_TRUE(checked(IDC_RADIO_SECOND));
    EXPECT_FALSE(checked(IDC_RADIO_THIRD));
    EXPECT_FALSE(checked(IDC_RADIO_AFTER)) << "the next group is not touched";

    ::CheckDlgButton(dialog.m_hWnd, IDC_RADIO_SECOND, BST_UNCHECKED);
    ::CheckDlgButton(dialog.m_hWnd, IDC_RADIO_THIRD, BST_CHECKED);
    ::CheckDlgButton(dialog.m_hWnd, IDC_RADIO_AFTER, BST_CHECKED);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.nMode, 2);

    ::CheckDlgButton(dialog.m_hWnd, IDC_RADIO_THIRD, BST_UNCHECKED);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.nMode, -1) << "no radio button of the group checked";

    dialog.bWithMissingControl = true;
    EXPECT_FALSE(dialog.UpdateData(TRUE)) << "a control missing from the dialog fails the exchange";
    EXPECT_TRUE(dialog.DestroyWindow());
}

namespace {

class CPage : public CDialog {
public:
    CPage() : CDialog(IDD_TEST_PAGE) {}
    int nSizes = 0;
    int nClicks = 0;
    bool bInit = false;

protected:
    BOOL OnInitDialog() override
    {
        bInit = true;
        return CDialog::OnInitDialog();
    }
    void OnSize(UINT nType, int cx, int cy)
    {
        CDialog::OnSize(nType, cx, cy);
        ++nSizes;
    }
    void OnPageButton() { ++nClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPage, CDialog)
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_PAGE_BUTTON, &CPage::OnPageButton)
END_MESSAGE_MAP()

}  // namespace

TEST(ModelessDialog, ChildPageIsCreatedInitialisedAndDispatched)
{
    CWnd frame;
    ASSERT_TRUE(CreateTestFrame(frame));
    CPage page;
    ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &frame));
    EXPECT_TRUE(page.bInit);
    EXPECT_NE(page.GetStyle() & WS_CHILD, 0u);
    EXPECT_EQ(page.GetParent(), &frame);
    page.MoveWindow(0, 0, 120, 90);
    EXPECT_GE(page.nSizes, 1);
    ::SendMessageW(::GetDlgItem(page.m_hWnd, IDC_PAGE_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(page.nClicks, 1);
    frame.DestroyWindow();  // the page goes with its parent
    EXPECT_EQ(page.m_hWnd, HWND(NULL));
}

namespace {

// Throws from its initialisation, which the system's dialog procedure calls.
class CThrowingDialog : public CDialog {
public:
    CThrowingDialog() : CDialog(IDD_TEST_LOOP) {}

protected:
    BOOL OnInitDialog() override
    {
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        throw new COleException(E_FAIL);
    }
};

}  // namespace

TEST(ModalDialog, ExceptionInOnInitDialogStopsBeforeTheSystemsDialogProcedure)
{
    CThrowingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "the dialog still runs and closes normally";
}
