#include "BenchInputs.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "classlib/CFile.h"
#include "engine/CharTables.h"

#ifdef _WIN32
static const WCHAR SEPARATOR[] = L"\\";
#else
static const WCHAR SEPARATOR[] = L"/";
#endif

static const int MIB = 1024 * 1024;
static const int SECTOR = 512;
// One sector in this many is random garbage in the prose files.
static const int GARBAGE_SECTOR_ONE_IN = 8;

// xorshift64*: fast, and the same sequence on every platform.
class BenchRandom {
public:
    explicit BenchRandom(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 0x2545F4914F6CDD1DULL;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

private:
    uint64_t m_state;
};

// Endless prose: sentences of common ideographs with commas, full stops and paragraph breaks.
class ProseStream {
public:
    explicit ProseStream(BenchRandom& random) : m_random(random)
    {
        for (int c = 0x4E00; c <= 0x9FA5; ++c) {
            if (CommonCharTable[c])
                m_ideographs.push_back(static_cast<WCHAR>(c));
        }
    }
    void Fill(BYTE* bytes, int size)
    {
        for (int i = 0; i < size; ++i) {
            if (m_pending.empty())
                NextSentence();
            bytes[i] = m_pending.back();
            m_pending.pop_back();
        }
    }

private:
    void Push(WCHAR c)
    {
        m_sentence.push_back(static_cast<BYTE>(c & 0xFF));
        m_sentence.push_back(static_cast<BYTE>(c >> 8));
    }
    void NextSentence()
    {
        m_sentence.clear();
        const int clauses = 1 + m_random.Below(3);
        for (int clause = 0; clause < clauses; ++clause) {
            for (int n = 4 + m_random.Below(12); n > 0; --n)
                Push(m_ideographs[static_cast<size_t>(m_random.Below(static_cast<int>(m_ideographs.size())))]);
            Push(clause + 1 < clauses ? 0xFF0C : 0x3002);  // full-width comma, ideographic full stop
        }
        if (m_random.Below(5) == 0) {
            Push(L'\r');
            Push(L'\n');
        }
        m_pending.assign(m_sentence.rbegin(), m_sentence.rend());
    }

    BenchRandom& m_random;
    std::vector<WCHAR> m_ideographs;
    std::vector<BYTE> m_sentence;
    std::vector<BYTE> m_pending;  // the rest of the current sentence, last byte first
};

// Text runs and garbage alternating: a run of MIN_RUN_CHARS to MAX_RUN_CHARS characters of prose,
// then up to MAX_GARBAGE_BYTES random bytes, so that runs start in either byte alignment.
static const int MIN_RUN_CHARS = 50;
static const int MAX_RUN_CHARS = 3000;
static const int MAX_GARBAGE_BYTES = 4096;

class MixedStream {
public:
    MixedStream(BenchRandom& random, ProseStream& prose)
        : m_random(random), m_prose(prose), m_bInText(false), m_nLeft(0)
    {
    }
    void Fill(BYTE* bytes, int size)
    {
        while (size > 0) {
            if (m_nLeft == 0)
                NextPiece();
            const int take = m_nLeft < size ? m_nLeft : size;
            if (m_bInText) {
                m_prose.Fill(bytes, take);
            } else {
                for (int i = 0; i < take; ++i)
                    bytes[i] = static_cast<BYTE>(m_random.Next());
            }
            bytes += take;
            size -= take;
            m_nLeft -= take;
        }
    }

private:
    void NextPiece()
    {
        m_bInText = !m_bInText;
        m_nLeft = m_bInText ? 2 * (MIN_RUN_CHARS + m_random.Below(MAX_RUN_CHARS - MIN_RUN_CHARS + 1))
                            : m_random.Below(MAX_GARBAGE_BYTES + 1);
    }

    BenchRandom& m_random;
    ProseStream& m_prose;
    bool m_bInText;
    int m_nLeft;  // bytes of the current piece still to come
};

enum InputKind { RANDOM_BYTES, ZERO_BYTES, PROSE, MIXED };

static void FillSector(InputKind kind, BenchRandom& random, ProseStream& prose, BYTE* sector)
{
    if (kind == ZERO_BYTES)
        return;
    if (kind == PROSE && random.Below(GARBAGE_SECTOR_ONE_IN) != 0) {
        prose.Fill(sector, SECTOR);
        return;
    }
    for (int i = 0; i < SECTOR; i += 8) {
        const uint64_t bits = random.Next();
        for (int k = 0; k < 8; ++k)
            sector[i + k] = static_cast<BYTE>(bits >> (8 * k));
    }
}

static BOOL WriteInput(const CString& path, InputKind kind, int mebibytes)
{
    BenchRandom random(0x9E3779B97F4A7C15ULL + static_cast<uint64_t>(kind));
    ProseStream prose(random);
    MixedStream mixed(random, prose);
    std::vector<BYTE> chunk(MIB);
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    try {
        for (int m = 0; m < mebibytes; ++m) {
            std::fill(chunk.begin(), chunk.end(), 0);
            if (kind == MIXED) {
                mixed.Fill(chunk.data(), MIB);
            } else {
                for (int s = 0; s < MIB; s += SECTOR)
                    FillSector(kind, random, prose, chunk.data() + s);
            }
            file.Write(chunk.data(), MIB);
        }
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        return FALSE;
    }
    return TRUE;
}

BOOL MakeBenchInputs(const CString& folder)
{
    static const struct {
        LPCWSTR name;
        InputKind kind;
    } kinds[] = {{L"random", RANDOM_BYTES}, {L"zeros", ZERO_BYTES}, {L"prose", PROSE},
                 {L"mixed", MIXED}};
    for (const auto& k : kinds) {
        for (int mebibytes : {16, 64}) {
            CString path;
            path.Format(L"%s%s%s-%dM.bin", folder.GetString(), SEPARATOR, k.name, mebibytes);
            if (!WriteInput(path, k.kind, mebibytes))
                return FALSE;
        }
    }
    return TRUE;
}
