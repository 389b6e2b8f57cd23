#include "tests/fakeword/FakeWordControl.h"

#include "tests/fakeword/FakeWordConfig.h"

namespace {
typedef HRESULT(STDAPICALLTYPE* RegisterFn)();
typedef LONG (*CounterFn)();

HRESULT CallExport(HMODULE hDll, const char* name)
{
    RegisterFn fn = reinterpret_cast<RegisterFn>(::GetProcAddress(hDll, name));
    return fn != NULL ? fn() : E_NOTIMPL;
}
}  // namespace

std::wstring PathBesideExe(const std::wstring& name)
{
    WCHAR path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring dir(path, n < MAX_PATH ? n : 0);
    return dir.substr(0, dir.rfind(L'\\') + 1) + name;
}

FakeWordServer::FakeWordServer() : m_hDll(NULL), m_bRegistered(false), m_hHeld(NULL), m_hRelease(NULL)
{
    m_strTracePath = PathBesideExe(L"fakeword-trace.txt");
    ::DeleteFileW(m_strTracePath.c_str());  // no file yet is fine
    ::SetEnvironmentVariableW(FAKEWORD_ENV_TRACE, m_strTracePath.c_str());
    ClearFaults();
    // Kept loaded by this object, so the counters live as long as the test needs them.
    m_hDll = ::LoadLibraryW(PathBesideExe(L"fakeword.dll").c_str());
    m_bRegistered = m_hDll != NULL && SUCCEEDED(CallExport(m_hDll, "DllRegisterServer"));
}

FakeWordServer::~FakeWordServer()
{
    if (m_hDll != NULL) {
        CallExport(m_hDll, "DllUnregisterServer");  // nothing more to do if it fails
        ::FreeLibrary(m_hDll);
    }
    ClearFaults();
    ::SetEnvironmentVariableW(FAKEWORD_ENV_TRACE, NULL);
    for (HANDLE h : {m_hHeld, m_hRelease})
        if (h != NULL)
            ::CloseHandle(h);
}

void FakeWordServer::HoldSaves()
{
    if (m_hHeld == NULL)
        m_hHeld = ::CreateEventW(NULL, FALSE, FALSE, FAKEWORD_EVENT_HELD);
    if (m_hRelease == NULL)
        m_hRelease = ::CreateEventW(NULL, FALSE, FALSE, FAKEWORD_EVENT_RELEASE);
    // Without its events the server holds nothing, and the test's wait for a held save fails.
    ::SetEnvironmentVariableW(FAKEWORD_ENV_HOLD, L"1");
}

bool FakeWordServer::WaitForHeldSave(DWORD timeoutMs)
{
    return m_hHeld != NULL && ::WaitForSingleObject(m_hHeld, timeoutMs) == WAIT_OBJECT_0;
}

void FakeWordServer::ReleaseSave()
{
    if (m_hRelease != NULL)
        ::SetEvent(m_hRelease);
}

void FakeWordServer::FailCreation(bool bFail) { ::SetEnvironmentVariableW(FAKEWORD_ENV_FAIL_CREATE, bFail ? L"1" : NULL); }

void FakeWordServer::FailDispId(long id)
{
    ::SetEnvironmentVariableW(FAKEWORD_ENV_FAIL_DISPID, id != 0 ? std::to_wstring(id).c_str() : NULL);
}

void FakeWordServer::FailPath(const std::wstring& part)
{
    ::SetEnvironmentVariableW(FAKEWORD_ENV_FAIL_PATH, part.empty() ? NULL : part.c_str());
}

void FakeWordServer::ClearFaults()
{
    ::SetEnvironmentVariableW(FAKEWORD_ENV_HOLD, NULL);
    FailCreation(false);
    FailDispId(0);
    FailPath(std::wstring());
}

std::vector<std::wstring> FakeWordServer::TakeTrace()
{
    std::vector<std::wstring> lines;
    HANDLE h = ::CreateFileW(m_strTracePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return lines;
    std::string utf8;
    char buf[4096];
    DWORD n = 0;
    while (::ReadFile(h, buf, sizeof(buf), &n, NULL) && n > 0)
        utf8.append(buf, n);
    ::CloseHandle(h);
    ::DeleteFileW(m_strTracePath.c_str());
    size_t start = 0;
    for (size_t end; (end = utf8.find('\n', start)) != std::string::npos; start = end + 1) {
        const int len = static_cast<int>(end - start);
        std::wstring line(static_cast<size_t>(len), L'\0');
        const int w = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data() + start, len, &line[0], len);
        line.resize(static_cast<size_t>(w));
        lines.push_back(line);
    }
    return lines;
}

long FakeWordServer::CallCounter(const char* name) const
{
    CounterFn fn = m_hDll != NULL ? reinterpret_cast<CounterFn>(::GetProcAddress(m_hDll, name)) : NULL;
    return fn != NULL ? fn() : -1;
}

long FakeWordServer::LiveObjects() const { return CallCounter("FakeWordLiveObjects"); }

long FakeWordServer::RunningInstances() const { return CallCounter("FakeWordRunningInstances"); }
