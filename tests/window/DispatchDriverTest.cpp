// The automation driver against a small IDispatch object of the test's own that records what
// Invoke receives.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/Window.h"
#include "testutil.h"

namespace {

enum : DISPID {
    kRecord = 1,      // records its arguments, returns nothing
    kSetByRef = 2,    // writes 99 into the VARIANT its first argument points to
    kRaise = 4,       // fails with the server's own error (DISP_E_EXCEPTION)
    kFail = 5,        // fails with a plain HRESULT
    kGetSelf = 6,     // returns itself as an IDispatch
    kGetText = 8      // returns a BSTR
};

class CTestDispatch : public IDispatch {
public:
    struct Call {
        DISPID id;
        WORD flags;
        std::vector<VARIANT> args;  // as Invoke received them (reversed)
        std::vector<DISPID> named;
    };
    std::vector<Call> calls;
    LONG refs = 1;

    ~CTestDispatch()
    {
        for (Call& call : calls)
            for (VARIANT& v : call.args)
                ::VariantClear(&v);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }  // lives on the stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excepInfo, UINT*) override
    {
        Call call = {id, flags, {}, {}};
        for (UINT i = 0; i < params->cArgs; ++i) {
            VARIANT copy;
            ::VariantInit(&copy);
            ::VariantCopy(&copy, &params->rgvarg[i]);
            call.args.push_back(copy);
        }
        for (UINT i = 0; i < params->cNamedArgs; ++i)
            call.named.push_back(params->rgdispidNamedArgs[i]);
        calls.push_back(call);
        switch (id) {
        case kSetByRef: {
            VARIANT* pTarget = params->rgvarg[params->cArgs - 1].pvarVal;
            ::VariantClear(pTarget);
            pTarget->vt = VT_I4;
            pTarget->lVal = 99;
            return S_OK;
        }
        case kRaise:
            excepInfo->wCode = 0;
            excepInfo->scode = E_ACCESSDENIED;
            excepInfo->bstrDescription = ::SysAllocString(L"文档是只读的");
            excepInfo->bstrSource = ::SysAllocString(L"TestServer");
            return DISP_E_EXCEPTION;
        case kFail:
            return DISP_E_MEMBERNOTFOUND;
        case kGetSelf:
            result->vt = VT_DISPATCH;
            result->pdispVal = this;
            AddRef();
            return S_OK;
        case kGetText:
            result->vt = VT_BSTR;
            result->bstrVal = ::SysAllocString(L"正文");
            return S_OK;
        default:
            return S_OK;
        }
    }
};

// Runs op and returns the code of the COleException* it throws (S_OK: it did not throw).
template <typename Op>
HRESULT OleErrorOf(Op op)
{
    try {
        op();
    } catch (COleException* e) {
        const HRESULT hr = e->m_sc;
        e->Delete();
        return hr;
    }
    return S_OK;
}

}  // namespace

TEST(DispatchDriver, ArgumentsArriveReversedWithTheirTypes)
{
    CTestDispatch server;
    COleDispatchDriver driver(&server, FALSE);
    static const BYTE params[] = VTS_BSTR VTS_BOOL VTS_BOOL;
    driver.InvokeHelper(kRecord, DISPATCH_METHOD, VT_EMPTY, nullptr, params, L"路径", TRUE, FALSE);
    ASSERT_EQ(server.calls.size(), 1u);
    const CTestDispatch::Call& call = server.calls[0];
    EXPECT_EQ(call.flags, DISPATCH_METHOD);
    ASSERT_EQ(call.args.size(), 3u);
    // Invoke takes the last argument first.
    EXPECT_EQ(call.args[2].vt, VT_BSTR);
    EXPECT_EQ(Utf8(call.args[2].bstrVal), "路径");
    EXPECT_EQ(call.args[1].vt, VT_BOOL);
    EXPECT_EQ(call.args[1].boolVal, VARIANT_TRUE) << "TRUE travels as -1";
    EXPECT_EQ(call.args[0].boolVal, VARIANT_FALSE);
    EXPECT_TRUE(call.named.empty());

    // A parameter code the driver does not know stops the call before anything is sent.
    static const BYTE unknown[] = VTS_BSTR "\x03";
    EXPECT_EQ(OleErrorOf([&] { driver.InvokeHelper(kRecord, DISPATCH_METHOD, VT_EMPTY, nullptr, unknown, L"x", 7L); }),
              E_INVALIDARG);
    EXPECT_EQ(server.calls.size(), 1u);
}

