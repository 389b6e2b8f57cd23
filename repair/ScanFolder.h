// The folder scan: turns the entries of a folder into children of a tree node.
#pragma once
#include <functional>

#include "classlib/CString.h"
#include "classlib/WinTypes.h"
#include "engine/StopFlag.h"
#include "engine/tagNode.h"

class CFileFind;
class CTextWnd;

// Smallest document taken, in bytes: anything shorter cannot hold a document's text.
const ULONGLONG MIN_DOCUMENT_BYTES = 512;

// Appends to parent one node per document (at least 512 bytes, name ending in ".doc" with A-Z
// folded) and, when recursive, per subfolder, which it then scans the same way; count grows by
// one per document. Entries marked temporary or system are skipped. Before each folder is read,
// the view's hint names it (string 139) and the view's refresh timer is started unless one is
// pending. A folder that cannot be listed adds nothing and reports nothing; nor does a folder
// whose search pattern would reach MAX_PATH characters (a path of 256 or more when recursive,
// 254 or more when not). A subfolder that is the folder itself or one above it on the way down
// (reached again through a link or a junction) is listed but not entered; so is a link to a folder
// that the scan has already entered through another link, and a link whose folder gives no
// identity. When stop is given and set, the scan ends at its next entry or folder and leaves what
// it has built.
void ScanFolder(tagNode* parent, CString& folder, BOOL recursive, int* count, CTextWnd* view,
                const StopFlag* stop = nullptr);

// The scan without a view: showHint receives each hint text (on the scanning thread), makeFinder
// gives the file-find object (the platform's CFileFind when empty), and stop, when not null, is
// the stop request.
struct ScanHooks {
    std::function<void(const CString& hint)> showHint;
    std::function<CFileFind*()> makeFinder;
    const StopFlag* stop = nullptr;
};
void ScanFolderWith(tagNode* parent, const CString& folder, BOOL recursive, int* count, const ScanHooks& hooks);

// TRUE when a file name's last four characters (the whole name when shorter), with A-Z folded,
// read exactly ".doc".
BOOL HasDocExtension(const CString& name);
