#pragma once
// Calls an automation server through IDispatch by dispatch identifier.
//
//   COleDispatchDriver app;
//   if (!app.CreateDispatch(L"Word.Application")) ...;             // COM initialised by the caller
//   static const BYTE params[] = VTS_BOOL;
//   app.InvokeHelper(23, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, FALSE);
//
// InvokeHelper's variable arguments follow the parameter string, one per VTS_ code: VTS_BOOL
//   BOOL (sent as VARIANT_TRUE / VARIANT_FALSE), VTS_BSTR const wchar_t* (copied into a BSTR for
//   the call), VTS_PVARIANT VARIANT* (by reference: the server may change the caller's value).
//   Any other code throws COleException* (E_INVALIDARG) before anything is sent.
// The arguments reach IDispatch::Invoke in reverse order, as it requires; a property put passes
// its value as the named argument DISPID_PROPERTYPUT.
// The result goes to pvRet by vtRet: VT_EMPTY none, VT_DISPATCH IDispatch** (a new reference the
// caller owns); a result of another type that cannot be converted throws COleException*.
// A failed call throws COleDispatchException* (the server's own error) or COleException*.
// Without an interface (creation failed, released) every call is a silent no-op.
#include "classlib/WinTypes.h"
#include <oleauto.h>
#include "classlib/CString.h"

#define VTS_BSTR "\x08"
#define VTS_BOOL "\x0B"
// By reference: the VARTYPE with 0x40 standing for VT_BYREF (which does not fit in a byte).
#define VTS_PVARIANT "\x4C"

class COleException;

class COleDispatchDriver {
public:
    COleDispatchDriver();
    // Takes over lpDispatch (released with the driver when bAutoRelease).
    explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    virtual ~COleDispatchDriver();  // ReleaseDispatch
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // Creates the server's object by programmatic identifier (CLSIDFromProgID, CoCreateInstance)
    // and keeps its IDispatch. FALSE on failure, with the reason in *pError when given; never
    // throws. The calling thread must have initialised COM.
    BOOL CreateDispatch(LPCTSTR lpszProgID, COleException* pError = NULL);
    BOOL CreateDispatch(REFCLSID clsid, COleException* pError = NULL);
    void ReleaseDispatch();       // releases the interface (when owned) and forgets it

    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                       va_list argList);

    LPDISPATCH m_lpDispatch;
    BOOL m_bAutoRelease;
};
