// Drives the test automation server from a test: registers it as "Word.Application" for the
// life of the object (per user, in the test's Wine prefix), steers its faults and reads its
// trace and counters. The server is loaded from fakeword.dll beside the test executable (see
// qm_use_fakeword in tests/fakeword/CMakeLists.txt).
//
//   FakeWordServer word;                 // registered from here...
//   ASSERT_TRUE(word.IsRegistered());
//   word.FailDispId(102);                // SaveAs fails
//   ... run the code under test ...
//   EXPECT_EQ(word.ReadTrace(), expected);
//   EXPECT_EQ(word.RunningInstances(), 0);
//                                        // ...to here: unregistered, faults and trace cleared
// By hand (for instance for `make run` against the server), in the same prefix:
//   tools/wine-run win64 regsvr32 /s Z:\path\to\fakeword.dll     (register)
//   tools/wine-run win64 regsvr32 /s /u Z:\path\to\fakeword.dll  (unregister)
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class FakeWordServer {
public:
    FakeWordServer();
    ~FakeWordServer();
    FakeWordServer(const FakeWordServer&) = delete;
    FakeWordServer& operator=(const FakeWordServer&) = delete;

    bool IsRegistered() const { return m_bRegistered; }

    void FailCreation(bool bFail);
    void FailDispId(long id);  // 0: no dispatch id fails
    void FailPath(const std::wstring& part);  // empty: no path fails
    void ClearFaults();

    // The trace lines since the last call (the trace file is emptied).
    std::vector<std::wstring> TakeTrace();
    long LiveObjects() const;
    long RunningInstances() const;

private:
    long CallCounter(const char* name) const;

    HMODULE m_hDll;
    bool m_bRegistered;
    std::wstring m_strTracePath;
};

// The path of a file beside the running executable.
std::wstring PathBesideExe(const std::wstring& name);
