// Helpers for tests that handle wide strings. GoogleTest is built without the host build's
// 16-bit wchar_t, so wide strings never go to its macros directly: compare and print them as UTF-8.
//     EXPECT_EQ(Utf8(s), "总共 3 个文件");
#pragma once

#include <cstdlib>
#include <ostream>
#include <string>

#include "classlib/CString.h"
#include "classlib/Utf8.h"

inline std::string Utf8(const CString& s)
{
    return WideToUtf8(s.GetString(), s.GetLength());
}

inline std::string Utf8(LPCWSTR s)
{
    return WideToUtf8(s);
}

// Lets GoogleTest print a CString in a failure message.
inline void PrintTo(const CString& s, std::ostream* os)
{
    *os << '"' << Utf8(s) << '"';
}

// A new empty folder under the system's temporary folder, removed with everything in it when the
// object goes. Path(L"a.txt") gives a path inside it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const CString& Root() const { return m_root; }
    CString Path(LPCWSTR name) const { return m_root + kSep + name; }

#ifdef _WIN32
    static constexpr WCHAR kSep[] = L"\\";
#else
    static constexpr WCHAR kSep[] = L"/";
#endif

private:
    CString m_root;
};

#ifdef _WIN32

// A Linux path as Wine's Z: drive shows it; any other path unchanged.
inline CString WindowsPathOf(const char* path)
{
    const CString given = Utf8ToWide(path);
    CString windows = given.Left(1) == CString(L"/") ? CString(L"Z:") : CString();
    for (int i = 0; i < given.GetLength(); ++i)
        windows += given[i] == L'/' ? L'\\' : given[i];
    return windows;
}

// The folder of the test's fixture whose src folder holds links that lead back up
// (QM_LINK_LOOP_ROOT), or empty when the test runs without it.
inline CString LinkLoopRoot()
{
    const char* root = getenv("QM_LINK_LOOP_ROOT");
    return root != nullptr ? WindowsPathOf(root) : CString();
}

inline TempDir::TempDir()
{
    WCHAR base[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, base);
    static LONG counter = 0;
    m_root.Format(L"%s\\qmtest-%u-%d", CString(base, static_cast<int>(n)).TrimRight(L'\\'),
                  ::GetCurrentProcessId(), static_cast<int>(::InterlockedIncrement(&counter)));
    ::CreateDirectoryW(m_root, nullptr);
}

inline void RemoveTree(const CString& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE h = ::FindFirstFileW(folder + L"\\*", &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const CString name(data.cFileName);
            if (name == L"." || name == L"..")
                continue;
            const CString path = folder + L"\\" + name;
            ::SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path);
        } while (::FindNextFileW(h, &data));
        ::FindClose(h);
    }
    ::RemoveDirectoryW(folder);
}

inline TempDir::~TempDir()
{
    RemoveTree(m_root);
}

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFileBytes(const CString& path)
{
    std::string bytes;
    HANDLE h = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[65536];
    DWORD n = 0;
    while (::ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0)
        bytes.append(buf, n);
    ::CloseHandle(h);
    return bytes;
}

#else

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>

inline TempDir::TempDir()
{
    char pattern[] = "/tmp/qmtest-XXXXXX";
    if (mkdtemp(pattern))
        m_root = Utf8ToWide(pattern);
}

inline TempDir::~TempDir()
{
    if (m_root.IsEmpty())
        return;
    nftw(Utf8(m_root).c_str(),
         [](const char* path, const struct stat*, int, struct FTW*) { return remove(path); }, 16,
         FTW_DEPTH | FTW_PHYS);
}

#endif
