#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "classlib/CFileFind.h"
#include "controls/CTextWnd.h"
#include "repair/ScanFolder.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"
#include "testutil.h"

namespace {

void MakeSizedFile(const CString& path, ULONGLONG bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(bytes);
    ASSERT_TRUE(::SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(h));  // sparse where it can
    ::CloseHandle(h);
    ::SetFileAttributesW(path, attributes);
}

std::set<std::string> Names(const tagNode& node)
{
    std::set<std::string> names;
    for (INT_PTR i = 0; i < node.arChildren.GetSize(); ++i)
        names.insert(Utf8(node.arChildren[i]->strName) + (node.arChildren[i]->bDir ? "/" : ""));
    return names;
}

tagNode* Child(const tagNode& node, LPCWSTR name)
{
    for (INT_PTR i = 0; i < node.arChildren.GetSize(); ++i)
        if (node.arChildren[i]->strName == CString(name))
            return node.arChildren[i];
    return nullptr;
}

// Folder paths in the order a depth-first walk of the tree meets them: the order of the hints.
void FolderOrder(const tagNode& node, std::vector<std::string>* out)
{
    out->push_back(Utf8(node.strPath));
    for (INT_PTR i = 0; i < node.arChildren.GetSize(); ++i)
        if (node.arChildren[i]->bDir)
            FolderOrder(*node.arChildren[i], out);
}

// A file search that asks for the stop once it has given the first entry other than "." and "..":
// the stop comes while a folder is being read.
class StopAfterFirstEntry : public CFileFind {
public:
    explicit StopAfterFirstEntry(StopFlag* stop) : m_stop(stop) {}
    BOOL FindNextFile() override
    {
        const BOOL more = CFileFind::FindNextFile();
        if (!IsDots())
            *m_stop = TRUE;
        return more;
    }

private:
    StopFlag* m_stop;
};

// Counts the folders that a scan enters (one hint each) and stops the scan at a limit: a walk that
// would not end, or would take too long, fails instead.
struct FolderCounter {
    explicit FolderCounter(int limit)
    {
        hooks.stop = &stop;
        hooks.showHint = [this, limit](const CString&) {
            if (++entered == limit)
                stop = TRUE;
        };
    }
    FolderCounter(const FolderCounter&) = delete;
    FolderCounter& operator=(const FolderCounter&) = delete;

