// End-to-end scenarios: the real Quillmend.exe under Wine, driven through its windows. Each
// scenario makes its own source documents, runs the wizard from the first step to the end, and
// checks what the program showed and wrote, and that every source is byte for byte unchanged.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "RemoteWizard.h"
#include "testutil.h"
#include "tests/fakeword/FakeWordConfig.h"
#include "tests/fakeword/FakeWordControl.h"
#include "classlib/Utf8.h"
#include "engine/CharTables.h"
#include "engine/SalvageFile.h"
#include "engine/tagNode.h"

namespace {
std::wstring g_exe;       // the program under test
std::wstring g_shots;     // where the screenshots go
std::wstring g_work;      // the scenarios' folders

const wchar_t kNext[] = L"下一步";
const wchar_t kRestart[] = L"重新开始";
const wchar_t kSameFolder[] = L"请重新选择一个目录来保存，不要和源目录相同";
const wchar_t kNoDocument[] = L"请选择一个WORD文件或者带有WORD文件的目录来恢复";
const wchar_t kConfirmExit[] = L"您确认要退出本程序？";
const wchar_t kDataMissing[] = L"缺少文件，请重新下载软件后，完全解压出来再运行本程序";
const wchar_t kCommon[] = L"的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题";
enum { PAGE1 = 1033, PAGE2 = 1032, PAGE3 = 1004, NEXT = 1004, BACK = 1005, TREE = 1029, VIEW = 1000,
       STOP_PREVIEW = 1003, STOP = 1003, LOG = 1000, MODE_TREE = 1028, MODE_FILE = 1030, SAVE_NEW = 1028,
       SAVE_BESIDE = 1031 };
enum Damage { INTACT, TRUNCATED, ZEROED_HEADER, SHIFTED };

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "<missing>";
    bytes.resize(::GetFileSize(f, nullptr));
    DWORD n = 0;
    ::ReadFile(f, &bytes[0], static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(f);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(f);
}

// A document as a damaged Word 97 file looks to the salvage: a compound-file header, binary
// padding, and runs of UTF-16LE Chinese text between the padding.
std::string Document(unsigned seed, int nRuns, Damage damage)
{
    unsigned state = seed * 2654435761u + 1;
    auto next = [&state] { state = state * 1103515245u + 12345u; return state >> 16; };
    std::string bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    while (bytes.size() < 512)
        bytes += static_cast<char>(next() % 4 == 0 ? next() : 0);
    const int nCommon = static_cast<int>(wcslen(kCommon));
    for (int r = 0; r < nRuns; ++r) {
        for (unsigned i = 0, n = 64 + next() % 300; i < n; ++i)
            bytes += static_cast<char>(next() % 3 == 0 ? next() : 0);
        for (unsigned i = 0, n = 20 + next() % 60; i < n; ++i) {
            const wchar_t c = kCommon[next() % nCommon];
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        bytes.append("\r\0", 2);
    }
    bytes.append(600, '\0');
    if (damage == TRUNCATED)
        bytes.resize(bytes.size() * 6 / 10);
    else if (damage == ZEROED_HEADER)
        bytes.replace(0, 512, 512, '\0');
    else if (damage == SHIFTED)
        bytes.insert(512, 1, '\x07');
    return bytes;
}

std::string Salvaged(const std::wstring& path)
{
    tagNode node;
    node.strPath = path.c_str();
    StopFlag stop(FALSE);
    CString* pText = SalvageFile(&node, &stop);
    std::string bytes(reinterpret_cast<const char*>(pText->GetString()), pText->GetLength() * sizeof(wchar_t));
    delete pText;
    return bytes;
}

std::string Narrow(const std::wstring& s) { return WideToUtf8(s.c_str()); }

std::wstring TextName(const std::wstring& path) { return path.substr(0, path.size() - 4) + L".txt"; }

// Where a document's result goes in new-folder mode: out, the source's relative path, ".txt".
std::function<std::wstring(const std::wstring&)> Into(const std::wstring& out)
{
    return [out](const std::wstring& rel) { return TextName(out + L"\\" + rel); };
}

// ... and saved through Word: the source's own name.
std::function<std::wstring(const std::wstring&)> IntoThroughWord(const std::wstring& out)
{
    return [out](const std::wstring& rel) { return out + L"\\" + rel; };
}

// What a result holds before the salvaged text: the text file's byte-order mark, or what the
// test server writes for a document saved through it (its marker line, UTF-16LE after FF FE).
const std::string kTextHead("\xFF\xFE");
std::string WordHead()
{
    const std::wstring marker = std::wstring(FAKEWORD_DOCUMENT_MARKER) + L"\r\n";
    return kTextHead + std::string(reinterpret_cast<const char*>(marker.data()), marker.size() * sizeof(wchar_t));
}

// The sources of one scenario: documents (relative path -> bytes) under Root(), and every file
// there remembered so that the end of the scenario can prove nothing was changed.
class Sources {
public:
    explicit Sources(const wchar_t* name) : Sources(g_work + L"\\" + name) {}
    explicit Sources(const std::wstring& root) : m_root(root)
    {
        ::CreateDirectoryW(m_root.c_str(), nullptr);
        ::CreateDirectoryW(Src().c_str(), nullptr);
    }
    ~Sources()
    {
        for (auto& kv : m_all)
            EXPECT_EQ(ReadBytes(kv.first), kv.second) << "source changed: " << Narrow(kv.first);
    }
    std::wstring Src() const { return m_root + L"\\src"; }
    std::wstring Dir(const std::wstring& rel) const
    {
        std::wstring path = m_root + L"\\" + rel;
        ::CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    void Add(const std::wstring& rel, const std::string& bytes, bool bDocument = true)
    {
        const std::wstring path = Src() + L"\\" + rel;
        for (size_t i = Src().size() + 1; (i = path.find(L'\\', i)) != std::wstring::npos; ++i)
            ::CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
        WriteBytes(path, bytes);
        m_all[path] = bytes;
        if (bDocument)
            m_docs.push_back(rel);
    }
    // The usual tree: damaged documents, Chinese names with blanks, capitals, a file too small,
    // a file of another kind, an empty folder.
    void AddTree()
    {
        Add(L"报告 一.doc", Document(1, 12, INTACT));
        Add(L"NOTES.DOC", Document(2, 8, ZEROED_HEADER));
        Add(L"tiny.doc", std::string(300, 'x'), false);
        Add(L"readme.txt", Document(3, 4, INTACT), false);
        Add(L"资料 甲\\工作 文件.doc", Document(4, 10, SHIFTED));
        Add(L"资料 甲\\截断.doc", Document(5, 10, TRUNCATED));
        Add(L"资料 甲\\深\\头部清零.doc", Document(6, 6, ZEROED_HEADER));
        ::CreateDirectoryW((Src() + L"\\空目录").c_str(), nullptr);
    }
    // Each document's output path (by outputFor) must hold head and its salvaged text, or not
    // exist when nothing was salvaged. Returns how many outputs there are.
    int CheckOutputs(const std::function<std::wstring(const std::wstring&)>& outputFor,
                     const std::vector<std::wstring>* pOnly = nullptr, const std::string& head = kTextHead) const
    {
        int n = 0;
        for (const std::wstring& rel : pOnly ? *pOnly : m_docs) {
            const std::string text = Salvaged(Src() + L"\\" + rel);
            const std::wstring out = outputFor(rel);
            if (text.empty()) {
                EXPECT_EQ(ReadBytes(out), "<missing>") << Narrow(rel);
                continue;
            }
            EXPECT_EQ(ReadBytes(out), head + text) << Narrow(rel) << " -> " << Narrow(out);
            ++n;
        }
        return n;
    }
    // After a run that was cut short: every result that was written is whole. Returns how many.
    int CheckWrittenOutputs(const std::function<std::wstring(const std::wstring&)>& outputFor,
                            const std::string& head) const
    {
        std::vector<std::wstring> written;
        for (const std::wstring& rel : m_docs)
            if (ReadBytes(outputFor(rel)) != "<missing>")
                written.push_back(rel);
        return CheckOutputs(outputFor, &written, head);
    }
    void Delete(const std::wstring& rel)
    {
        ::DeleteFileW((Src() + L"\\" + rel).c_str());
        m_all.erase(Src() + L"\\" + rel);
    }

private:
    std::wstring m_root;
    std::map<std::wstring, std::string> m_all;
    std::vector<std::wstring> m_docs;
};

int CountFiles(const std::wstring& dir)
{
    int n = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (fd.cFileName[0] == L'.')
            continue;
        n += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(dir + L"\\" + fd.cFileName) : 1;
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    return n;
}

// Steps of the wizard as the user takes them.
// The count label keeps the last listing's count until the next listing ends: a source is chosen
// with the label emptied first, so that a count in it is the new listing's.
bool WaitListed(RemoteWizard& w)
{
    return WaitUntil([&] {
        return WindowText(w.Item(PAGE2, PAGE2)).find(L"总共") != std::wstring::npos && w.Enabled(NEXT) &&
               !::IsWindowEnabled(w.Item(PAGE2, STOP_PREVIEW));
    });
}

// The wizard sets Back's state after it shows a page, and a worker enables Back just after Next:
// wait for the state instead of reading it once.
bool BackBecomes(RemoteWizard& w, bool bEnabled)
{
    return WaitUntil([&] { return w.Enabled(BACK) == bEnabled; });
}

bool WaitRepaired(RemoteWizard& w)
{
    return WaitUntil([&] { return WindowText(::GetDlgItem(w.Main(), NEXT)) == kRestart && w.Enabled(NEXT); });
}

void ChooseSource(RemoteWizard& w, int nMode, const std::wstring& path)
{
    ASSERT_TRUE(w.Attach());
    w.CheckRadio(w.Page(PAGE1), MODE_TREE + nMode, MODE_TREE, MODE_FILE);
    ::SendMessageW(w.Item(PAGE2, PAGE2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    w.ClickNext();
    ASSERT_TRUE(nMode == 2 ? w.AnswerFileOpen(path) : w.AnswerPicker(path));
    ASSERT_TRUE(WaitListed(w));
}

void ChooseOutputAndRun(RemoteWizard& w, const std::wstring* pOut)
{
    w.CheckRadio(w.Page(PAGE2), pOut ? SAVE_NEW : SAVE_BESIDE, SAVE_NEW, SAVE_BESIDE);
    w.ClickNext();
    if (pOut) {
        ASSERT_TRUE(w.AnswerPicker(*pOut));
    }
}

void ExitConfirmed(RemoteWizard& w)
{
    w.Close();
    ASSERT_TRUE(w.AnswerMessage(kConfirmExit, IDOK));
    EXPECT_TRUE(w.WaitExit(kLimitMs));
}

int LogLines(RemoteWizard& w)
{
    const std::wstring log = WindowText(w.Item(PAGE3, LOG));
    int n = log.empty() ? 0 : 1;
    for (size_t i = 0; (i = log.find(L"\r\n", i)) != std::wstring::npos; i += 2)
        ++n;
    return n;
}
}  // namespace

// The whole tree into a new folder; screenshots of the three steps and the About box on the way.
TEST(Wizard, TreeIntoNewFolder)
{
    Sources s(L"tree");
    s.AddTree();
    const std::wstring out = s.Dir(L"out");
    RemoteWizard w(g_exe);
    ASSERT_TRUE(w.Attach());
    EXPECT_TRUE(BackBecomes(w, false));
    EXPECT_EQ(WindowText(::GetDlgItem(w.Main(), NEXT)), kNext);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(w.Page(PAGE1)) != FALSE; }));
    ::Sleep(500);  // the first layout and paint
    w.Screenshot(w.Main(), g_shots + L"\\e2e-step1.bmp");
    ::PostMessageW(w.Main(), WM_SYSCOMMAND, 0x10, 0);
    HWND hAbout = w.WaitDialog();
    ASSERT_NE(hAbout, (HWND)NULL);
    ::Sleep(300);
    w.Screenshot(hAbout, g_shots + L"\\e2e-about.bmp");
    ::PostMessageW(hAbout, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(hAbout); }));

    ChooseSource(w, 0, s.Src());
    EXPECT_EQ(WindowText(w.Item(PAGE2, PAGE2)), L"  总共 5 个文件");
    const std::vector<std::wstring> tree = w.TreeItems(w.Item(PAGE2, TREE));
    const std::vector<std::wstring> want = {L"src", L"  资料 甲", L"    深", L"      头部清零.doc", L"    工作 文件.doc",
                                            L"    截断.doc", L"  NOTES.DOC", L"  报告 一.doc"};
    EXPECT_EQ(tree.size(), want.size());
    for (size_t i = 0; i < tree.size() && i < want.size(); ++i)
        EXPECT_EQ(Narrow(tree[i]), Narrow(want[i]));
    EXPECT_TRUE(BackBecomes(w, true));
    ASSERT_TRUE(w.SelectTreeItem(w.Item(PAGE2, TREE), L"报告 一.doc"));
    ASSERT_TRUE(WaitListed(w));
    ::Sleep(300);
    w.Screenshot(w.Main(), g_shots + L"\\e2e-step2.bmp");

    ChooseOutputAndRun(w, &out);
    ASSERT_TRUE(WaitRepaired(w));
    EXPECT_TRUE(BackBecomes(w, false));
    EXPECT_FALSE(::IsWindowEnabled(w.Item(PAGE3, STOP)));
    const int n = s.CheckOutputs(Into(out));
    EXPECT_EQ(CountFiles(out), n);
    EXPECT_GE(LogLines(w), 5);  // a line per document, and one per folder made
    ::Sleep(300);
    w.Screenshot(w.Main(), g_shots + L"\\e2e-step3.bmp");

    w.ClickNext();  // "重新开始": back to the start
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(w.Page(PAGE1)) != FALSE; }));
    EXPECT_EQ(WindowText(::GetDlgItem(w.Main(), NEXT)), kNext);
    EXPECT_TRUE(BackBecomes(w, false));
    w.Close();  // the confirmation answered with Cancel keeps the wizard
    ASSERT_TRUE(w.AnswerMessage(kConfirmExit, IDCANCEL));
    EXPECT_FALSE(w.WaitExit(300));
    ExitConfirmed(w);
}

