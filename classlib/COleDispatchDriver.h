#pragma once
// Calls an automation server through IDispatch by dispatch identifier.
//
//   COleDispatchDriver app;
//   if (!app.CreateDispatch(L"Word.Application")) ...;             // COM initialised by the caller
//   static const BYTE params[] = VTS_BOOL;
//   app.InvokeHelper(23, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, FALSE);
//
// InvokeHelper's variable arguments follow the parameter string, one per VTS_ code:
//   VTS_I2 short (as int), VTS_I4 long, VTS_R8 double, VTS_BOOL BOOL (sent as VARIANT_TRUE /
//   VARIANT_FALSE), VTS_BSTR const wchar_t* (copied into a BSTR for the call), VTS_DISPATCH
//   IDispatch*, VTS_UNKNOWN IUnknown*, VTS_VARIANT const VARIANT*, and the by-reference codes
//   VTS_PI4 long*, VTS_PBOOL VARIANT_BOOL*, VTS_PBSTR BSTR*, VTS_PVARIANT VARIANT* (the server
//   may change the caller's value).
// The arguments reach IDispatch::Invoke in reverse order, as it requires; a property put passes
// its value as the named argument DISPID_PROPERTYPUT.
// The result goes to pvRet by vtRet: VT_EMPTY none, VT_I2 short*, VT_I4 long*, VT_R8 double*,
// VT_BOOL BOOL*, VT_BSTR CString*, VT_DISPATCH IDispatch** and VT_UNKNOWN IUnknown** (a new
// reference the caller owns), VT_VARIANT VARIANT* (the caller clears it).
// A failed call throws COleDispatchException* (the server's own error) or COleException*.
// Without an interface (creation failed, released) every call is a silent no-op.
#include "classlib/WinTypes.h"
#include <oleauto.h>
#include "classlib/CString.h"

#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_UI1 "\x11"
// By reference: the VARTYPE with 0x40 standing for VT_BYREF (which does not fit in a byte).
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR8 "\x45"
#define VTS_PBSTR "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"
#define VTS_PUNKNOWN "\x4D"

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
