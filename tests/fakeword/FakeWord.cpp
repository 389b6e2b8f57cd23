// The test automation server: an in-process COM object registered as "Word.Application" in the
// test Wine prefix only. It accepts exactly the calls the program makes of Word (dispatch id,
// invoke kind, argument count and VARTYPEs, by reference where Word takes a VARIANT*), traces
// every call, and on SaveAs writes a small recognisable file: FF FE, the marker line, the text.
// Faults are switched on by environment variables (FakeWordConfig.h). No Word format is imitated.
// How a test registers and steers it: FakeWordControl.h.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "repair/WordDispIds.h"
#include "tests/fakeword/FakeWordConfig.h"

namespace {

HMODULE g_hModule;
std::atomic<LONG> g_nLive(0);     // objects alive
std::atomic<LONG> g_nRunning(0);  // application objects created and not yet quit
std::atomic<LONG> g_nLocks(0);

const DWORD kEnvChars = 1024;

std::wstring Env(LPCWSTR name)
{
    WCHAR buf[kEnvChars];
    const DWORD n = ::GetEnvironmentVariableW(name, buf, kEnvChars);
    return n > 0 && n < kEnvChars ? std::wstring(buf, n) : std::wstring();
}

void Trace(const std::wstring& line)
{
    const std::wstring path = Env(FAKEWORD_ENV_TRACE);
    if (path.empty())
        return;
    HANDLE h = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return;  // a trace that cannot be written shows as a trace mismatch in the test
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), NULL, 0, NULL, NULL);
    std::string utf8(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], n, NULL, NULL);
    utf8 += '\n';
    DWORD written = 0;
    ::WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, NULL);
    ::CloseHandle(h);
}

// The longest a held SaveAs waits for its release: a test that never lets it go fails on its own
// limit rather than leaving the program hanging.
const DWORD kHoldMs = 120000;

// When the test asks for it, tells it that a save is waiting and waits until the test lets it go.
void HoldIfAsked()
{
    if (Env(FAKEWORD_ENV_HOLD) != L"1")
        return;
    HANDLE hHeld = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, FAKEWORD_EVENT_HELD);
    HANDLE hRelease = ::OpenEventW(SYNCHRONIZE, FALSE, FAKEWORD_EVENT_RELEASE);
    if (hHeld != NULL && hRelease != NULL) {
        ::SetEvent(hHeld);
        ::WaitForSingleObject(hRelease, kHoldMs);  // a wait that ends unreleased saves all the same
    }
    if (hHeld != NULL)
        ::CloseHandle(hHeld);
    if (hRelease != NULL)
        ::CloseHandle(hRelease);
}

enum Kind { kApplication, kDocuments, kDocument, kSelection };
const wchar_t* const kKindNames[] = {L"Application", L"Documents", L"Document", L"Selection"};

// Argument codes: b VT_BOOL, s VT_BSTR; by reference (VT_VARIANT | VT_BYREF) to a VARIANT of
// type B VT_BOOL, S VT_BSTR, I VT_I4, E VT_EMPTY.
struct Signature {
    Kind kind;
    DISPID id;
    WORD flags;
    const char* args;
};
const Signature kSignatures[] = {
    {kApplication, DISPID_WORD_APP_VISIBLE, DISPATCH_PROPERTYPUT, "b"},
    {kApplication, DISPID_WORD_APP_DOCUMENTS, DISPATCH_PROPERTYGET, ""},
    {kApplication, DISPID_WORD_APP_SELECTION, DISPATCH_PROPERTYGET, ""},
    {kApplication, DISPID_WORD_APP_ACTIVEDOCUMENT, DISPATCH_PROPERTYGET, ""},
    {kApplication, DISPID_WORD_APP_QUIT, DISPATCH_METHOD, "BEE"},
    {kDocuments, DISPID_WORD_DOCUMENTS_ADD, DISPATCH_METHOD, "SBIE"},
    {kSelection, DISPID_WORD_SELECTION_INSERTTEXT, DISPATCH_METHOD, "s"},
    {kDocument, DISPID_WORD_DOCUMENT_SAVEAS, DISPATCH_METHOD, "SIBSBSBBBBB"},
};

