#include "classlib/CFile.h"

#include <utility>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "classlib/Utf8.h"
#endif

CFile::CFile()
#ifdef _WIN32
    : m_hFile(INVALID_HANDLE_VALUE)
#else
    : m_fd(-1)
#endif
{
}

CFile::~CFile()
{
    Abort();
}

void CFile::ThrowIfClosed() const
{
    if (!IsOpen())
        CFileException::Throw(CFileException::invalidFile, -1, m_strFileName);
}

#ifdef _WIN32

static DWORD AccessFor(UINT flags)
{
    return (flags & CFile::modeWrite) ? GENERIC_WRITE : GENERIC_READ;
}

static DWORD CreationFor(UINT flags)
{
    return (flags & CFile::modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
}

const DWORD kNoSharing = 0;

BOOL CFile::Open(LPCWSTR fileName, UINT openFlags, CFileException* error)
{
    Abort();
    if (!fileName || !*fileName) {
        if (error) {
            error->m_cause = CFileException::badPath;
            error->m_lOsError = ERROR_INVALID_NAME;
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    // The name is copied before the file is made: out of memory then leaves no file behind.
    CString name(fileName);
    SECURITY_ATTRIBUTES security = {sizeof(security), nullptr, TRUE};  // inheritable, as it always was
    HANDLE file = ::CreateFileW(fileName, AccessFor(openFlags), kNoSharing, &security,
                                CreationFor(openFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) {
            const DWORD code = ::GetLastError();
            error->m_lOsError = static_cast<LONG>(code);
            error->m_cause = CFileException::OsErrorToException(static_cast<LONG>(code));
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_hFile = file;
    m_strFileName = std::move(name);
    return TRUE;
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

BOOL CFile::IsOpen() const
{
    return m_hFile != INVALID_HANDLE_VALUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0)
        return 0;
    DWORD read = 0;
    if (!::ReadFile(m_hFile, buffer, count, &read, nullptr))
        ThrowLastError();
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0)
        return;
    DWORD written = 0;
    if (!::WriteFile(m_hFile, buffer, count, &written, nullptr))
        ThrowLastError();
    if (written != count)
        CFileException::Throw(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::GetLength() const
{
    ThrowIfClosed();
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

// The handle is gone whether or not CloseHandle reports success, so it is forgotten first.
void CFile::Close()
{
    ThrowIfClosed();
    HANDLE file = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(file))
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_hFile);  // nothing more can be done about a failed close here
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

#else  // host build: POSIX files

static int OpenFlagsFor(UINT flags)
{
    const int access = (flags & CFile::modeWrite) ? O_WRONLY : O_RDONLY;
    return (flags & CFile::modeCreate) ? (access | O_CREAT | O_TRUNC) : access;
}

BOOL CFile::Open(LPCWSTR fileName, UINT openFlags, CFileException* error)
{
    Abort();
    auto fail = [&](int code) {
        if (error) {
            error->m_lOsError = code;
            error->m_cause = CFileException::OsErrorToException(code);
            error->m_strFileName = fileName;
        }
        return FALSE;
    };
    if (!fileName || !*fileName)
        return fail(ENOENT);
    const std::string path = WideToUtf8(fileName);
    // O_TRUNC is applied only after the lock is held, so a refused open changes nothing.
    const int flags = OpenFlagsFor(openFlags);
    const int fd = ::open(path.c_str(), flags & ~O_TRUNC, 0666);
    if (fd < 0)
        return fail(errno);
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return fail(EISDIR);
    }
    // An advisory lock stands in for Windows' exclusive share mode: it keeps out every other
    // opener, all of which lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(code);
    }
    if ((flags & O_TRUNC) && ::ftruncate(fd, 0) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(code);
    }
    m_fd = fd;
    m_strFileName = fileName;
    return TRUE;
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowOsError(errno, m_strFileName);
}

BOOL CFile::IsOpen() const
{
    return m_fd >= 0;
}

UINT CFile::Read(void* buffer, UINT count)
{
    ThrowIfClosed();
    UINT total = 0;
    while (total < count) {
        const ssize_t n = ::read(m_fd, static_cast<char*>(buffer) + total, count - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (n == 0)
            break;
        total += static_cast<UINT>(n);
    }
    return total;
}

void CFile::Write(const void* buffer, UINT count)
{
    ThrowIfClosed();
    UINT total = 0;
    while (total < count) {
        const ssize_t n = ::write(m_fd, static_cast<const char*>(buffer) + total, count - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (n == 0)
            CFileException::Throw(CFileException::diskFull, ENOSPC, m_strFileName);
        total += static_cast<UINT>(n);
    }
}

ULONGLONG CFile::GetLength() const
{
    ThrowIfClosed();
    struct stat info;
    if (::fstat(m_fd, &info) != 0)
        ThrowLastError();
    return static_cast<ULONGLONG>(info.st_size);
}

void CFile::Close()
{
    ThrowIfClosed();
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_fd >= 0) {
        ::close(m_fd);  // nothing more can be done about a failed close here
        m_fd = -1;
    }
}

#endif
