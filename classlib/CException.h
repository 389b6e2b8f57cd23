// Base of the class library's exceptions. They are thrown and caught by pointer:
//     throw new CFileException(...);
//     catch (CFileException* e) { ...; e->Delete(); }
// Delete() frees an exception that was created with new and does nothing for one that lives on
// the stack (as the CFileException a caller hands to CFile::Open), so a handler may call it
// without knowing where the object came from.
#pragma once

#include <cstddef>

#include "classlib/WinTypes.h"

class CException {
public:
    CException();
    virtual ~CException();
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    // Copies the message into buf (at most max characters including the terminator).
    // Returns FALSE when there is no message to give; buf then holds an empty string.
    virtual BOOL GetErrorMessage(LPWSTR buf, UINT max, PUINT helpContext = nullptr) const;

    // Frees an exception created with new; a no-op for one on the stack or a member.
    void Delete();

    static void* operator new(std::size_t size);
    static void operator delete(void* p);

protected:
    // Copies text into buf, cut to max characters including the terminator; FALSE when buf is
    // null or max is 0.
    static BOOL CopyMessage(LPCWSTR text, LPWSTR buf, UINT max);

private:
    bool m_bOnHeap;
};
