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
    EXPECT_EQ(::ImageList_GetImageCount(images.m_hImageList), 2);

    CTreeCtrl tree;
    ASSERT_TRUE(CreateBoundControl(tree, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 1));
    EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)), images.m_hImageList);
    CImageList* pPrevious = tree.SetImageList(nullptr, TVSIL_NORMAL);
    ASSERT_NE(pPrevious, nullptr);
    EXPECT_EQ(pPrevious->m_hImageList, images.m_hImageList);
    tree.DestroyWindow();

    HIMAGELIST hList = images.Detach();
    EXPECT_EQ(images.m_hImageList, HIMAGELIST(NULL));
    EXPECT_TRUE(::ImageList_Destroy(hList));
}

TEST(Controls, ToolTipToolsAndTexts)
{
    CWnd frame;
    ASSERT_TRUE(CreateTestFrame(frame));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&frame));
    EXPECT_TRUE(tip.AddTool(&frame, L"http://example.invalid/", nullptr, 1));
    EXPECT_EQ(tip.SendMessage(TTM_GETTOOLCOUNT), 1);
    EXPECT_EQ(Utf8(ToolTipText(tip, &frame, 1)), "http://example.invalid/");
    tip.UpdateTipText(L"mailto:help@example.invalid", &frame, 1);
    EXPECT_EQ(Utf8(ToolTipText(tip, &frame, 1)), "mailto:help@example.invalid");
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
    // The driver looks for as long as DoModal runs: a driver that gave up first would leave the
    // modal dialog open for good.
    std::thread driver([&] {
        // The explorer-style dialog takes a full path in its file-name edit (0x47C).
        HWND hDialog = NULL;
        while (hDialog == NULL && !bStop)
            hDialog = FindThreadDialog(thisThread, 100);
        while (!bStop) {
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
    EXPECT_EQ(::lstrcmpiW(dialog.GetPathName(), path), 0);
}
