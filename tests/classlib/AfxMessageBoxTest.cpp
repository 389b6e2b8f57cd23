// Message boxes as the user sees them: caption, text, icon, owner, and the button's result.
// Under Wine without a window manager each box takes about 2 s to go away, so there are few.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "classlib/AfxMessageBox.h"
#include "classlib/AppHandles.h"
#include "testutil.h"

#ifdef _WIN32

namespace {

struct SeenBox {
    CString text;
    HICON icon = nullptr;
    HWND owner = nullptr;
    bool found = false;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    SeenBox& seen = *reinterpret_cast<SeenBox*>(param);
    WCHAR className[32];
    if (!::GetClassNameW(child, className, 32) || ::lstrcmpiW(className, L"Static") != 0)
        return TRUE;
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen.icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    } else {
        WCHAR text[256];
        if (::GetWindowTextW(child, text, 256) > 0)
            seen.text = text;
    }
    return TRUE;
}

// Waits on another thread for the box with the given caption, records what it shows and presses
// button. The box is modal on the test's thread, so it must be answered from outside; the
// answerer looks until it has answered or the box call has returned (Wait), as an answerer that
// gave up first would leave the box open for good.
class BoxAnswerer {
public:
    BoxAnswerer(const CString& caption, int button)
        : m_thread([this, caption, button] {
              while (!m_bStop) {
                  HWND box = ::FindWindowW(L"#32770", caption);
                  if (box && ::IsWindowVisible(box)) {
                      ::EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&m_seen));
                      m_seen.owner = ::GetWindow(box, GW_OWNER);
                      m_seen.found = true;
                      ::PostMessageW(box, WM_COMMAND, button, 0);
                      return;
                  }
                  ::Sleep(20);
              }
          })
    {
    }
    const SeenBox& Wait()
    {
        m_bStop = true;
        m_thread.join();
        return m_seen;
    }

private:
    SeenBox m_seen;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;  // last: it starts with the members above in place
};

HWND g_hookOwner = nullptr;

void TestOwnerProc(HWND* owner, CString* title)
{
    *owner = g_hookOwner;
    *title = L"测试标题 " + *title;
}

}  // namespace

TEST(AfxMessageBox, CaptionIsTheProgramNameAndOkShowsTheExclamation)
{
    ASSERT_EQ(Utf8(AfxGetModuleBaseName()), "classlib_test");
    BoxAnswerer answer(L"classlib_test", IDOK);
    EXPECT_EQ(AfxMessageBox(L"缺少文件"), IDOK);
    const SeenBox& seen = answer.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(Utf8(seen.text), "缺少文件");
    EXPECT_EQ(seen.icon, ::LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(seen.owner, nullptr);
}

TEST(AfxMessageBox, QuestionsGetTheQuestionIconAndGiveTheAnswer)
{
    BoxAnswerer answer(L"classlib_test", IDNO);
    EXPECT_EQ(AfxMessageBox(L"退出？", MB_YESNO), IDNO);
    const SeenBox& seen = answer.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, ::LoadIconW(nullptr, IDI_QUESTION));
}

TEST(AfxMessageBox, TheWindowLayerSuppliesOwnerAndTitle)
{
    g_hookOwner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                    nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
    ASSERT_NE(g_hookOwner, nullptr);
    AfxSetMessageBoxOwnerProc(TestOwnerProc);
    BoxAnswerer answer(L"测试标题 classlib_test", IDOK);
    EXPECT_EQ(AfxMessageBox(L"owned"), IDOK);
    AfxSetMessageBoxOwnerProc(nullptr);
    const SeenBox& seen = answer.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, g_hookOwner);
    ::DestroyWindow(g_hookOwner);
    g_hookOwner = nullptr;
}

#else

TEST(AfxMessageBox, HostBuildWritesTheTextAndAnswersOk)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox(L"缺少文件", MB_YESNO), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "缺少文件\n");
}

#endif
