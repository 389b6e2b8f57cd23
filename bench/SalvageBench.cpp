// salvage_bench [--data DIR] [--dump DIR] FILE...
// salvage_bench [--data DIR] --make-inputs DIR
//
// Runs the file salvage over each file and prints its size, the time taken and the throughput
// (MB/s, 10^6 bytes a second). --dump DIR writes each salvaged text as raw UTF-16LE (no byte-order
// mark, no terminator) to DIR/<file name>.txt. --data DIR takes the two character lists from
// DIR instead of the program's folder. --make-inputs DIR writes the generated inputs (see
// BenchInputs.h).
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchInputs.h"
#include "classlib/CFile.h"
#include "classlib/Utf8.h"
#include "engine/CharTables.h"
#include "engine/SalvageFile.h"
#include "engine/tagNode.h"

#ifdef _WIN32
static const WCHAR SEPARATOR[] = L"\\";
#else
#include <unistd.h>

#include <climits>
static const WCHAR SEPARATOR[] = L"/";
#endif

namespace {

struct Options {
    CString dataFolder;
    CString dumpFolder;
    CString inputsFolder;
    std::vector<CString> files;
};

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: salvage_bench [--data DIR] [--dump DIR] FILE...\n"
                 "       salvage_bench [--data DIR] --make-inputs DIR\n");
}

bool ParseOptions(const std::vector<CString>& args, Options& options)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const CString& arg = args[i];
        CString* folder = arg == L"--data"          ? &options.dataFolder
                          : arg == L"--dump"        ? &options.dumpFolder
                          : arg == L"--make-inputs" ? &options.inputsFolder
                                                    : nullptr;
        if (folder) {
            if (++i == args.size())
                return false;
            *folder = args[i];
        } else {
            options.files.push_back(arg);
        }
    }
    return !options.files.empty() || !options.inputsFolder.IsEmpty();
}

CString CurrentFolder()
{
#ifdef _WIN32
    WCHAR path[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, path);
    return path;
#else
    char path[PATH_MAX] = {};
    return getcwd(path, sizeof path) ? Utf8ToWide(path) : CString();
#endif
}

bool EnterFolder(const CString& folder)
{
#ifdef _WIN32
    return ::SetCurrentDirectoryW(folder) != FALSE;
#else
    return chdir(WideToUtf8(folder).c_str()) == 0;
#endif
}

// Builds the tables from the lists beside the program, or in dataFolder; the current folder
// stays what it was, so that relative file names keep working.
bool BuildTables(const CString& dataFolder)
{
    const CString start = CurrentFolder();
    bool built;
    if (dataFolder.IsEmpty()) {
        built = BuildCharTables() != FALSE;
    } else {
        built = EnterFolder(dataFolder) && BuildCharTablesFromCurrentFolder();
    }
    EnterFolder(start);
    return built;
}

ULONGLONG FileSize(const CString& path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareExclusive))
        return 0;
    try {
        return file.GetLength();
    } catch (CFileException* e) {
        e->Delete();
        return 0;
    }
}

bool Dump(const CString& folder, const CString& path, const CString& text)
{
    const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    const CString target = folder + SEPARATOR + path.Mid(slash + 1) + L".txt";
    CFile file;
    if (!file.Open(target, CFile::modeCreate | CFile::modeWrite))
        return false;
    try {
        file.Write(text.GetString(), static_cast<UINT>(text.GetLength() * sizeof(WCHAR)));
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        return false;
    }
    return true;
}

int Run(const std::vector<CString>& args)
{
    Options options;
    if (!ParseOptions(args, options)) {
        PrintUsage();
        return 2;
    }
    if (!BuildTables(options.dataFolder)) {
        std::fprintf(stderr, "salvage_bench: the character lists cannot be read\n");
        return 1;
    }
    int status = 0;
    if (!options.inputsFolder.IsEmpty() && !MakeBenchInputs(options.inputsFolder)) {
        std::fprintf(stderr, "salvage_bench: cannot write the inputs\n");
        status = 1;
    }
    if (!options.files.empty())
        std::printf("%-40s %12s %10s %9s %12s\n", "file", "bytes", "seconds", "MB/s", "text units");
    for (const CString& path : options.files) {
        tagNode node;
        node.strPath = path;
        const StopFlag stop(FALSE);
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<CString> text(SalvageFile(&node, &stop));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const ULONGLONG bytes = FileSize(path);
        std::printf("%-40s %12llu %10.4f %9.1f %12d\n", WideToUtf8(path).c_str(),
                    static_cast<unsigned long long>(bytes), seconds,
                    seconds > 0 ? bytes / seconds / 1e6 : 0.0, text->GetLength());
        if (!options.dumpFolder.IsEmpty() && !Dump(options.dumpFolder, path, *text)) {
            std::fprintf(stderr, "salvage_bench: cannot write the text of %s\n", WideToUtf8(path).c_str());
            status = 1;
        }
    }
    FreeCharTables();
    return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
{
    std::vector<CString> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    return Run(args);
}
#else
int main(int argc, char** argv)
{
    std::vector<CString> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf8ToWide(argv[i]));
    return Run(args);
}
#endif
