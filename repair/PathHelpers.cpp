#include "repair/PathHelpers.h"

static const WCHAR SEPARATOR = L'\\';
// Longest path, without its terminator, that the folder walk hands to the platform.
static const int MAX_WALK_PATH = MAX_PATH - 1;
// Shortest drive-letter path worth a walk: "D:" and one more character.
static const int MIN_WALK_PATH = 3;

// The path without its trailing backslashes, and the index of its last backslash when that lies
// after the first character (-1 otherwise).
static CString TrimTrailingSeparators(const CString& path, int& lastSeparator)
{
    CString trimmed = path;
    trimmed.TrimRight(SEPARATOR);
    lastSeparator = trimmed.ReverseFind(SEPARATOR);
    if (lastSeparator <= 0)
        lastSeparator = -1;
    return trimmed;
}

CString GetLastPathComponent(const CString& path)
{
    int lastSeparator;
    const CString trimmed = TrimTrailingSeparators(path, lastSeparator);
    return lastSeparator < 0 ? trimmed : trimmed.Mid(lastSeparator + 1);
}

CString GetParentFolder(const CString& path)
{
    int lastSeparator;
    const CString trimmed = TrimTrailingSeparators(path, lastSeparator);
    return lastSeparator < 0 ? trimmed : trimmed.Left(lastSeparator);
}

BOOL IsDirectory(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL IsFile(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Makes sure the folder folder exists: FALSE when a file stands in its place or it cannot be
// created.
static BOOL EnsureFolder(LPCWSTR folder)
{
    const CString path(folder);
    if (IsFile(path))
        return FALSE;
    if (IsDirectory(path))
        return TRUE;
    return ::CreateDirectoryW(folder, nullptr) ? TRUE : FALSE;
}

BOOL CreateDirectoryPath(const CString& path)
{
    if (IsDirectory(path))
        return TRUE;
    if (IsFile(path))
        return FALSE;
    const int colon = path.Find(L':');
    if (colon < 0 || path.GetLength() < MIN_WALK_PATH)
        return FALSE;
    // The walk copies every prefix into a buffer of MAX_PATH units: refuse what would not fit.
    if (path.GetLength() > MAX_WALK_PATH)
        return FALSE;
    WCHAR prefix[MAX_PATH];
    for (int index = colon;;) {
        const int separator = path.Find(SEPARATOR, index);
        if (separator < 0)
            break;
        ::lstrcpynW(prefix, path, separator + 1);  // the text before the backslash
        if (!EnsureFolder(prefix))
            return FALSE;
        index = separator + 1;
        if (index >= path.GetLength())
            break;
    }
    ::lstrcpynW(prefix, path, MAX_PATH);
    return EnsureFolder(prefix);
}