// Beside the sources, twice: the second run meets the first run's results.
TEST(Wizard, BesideTheSources)
{
    Sources s(L"beside");
    s.Add(L"甲 乙.doc", Document(11, 8, INTACT));
    s.Add(L"sub\\b.doc", Document(12, 8, SHIFTED));
    RemoteWizard w(g_exe);
    auto stem = [&](const std::wstring& rel) { return s.Src() + L"\\" + rel.substr(0, rel.size() - 4); };
    auto beside = [&](const std::wstring& rel) { return stem(rel) + L"_[Quillmend].txt"; };
    // The first run's result is in the way: "_[QuillmendRename_k]" with k from 0 to 999.
    auto renamed = [&](const std::wstring& rel) {
        WIN32_FIND_DATAW fd;
        const std::wstring pattern = stem(rel) + L"_[QuillmendRename_*].txt";
        HANDLE h = ::FindFirstFileW(pattern.c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return pattern;
        ::FindClose(h);
        return pattern.substr(0, pattern.rfind(L'\\') + 1) + fd.cFileName;
    };
    for (int run = 0; run < 2; ++run) {
        if (run == 1)
            w.ClickNext();
        ChooseSource(w, 0, s.Src());
        ChooseOutputAndRun(w, nullptr);
        ASSERT_TRUE(WaitRepaired(w));
        EXPECT_EQ(run == 0 ? s.CheckOutputs(beside) : s.CheckOutputs(renamed), 2);
        EXPECT_EQ(LogLines(w), 2);
    }
    EXPECT_EQ(CountFiles(s.Src()), 6);  // the sources and two results each: nothing else appeared
    ExitConfirmed(w);
}

// A folder alone: its subfolders are not listed; a document that vanished after the listing is
// reported in the log and the others are saved.
TEST(Wizard, FolderAloneWithVanishedDocument)
{
    Sources s(L"alone");
    s.AddTree();
    s.Add(L"gone.doc", Document(21, 4, INTACT), false);
    const std::wstring out = s.Dir(L"out");
    RemoteWizard w(g_exe);
    ChooseSource(w, 1, s.Src());
    EXPECT_EQ(w.TreeItems(w.Item(PAGE2, TREE)).size(), 4u);
    s.Delete(L"gone.doc");
    ChooseOutputAndRun(w, &out);
    ASSERT_TRUE(WaitRepaired(w));
    const std::vector<std::wstring> top = {L"报告 一.doc", L"NOTES.DOC"};
    EXPECT_EQ(s.CheckOutputs(Into(out), &top), CountFiles(out));
    EXPECT_NE(WindowText(w.Item(PAGE3, LOG)).find(L"文件[gone.doc]没有修复出内容"), std::wstring::npos);
    ExitConfirmed(w);
}

// One document whose path is as long as the platform allows: its preview starts by itself and
// shows text; then it is repaired.
TEST(Wizard, OneDocumentWithPreview)
{
    Sources s(L"one");
    const size_t kMaxPathChars = MAX_PATH - 1;
    const std::wstring name = std::wstring(kMaxPathChars - s.Src().size() - 1 - 6, L'长') + L" 个.doc";
    s.Add(name, Document(31, 20, INTACT));
    ASSERT_EQ((s.Src() + L"\\" + name).size(), kMaxPathChars);
    const std::wstring out = s.Dir(L"out");
    RemoteWizard w(g_exe);
    ChooseSource(w, 2, s.Src() + L"\\" + name);
    EXPECT_EQ(w.TreeItems(w.Item(PAGE2, TREE)).size(), 1u);
    EXPECT_TRUE(BackBecomes(w, true));
    EXPECT_TRUE(WaitUntil([&] { return w.DarkPixels(w.Item(PAGE2, VIEW)) > 200; }));
    ChooseOutputAndRun(w, &out);
    ASSERT_TRUE(WaitRepaired(w));
    EXPECT_EQ(s.CheckOutputs(Into(out)), 1);
    ExitConfirmed(w);
}

// Selecting a document previews it; selecting a folder empties the view; Back keeps the tree.
TEST(Wizard, PreviewOfSelectedDocument)
{
    Sources s(L"preview");
    s.AddTree();
    RemoteWizard w(g_exe);
    ChooseSource(w, 0, s.Src());
    HWND hTree = w.Item(PAGE2, TREE), hView = w.Item(PAGE2, VIEW);
    // The root folder is selected: once the listing's hint is cleared (a refresh timer repaints
    // the view shortly after the listing ends), the view is empty.
    EXPECT_TRUE(WaitUntil([&] { return w.DarkPixels(hView) < 50; }));
    ASSERT_TRUE(w.SelectTreeItem(hTree, L"工作 文件.doc"));
    EXPECT_TRUE(WaitUntil([&] { return w.DarkPixels(hView) > 200; }));
    ASSERT_TRUE(WaitListed(w));
    ASSERT_TRUE(w.SelectTreeItem(hTree, L"资料 甲"));
    EXPECT_TRUE(WaitUntil([&] { return w.DarkPixels(hView) < 50; }));
    w.ClickBack();
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(w.Page(PAGE1)) != FALSE; }));
    EXPECT_TRUE(BackBecomes(w, false));
    EXPECT_EQ(w.TreeItems(hTree).size(), 8u);
    ExitConfirmed(w);
}

