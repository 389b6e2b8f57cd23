#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/tagNode.h"
#include "testutil.h"

namespace {

tagNode* Folder(LPCWSTR name, std::initializer_list<tagNode*> children = {})
{
    tagNode* node = new tagNode;
    node->strName = name;
    node->strPath = CString(L"C:\\src\\") + name;
    node->bDir = TRUE;
    for (tagNode* child : children)
        node->arChildren.Add(child);
    return node;
}

tagNode* File(LPCWSTR name)
{
    tagNode* node = new tagNode;
    node->strName = name;
    node->strPath = CString(L"C:\\src\\") + name;
    return node;
}

// The children's names in order, folders marked with a slash.
std::vector<std::string> Names(const tagNode& node)
{
    std::vector<std::string> names;
    for (INT_PTR i = 0; i < node.arChildren.GetSize(); ++i) {
        const tagNode* child = node.arChildren[i];
        names.push_back(Utf8(child->strName) + (child->bDir ? "/" : ""));
    }
    return names;
}

typedef std::vector<std::string> Strings;

}  // namespace

TEST(tagNode, NewNodeIsAnEmptyFile)
{
    tagNode node;
    EXPECT_TRUE(node.strName.IsEmpty());
    EXPECT_TRUE(node.strPath.IsEmpty());
    EXPECT_EQ(node.bDir, FALSE);
    EXPECT_EQ(node.arChildren.GetSize(), 0);
    EXPECT_TRUE(node.HasFile());
}

TEST(tagNode, HasFileSearchesTheSubtree)
{
    std::unique_ptr<tagNode> empty(Folder(L"root"));
    EXPECT_FALSE(empty->HasFile());
    std::unique_ptr<tagNode> foldersOnly(Folder(L"root", {Folder(L"a", {Folder(L"b")})}));
    EXPECT_FALSE(foldersOnly->HasFile());
    std::unique_ptr<tagNode> deep(Folder(L"root", {Folder(L"a", {Folder(L"b", {File(L"x.doc")})})}));
    EXPECT_TRUE(deep->HasFile());
}

TEST(tagNode, PruneRemovesFoldersWithoutDocuments)
{
    // Only an empty subfolder: removed, and the root stays, empty.
    std::unique_ptr<tagNode> root(Folder(L"root", {Folder(L"E")}));
    root->PruneEmptyDirs();
    EXPECT_EQ(root->arChildren.GetSize(), 0);
    EXPECT_FALSE(root->HasFile());

    // A chain down to one document: nothing removed.
    root.reset(Folder(L"root", {Folder(L"A", {Folder(L"B", {Folder(L"C", {File(L"c.doc")})})})}));
    root->PruneEmptyDirs();
    EXPECT_EQ(Names(*root), Strings({"A/"}));
    EXPECT_EQ(Names(*root->arChildren[0]->arChildren[0]->arChildren[0]), Strings({"c.doc"}));

    // Empty folders anywhere, nested ones too; documents and the folders holding them stay.
    root.reset(Folder(L"root", {Folder(L"E"), Folder(L"D", {File(L"d.doc"), Folder(L"F", {Folder(L"G")})}),
                                File(L"r.doc"), Folder(L"H", {Folder(L"I")})}));
    root->PruneEmptyDirs();
    EXPECT_EQ(Names(*root), Strings({"D/", "r.doc"}));
    EXPECT_EQ(Names(*root->arChildren[0]), Strings({"d.doc"}));

    // A file root: nothing to do.
    std::unique_ptr<tagNode> file(File(L"one.doc"));
    file->PruneEmptyDirs();
    file->SortChildren();
    EXPECT_TRUE(file->HasFile());
}

TEST(tagNode, SortPutsFoldersFirstThenNamesFoldingAsciiCapitals)
{
    std::unique_ptr<tagNode> root(Folder(L"root", {File(L"f.doc"), Folder(L"Dir"), File(L"a.doc")}));
    root->SortChildren();
    EXPECT_EQ(Names(*root), Strings({"Dir/", "a.doc", "f.doc"}));

    root.reset(Folder(L"root", {File(L"Z.doc"), File(L"a1.doc"), File(L"a.doc"), File(L"_x.doc"),
                                Folder(L"zeta"), Folder(L"Beta"), Folder(L"alpha")}));
    root->SortChildren();
    EXPECT_EQ(Names(*root),
              Strings({"alpha/", "Beta/", "zeta/", "_x.doc", "a.doc", "a1.doc", "Z.doc"}));
}

TEST(tagNode, SortIsAnUnstableExchangeSort)
{
    // b.doc and B.DOC compare equal; the exchange with a.doc reverses their order.
    std::unique_ptr<tagNode> root(Folder(L"root", {File(L"b.doc"), File(L"B.DOC"), File(L"a.doc")}));
    root->SortChildren();
    EXPECT_EQ(Names(*root), Strings({"a.doc", "B.DOC", "b.doc"}));
}

TEST(tagNode, SortReachesEverySubfolderAndFoldsOnlyAscii)
{
    // Full-width letters are not folded; Chinese names go by their code units.
    std::unique_ptr<tagNode> root(Folder(L"root", {Folder(L"sub", {File(L"\xFF42.doc"), File(L"\xFF21.doc"),
                                                                   File(L"\x6587.doc"), File(L"\x4E2D.doc")})}));
    root->SortChildren();
    EXPECT_EQ(Names(*root->arChildren[0]), Strings({"中.doc", "文.doc", "Ａ.doc", "ｂ.doc"}));
}
