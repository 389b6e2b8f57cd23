#include <gtest/gtest.h>

#include "repair/FolderIdentity.h"
#include "testutil.h"

namespace {

// Makes a folder the process's current folder until the object goes.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const CString& folder)
    {
        WCHAR saved[MAX_PATH];
        const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, saved);
        m_saved = CString(saved, n < MAX_PATH ? static_cast<int>(n) : 0);
        m_bSet = !m_saved.IsEmpty() && ::SetCurrentDirectoryW(folder);
    }
    // A failed restore leaves the test's own folder current: the other tests use full paths.
    ~CurrentFolderScope()
    {
        if (m_bSet)
            ::SetCurrentDirectoryW(m_saved);
    }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

    bool IsSet() const { return m_bSet; }

private:
    CString m_saved;
    bool m_bSet = false;
};

}  // namespace

// "D:" alone names the drive's current folder, but a walk of "D:" lists the drive's root: the
// identity must be the root's, whatever folder of the drive is current.
TEST(FolderIdentity, ABareDriveIsItsRoot)
{
    TempDir dir;
    const CString drive = dir.Root().Left(2);
    ASSERT_EQ(Utf8(drive.Right(1)), ":") << Utf8(dir.Root());
    const CurrentFolderScope current(dir.Root());  // goes before dir: a current folder cannot be removed
    ASSERT_TRUE(current.IsSet());

    FolderIdentity bare, root, temp;
    ASSERT_TRUE(GetFolderIdentity(drive, &bare));
    ASSERT_TRUE(GetFolderIdentity(drive + L"\\", &root));
    ASSERT_TRUE(GetFolderIdentity(dir.Root(), &temp));
    EXPECT_TRUE(bare == root);
    EXPECT_FALSE(bare == temp);
}
