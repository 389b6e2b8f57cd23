#include "engine/tagNode.h"

tagNode::tagNode() : bDir(FALSE)
{
}

tagNode::~tagNode() { DeleteChildren(); }

void tagNode::DeleteChildren()
{
    for (INT_PTR i = 0; i < arChildren.GetSize(); ++i)
        delete arChildren[i];
    arChildren.RemoveAll();
}

BOOL tagNode::HasFile() const
{
    if (!bDir)
        return TRUE;
    for (INT_PTR i = 0; i < arChildren.GetSize(); ++i) {
        if (arChildren[i]->HasFile())
            return TRUE;
    }
    return FALSE;
}

void tagNode::PruneEmptyDirs()
{
    // From the end, so that a removal moves only children already visited.
    for (INT_PTR i = arChildren.GetSize() - 1; i >= 0; --i) {
        tagNode* child = arChildren[i];
        if (!child->bDir)
            continue;
        if (child->HasFile()) {
            child->PruneEmptyDirs();
        } else {
            arChildren.RemoveAt(i);
            delete child;
        }
    }
}

static WCHAR FoldAsciiCapital(WCHAR c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<WCHAR>(c + (L'a' - L'A')) : c;
}

// <0, 0, >0 by code units, ASCII capitals folded to small letters; a name that begins another
// ranks first.
static int CompareNames(const CString& a, const CString& b)
{
    const int length = a.GetLength() < b.GetLength() ? a.GetLength() : b.GetLength();
    LPCWSTR pa = a;
    LPCWSTR pb = b;
    for (int i = 0; i < length; ++i) {
        const WCHAR ca = FoldAsciiCapital(pa[i]);
        const WCHAR cb = FoldAsciiCapital(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.GetLength() - b.GetLength();
}

// Folders rank before files; within a kind, the smaller name ranks first.
static bool RanksBefore(const tagNode* node, const tagNode* other)
{
    if (node->bDir != other->bDir)
        return node->bDir != FALSE;
    return CompareNames(node->strName, other->strName) < 0;
}

void tagNode::SortChildren()
{
    // An exchange sort: each later child that ranks before the one now at position i takes its
    // place. Not stable: two equal names can change places through an exchange with a third.
    const INT_PTR count = arChildren.GetSize();
    for (INT_PTR i = 0; i < count; ++i) {
        for (INT_PTR j = i + 1; j < count; ++j) {
            tagNode* current = arChildren[i];
            tagNode* other = arChildren[j];
            if (RanksBefore(other, current)) {
                arChildren[i] = other;
                arChildren[j] = current;
            }
        }
        if (arChildren[i]->bDir)
            arChildren[i]->SortChildren();
    }
}