// A run held at a known point: the test server for Word (registered before the program starts,
// so that the program saves through it) holds every save until the test lets it go. The run is
// started, its first document saved and its second one held in its save: the run is surely
// still going when the test acts on it, with one result written and the rest to come.
const int kHeldRunDocuments = 10;
static void StartHeldRun(RemoteWizard& w, Sources& s, FakeWordServer& word, const std::wstring& out)
{
    for (int i = 0; i < kHeldRunDocuments; ++i)
        s.Add(L"f" + std::to_wstring(i) + L".doc", Document(200 + i, 8, INTACT));
    ChooseSource(w, 0, s.Src());
    ChooseOutputAndRun(w, &out);
    ASSERT_TRUE(word.WaitForHeldSave(kLimitMs));
    word.ReleaseSave();
    ASSERT_TRUE(word.WaitForHeldSave(kLimitMs));
    EXPECT_EQ(CountFiles(out), 1);
    EXPECT_TRUE(::IsWindowEnabled(w.Item(PAGE3, STOP)));
}

// Stop during a run: the document being saved is finished, and the run ends there.
TEST(Wizard, StopDuringRun)
{
    FakeWordServer word;
    ASSERT_TRUE(word.IsRegistered());
    word.HoldSaves();
    Sources s(L"stop");
    const std::wstring out = s.Dir(L"out");
    RemoteWizard w(g_exe);
    StartHeldRun(w, s, word, out);
    EXPECT_TRUE(BackBecomes(w, false));
    EXPECT_FALSE(w.Enabled(NEXT));
    w.Click(w.Page(PAGE3), STOP);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(w.Item(PAGE3, STOP)); }));  // the stop is asked
    word.ReleaseSave();
    ASSERT_TRUE(WaitRepaired(w));
    EXPECT_EQ(LogLines(w), 2);
    EXPECT_EQ(CountFiles(out), 2);
    EXPECT_EQ(s.CheckWrittenOutputs(IntoThroughWord(out), WordHead()), 2);
    ExitConfirmed(w);
}

