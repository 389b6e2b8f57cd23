// Thrown (by pointer, see CException) when a caller passes an index or argument that the class
// library cannot honour, such as an array index beyond the end.
#pragma once

#include "classlib/CException.h"

class CInvalidArgException : public CException {
public:
    BOOL GetErrorMessage(LPWSTR buf, UINT max, PUINT helpContext = nullptr) const override;

    [[noreturn]] static void Throw();
};
