// CString's printf-style formatting, written out here rather than taken from the C library: on
// the host build wchar_t is 16-bit while the C library's wide functions assume 32 bits, and
// mingw's wide printf reads %s as a narrow string.
#include <cstdio>
#include <utility>

#include "classlib/CString.h"

namespace {

// What one conversion asked for, parsed from the format.
struct Conversion {
    bool left = false;      // '-'
    bool zero = false;      // '0'
    bool plus = false;      // '+'
    bool blank = false;     // ' '
    bool alternate = false; // '#'
    int width = 0;
    int precision = -1;     // -1: none given
    int bits = 32;          // integer size from the length prefix (FormatV only)
    WCHAR type = 0;
};

// Where the arguments come from: a typed list (Format) or C varargs (FormatV).
class ArgSource {
public:
    virtual ~ArgSource() = default;
    virtual int NextInt() = 0;  // for '*'
    virtual bool NextSigned(const Conversion& conv, long long& value) = 0;
    virtual bool NextUnsigned(const Conversion& conv, unsigned long long& value) = 0;
    virtual bool NextChar(WCHAR& ch) = 0;
    virtual bool NextString(LPCWSTR& text) = 0;
    virtual bool NextPointer(const void*& p) = 0;
    virtual bool NextDouble(double& d) = 0;
};

long long TruncateSigned(long long v, int bits)
{
    switch (bits) {
    case 8: return static_cast<signed char>(v);
    case 16: return static_cast<short>(v);
    case 32: return static_cast<int>(v);
    default: return v;
    }
}

unsigned long long TruncateUnsigned(unsigned long long v, int bits)
{
    return bits >= 64 ? v : v & ((1ULL << bits) - 1);
}

// Typed list: an integer keeps its own width unless a prefix (h, hh) narrows it, as printf
// would read it.
class ListSource : public ArgSource {
public:
    ListSource(const FormatArg* args, int count) : m_args(args), m_count(count) {}

    int NextInt() override
    {
        const FormatArg* a = Next();
        if (!a)
            return 0;
        return a->GetKind() == FormatArg::kSigned ? static_cast<int>(a->GetSigned())
                                                  : static_cast<int>(a->GetUnsigned());
    }
    bool NextSigned(const Conversion& conv, long long& value) override
    {
        const FormatArg* a = Next();
        if (!a || !IsInteger(*a))
            return false;
        const int bits = Bits(conv, *a);
        value = a->GetKind() == FormatArg::kSigned ? TruncateSigned(a->GetSigned(), bits)
                                                   : TruncateSigned(static_cast<long long>(a->GetUnsigned()), bits);
        return true;
    }
    bool NextUnsigned(const Conversion& conv, unsigned long long& value) override
    {
        const FormatArg* a = Next();
        if (!a || !IsInteger(*a))
            return false;
        const int bits = Bits(conv, *a);
        value = TruncateUnsigned(a->GetKind() == FormatArg::kSigned ? static_cast<unsigned long long>(a->GetSigned())
                                                                   : a->GetUnsigned(),
                                 bits);
        return true;
    }
    bool NextChar(WCHAR& ch) override
    {
        const FormatArg* a = Next();
        if (!a || !IsInteger(*a))
            return false;
        ch = static_cast<WCHAR>(a->GetKind() == FormatArg::kSigned ? a->GetSigned() : a->GetUnsigned());
        return true;
    }
    bool NextString(LPCWSTR& text) override
    {
        const FormatArg* a = Next();
        if (!a || a->GetKind() != FormatArg::kString)
            return false;
        text = a->GetString();
        return true;
    }
    bool NextPointer(const void*& p) override
    {
        const FormatArg* a = Next();
        if (!a)
            return false;
        if (a->GetKind() == FormatArg::kPointer)
            p = a->GetPointer();
        else if (a->GetKind() == FormatArg::kString)
            p = a->GetString();
        else if (IsInteger(*a))
            p = reinterpret_cast<const void*>(static_cast<UINT_PTR>(a->GetUnsigned()));
        else
            return false;
        return true;
    }
    bool NextDouble(double& d) override
    {
        const FormatArg* a = Next();
        if (!a)
            return false;
        if (a->GetKind() == FormatArg::kDouble)
            d = a->GetDouble();
        else if (a->GetKind() == FormatArg::kSigned)
            d = static_cast<double>(a->GetSigned());
        else if (a->GetKind() == FormatArg::kUnsigned || a->GetKind() == FormatArg::kChar)
            d = static_cast<double>(a->GetUnsigned());
        else
            return false;
        return true;
    }

private:
    static bool IsInteger(const FormatArg& a)
    {
        return a.GetKind() == FormatArg::kSigned || a.GetKind() == FormatArg::kUnsigned
            || a.GetKind() == FormatArg::kChar;
    }
    static int Bits(const Conversion& conv, const FormatArg& a)
    {
        return conv.bits < 32 ? conv.bits : a.GetBits();
    }
    const FormatArg* Next()
    {
        return m_next < m_count ? &m_args[m_next++] : nullptr;
    }

