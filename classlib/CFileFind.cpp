#include "classlib/CFileFind.h"

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "classlib/Utf8.h"
#endif

namespace {

#ifdef _WIN32
const WCHAR kSeparator = L'\\';
#else
const WCHAR kSeparator = L'/';
#endif

int LastSeparator(const CString& path)
{
    const int backslash = path.ReverseFind(L'\\');
    const int slash = path.ReverseFind(L'/');
    return backslash > slash ? backslash : slash;
}

// "C:\" keeps its separator: without it the root would mean the drive's current folder.
CString FolderOf(const CString& path)
{
    const int cut = LastSeparator(path);
    if (cut < 0)
        return CString();
    if (cut == 0 || (cut == 2 && path[1] == L':'))
        return path.Left(cut + 1);
    return path.Left(cut);
}

}  // namespace

#ifdef _WIN32

struct CFileFind::Search {
    HANDLE handle = INVALID_HANDLE_VALUE;
    ~Search()
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::FindClose(handle);  // nothing to do about a failed close
    }
};

static void TakeEntry(const WIN32_FIND_DATAW& data, CString& name, DWORD& attributes, ULONGLONG& length)
{
    name = data.cFileName;
    attributes = data.dwFileAttributes;
    length = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

static CString FullPathOf(const CString& path)
{
    const DWORD needed = ::GetFullPathNameW(path, 0, nullptr, nullptr);
    if (needed == 0)
        return path;  // no full form: keep the path as given
    CString full;
    const DWORD length = ::GetFullPathNameW(path, needed, full.GetBuffer(static_cast<int>(needed)), nullptr);
    full.ReleaseBuffer(length < needed ? static_cast<int>(length) : 0);
    return full.IsEmpty() ? path : full;
}

BOOL CFileFind::FindFile(LPCWSTR name, DWORD flags)
{
    Close();
    const CString pattern = (name && *name) ? CString(name) : CString(L"*.*");
    WIN32_FIND_DATAW data;
    HANDLE handle = ::FindFirstFileW(pattern, &data);
    if (handle == INVALID_HANDLE_VALUE)
        return FALSE;
    m_search.reset(new Search);
    m_search->handle = handle;
    TakeEntry(data, m_next.name, m_next.attributes, m_next.length);
    m_bHaveNext = true;
    m_strRoot = FolderOf(FullPathOf(pattern));
    return TRUE;
}

BOOL CFileFind::FetchNext()
{
    WIN32_FIND_DATAW data;
    if (!::FindNextFileW(m_search->handle, &data))
        return FALSE;  // ERROR_NO_MORE_FILES, or the listing broke off: either way it ends here
    TakeEntry(data, m_next.name, m_next.attributes, m_next.length);
    return TRUE;
}

#else  // host build

struct CFileFind::Search {
    DIR* dir = nullptr;
    std::string folder;  // for stat
    CString mask;
    ~Search()
    {
        if (dir)
            ::closedir(dir);
    }
};

static WCHAR FoldCase(WCHAR c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<WCHAR>(c - (L'a' - L'A')) : c;
}

// * matches any run, ? one character; "*.*" matches every name, as on Windows.
static bool WildcardMatch(LPCWSTR mask, LPCWSTR name)
{
    if (mask[0] == L'*' && mask[1] == L'.' && mask[2] == L'*' && mask[3] == 0)
        return true;
    LPCWSTR star = nullptr;
    LPCWSTR resume = nullptr;
    while (*name) {
        if (*mask == L'*') {
            star = mask++;
            resume = name;
        } else if (*mask == L'?' || (*mask && FoldCase(*mask) == FoldCase(*name))) {
            ++mask;
            ++name;
        } else if (star) {
            mask = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*mask == L'*')
        ++mask;
    return *mask == 0;
}

BOOL CFileFind::FindFile(LPCWSTR name, DWORD flags)
{
    Close();
    const CString pattern = (name && *name) ? CString(name) : CString(L"*.*");
    const int cut = LastSeparator(pattern);
    std::unique_ptr<Search> search(new Search);
    search->mask = pattern.Mid(cut + 1);
    m_strRoot = FolderOf(pattern);
    search->folder = m_strRoot.IsEmpty() ? std::string(".") : WideToUtf8(m_strRoot);
    search->dir = ::opendir(search->folder.c_str());
    if (!search->dir)
        return FALSE;
    m_search = std::move(search);
    if (!FetchNext()) {
        Close();
        return FALSE;
    }
    m_bHaveNext = true;
    return TRUE;
}

BOOL CFileFind::FetchNext()
{
    while (dirent* entry = ::readdir(m_search->dir)) {
        const CString entryName = Utf8ToWide(entry->d_name);
        if (!WildcardMatch(m_search->mask, entryName))
            continue;
        const std::string full = m_search->folder + "/" + entry->d_name;
        struct stat info;
        if (::stat(full.c_str(), &info) != 0 && ::lstat(full.c_str(), &info) != 0)
            continue;  // vanished since it was listed
        m_next.name = entryName;
        m_next.attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        if (::access(full.c_str(), W_OK) != 0)
            m_next.attributes |= FILE_ATTRIBUTE_READONLY;
        m_next.length = S_ISDIR(info.st_mode) ? 0 : static_cast<ULONGLONG>(info.st_size);
        return TRUE;
    }
    return FALSE;
}

#endif

CFileFind::CFileFind() = default;

CFileFind::~CFileFind() = default;

void CFileFind::Close()
{
    m_search.reset();
    m_strRoot.Empty();
    m_current = Entry();
    m_next = Entry();
    m_bHaveCurrent = false;
    m_bHaveNext = false;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_search || !m_bHaveNext)
        return FALSE;
    m_current = m_next;
    m_bHaveCurrent = true;
    m_bHaveNext = FetchNext() != FALSE;
    return m_bHaveNext;
}

BOOL CFileFind::MatchesMask(DWORD mask) const
{
    return m_bHaveCurrent && (m_current.attributes & mask) != 0;
}

BOOL CFileFind::IsDots() const
{
    return MatchesMask(FILE_ATTRIBUTE_DIRECTORY)
        && (m_current.name == L"." || m_current.name == L"..");
}

CString CFileFind::GetFileName() const
{
    return m_bHaveCurrent ? m_current.name : CString();
}

CString CFileFind::GetFilePath() const
{
    if (!m_bHaveCurrent)
        return CString();
    CString path = m_strRoot;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\' && path[path.GetLength() - 1] != L'/')
        path += kSeparator;
    path += m_current.name;
    return path;
}

ULONGLONG CFileFind::GetLength() const
{
    return m_bHaveCurrent ? m_current.length : 0;
}
