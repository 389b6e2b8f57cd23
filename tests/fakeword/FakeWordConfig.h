// What the test automation server and the tests that drive it agree on: its class identifier,
// and the environment variables through which a test (in the same process: the server is
// in-process) steers it.
#pragma once

// {6E1B3F52-2D4A-4C9B-9A61-0F1E5D7C8B41}
#define FAKEWORD_CLSID_TEXT L"{6E1B3F52-2D4A-4C9B-9A61-0F1E5D7C8B41}"
#define FAKEWORD_PROGID L"Word.Application"

// File that every call is appended to, one line each (UTF-8); no trace when unset.
#define FAKEWORD_ENV_TRACE L"QM_FAKEWORD_TRACE"
// "1": the class factory refuses to create the application object.
#define FAKEWORD_ENV_FAIL_CREATE L"QM_FAKEWORD_FAIL_CREATE"
// A dispatch identifier in decimal: every call of it fails as Word's own error.
#define FAKEWORD_ENV_FAIL_DISPID L"QM_FAKEWORD_FAIL_DISPID"
// Text: a SaveAs whose path contains it fails as Word's own error.
#define FAKEWORD_ENV_FAIL_PATH L"QM_FAKEWORD_FAIL_PATH"

// "1": every SaveAs signals the event FAKEWORD_EVENT_HELD and then waits, before it writes, until
// the event FAKEWORD_EVENT_RELEASE lets it go (both auto-reset; the test creates them). A test
// thus holds a run of another process at a known point: in the save of a known document.
#define FAKEWORD_ENV_HOLD L"QM_FAKEWORD_HOLD"
#define FAKEWORD_EVENT_HELD L"QmFakeWordSaveHeld"
#define FAKEWORD_EVENT_RELEASE L"QmFakeWordSaveReleased"

// First line of every document the server saves (then CR LF and the text, UTF-16LE after FF FE).
#define FAKEWORD_DOCUMENT_MARKER L"QUILLMEND TEST SERVER DOCUMENT"
