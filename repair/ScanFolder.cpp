#include "repair/ScanFolder.h"

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "classlib/CFileFind.h"
#include "controls/CTextWnd.h"
#include "repair/FolderIdentity.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

namespace {

const int kExtensionLength = 4;
// The platform's file search refuses a pattern of MAX_PATH characters or more. Where long paths
// work the walk keeps that limit all the same: the listing is the same everywhere, and it bounds
// the depth of a walk whose links the identity test cannot see.
const int kMaxPatternChars = MAX_PATH - 1;

// One folder on the way from the root down to the one being scanned. Its identity is read only
// when a link below it asks for it: most trees have no links, and reading an identity costs a
// file open per folder.
struct ChainFolder {
    explicit ChainFolder(const CString& path) : strPath(path) {}
    CString strPath;
    bool bRead = false;   // the identity has been asked for
    bool bKnown = false;  // ... and the platform gave one
    FolderIdentity identity;
};
typedef std::vector<ChainFolder> FolderChain;

// What the walk keeps on its way: the folders from the root down to the one being scanned, and
// the folders it has entered through a link.
struct Walk {
    FolderChain chain;
    std::vector<FolderIdentity> enteredThroughLinks;
};

// The folders below parent that are links (symbolic links, junctions, mount points).
typedef std::set<const tagNode*> LinkedFolders;

std::unique_ptr<CFileFind> MakeFinder(const ScanHooks& hooks)
{
    if (hooks.makeFinder)
        return std::unique_ptr<CFileFind>(hooks.makeFinder());
    return std::unique_ptr<CFileFind>(new CFileFind);
}

// Temporary and system entries belong to the system or to a program at work, never to the user.
BOOL IsSkippedEntry(const CFileFind& find)
{
    return find.IsDots() || find.MatchesMask(FILE_ATTRIBUTE_TEMPORARY) || find.MatchesMask(FILE_ATTRIBUTE_SYSTEM);
}

bool StopRequested(const ScanHooks& hooks) { return hooks.stop != nullptr && StopAsked(hooks.stop); }

void ShowHint(const CString& folder, const ScanHooks& hooks)
{
    if (!hooks.showHint)
        return;
    CString hint;
    hint.Format(LoadStr(IDS_LISTING_FOLDER), folder);
    hooks.showHint(hint);
}

void ListEntries(tagNode* parent, const CString& folder, BOOL recursive, int* count, const ScanHooks& hooks,
                 LinkedFolders& links)
{
    // A drive root such as D:\ gives two backslashes in a row, which the platform accepts.
    CString pattern;
    pattern.Format(recursive ? L"%s\\*.*" : L"%s\\*.doc", folder);
    if (pattern.GetLength() > kMaxPatternChars)
        return;
    std::unique_ptr<CFileFind> find = MakeFinder(hooks);
    BOOL more = find->FindFile(pattern);
    while (more && !StopRequested(hooks)) {
        more = find->FindNextFile();
        if (IsSkippedEntry(*find))
            continue;
        const BOOL bDir = find->MatchesMask(FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
        if (!bDir && (find->GetLength() < MIN_DOCUMENT_BYTES || !HasDocExtension(find->GetFileName())))
            continue;
        tagNode* node = new tagNode;
        node->strName = find->GetFileName();
        node->strPath = find->GetFilePath();
        node->bDir = bDir;
        if (!bDir)
            ++*count;
        else if (find->MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT))
            links.insert(node);
        parent->arChildren.Add(node);
    }
}

bool HasIdentity(ChainFolder& folder, const FolderIdentity& identity)
{
    if (!folder.bRead) {
        folder.bKnown = GetFolderIdentity(folder.strPath, &folder.identity) != FALSE;
        folder.bRead = true;
    }
    return folder.bKnown && folder.identity == identity;
}

// TRUE when identity is that of a folder on the way down. Only a link can lead back up.
bool LeadsUpTheChain(FolderChain& chain, const FolderIdentity& identity)
{
    return std::any_of(chain.begin(), chain.end(),
                       [&identity](ChainFolder& folder) { return HasIdentity(folder, identity); });
}

// TRUE when the walk enters the folder that a link leads to. Not when that folder is on the way
// down: the walk would go round without end. Nor when the walk has entered it through a link
// before: where links cross, the walk would otherwise follow every path through them, whose number
// grows with the factorial of the number of links; one entry through a link per folder bounds the
// walk by the real folders. Nor when the link's folder gives no identity: without it the walk
// cannot bound the link.
bool EntersLink(Walk& walk, const CString& linkPath)
{
    FolderIdentity identity;
    if (!GetFolderIdentity(linkPath, &identity) || LeadsUpTheChain(walk.chain, identity))
        return false;
    std::vector<FolderIdentity>& entered = walk.enteredThroughLinks;
    if (std::find(entered.begin(), entered.end(), identity) != entered.end())
        return false;
    entered.push_back(identity);
    return true;
}

void ScanFolderIn(tagNode* parent, const CString& folder, BOOL recursive, int* count, const ScanHooks& hooks,
                  Walk& walk)
{
    if (StopRequested(hooks))
        return;
    ShowHint(folder, hooks);
    LinkedFolders links;
    ListEntries(parent, folder, recursive, count, hooks, links);
    if (!recursive)
        return;
    // Each folder is listed completely before any of its subfolders.
    for (INT_PTR i = 0; i < parent->arChildren.GetSize() && !StopRequested(hooks); ++i) {
        tagNode* child = parent->arChildren[i];
        if (!child->bDir)
            continue;
        if (links.count(child) != 0 && !EntersLink(walk, child->strPath))
            continue;
        walk.chain.emplace_back(child->strPath);
        ScanFolderIn(child, child->strPath, recursive, count, hooks, walk);
        walk.chain.pop_back();
    }
}

}  // namespace

BOOL HasDocExtension(const CString& name)
{
    CString tail = name.Right(kExtensionLength);
    tail.MakeLower();
    return tail == CString(L".doc");
}

void ScanFolderWith(tagNode* parent, const CString& folder, BOOL recursive, int* count, const ScanHooks& hooks)
{
    Walk walk;
    walk.chain.emplace_back(folder);
    ScanFolderIn(parent, folder, recursive, count, hooks, walk);
}

void ScanFolder(tagNode* parent, CString& folder, BOOL recursive, int* count, CTextWnd* view, const StopFlag* stop)
{
    ScanHooks hooks;
    hooks.stop = stop;
    // The view keeps the hint behind its lock; the timer is carried to the view's own thread.
    hooks.showHint = [view](const CString& hint) {
        view->SetHint(hint);
        view->StartRefreshTimer();
    };
    ScanFolderWith(parent, folder, recursive, count, hooks);
}