    int entered = 0;
    StopFlag stop{FALSE};
    ScanHooks hooks;
};

// Passes when ctest's link fixture gave its folder. Wine makes no links, so the fixture makes them
// from the Linux side: a link test run without it would check nothing, and fails instead.
::testing::AssertionResult HasLinkFixture(const CString& linkRoot)
{
    if (!linkRoot.IsEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "QM_LINK_LOOP_ROOT is not set: the folder links of this test are made "
                                            "by ctest's fixture from the Linux side (Wine makes no links); run it "
                                            "through ctest in the build folder: ctest -R repair_test";
}

}  // namespace

TEST(ScanFolder, TakesDocumentsFrom512BytesWithTheDocExtensionInAnyCase)
{
    TempDir dir;
    MakeSizedFile(dir.Path(L"a.doc"), 600);
    MakeSizedFile(dir.Path(L"b.DOC"), 512);
    MakeSizedFile(dir.Path(L"c.doc"), 511);
    MakeSizedFile(dir.Path(L"d.docx"), 10240);
    MakeSizedFile(dir.Path(L"e.txt"), 1000);
    MakeSizedFile(dir.Path(L".doc"), 512);
    MakeSizedFile(dir.Path(L"huge.doc"), (1ULL << 32) + 100);  // the size is a 64-bit number
    MakeSizedFile(dir.Path(L"hidden.doc"), 1024, FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(::CreateDirectoryW(dir.Path(L"old.doc"), nullptr));
    MakeSizedFile(dir.Path(L"old.doc\\inner.doc"), 600);

    tagNode root;
    root.strPath = dir.Root();
    int count = 5;
    ScanFolderWith(&root, dir.Root(), FALSE, &count, ScanHooks());
    EXPECT_EQ(Names(root), (std::set<std::string>{"a.doc", "b.DOC", ".doc", "huge.doc", "hidden.doc", "old.doc/"}));
    EXPECT_EQ(count, 10);
    ASSERT_NE(Child(root, L"a.doc"), nullptr);
    EXPECT_EQ(Utf8(Child(root, L"a.doc")->strPath), Utf8(dir.Path(L"a.doc")));
    EXPECT_EQ(Child(root, L"old.doc")->arChildren.GetSize(), 0);  // not entered when not recursive

    tagNode missing;
    ScanFolderWith(&missing, dir.Path(L"nothing-here"), TRUE, &count, ScanHooks());
    EXPECT_EQ(missing.arChildren.GetSize(), 0);
    EXPECT_EQ(count, 10);
}

TEST(ScanFolder, RecursiveHintsNameEachFolderBeforeItsSubfolders)
{
    TempDir dir;
    for (LPCWSTR folder : {L"S1", L"S1\\T", L"S2", L"S1\\Empty"})
        ASSERT_TRUE(::CreateDirectoryW(dir.Path(folder), nullptr));
    MakeSizedFile(dir.Path(L"S1\\T\\t.doc"), 600);
    MakeSizedFile(dir.Path(L"S2\\s.doc"), 600);
    MakeSizedFile(dir.Path(L"r.doc"), 600);

    tagNode root;
    root.strPath = dir.Root();
    int count = 0;
    std::vector<std::string> hints;
    ScanHooks hooks;
    hooks.showHint = [&hints](const CString& hint) { hints.push_back(Utf8(hint)); };
    ScanFolderWith(&root, dir.Root(), TRUE, &count, hooks);

    EXPECT_EQ(count, 3);
    ASSERT_NE(Child(root, L"S1"), nullptr);
    EXPECT_EQ(Names(*Child(root, L"S1")), (std::set<std::string>{"T/", "Empty/"}));
    std::vector<std::string> expected;
    FolderOrder(root, &expected);
    ASSERT_EQ(expected.size(), 5u);
    for (std::string& folder : expected) {
        CString hint;
        hint.Format(LoadStr(IDS_LISTING_FOLDER), Utf8ToWide(folder));
        folder = Utf8(hint);
    }
    EXPECT_EQ(hints, expected);
}

TEST(ScanFolder, SkipsSystemAndTemporaryEntries)
{
    TempDir dir;
    MakeSizedFile(dir.Path(L"sys.doc"), 600, FILE_ATTRIBUTE_SYSTEM);
    MakeSizedFile(dir.Path(L"tmp.doc"), 600, FILE_ATTRIBUTE_TEMPORARY);
    ASSERT_TRUE(::CreateDirectoryW(dir.Path(L"SysDir"), nullptr));
    MakeSizedFile(dir.Path(L"SysDir\\in.doc"), 600);
    ::SetFileAttributesW(dir.Path(L"SysDir"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
    MakeSizedFile(dir.Path(L"keep.doc"), 600);
    // Wine keeps the system attribute (in an extended attribute) but not the temporary one: an
    // entry whose attribute did not stick is an ordinary entry and is expected in the result.
    std::set<std::string> expected = {"keep.doc"};
    for (LPCWSTR name : {L"sys.doc", L"tmp.doc", L"SysDir"}) {
        const DWORD attributes = ::GetFileAttributesW(dir.Path(name));
        if ((attributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY)) == 0)
            expected.insert(Utf8(name) + ((attributes & FILE_ATTRIBUTE_DIRECTORY) ? "/" : ""));
    }
    if (expected.size() == 4)
        GTEST_SKIP() << "this file system keeps neither the system nor the temporary attribute";

    tagNode root;
    int count = 0;
    ScanFolderWith(&root, dir.Root(), TRUE, &count, ScanHooks());
    EXPECT_EQ(expected.count("SysDir/"), 0u);  // its system attribute stuck: neither listed nor entered
    EXPECT_EQ(Names(root), expected);
    EXPECT_EQ(count, static_cast<int>(expected.size()));
}

// Through the view: the newest hint is the view's, waiting for the refresh timer.
TEST(ScanFolder, WritesTheViewsHint)
{
    TempDir dir;
    MakeSizedFile(dir.Path(L"a.doc"), 600);
    CTextWnd view;  // no window: the hint is kept, no timer is started
    tagNode root;
    int count = 0;
    CString folder = dir.Root();
    ScanFolder(&root, folder, TRUE, &count, &view);
    CString hint;
    hint.Format(LoadStr(IDS_LISTING_FOLDER), dir.Root());
    EXPECT_EQ(Utf8(view.GetHint()), Utf8(hint));
    EXPECT_EQ(count, 1);
}

// The platform's search refuses a pattern of MAX_PATH characters: a folder path of 256 characters
// or more adds nothing when recursive ("\\*.*" follows it), 254 or more when not ("\\*.doc").
TEST(ScanFolder, FolderPathsTooLongForTheSearchAddNothing)
{
    const int kRecursiveLimit = 256, kFolderOnlyLimit = 254;
    TempDir dir;
    std::map<int, CString> folders;  // path length -> a folder of that length holding a document
    for (int length = kFolderOnlyLimit - 1; length <= kRecursiveLimit; ++length) {
        const std::wstring name(length - dir.Root().GetLength() - 1, L'a');
        folders[length] = dir.Path(name.c_str());
        ASSERT_EQ(folders[length].GetLength(), length);
        ASSERT_TRUE(::CreateDirectoryW(folders[length], nullptr));
        MakeSizedFile(folders[length] + L"\\in.doc", 600);
    }

    tagNode root;
    int count = 0;
    ScanFolderWith(&root, dir.Root(), TRUE, &count, ScanHooks());
    EXPECT_EQ(count, 3);
    for (INT_PTR i = 0; i < root.arChildren.GetSize(); ++i) {
        const tagNode* folder = root.arChildren[i];
        const int length = folder->strPath.GetLength();
        EXPECT_EQ(folder->arChildren.GetSize(), length < kRecursiveLimit ? 1 : 0) << length;
    }

    tagNode shorter, limit;
    ScanFolderWith(&shorter, folders[kFolderOnlyLimit - 1], FALSE, &count, ScanHooks());
    ScanFolderWith(&limit, folders[kFolderOnlyLimit], FALSE, &count, ScanHooks());
    EXPECT_EQ(shorter.arChildren.GetSize(), 1);
    EXPECT_EQ(limit.arChildren.GetSize(), 0);
}

// Folder links that lead back up (the fixture's 子目录\\回环 -> .. and self -> the folder itself):
// each folder is walked once; a link to a folder on the way down is listed but not entered.
TEST(ScanFolder, LinksBackUpAreListedButNotEntered)
{
    const CString linkRoot = LinkLoopRoot();
    ASSERT_TRUE(HasLinkFixture(linkRoot));
    const CString src = linkRoot + L"\\src";
    MakeSizedFile(src + L"\\a.doc", 600);
    MakeSizedFile(src + L"\\子目录\\b.doc", 600);

    tagNode root;
    int count = 0;
    FolderCounter folders(100);  // a walk round the loop would never end
    ScanFolderWith(&root, src, TRUE, &count, folders.hooks);
    EXPECT_EQ(folders.entered, 2);  // src and 子目录
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Names(root), (std::set<std::string>{"a.doc", "self/", "子目录/"}));
    ASSERT_NE(Child(root, L"子目录"), nullptr);
    EXPECT_EQ(Names(*Child(root, L"子目录")), (std::set<std::string>{"b.doc", "回环/"}));
}

// Folders whose links cross (the fixture's mesh\\F1..F5, each with a link to every other one): each
// folder is walked as itself and once through a link, however many links lead to it.
TEST(ScanFolder, CrossingLinksEnterEachFolderOnce)
{
    const int kFolders = 5;
    const CString linkRoot = LinkLoopRoot();
    ASSERT_TRUE(HasLinkFixture(linkRoot));
    const CString mesh = linkRoot + L"\\mesh";
    for (int i = 1; i <= kFolders; ++i) {
        CString document;
        document.Format(L"\\F%d\\x.doc", i);
        MakeSizedFile(mesh + document, 600);
    }

    tagNode root;
    int count = 0;
    FolderCounter folders(200);  // every path through the links would be 326 folders
    ScanFolderWith(&root, mesh, TRUE, &count, folders.hooks);
    EXPECT_EQ(folders.entered, 1 + 2 * kFolders);  // mesh, then each F as itself and through one link
    EXPECT_EQ(count, 2 * kFolders);
}

// A stop asked in the middle of a folder's listing ends the scan at the next entry, however many
// entries that folder has left.
TEST(ScanFolder, EndsAtTheNextEntryWhenStopped)
{
    const int kDocuments = 40;
    TempDir dir;
    for (int i = 0; i < kDocuments; ++i) {
        CString name;
        name.Format(L"%02d.doc", i);
        MakeSizedFile(dir.Path(name), 600);
    }
    tagNode root;
    int count = 0;
    StopFlag stop(FALSE);
    ScanHooks hooks;
    hooks.stop = &stop;
    hooks.makeFinder = [&stop]() { return new StopAfterFirstEntry(&stop); };
    ScanFolderWith(&root, dir.Root(), TRUE, &count, hooks);
    EXPECT_EQ(root.arChildren.GetSize(), 1);  // read before the stop
    EXPECT_EQ(count, 1);
}