// Exit confirmed during a run: the program stops the run, waits for it and ends; the document
// being saved is finished, and what it wrote is whole.
TEST(Wizard, ExitDuringRun)
{
    FakeWordServer word;
    ASSERT_TRUE(word.IsRegistered());
    word.HoldSaves();
    Sources s(L"exitrun");
    const std::wstring out = s.Dir(L"out");
    RemoteWizard w(g_exe);
    StartHeldRun(w, s, word, out);
    w.Close();
    ASSERT_TRUE(w.AnswerMessage(kConfirmExit, IDOK));
    // Once the box has gone, the wizard asks the run to stop and then waits for it, answering
    // what other threads send meanwhile, and not before: this call returns once the stop is asked.
    DWORD_PTR result = 0;
    ASSERT_NE(::SendMessageTimeoutW(w.Main(), WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &result), 0);
    word.ReleaseSave();
    ASSERT_TRUE(w.WaitExitOr(word.HeldEvent(), kLimitMs)) << "the run went on to another save after the exit";
    EXPECT_EQ(w.ExitCode(), 0u);
    EXPECT_EQ(CountFiles(out), 2);
    EXPECT_EQ(s.CheckWrittenOutputs(IntoThroughWord(out), WordHead()), 2);
}

// The output folder equal to the source: message 136 and still step 2; then another folder works.
TEST(Wizard, OutputEqualsSource)
{
    Sources s(L"same");
    s.Add(L"a.doc", Document(41, 6, INTACT));
    const std::wstring out = s.Dir(L"out");
    RemoteWizard w(g_exe);
    ChooseSource(w, 0, s.Src());
    const std::wstring src = s.Src();
    ChooseOutputAndRun(w, &src);
    ASSERT_TRUE(w.AnswerMessage(kSameFolder, IDOK));
    EXPECT_TRUE(::IsWindowVisible(w.Page(PAGE2)));
    EXPECT_EQ(CountFiles(s.Src()), 1);
    ChooseOutputAndRun(w, &out);
    ASSERT_TRUE(WaitRepaired(w));
    EXPECT_EQ(CountFiles(out), 1);
    ExitConfirmed(w);
}