VARTYPE CodeType(char code)
{
    switch (code) {
    case 'b': case 'B': return VT_BOOL;
    case 's': case 'S': return VT_BSTR;
    case 'I': return VT_I4;
    default: return VT_EMPTY;
    }
}

bool ArgumentMatches(const VARIANT& v, char code)
{
    const bool byRef = code >= 'A' && code <= 'Z';
    if (!byRef)
        return v.vt == CodeType(code);
    return v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal != NULL && v.pvarVal->vt == CodeType(code);
}

const size_t kTracedTextChars = 80;  // longer strings are traced by their length

std::wstring Describe(const VARIANT& v)
{
    if (v.vt == (VT_VARIANT | VT_BYREF))
        return v.pvarVal != NULL ? L"&" + Describe(*v.pvarVal) : L"&NULL";
    switch (v.vt) {
    case VT_EMPTY: return L"EMPTY";
    case VT_BOOL: return L"BOOL:" + std::to_wstring(v.boolVal);
    case VT_I4: return L"I4:" + std::to_wstring(v.lVal);
    case VT_BSTR: {
        const size_t n = ::SysStringLen(v.bstrVal);
        if (n > kTracedTextChars)
            return L"BSTR[" + std::to_wstring(n) + L"]";
        std::wstring text;  // one trace line per call: line breaks are written as \r and \n
        for (size_t i = 0; i < n; ++i)
            text += v.bstrVal[i] == L'\r' ? L"\\r" : v.bstrVal[i] == L'\n' ? L"\\n" : std::wstring(1, v.bstrVal[i]);
        return L"BSTR:\"" + text + L"\"";
    }
    default: return L"VT" + std::to_wstring(v.vt);
    }
}

std::wstring FlagName(WORD flags)
{
    switch (flags) {
    case DISPATCH_METHOD: return L"method";
    case DISPATCH_PROPERTYGET: return L"get";
    case DISPATCH_PROPERTYPUT: return L"put";
    default: return L"flags" + std::to_wstring(flags);
    }
}

// Word's own error for a call: DISP_E_EXCEPTION with a description.
HRESULT Raise(EXCEPINFO* pExcepInfo, LPCWSTR why)
{
    Trace(std::wstring(L"  raised: ") + why);
    if (pExcepInfo == NULL)
        return E_FAIL;
    ::ZeroMemory(pExcepInfo, sizeof(*pExcepInfo));
    pExcepInfo->scode = E_FAIL;
    pExcepInfo->bstrSource = ::SysAllocString(L"Word.Application (test server)");
    pExcepInfo->bstrDescription = ::SysAllocString(why);
    return DISP_E_EXCEPTION;
}

struct AppState {
    std::wstring text;
    bool hasDocument = false;
    bool quit = false;
};

BOOL WriteDocument(const std::wstring& path, const std::wstring& text)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    const std::wstring content = std::wstring(1, L'\xFEFF') + FAKEWORD_DOCUMENT_MARKER L"\r\n" + text;
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(content.size() * sizeof(wchar_t));
    const BOOL ok = ::WriteFile(h, content.data(), bytes, &written, NULL) && written == bytes;
    return ::CloseHandle(h) && ok;
}

class FakeObject : public IDispatch {
public:
    FakeObject(Kind kind, FakeObject* pApp) : m_kind(kind), m_pApp(pApp), m_pState(NULL)
    {
        ++g_nLive;
        if (m_pApp != NULL) {
            m_pApp->AddRef();
        } else {
            m_pState = new AppState;
            ++g_nRunning;
        }
    }
    virtual ~FakeObject()
    {
        if (m_pApp != NULL)
            m_pApp->Release();
        delete m_pState;
        --g_nLive;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_nRefs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG n = --m_nRefs;
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;  // the program calls by fixed dispatch id only
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* pResult,
                                     EXCEPINFO* pExcepInfo, UINT*) override
    {
        TraceCall(id, flags, params);
        const HRESULT hrCheck = Check(id, flags, params, pResult);
        if (FAILED(hrCheck))
            return hrCheck;
        if (Env(FAKEWORD_ENV_FAIL_DISPID) == std::to_wstring(id))
            return Raise(pExcepInfo, L"failure asked for this dispatch id");
        return Act(id, params, pResult, pExcepInfo);
    }

private:
    AppState& State() { return m_pApp != NULL ? *m_pApp->m_pState : *m_pState; }
    FakeObject* App() { return m_pApp != NULL ? m_pApp : this; }

