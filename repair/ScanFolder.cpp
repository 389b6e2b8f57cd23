#include "repair/ScanFolder.h"

#include <memory>

#include "classlib/CFileFind.h"
#include "controls/CTextWnd.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

namespace {

const int kExtensionLength = 4;

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

}  // namespace

BOOL HasDocExtension(const CString& name)
{
    CString tail = name.Right(kExtensionLength);
    tail.MakeLower();
    return tail == CString(L".doc");
}

void ScanFolderWith(tagNode* parent, const CString& folder, BOOL recursive, int* count, const ScanHooks& hooks)
{
    if (hooks.showHint) {
        CString hint;
        hint.Format(LoadStr(IDS_LISTING_FOLDER), folder);
        hooks.showHint(hint);
    }

    // A drive root such as D:\ gives two backslashes in a row, which the platform accepts.
    CString pattern;
    pattern.Format(recursive ? L"%s\\*.*" : L"%s\\*.doc", folder);
    std::unique_ptr<CFileFind> find = MakeFinder(hooks);
    BOOL more = find->FindFile(pattern);
    while (more) {
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
        parent->arChildren.Add(node);
    }

    if (!recursive)
        return;
    // Each folder is listed completely before any of its subfolders.
    for (INT_PTR i = 0; i < parent->arChildren.GetSize(); ++i) {
        tagNode* child = parent->arChildren[i];
        if (child->bDir)
            ScanFolderWith(child, child->strPath, recursive, count, hooks);
    }
}

void ScanFolder(tagNode* parent, CString& folder, BOOL recursive, int* count, CTextWnd* view)
{
    ScanHooks hooks;
    // The view keeps the hint behind its lock; the timer is carried to the view's own thread.
    hooks.showHint = [view](const CString& hint) {
        view->SetHint(hint);
        view->StartRefreshTimer();
    };
    ScanFolderWith(parent, folder, recursive, count, hooks);
}
