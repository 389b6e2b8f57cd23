// A failed file operation: what went wrong (m_cause), the operating system's error code
// (m_lOsError: a Win32 error code on Windows, errno on the host build, -1 when none) and the
// file's name. Thrown by pointer, see CException.
#pragma once

#include "classlib/CException.h"
#include "classlib/CString.h"

class CFileException : public CException {
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCWSTR fileName = nullptr);

    // "<file name>: <the system's description of the error>" (no name when there is none).
    BOOL GetErrorMessage(LPWSTR buf, UINT max, PUINT helpContext = nullptr) const override;

    // The cause that an operating-system error code stands for.
    static int OsErrorToException(LONG osError);
    [[noreturn]] static void ThrowOsError(LONG osError, LPCWSTR fileName = nullptr);
    [[noreturn]] static void Throw(int cause, LONG osError = -1, LPCWSTR fileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};