    // Arguments in the caller's order (Invoke receives them last first).
    static const VARIANT& Arg(const DISPPARAMS* params, UINT i) { return params->rgvarg[params->cArgs - 1 - i]; }

    void TraceCall(DISPID id, WORD flags, const DISPPARAMS* params)
    {
        std::wstring line = std::wstring(kKindNames[m_kind]) + L" " + std::to_wstring(id) + L" " + FlagName(flags);
        for (UINT i = 0; params != NULL && i < params->cArgs; ++i)
            line += L" " + Describe(Arg(params, i));
        Trace(line);
    }

    HRESULT Reject(HRESULT hr, LPCWSTR why)
    {
        Trace(std::wstring(L"  rejected: ") + why);
        return hr;
    }

    HRESULT Check(DISPID id, WORD flags, const DISPPARAMS* params, const VARIANT* pResult)
    {
        const Signature* sig = NULL;
        for (const Signature& s : kSignatures)
            if (s.kind == m_kind && s.id == id)
                sig = &s;
        if (sig == NULL)
            return Reject(DISP_E_MEMBERNOTFOUND, L"no such member");
        if (flags != sig->flags)
            return Reject(DISP_E_MEMBERNOTFOUND, L"wrong invoke kind");
        const UINT nArgs = static_cast<UINT>(strlen(sig->args));
        if (params == NULL || params->cArgs != nArgs)
            return Reject(DISP_E_BADPARAMCOUNT, L"wrong argument count");
        const bool isPut = flags == DISPATCH_PROPERTYPUT;
        if (params->cNamedArgs != (isPut ? 1u : 0u) ||
            (isPut && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return Reject(DISP_E_BADPARAMCOUNT, L"wrong named arguments");
        for (UINT i = 0; i < nArgs; ++i)
            if (!ArgumentMatches(Arg(params, i), sig->args[i]))
                return Reject(DISP_E_TYPEMISMATCH, L"wrong argument type");
        if (flags == DISPATCH_PROPERTYGET && pResult == NULL)
            return Reject(E_INVALIDARG, L"no place for the result");
        return S_OK;
    }

    HRESULT ReturnObject(Kind kind, VARIANT* pResult)
    {
        if (pResult == NULL)
            return S_OK;  // a method whose result the caller does not take
        pResult->vt = VT_DISPATCH;
        pResult->pdispVal = new FakeObject(kind, App());
        return S_OK;
    }

    HRESULT Act(DISPID id, const DISPPARAMS* params, VARIANT* pResult, EXCEPINFO* pExcepInfo)
    {
        AppState& state = State();
        switch (id) {
        case DISPID_WORD_APP_DOCUMENTS:
            return ReturnObject(kDocuments, pResult);
        case DISPID_WORD_APP_SELECTION:
        case DISPID_WORD_APP_ACTIVEDOCUMENT:
            if (!state.hasDocument)
                return Raise(pExcepInfo, L"no document is open");
            return ReturnObject(id == DISPID_WORD_APP_SELECTION ? kSelection : kDocument, pResult);
        case DISPID_WORD_APP_QUIT:
            if (!state.quit)
                --g_nRunning;
            state.quit = true;
            return S_OK;
        case DISPID_WORD_DOCUMENTS_ADD:
            state.hasDocument = true;
            state.text.clear();
            return ReturnObject(kDocument, pResult);
        case DISPID_WORD_SELECTION_INSERTTEXT: {
            const BSTR text = Arg(params, 0).bstrVal;
            state.text.append(text, ::SysStringLen(text));
            return S_OK;
        }
        case DISPID_WORD_DOCUMENT_SAVEAS: {
            const BSTR bstrPath = Arg(params, 0).pvarVal->bstrVal;
            const std::wstring path(bstrPath, ::SysStringLen(bstrPath));
            const std::wstring failPath = Env(FAKEWORD_ENV_FAIL_PATH);
            if (!failPath.empty() && path.find(failPath) != std::wstring::npos)
                return Raise(pExcepInfo, L"failure asked for this path");
            HoldIfAsked();
            if (!WriteDocument(path, state.text))
                return Raise(pExcepInfo, L"the document cannot be written");
            return S_OK;
        }
        default:
            return S_OK;  // Visible: nothing to show
        }
    }

    std::atomic<LONG> m_nRefs{1};
    const Kind m_kind;
    FakeObject* const m_pApp;  // the application object, for every object but the application
    AppState* m_pState;        // the application's only
};

class ClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // a static object
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // Creation faults fail here, not in DllGetClassObject: there Wine would fall back to an
    // out-of-process host.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        *ppv = NULL;
        if (pOuter != NULL)
            return CLASS_E_NOAGGREGATION;
        if (Env(FAKEWORD_ENV_FAIL_CREATE) == L"1") {
            Trace(L"create refused");
            return CO_E_SERVER_EXEC_FAILURE;
        }
        Trace(L"create Application");
        FakeObject* app = new FakeObject(kApplication, NULL);
        const HRESULT hr = app->QueryInterface(riid, ppv);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override
    {
        fLock ? ++g_nLocks : --g_nLocks;
        return S_OK;
    }
};
ClassFactory g_factory;

CLSID FakeWordClsid()
{
    CLSID clsid = CLSID_NULL;
    ::CLSIDFromString(const_cast<LPWSTR>(FAKEWORD_CLSID_TEXT), &clsid);
    return clsid;
}

// Wine 8 looks classes up in HKEY_CLASSES_ROOT, which it keeps apart from HKCU\Software\Classes
// (a per-user registration there is not seen): register in HKEY_CLASSES_ROOT of the prefix.
const HKEY kClassesRoot = HKEY_CLASSES_ROOT;

LONG SetStringValue(const std::wstring& key, LPCWSTR name, const std::wstring& value)
{
    HKEY hKey;
    LONG rc = ::RegCreateKeyExW(kClassesRoot, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &hKey, NULL);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = ::RegSetValueExW(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(hKey);
    return rc;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_hModule = hInstance;
    return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!::IsEqualCLSID(rclsid, FakeWordClsid())) {
        *ppv = NULL;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(riid, ppv);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_nLive == 0 && g_nLocks == 0 ? S_OK : S_FALSE; }

// Registration in the prefix of the test that registers it; the test unregisters it again.
HRESULT STDAPICALLTYPE DllRegisterServer()
{
    WCHAR path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(g_hModule, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return SELFREG_E_CLASS;
    const std::wstring clsidKey = L"CLSID\\" FAKEWORD_CLSID_TEXT;
    const bool ok = SetStringValue(FAKEWORD_PROGID L"\\CLSID", NULL, FAKEWORD_CLSID_TEXT) == 0 &&
                    SetStringValue(clsidKey, NULL, L"Quillmend test automation server") == 0 &&
                    SetStringValue(clsidKey + L"\\ProgID", NULL, FAKEWORD_PROGID) == 0 &&
                    SetStringValue(clsidKey + L"\\InprocServer32", NULL, path) == 0 &&
                    SetStringValue(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") == 0;
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    const LONG rc1 = ::RegDeleteTreeW(kClassesRoot, FAKEWORD_PROGID);
    const LONG rc2 = ::RegDeleteTreeW(kClassesRoot, L"CLSID\\" FAKEWORD_CLSID_TEXT);
    const bool ok = (rc1 == ERROR_SUCCESS || rc1 == ERROR_FILE_NOT_FOUND) &&
                    (rc2 == ERROR_SUCCESS || rc2 == ERROR_FILE_NOT_FOUND);
    return ok ? S_OK : SELFREG_E_CLASS;
}

LONG FakeWordLiveObjects() { return g_nLive; }
LONG FakeWordRunningInstances() { return g_nRunning; }

}  // extern "C"