    const FormatArg* m_args;
    int m_count;
    int m_next = 0;
};

// C varargs: the length prefix says how wide each integer was pushed.
class VaSource : public ArgSource {
public:
    explicit VaSource(va_list args) { va_copy(m_args, args); }
    ~VaSource() override { va_end(m_args); }

    int NextInt() override { return va_arg(m_args, int); }
    bool NextSigned(const Conversion& conv, long long& value) override
    {
        value = conv.bits == 64 ? va_arg(m_args, long long) : TruncateSigned(va_arg(m_args, int), conv.bits);
        return true;
    }
    bool NextUnsigned(const Conversion& conv, unsigned long long& value) override
    {
        value = conv.bits == 64 ? va_arg(m_args, unsigned long long)
                                : TruncateUnsigned(va_arg(m_args, unsigned int), conv.bits);
        return true;
    }
    bool NextChar(WCHAR& ch) override
    {
        ch = static_cast<WCHAR>(va_arg(m_args, int));
        return true;
    }
    bool NextString(LPCWSTR& text) override
    {
        text = va_arg(m_args, LPCWSTR);
        return true;
    }
    bool NextPointer(const void*& p) override
    {
        p = va_arg(m_args, const void*);
        return true;
    }
    bool NextDouble(double& d) override
    {
        d = va_arg(m_args, double);
        return true;
    }

private:
    va_list m_args;
};

void AppendRepeated(CString& out, WCHAR ch, int count)
{
    for (int i = 0; i < count; ++i)
        out.AppendChar(ch);
}

// Pads body (with its sign or prefix kept in front of zero padding) to the field width.
void AppendField(CString& out, const Conversion& conv, LPCWSTR prefix, int prefixLength, LPCWSTR body,
                 int bodyLength, bool zeroPadAllowed)
{
    const int padding = conv.width - prefixLength - bodyLength;
    if (padding <= 0) {
        out.Append(prefix, prefixLength);
        out.Append(body, bodyLength);
    } else if (conv.left) {
        out.Append(prefix, prefixLength);
        out.Append(body, bodyLength);
        AppendRepeated(out, L' ', padding);
    } else if (conv.zero && zeroPadAllowed) {
        out.Append(prefix, prefixLength);
        AppendRepeated(out, L'0', padding);
        out.Append(body, bodyLength);
    } else {
        AppendRepeated(out, L' ', padding);
        out.Append(prefix, prefixLength);
        out.Append(body, bodyLength);
    }
}

void AppendInteger(CString& out, const Conversion& conv, unsigned long long magnitude, bool negative,
                   unsigned base, bool upper)
{
    const WCHAR* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    WCHAR body[96];  // 64 octal digits at most, plus a precision's zeros up to the cap below
    int n = 0;
    WCHAR reversed[66];
    int r = 0;
    for (unsigned long long v = magnitude; v; v /= base)
        reversed[r++] = digits[v % base];
    // A precision is the least number of digits; precision 0 prints nothing for 0.
    int minDigits = conv.precision < 0 ? 1 : conv.precision;
    if (minDigits > 64)
        minDigits = 64;
    for (int i = r; i < minDigits; ++i)
        body[n++] = L'0';
    while (r > 0)
        body[n++] = reversed[--r];

    WCHAR prefix[3];
    int p = 0;
    if (negative)
        prefix[p++] = L'-';
    else if (conv.plus && (conv.type == L'd' || conv.type == L'i'))
        prefix[p++] = L'+';
    else if (conv.blank && (conv.type == L'd' || conv.type == L'i'))
        prefix[p++] = L' ';
    if (conv.alternate && magnitude != 0) {
        if (base == 16) {
            prefix[p++] = L'0';
            prefix[p++] = upper ? L'X' : L'x';
        } else if (base == 8 && (n == 0 || body[0] != L'0')) {
            prefix[p++] = L'0';
        }
    }
    AppendField(out, conv, prefix, p, body, n, conv.precision < 0);
}

// Floating point goes through the narrow C library, which is safe: only wide functions differ.
void AppendDouble(CString& out, const Conversion& conv, double d)
{
    char format[16];
    int f = 0;
    format[f++] = '%';
    if (conv.left) format[f++] = '-';
    if (conv.zero) format[f++] = '0';
    if (conv.plus) format[f++] = '+';
    if (conv.blank) format[f++] = ' ';
    if (conv.alternate) format[f++] = '#';
    format[f++] = '*';
    format[f++] = '.';
    format[f++] = '*';
    format[f++] = static_cast<char>(conv.type);
    format[f] = 0;
    const int precision = conv.precision < 0 ? 6 : (conv.precision > 300 ? 300 : conv.precision);
    const int width = conv.width > 1000 ? 1000 : conv.width;
    char text[1400];
    int length = std::snprintf(text, sizeof text, format, width, precision, d);
    if (length < 0)
        return;
    if (length >= static_cast<int>(sizeof text))
        length = sizeof text - 1;
    for (int i = 0; i < length; ++i)
        out.AppendChar(static_cast<WCHAR>(static_cast<unsigned char>(text[i])));
}

int ParseNumber(LPCWSTR& p)
{
    int value = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (value < 100000000)
            value = value * 10 + (*p - L'0');
        ++p;
    }
    return value;
}

