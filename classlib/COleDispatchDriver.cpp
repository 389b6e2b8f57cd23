#include "classlib/COleDispatchDriver.h"

#include <cstdarg>
#include <cstring>
#include <vector>

#include "classlib/COleDispatchException.h"
#include "classlib/COleException.h"

namespace {

const BYTE kByRef = 0x40;  // VT_BYREF as the parameter strings write it

// The arguments of one call, in IDispatch::Invoke's reversed order; frees the BSTRs it made.
class InvokeArguments {
public:
    explicit InvokeArguments(size_t nCount) : m_args(nCount), m_owned(nCount, false)
    {
        for (VARIANT& v : m_args)
            ::VariantInit(&v);
    }
    ~InvokeArguments()
    {
        for (size_t i = 0; i < m_args.size(); ++i) {
            if (m_owned[i])
                ::VariantClear(&m_args[i]);  // only what we allocated: the caller's values stay its own
        }
    }
    InvokeArguments(const InvokeArguments&) = delete;
    InvokeArguments& operator=(const InvokeArguments&) = delete;

    // Argument i of the caller's list (0 = first).
    VARIANT& At(size_t i) { return m_args[m_args.size() - 1 - i]; }
    void Own(size_t i) { m_owned[m_args.size() - 1 - i] = true; }
    VARIANT* Data() { return m_args.empty() ? nullptr : m_args.data(); }
    UINT Count() const { return static_cast<UINT>(m_args.size()); }

private:
    std::vector<VARIANT> m_args;
    std::vector<bool> m_owned;
};

void ReadArgument(InvokeArguments& args, size_t i, BYTE code, va_list& argList)
{
    VARIANT& v = args.At(i);
    if ((code & kByRef) != 0) {
        v.vt = static_cast<VARTYPE>((code & ~kByRef) | VT_BYREF);
        v.byref = va_arg(argList, void*);
        return;
    }
    v.vt = code;
    switch (code) {
    case VT_I2:
        v.iVal = static_cast<SHORT>(va_arg(argList, int));
        break;
    case VT_I4:
        v.lVal = va_arg(argList, long);
        break;
    case VT_R4:
        v.fltVal = static_cast<float>(va_arg(argList, double));
        break;
    case VT_R8:
        v.dblVal = va_arg(argList, double);
        break;
    case VT_BSTR: {
        const wchar_t* psz = va_arg(argList, const wchar_t*);
        v.bstrVal = ::SysAllocString(psz ? psz : L"");
        if (v.bstrVal == NULL) {
            v.vt = VT_EMPTY;
            AfxThrowOleException(E_OUTOFMEMORY);
        }
        args.Own(i);
        break;
    }
    case VT_DISPATCH:
        v.pdispVal = va_arg(argList, LPDISPATCH);
        break;
    case VT_ERROR:
        v.scode = va_arg(argList, SCODE);
        break;
    case VT_BOOL:
        v.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_VARIANT: {
        const VARIANT* pSource = va_arg(argList, const VARIANT*);
        if (pSource != nullptr)
            v = *pSource;  // a shallow copy: the caller keeps ownership of what it points to
        else
            v.vt = VT_EMPTY;
        break;
    }
    case VT_UNKNOWN:
        v.punkVal = va_arg(argList, LPUNKNOWN);
        break;
    case VT_UI1:
        v.bVal = static_cast<BYTE>(va_arg(argList, int));
        break;
    default:
        v.vt = VT_EMPTY;
        AfxThrowOleException(E_INVALIDARG);  // a parameter code this library does not know
    }
}

[[noreturn]] void ThrowFromExcepInfo(EXCEPINFO& info)
{
    if (info.pfnDeferredFillIn != nullptr)
        info.pfnDeferredFillIn(&info);
    COleDispatchException* pError =
        new COleDispatchException(info.bstrDescription, info.dwHelpContext, info.wCode);
    pError->m_scError = info.scode != 0 ? info.scode : DISP_E_EXCEPTION;
    pError->m_sc = pError->m_scError;
    if (info.bstrSource != NULL)
        pError->m_strSource = info.bstrSource;
    if (info.bstrHelpFile != NULL)
        pError->m_strHelpFile = info.bstrHelpFile;
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    throw pError;
}

// Moves the call's result into the caller's variable of the type vtRet names.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet != VT_VARIANT && result.vt != vtRet) {
        const HRESULT hr = ::VariantChangeType(&result, &result, 0, vtRet);
        if (FAILED(hr)) {
            ::VariantClear(&result);
            AfxThrowOleException(hr);
        }
    }
    switch (vtRet) {
    case VT_I2:
        *static_cast<short*>(pvRet) = result.iVal;
        break;
    case VT_I4:
        *static_cast<long*>(pvRet) = result.lVal;
        break;
    case VT_R8:
        *static_cast<double*>(pvRet) = result.dblVal;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE;
        break;
    case VT_BSTR:
        *static_cast<CString*>(pvRet) = result.bstrVal ? CString(result.bstrVal, static_cast<int>(::SysStringLen(result.bstrVal))) : CString();
        ::VariantClear(&result);
        break;
    case VT_DISPATCH:
        *static_cast<LPDISPATCH*>(pvRet) = result.pdispVal;  // the caller owns this reference
        break;
    case VT_UNKNOWN:
        *static_cast<LPUNKNOWN*>(pvRet) = result.punkVal;
        break;
    case VT_VARIANT:
        *static_cast<VARIANT*>(pvRet) = result;  // the caller clears it
        break;
    default:
        ::VariantClear(&result);
        AfxThrowOleException(E_INVALIDARG);
    }
}

}  // namespace

