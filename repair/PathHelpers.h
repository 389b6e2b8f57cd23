// Small helpers on Windows paths (drive letter and colon, backslash separators; the forward
// slash is an ordinary character here). None keeps state; any thread may call them.
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

// The text after the last backslash, once trailing backslashes are removed; the whole trimmed
// path when it has no backslash after its first character.
CString GetLastPathComponent(const CString& path);
// The text before the last backslash, once trailing backslashes are removed; the whole trimmed
// path when it has no backslash after its first character.
CString GetParentFolder(const CString& path);

// TRUE when path names an existing folder.
BOOL IsDirectory(const CString& path);
// TRUE when path names an existing entry that is not a folder.
BOOL IsFile(const CString& path);

// Creates the folder path of a drive-letter path together with every missing folder on the way.
// TRUE when the folder exists at the end. Folders created before a failure stay. A path of more
// than 259 characters that does not already name a folder is refused with FALSE.
BOOL CreateDirectoryPath(const CString& path);
