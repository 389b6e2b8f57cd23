// Control wrappers and the file-open dialog in real windows.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "WindowTestUtil.h"
#include "classlib/Window.h"
#include "testutil.h"

TEST(Controls, ImageListAndTreeImages)
{
    CWnd frame;
    ASSERT_TRUE(CreateTestFrame(frame));
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
    HICON hIcon = ::LoadIconW(NULL, IDI_APPLICATION);
    EXPECT_EQ(images.Add(hIcon), 0);
    EXPECT_EQ(images.Add(hIcon), 1);
    EXPECT_EQ(images.GetImageCount(), 2);
    HICON hCopy = images.ExtractIcon(1);
    EXPECT_NE(hCopy, HICON(NULL));
    ::DestroyIcon(hCopy);

    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 1));
    EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);
    CImageList* pCurrent = tree.GetImageList(TVSIL_NORMAL);
    ASSERT_NE(pCurrent, nullptr);
    EXPECT_EQ(pCurrent->m_hImageList, images.m_hImageList);
    tree.DestroyWindow();

    HIMAGELIST hList = images.Detach();
    EXPECT_EQ(images.m_hImageList, HIMAGELIST(NULL));
    CImageList adopted;
    EXPECT_TRUE(adopted.Attach(hList));
    EXPECT_TRUE(adopted.DeleteImageList());
}

TEST(Controls, ProgressStaticAndButtonImages)
{
    CWnd frame;
    ASSERT_TRUE(CreateTestFrame(frame));
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, CRect(0, 0, 100, 20), &frame, 1));
    progress.SetRange(0, 50);
    progress.SetPos(20);
    EXPECT_EQ(progress.GetPos(), 20);
    progress.SetRange32(0, 1000);
    int nLow = -1, nHigh = -1;
    progress.GetRange(nLow, nHigh);
    EXPECT_EQ(nHigh, 1000);
    progress.SetStep(5);
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 25);

    HICON hIcon = ::LoadIconW(NULL, IDI_APPLICATION);
    CStatic icon;
    ASSERT_TRUE(icon.Create(L"", WS_CHILD | WS_VISIBLE | SS_ICON, CRect(0, 30, 32, 62), &frame, 2));
    icon.SetIcon(hIcon);
    EXPECT_EQ(icon.GetIcon(), hIcon);

    CButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_ICON, CRect(40, 30, 80, 70), &frame, 3));
    button.SetIcon(hIcon);
    EXPECT_EQ(button.GetIcon(), hIcon);
    button.SetButtonStyle(BS_OWNERDRAW);
    EXPECT_EQ(button.GetButtonStyle() & 0x0F, static_cast<UINT>(BS_OWNERDRAW));
    button.SetState(TRUE);
    EXPECT_NE(button.GetState() & BST_PUSHED, 0u);

    CEdit log;
    ASSERT_TRUE(log.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, CRect(0, 80, 200, 120), &frame, 4));
    log.SetWindowText(L"1\r\n2\r\n3\r\n4\r\n5\r\n6");
    EXPECT_TRUE(log.SetReadOnly());
    EXPECT_NE(log.GetStyle() & ES_READONLY, 0u);
    EXPECT_EQ(log.GetLineCount(), 6);
    EXPECT_EQ(log.LineIndex(1), 3);
    log.SetSel(0, 1);
    int nStart = -1, nEnd = -1;
    log.GetSel(nStart, nEnd);
    EXPECT_EQ(nEnd, 1);
    log.LineScroll(3);
    EXPECT_GT(log.SendMessage(EM_GETFIRSTVISIBLELINE), 0);
    log.SetLimitText(100);
}

TEST(Controls, ToolTipToolsAndTexts)
{
    CWnd frame;
    ASSERT_TRUE(CreateTestFrame(frame));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&frame));
    EXPECT_TRUE(tip.AddTool(&frame, L"http://example.invalid/", nullptr, 1));
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(Utf8(tip.GetToolText(&frame, 1)), "http://example.invalid/");
    tip.UpdateTipText(L"mailto:help@example.invalid", &frame, 1);
    EXPECT_EQ(Utf8(tip.GetToolText(&frame, 1)), "mailto:help@example.invalid");
    MSG msg = {frame.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), ::GetTickCount(), {5, 5}};
    tip.RelayEvent(&msg);
    tip.Activate(FALSE);
    tip.DelTool(&frame, 1);
    EXPECT_EQ(tip.GetToolCount(), 0);
}

TEST(Controls, RichEditLibraryAndControlContainer)
{
    AfxEnableControlContainer();
    EXPECT_TRUE(AfxInitRichEdit());
    EXPECT_TRUE(AfxInitRichEdit()) << "a second call is fine";
}

TEST(FileDialog, OpenDialogReturnsTheChosenPath)
{
    TempDir dir;
    const CString path = dir.Path(L"chosen.doc");
    HANDLE hFile = ::CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    ::CloseHandle(hFile);

    CFileDialog dialog(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Word File(*.doc)|*.doc||");
    const DWORD thisThread = ::GetCurrentThreadId();
    std::atomic<bool> bStop{false};
    std::thread driver([&] {
        // The explorer-style dialog takes a full path in its file-name edit (0x47C).
        HWND hDialog = FindThreadDialog(thisThread, 10000);
        if (hDialog == NULL)
            return;
        for (int attempt = 0; attempt < 50 && !bStop; ++attempt) {
            HWND hEdit = ::GetDlgItem(hDialog, 0x47C);
            if (hEdit == NULL) {
                HWND hCombo = ::GetDlgItem(hDialog, 0x47C);
                hEdit = hCombo ? ::FindWindowExW(hCombo, NULL, L"Edit", NULL) : NULL;
            }
            if (hEdit != NULL) {
                ::SendMessageW(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.GetString()));
                ::PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, IDOK)));
                return;
            }
            ::Sleep(100);
        }
    });
    const INT_PTR nResult = dialog.DoModal();
    bStop = true;
    driver.join();
    ASSERT_EQ(nResult, IDOK);
    EXPECT_EQ(Utf8(dialog.GetPathName()).size(), Utf8(path).size());
    EXPECT_EQ(dialog.GetPathName().CompareNoCase(path), 0);
    EXPECT_EQ(Utf8(dialog.GetFileName()), "chosen.doc");
    EXPECT_EQ(Utf8(dialog.GetFileExt()), "doc");
    EXPECT_EQ(Utf8(dialog.GetFileTitle()), "chosen");
}