COleDispatchDriver::COleDispatchDriver() : m_lpDispatch(nullptr), m_bAutoRelease(TRUE) {}

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease)
{
}

COleDispatchDriver::~COleDispatchDriver() { ReleaseDispatch(); }

BOOL COleDispatchDriver::CreateDispatch(LPCTSTR lpszProgID, COleException* pError)
{
    CLSID clsid;
    const HRESULT hr = ::CLSIDFromProgID(lpszProgID, &clsid);
    if (FAILED(hr)) {
        if (pError != nullptr)
            pError->m_sc = hr;
        return FALSE;
    }
    return CreateDispatch(clsid, pError);
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError)
{
    ReleaseDispatch();
    LPUNKNOWN pUnknown = nullptr;
    HRESULT hr = ::CoCreateInstance(clsid, NULL, CLSCTX_SERVER, IID_IUnknown, reinterpret_cast<void**>(&pUnknown));
    if (SUCCEEDED(hr)) {
        hr = pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_lpDispatch));
        pUnknown->Release();
    }
    if (FAILED(hr)) {
        m_lpDispatch = nullptr;
        if (pError != nullptr)
            pError->m_sc = hr;
        return FALSE;
    }
    m_bAutoRelease = TRUE;
    return TRUE;
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch != nullptr && m_bAutoRelease)
        m_lpDispatch->Release();
    m_lpDispatch = nullptr;
}

void COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                      const BYTE* pbParamInfo, ...)
{
    va_list argList;
    va_start(argList, pbParamInfo);
    try {
        InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
    } catch (...) {
        va_end(argList);
        throw;
    }
    va_end(argList);
}

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList)
{
    if (m_lpDispatch == nullptr)
        return;  // no server: nothing is sent, nothing raised
    const size_t nCount = pbParamInfo ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
    InvokeArguments args(nCount);
    for (size_t i = 0; i < nCount; ++i)
        ReadArgument(args, i, pbParamInfo[i], argList);

    DISPPARAMS params = {args.Data(), nullptr, args.Count(), 0};
    DISPID dispidNamed = DISPID_PROPERTYPUT;
    if ((wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
        // The value of a property put travels as the one named argument DISPID_PROPERTYPUT; an
        // object value is assigned by reference.
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &dispidNamed;
        if (wFlags == DISPATCH_PROPERTYPUT && nCount > 0 && args.At(nCount - 1).vt == VT_DISPATCH)
            wFlags = DISPATCH_PROPERTYPUTREF;
    }

    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO excepInfo = {};
    UINT nArgErr = 0;
    const HRESULT hr = m_lpDispatch->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                                            vtRet != VT_EMPTY ? &result : nullptr, &excepInfo, &nArgErr);
    if (FAILED(hr)) {
        ::VariantClear(&result);
        if (hr == DISP_E_EXCEPTION)
            ThrowFromExcepInfo(excepInfo);
        AfxThrowOleException(hr);
    }
    if (vtRet != VT_EMPTY && pvRet != nullptr)
        StoreResult(result, vtRet, pvRet);
    else
        ::VariantClear(&result);
}