TEST(DispatchDriver, ByReferenceVariantsLetTheServerChangeTheCallersValue)
{
    CTestDispatch server;
    COleDispatchDriver driver(&server, FALSE);
    VARIANT first, empty, third;
    ::VariantInit(&first);
    first.vt = VT_BOOL;
    first.boolVal = VARIANT_FALSE;
    ::VariantInit(&empty);
    ::VariantInit(&third);
    third.vt = VT_BSTR;
    third.bstrVal = ::SysAllocString(L"");
    static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    driver.InvokeHelper(kSetByRef, DISPATCH_METHOD, VT_EMPTY, nullptr, params, &first, &empty, &third);
    ASSERT_EQ(server.calls.size(), 1u);
    const CTestDispatch::Call& call = server.calls[0];
    ASSERT_EQ(call.args.size(), 3u);
    EXPECT_EQ(call.args[2].vt, VT_VARIANT | VT_BYREF);
    EXPECT_EQ(call.args[2].pvarVal, &first);
    EXPECT_EQ(call.args[1].pvarVal, &empty);
    EXPECT_EQ(call.args[0].pvarVal, &third);
    EXPECT_EQ(first.vt, VT_I4);
    EXPECT_EQ(first.lVal, 99);
    EXPECT_EQ(third.vt, VT_BSTR) << "the caller's values stay the caller's";
    ::VariantClear(&first);
    ::VariantClear(&empty);
    ::VariantClear(&third);
}

TEST(DispatchDriver, PropertyPutUsesTheNamedArgumentAndAnObjectResultIsTheCallers)
{
    CTestDispatch server;
    COleDispatchDriver driver(&server, FALSE);
    static const BYTE boolParam[] = VTS_BOOL;
    driver.InvokeHelper(23, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, boolParam, FALSE);
    ASSERT_EQ(server.calls.size(), 1u);
    EXPECT_EQ(server.calls[0].flags, DISPATCH_PROPERTYPUT);
    ASSERT_EQ(server.calls[0].named.size(), 1u);
    EXPECT_EQ(server.calls[0].named[0], DISPID_PROPERTYPUT);

    // A result that is not an object is an error, never a pointer made of its bits.
    LPDISPATCH pText = nullptr;
    const auto getTextAsObject = [&] {
        driver.InvokeHelper(kGetText, DISPATCH_PROPERTYGET, VT_DISPATCH, &pText, nullptr);
    };
    EXPECT_TRUE(FAILED(OleErrorOf(getTextAsObject)));
    EXPECT_EQ(pText, nullptr);

    LPDISPATCH pResult = nullptr;
    const LONG refsBefore = server.refs;
    driver.InvokeHelper(kGetSelf, DISPATCH_PROPERTYGET, VT_DISPATCH, &pResult, nullptr);
    EXPECT_EQ(pResult, &server);
    EXPECT_EQ(server.refs, refsBefore + 1) << "the caller owns the returned reference";
    COleDispatchDriver child(pResult);  // released with the wrapper
    child.ReleaseDispatch();
    EXPECT_EQ(server.refs, refsBefore);
    EXPECT_EQ(child.m_lpDispatch, nullptr);
}

TEST(DispatchDriver, FailuresThrowByPointerAndAnEmptyDriverDoesNothing)
{
    CTestDispatch server;
    COleDispatchDriver driver(&server, FALSE);
    bool bDispatchError = false;
    try {
        driver.InvokeHelper(kRaise, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    } catch (COleDispatchException* e) {
        bDispatchError = true;
        EXPECT_EQ(Utf8(e->m_strDescription), "文档是只读的");
        EXPECT_EQ(Utf8(e->m_strSource), "TestServer");
        EXPECT_EQ(e->m_scError, E_ACCESSDENIED);
        wchar_t message[64];
        EXPECT_TRUE(e->GetErrorMessage(message, 64));
        EXPECT_EQ(Utf8(message), "文档是只读的");
        e->Delete();
    }
    EXPECT_TRUE(bDispatchError);

    bool bOleError = false;
    try {
        driver.InvokeHelper(kFail, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    } catch (COleDispatchException* e) {
        e->Delete();
        ADD_FAILURE() << "a plain failure is not the server's own error";
    } catch (COleException* e) {
        bOleError = true;
        EXPECT_EQ(e->m_sc, DISP_E_MEMBERNOTFOUND);
        e->Delete();
    }
    EXPECT_TRUE(bOleError);

    COleDispatchDriver empty;
    static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    VARIANT v;
    ::VariantInit(&v);
    empty.InvokeHelper(1105, DISPATCH_METHOD, VT_EMPTY, nullptr, params, &v, &v, &v);  // no throw
    LPDISPATCH pNothing = nullptr;
    empty.InvokeHelper(6, DISPATCH_PROPERTYGET, VT_DISPATCH, &pNothing, nullptr);
    EXPECT_EQ(pNothing, nullptr);
}

TEST(DispatchDriver, CreationByAnUnknownProgrammaticIdentifierFailsQuietly)
{
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(NULL)));
    {
        COleDispatchDriver driver;
        COleException error(S_OK);
        EXPECT_FALSE(driver.CreateDispatch(L"Quillmend.NoSuchServer", &error));
        EXPECT_TRUE(FAILED(error.m_sc));
        EXPECT_EQ(driver.m_lpDispatch, nullptr);
        EXPECT_FALSE(driver.CreateDispatch(L"Quillmend.NoSuchServer"));
    }
    ::CoUninitialize();
}