// A folder without documents (too small, another kind, a folder named like one, an empty
// folder): message 141 and back to step 1.
TEST(Wizard, FolderWithoutDocuments)
{
    Sources s(L"nodocs");
    s.Add(L"small.doc", std::string(511, 'a'), false);
    s.Add(L"text.txt", Document(51, 4, INTACT), false);
    s.Dir(L"src\\folder.doc");
    s.Dir(L"src\\空 的");
    RemoteWizard w(g_exe);
    ASSERT_TRUE(w.Attach());
    w.ClickNext();
    ASSERT_TRUE(w.AnswerPicker(s.Src()));
    std::wstring seen;
    ASSERT_TRUE(w.AnswerMessage(kNoDocument, IDOK, &seen)) << Narrow(seen);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(w.Page(PAGE1)) != FALSE; }));
    EXPECT_EQ(WindowText(w.Item(PAGE2, PAGE2)), L"  总共 0 个文件");
    EXPECT_TRUE(BackBecomes(w, false));
    ExitConfirmed(w);
}

// Through the Word path: with the test automation server registered as "Word.Application", the
// program saves every document through it under its own .doc name.
TEST(Wizard, SavedThroughWord)
{
    FakeWordServer word;
    ASSERT_TRUE(word.IsRegistered());
    Sources s(L"word");
    s.Add(L"文 档.doc", Document(61, 8, INTACT));
    s.Add(L"子\\b.doc", Document(62, 8, TRUNCATED));
    const std::wstring out = s.Dir(L"out");
    RemoteWizard w(g_exe);
    ChooseSource(w, 0, s.Src());
    ChooseOutputAndRun(w, &out);
    ASSERT_TRUE(WaitRepaired(w));
    EXPECT_EQ(s.CheckOutputs(IntoThroughWord(out), nullptr, WordHead()), 2);
    EXPECT_EQ(CountFiles(out), 2);
    ExitConfirmed(w);
}

