// The program's start-up with a wizard that cannot open: this test links no dialog template, so
// the wizard's DoModal fails at once.
#include <gtest/gtest.h>

#include "app/QuillmendApp.h"

// The library's end of start-up reads the main-window pointer after InitInstance: it must not be
// left at the dialog that InitInstance deleted.
TEST(AppStart, AWizardThatCannotOpenLeavesNoMainWindow)
{
    AfxWinInit(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}
