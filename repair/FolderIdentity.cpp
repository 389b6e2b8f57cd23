#include "repair/FolderIdentity.h"

namespace {

// The path to open for a folder's identity. A bare drive such as "D:" opens that drive's current
// folder, yet a walk of "D:" lists the drive's root ("D:\*.*"): the root is meant.
CString FolderToOpen(const CString& path)
{
    if (path.GetLength() == 2 && path[1] == L':')
        return path + L"\\";
    return path;
}

}  // namespace

BOOL GetFolderIdentity(const CString& path, FolderIdentity* pIdentity)
{
    // A folder opens only with backup semantics; no access right is needed to read its identity,
    // and sharing everything disturbs no one else who has it open.
    const HANDLE hFolder = ::CreateFileW(FolderToOpen(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFolder == INVALID_HANDLE_VALUE)
        return FALSE;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL bKnown = ::GetFileInformationByHandle(hFolder, &info);
    ::CloseHandle(hFolder);  // a handle opened only for a query: a failed close loses nothing
    if (!bKnown)
        return FALSE;
    pIdentity->dwVolumeSerial = info.dwVolumeSerialNumber;
    pIdentity->dwIndexHigh = info.nFileIndexHigh;
    pIdentity->dwIndexLow = info.nFileIndexLow;
    return TRUE;
}