// A source folder whose links lead back up (子目录\\回环 -> .. and self -> the folder itself; the
// test's fixture makes them from the Linux side): the listing ends, shows each document once,
// and the run repairs them.
TEST(Wizard, FolderWithLinksBackUp)
{
    const CString linkRoot = LinkLoopRoot();
    ASSERT_FALSE(linkRoot.IsEmpty()) << "QM_LINK_LOOP_ROOT is not set: the links come from ctest's fixture "
                                        "(Wine makes none); run ctest -R '^e2e$' in the build folder";
    Sources s(std::wstring(linkRoot.GetString()));
    s.Add(L"报告 一.doc", Document(71, 8, INTACT));
    s.Add(L"子目录\\b.doc", Document(72, 8, SHIFTED));
    const std::wstring out = g_work + L"\\links-out";
    ::CreateDirectoryW(out.c_str(), nullptr);
    RemoteWizard w(g_exe);
    ChooseSource(w, 0, s.Src());
    EXPECT_EQ(WindowText(w.Item(PAGE2, PAGE2)), L"  总共 2 个文件");
    const std::vector<std::wstring> tree = w.TreeItems(w.Item(PAGE2, TREE));
    const std::vector<std::wstring> want = {L"src", L"  子目录", L"    b.doc", L"  报告 一.doc"};
    EXPECT_EQ(tree.size(), want.size());
    for (size_t i = 0; i < tree.size() && i < want.size(); ++i)
        EXPECT_EQ(Narrow(tree[i]), Narrow(want[i]));
    ChooseOutputAndRun(w, &out);
    ASSERT_TRUE(WaitRepaired(w));
    EXPECT_EQ(s.CheckOutputs(Into(out)), 2);
    EXPECT_EQ(CountFiles(out), 2);
    ExitConfirmed(w);
}