void ParseLengthPrefix(LPCWSTR& p, Conversion& conv)
{
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
        conv.bits = 64;
        p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
        conv.bits = 32;
        p += 3;
    } else if (p[0] == L'l' && p[1] == L'l') {
        conv.bits = 64;
        p += 2;
    } else if (p[0] == L'h' && p[1] == L'h') {
        conv.bits = 8;
        p += 2;
    } else if (*p == L'h') {
        conv.bits = 16;
        ++p;
    } else if (*p == L'I' || *p == L'z' || *p == L't' || *p == L'j') {
        conv.bits = *p == L'j' ? 64 : static_cast<int>(sizeof(void*) * 8);
        ++p;
    } else if (*p == L'l' || *p == L'L' || *p == L'w') {
        ++p;  // long is 32-bit on Windows; l before s or c changes nothing in a wide format
    }
}

void AppendConversion(CString& out, Conversion& conv, ArgSource& args)
{
    switch (conv.type) {
    case L'd':
    case L'i': {
        long long v = 0;
        if (!args.NextSigned(conv, v))
            return;
        const bool negative = v < 0;
        const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(v)
                                                      : static_cast<unsigned long long>(v);
        AppendInteger(out, conv, magnitude, negative, 10, false);
        return;
    }
    case L'u':
    case L'x':
    case L'X':
    case L'o': {
        unsigned long long v = 0;
        if (!args.NextUnsigned(conv, v))
            return;
        const unsigned base = conv.type == L'u' ? 10 : (conv.type == L'o' ? 8 : 16);
        AppendInteger(out, conv, v, false, base, conv.type == L'X');
        return;
    }
    case L'p': {
        const void* ptr = nullptr;
        if (!args.NextPointer(ptr))
            return;
        Conversion hex = conv;
        hex.precision = static_cast<int>(sizeof(void*) * 2);
        hex.type = L'X';
        AppendInteger(out, hex, reinterpret_cast<UINT_PTR>(ptr), false, 16, true);
        return;
    }
    case L'c':
    case L'C': {
        WCHAR ch = 0;
        if (!args.NextChar(ch))
            return;
        AppendField(out, conv, nullptr, 0, &ch, 1, false);
        return;
    }
    case L's':
    case L'S': {
        LPCWSTR text = nullptr;
        if (!args.NextString(text))
            return;
        if (!text)
            text = L"(null)";
        int length = 0;
        while (text[length] && (conv.precision < 0 || length < conv.precision))
            ++length;
        AppendField(out, conv, nullptr, 0, text, length, false);
        return;
    }
    case L'e':
    case L'E':
    case L'f':
    case L'F':
    case L'g':
    case L'G': {
        double d = 0;
        if (args.NextDouble(d))
            AppendDouble(out, conv, d);
        return;
    }
    default:
        return;
    }
}

