// Drives the test automation server from a test: registers it as "Word.Application" for the
// life of the object (in HKEY_CLASSES_ROOT of the test's Wine prefix: Wine 8 does not look at a
// per-user registration), steers its faults and reads its trace and counters. Tests that use it
// take the ctest RESOURCE_LOCK fakeword, since the registration is shared by the whole prefix.
// The server is loaded from fakeword.dll beside the test executable (qm_use_fakeword in
// tests/fakeword/CMakeLists.txt copies it there).
//
//   FakeWordServer word;                 // registered from here...
//   ASSERT_TRUE(word.IsRegistered());
//   word.FailDispId(102);                // SaveAs fails
//   ... run the code under test ...
//   EXPECT_EQ(word.TakeTrace(), expected);
//   EXPECT_EQ(word.RunningInstances(), 0);
//                                        // ...to here: unregistered, faults and trace cleared
// By hand (for instance to try the program against the server), with the target's environment
// started (source tools/wineenv.sh; qm_select_target win64; qm_env_start):
//   tools/wine-run win64 regsvr32 /s Z:\path\to\build\win64\tests\repair\fakeword.dll     (register)
//   tools/wine-run win64 regsvr32 /s /u Z:\path\to\build\win64\tests\repair\fakeword.dll  (unregister)
// A test that dies before its FakeWordServer is destroyed leaves the registration behind: the
// unregister line above removes it.
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

    // From now on every save waits, in the server, until ReleaseSave lets it go; for a program that
    // this process starts afterwards (it inherits the switch). WaitForHeldSave waits for the next
    // save to be held (false when none is within timeoutMs).
    void HoldSaves();
    bool WaitForHeldSave(DWORD timeoutMs);
    void ReleaseSave();
    HANDLE HeldEvent() const { return m_hHeld; }

    // The trace lines since the last call (the trace file is emptied).
    std::vector<std::wstring> TakeTrace();
    long LiveObjects() const;
    long RunningInstances() const;

private:
    long CallCounter(const char* name) const;

    HMODULE m_hDll;
    bool m_bRegistered;
    HANDLE m_hHeld;
    HANDLE m_hRelease;
    std::wstring m_strTracePath;
};

// The path of a file beside the running executable.
std::wstring PathBesideExe(const std::wstring& name);