// A character list missing: message 124, no wizard, the program ends.
TEST(Wizard, MissingDataFile)
{
    Sources s(L"nodata");
    const std::wstring exe = s.Dir(L"bin") + L"\\Quillmend.exe";
    ASSERT_TRUE(::CopyFileW(g_exe.c_str(), exe.c_str(), FALSE));
    RemoteWizard w(exe);
    std::wstring seen;
    EXPECT_TRUE(w.AnswerMessage(kDataMissing, IDOK, &seen)) << Narrow(seen);
    EXPECT_FALSE(w.Attach(300));
    EXPECT_TRUE(w.WaitExit(kLimitMs));
}

namespace {
void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring path = dir + L"\\" + fd.cFileName;
            if (fd.cFileName[0] == L'.' && (fd.cFileName[1] == 0 || (fd.cFileName[1] == L'.' && fd.cFileName[2] == 0)))
                continue;
            // A link is not followed: what it leads to is not the scenarios' own.
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(path);
            else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryW(path.c_str());
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryW(dir.c_str());
}
}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 4) {
        fprintf(stderr, "usage: e2e_test Quillmend.exe screenshot-folder work-drive\n");
        return 2;
    }
    // Wine accepts a Unix path where a Windows path is expected only in some calls: name
    // everything by its Z: drive path.
    g_exe = WindowsPathOf(argv[1]).GetString();
    g_shots = WindowsPathOf(argv[2]).GetString();
    // The scenarios' folders sit at the root of a drive of their own (tools/wineenv.sh maps it onto
    // the build's e2e-work folder): a short path for the folder picker to walk, and for the log
    // lines in the screenshots.
    g_work = WindowsPathOf(argv[3]).GetString();
    if (::GetFileAttributesW((g_work + L"\\").c_str()) == INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "e2e_test: the work drive %s is not mapped (tools/wineenv.sh maps it when it starts a target)\n",
                argv[3]);
        return 2;
    }
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring exeDir = g_exe.substr(0, g_exe.rfind(L'\\'));
    ::SetCurrentDirectoryW(exeDir.c_str());
    const BOOL built = BuildCharTablesFromCurrentFolder();
    ::SetCurrentDirectoryW(cwd);
    if (!built)
        return 2;
    RemoveTree(L"\\\\?\\" + g_work);  // what an earlier run left
    const int result = RUN_ALL_TESTS();
    FreeCharTables();
    return result;
}