// Appends format with its conversions filled from args. An unknown conversion letter prints
// nothing and takes no argument; a missing or mistyped argument prints nothing.
void AppendFormatted(CString& out, LPCWSTR format, ArgSource& args)
{
    if (!format)
        return;
    LPCWSTR p = format;
    while (*p) {
        LPCWSTR literal = p;
        while (*p && *p != L'%')
            ++p;
        out.Append(literal, static_cast<int>(p - literal));
        if (!*p)
            break;
        ++p;
        if (*p == L'%') {
            out.AppendChar(L'%');
            ++p;
            continue;
        }
        Conversion conv;
        for (;; ++p) {
            if (*p == L'-') conv.left = true;
            else if (*p == L'0') conv.zero = true;
            else if (*p == L'+') conv.plus = true;
            else if (*p == L' ') conv.blank = true;
            else if (*p == L'#') conv.alternate = true;
            else break;
        }
        if (*p == L'*') {
            conv.width = args.NextInt();
            if (conv.width < 0) {
                conv.left = true;
                conv.width = -conv.width;
            }
            ++p;
        } else {
            conv.width = ParseNumber(p);
        }
        if (*p == L'.') {
            ++p;
            if (*p == L'*') {
                conv.precision = args.NextInt();
                ++p;
            } else {
                conv.precision = ParseNumber(p);
            }
        }
        ParseLengthPrefix(p, conv);
        if (!*p)
            break;
        conv.type = *p++;
        AppendConversion(out, conv, args);
    }
}

}  // namespace

void CString::FormatList(LPCWSTR format, const FormatArg* args, int count)
{
    CString out;
    ListSource source(args, count);
    AppendFormatted(out, format, source);
    *this = std::move(out);
}

// Formats into a separate string first: an argument may be this very string's text.
void CString::AppendFormatList(LPCWSTR format, const FormatArg* args, int count)
{
    CString out;
    ListSource source(args, count);
    AppendFormatted(out, format, source);
    Append(out);
}

void CString::FormatV(LPCWSTR format, va_list args)
{
    CString out;
    VaSource source(args);
    AppendFormatted(out, format, source);
    *this = std::move(out);
}

void CString::AppendFormatV(LPCWSTR format, va_list args)
{
    CString out;
    VaSource source(args);
    AppendFormatted(out, format, source);
    Append(out);
}

FormatArg::FormatArg(const CString& s) : m_kind(kString), m_bits(0)
{
    m_u.s = s.GetString();
}
