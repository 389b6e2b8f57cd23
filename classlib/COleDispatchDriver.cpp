#include "classlib/COleDispatchDriver.h"

#include <cstdarg>
#include <cstring>
#include <vector>

#include "classlib/COleDispatchException.h"
#include "classlib/COleException.h"

namespace {

const BYTE kVariantByRef = 0x4C;  // VTS_PVARIANT: VT_VARIANT with 0x40 standing for VT_BYREF

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
    switch (code) {
    case kVariantByRef:
        v.vt = VT_VARIANT | VT_BYREF;
        v.pvarVal = va_arg(argList, VARIANT*);
        break;
    case VT_BSTR: {
        const wchar_t* psz = va_arg(argList, const wchar_t*);
        v.bstrVal = ::SysAllocString(psz ? psz : L"");
        if (v.bstrVal == NULL)
            AfxThrowOleException(E_OUTOFMEMORY);
        v.vt = VT_BSTR;
        args.Own(i);
        break;
    }
    case VT_BOOL:
        v.vt = VT_BOOL;
        v.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
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
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    throw pError;
}

// Moves the call's object result into the caller's variable; the caller owns the reference.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet != VT_DISPATCH) {
        ::VariantClear(&result);
        AfxThrowOleException(E_INVALIDARG);  // a result type this library does not know
    }
    if (result.vt != VT_DISPATCH) {
        const HRESULT hr = ::VariantChangeType(&result, &result, 0, VT_DISPATCH);
        if (FAILED(hr)) {
            ::VariantClear(&result);
            AfxThrowOleException(hr);
        }
    }
    *static_cast<LPDISPATCH*>(pvRet) = result.pdispVal;
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
        // The value of a property put travels as the one named argument DISPID_PROPERTYPUT.
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &dispidNamed;
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
