// An unbuffered binary file.
//
// Open reports failure by its result (and fills the caller's CFileException when one is given);
// it never throws. Read, Write, GetLength and Close throw CFileException* on failure, and on a
// file that is not open. The destructor closes the file without throwing.
//
// Sharing: every file is opened exclusively (callers say so with shareExclusive): no other
// handle opens it while this one holds it. The Windows build asks CreateFileW for no sharing;
// the host build approximates that with an advisory flock lock.
#pragma once

#include "classlib/CFileException.h"
#include "classlib/CString.h"
#include "classlib/WinTypes.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        shareExclusive = 0x0010,
        modeCreate = 0x1000
    };

    CFile();
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeCreate makes a new empty file (an existing one is emptied); without it the file must
    // exist. Returns FALSE on failure, with the cause in *error.
    virtual BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr);

    // Returns the number of bytes read: fewer than count only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all count bytes or throws (diskFull when the system wrote fewer).
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG GetLength() const;
    virtual void Close();
    // Closes without throwing; nothing happens when the file is not open.
    virtual void Abort();

    BOOL IsOpen() const;

private:
    [[noreturn]] void ThrowLastError() const;
    void ThrowIfClosed() const;

#ifdef _WIN32
    HANDLE m_hFile;
#else
    int m_fd;
#endif
    CString m_strFileName;  // as given to Open, for error messages
};
