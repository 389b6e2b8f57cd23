// Lists the entries of a folder that match a wildcard pattern.
//
// FindFile looks up the first match but makes nothing current; each FindNextFile makes the next
// match current and returns FALSE when that match is the last one. So this loop visits every
// entry, the last one included:
//     CFileFind find;
//     BOOL more = find.FindFile(L"C:\\docs\\*.*");
//     while (more) {
//         more = find.FindNextFile();
//         ... find.GetFileName() ...
//     }
// The host build lists a POSIX folder (wildcards * and ?, A-Z folded) and reports only the
// directory and read-only attributes.
#pragma once

#include <memory>

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

class CFileFind {
public:
    CFileFind();
    virtual ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // name: a path whose last part may hold * and ?; null means "*.*" in the current folder.
    // Returns FALSE when nothing matches. flags is not used.
    virtual BOOL FindFile(LPCWSTR name = nullptr, DWORD flags = 0);
    virtual BOOL FindNextFile();
    void Close();

    // About the current entry (FALSE, empty or 0 before the first FindNextFile).
    BOOL IsDots() const;
    // TRUE when the entry has any of the attribute bits in mask.
    BOOL MatchesMask(DWORD mask) const;
    CString GetFileName() const;
    // The folder searched (a full path on Windows), then a separator, then the name.
    CString GetFilePath() const;
    ULONGLONG GetLength() const;

private:
    struct Entry {
        CString name;
        DWORD attributes = 0;
        ULONGLONG length = 0;
    };
    struct Search;  // the platform's open search

    BOOL FetchNext();

    std::unique_ptr<Search> m_search;
    CString m_strRoot;
    Entry m_current;
    Entry m_next;
    bool m_bHaveCurrent = false;
    bool m_bHaveNext = false;
};
