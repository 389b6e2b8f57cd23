#include "classlib/CFileException.h"

#ifndef _WIN32
#include <cerrno>
#include <cstring>

#include "classlib/Utf8.h"
#endif

CFileException::CFileException(int cause, LONG osError, LPCWSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

void CFileException::ThrowOsError(LONG osError, LPCWSTR fileName)
{
    throw new CFileException(OsErrorToException(osError), osError, fileName);
}

void CFileException::Throw(int cause, LONG osError, LPCWSTR fileName)
{
    throw new CFileException(cause, osError, fileName);
}

#ifdef _WIN32

int CFileException::OsErrorToException(LONG osError)
{
    switch (static_cast<DWORD>(osError)) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_NETPATH:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

// A cause given without an operating-system code is described by the system error that stands
// for it, so every message reads in the system's own language.
static DWORD CauseToOsError(int cause)
{
    switch (cause) {
    case CFileException::fileNotFound: return ERROR_FILE_NOT_FOUND;
    case CFileException::badPath: return ERROR_PATH_NOT_FOUND;
    case CFileException::tooManyOpenFiles: return ERROR_TOO_MANY_OPEN_FILES;
    case CFileException::accessDenied: return ERROR_ACCESS_DENIED;
    case CFileException::invalidFile: return ERROR_INVALID_HANDLE;
    case CFileException::removeCurrentDir: return ERROR_CURRENT_DIRECTORY;
    case CFileException::directoryFull: return ERROR_CANNOT_MAKE;
    case CFileException::badSeek: return ERROR_SEEK;
    case CFileException::hardIO: return ERROR_IO_DEVICE;
    case CFileException::sharingViolation: return ERROR_SHARING_VIOLATION;
    case CFileException::lockViolation: return ERROR_LOCK_VIOLATION;
    case CFileException::diskFull: return ERROR_DISK_FULL;
    case CFileException::endOfFile: return ERROR_HANDLE_EOF;
    default: return ERROR_GEN_FAILURE;
    }
}

static CString SystemErrorText(DWORD error)
{
    LPWSTR text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    CString result;
    if (length > 0 && text)
        result = CString(text, static_cast<int>(length));
    else
        result.Format(L"Error %u", static_cast<UINT>(error));  // no system text for this code
    if (text)
        ::LocalFree(text);  // nothing to do if freeing fails
    return result;
}

#else  // host build: errno codes

int CFileException::OsErrorToException(LONG osError)
{
    switch (osError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
        return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE:
    case EINVAL:
        return badSeek;
    case EIO: return hardIO;
    case EWOULDBLOCK: return sharingViolation;
    case ENOSPC:
    case EFBIG:
        return diskFull;
    default: return genericException;
    }
}

static const char* CauseText(int cause)
{
    switch (cause) {
    case CFileException::fileNotFound: return "file not found";
    case CFileException::badPath: return "bad path";
    case CFileException::tooManyOpenFiles: return "too many open files";
    case CFileException::accessDenied: return "access denied";
    case CFileException::invalidFile: return "invalid file";
    case CFileException::removeCurrentDir: return "cannot remove the current directory";
    case CFileException::directoryFull: return "directory full";
    case CFileException::badSeek: return "bad seek";
    case CFileException::hardIO: return "hardware I/O error";
    case CFileException::sharingViolation: return "sharing violation";
    case CFileException::lockViolation: return "lock violation";
    case CFileException::diskFull: return "disk full";
    case CFileException::endOfFile: return "end of file";
    default: return "file error";
    }
}

#endif

BOOL CFileException::GetErrorMessage(LPWSTR buf, UINT max, PUINT helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    CString message;
#ifdef _WIN32
    const DWORD error = m_lOsError > 0 ? static_cast<DWORD>(m_lOsError) : CauseToOsError(m_cause);
    message = SystemErrorText(error);
    message.TrimRight();
#else
    message = Utf8ToWide(m_lOsError > 0 ? std::strerror(m_lOsError) : CauseText(m_cause));
#endif
    if (!m_strFileName.IsEmpty())
        message = m_strFileName + L": " + message;
    return CopyMessage(message, buf, max);
}
