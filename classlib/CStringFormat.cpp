// CString's printf-style formatting, limited to what the program formats: %s (a CString or an
// LPCWSTR; a null pointer prints "(null)"), %d, %u, %x and %X, each with an optional width that
// pads with blanks, or with zeros after a 0 flag (zeros for the integers only). Anything else
// after a percent sign is copied to the output as written and takes no argument, so a format
// asking for more than this shows up in the text instead of vanishing.
#include <utility>

#include "classlib/CString.h"

namespace {

// What one conversion asked for, parsed from the format.
struct Conversion {
    bool zero = false;
    int width = 0;
    WCHAR type = 0;
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

bool IsInteger(const FormatArg& a)
{
    return a.GetKind() == FormatArg::kSigned || a.GetKind() == FormatArg::kUnsigned;
}

// An integer argument read as the conversion's signedness, at its own width, as printf reads it.
long long AsSigned(const FormatArg& a)
{
    return a.GetKind() == FormatArg::kSigned ? a.GetSigned()
                                             : TruncateSigned(static_cast<long long>(a.GetUnsigned()), a.GetBits());
}

unsigned long long AsUnsigned(const FormatArg& a)
{
    return a.GetKind() == FormatArg::kSigned
        ? TruncateUnsigned(static_cast<unsigned long long>(a.GetSigned()), a.GetBits())
        : a.GetUnsigned();
}

void AppendRepeated(CString& out, WCHAR ch, int count)
{
    for (int i = 0; i < count; ++i)
        out.AppendChar(ch);
}

// Pads sign and body to the field width: zeros go between the sign and the digits.
void AppendField(CString& out, const Conversion& conv, bool negative, LPCWSTR body, int bodyLength,
                 bool zeroPadAllowed)
{
    const int signLength = negative ? 1 : 0;
    const int padding = conv.width - signLength - bodyLength;
    const bool zeros = conv.zero && zeroPadAllowed;
    if (padding > 0 && !zeros)
        AppendRepeated(out, L' ', padding);
    if (negative)
        out.AppendChar(L'-');
    if (padding > 0 && zeros)
        AppendRepeated(out, L'0', padding);
    out.Append(body, bodyLength);
}

void AppendInteger(CString& out, const Conversion& conv, unsigned long long magnitude, bool negative,
                   unsigned base, bool upper)
{
    const WCHAR* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    WCHAR reversed[24];  // 20 decimal digits at most
    int r = 0;
    do {
        reversed[r++] = digits[magnitude % base];
        magnitude /= base;
    } while (magnitude);
    WCHAR body[24];
    int n = 0;
    while (r > 0)
        body[n++] = reversed[--r];
    AppendField(out, conv, negative, body, n, true);
}

// A missing argument, or one of the wrong kind, prints nothing.
void AppendConversion(CString& out, const Conversion& conv, const FormatArg* arg)
{
    if (!arg)
        return;
    switch (conv.type) {
    case L'd': {
        if (!IsInteger(*arg))
            return;
        const long long v = AsSigned(*arg);
        const bool negative = v < 0;
        const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(v)
                                                      : static_cast<unsigned long long>(v);
        AppendInteger(out, conv, magnitude, negative, 10, false);
        return;
    }
    case L'u':
    case L'x':
    case L'X':
        if (!IsInteger(*arg))
            return;
        AppendInteger(out, conv, AsUnsigned(*arg), false, conv.type == L'u' ? 10 : 16, conv.type == L'X');
        return;
    default: {  // 's'
        if (arg->GetKind() != FormatArg::kString)
            return;
        LPCWSTR text = arg->GetString() ? arg->GetString() : L"(null)";
        int length = 0;
        while (text[length])
            ++length;
        AppendField(out, conv, false, text, length, false);
        return;
    }
    }
}

bool IsSupported(WCHAR type)
{
    return type == L's' || type == L'd' || type == L'u' || type == L'x' || type == L'X';
}

int ParseWidth(LPCWSTR& p)
{
    const int kMaxWidth = 100000000;  // a larger one would overflow; nothing asks for that much
    int value = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (value < kMaxWidth)
            value = value * 10 + (*p - L'0');
        ++p;
    }
    return value;
}

// Appends format with its conversions filled from args in order. A missing or mistyped argument
// prints nothing.
void AppendFormatted(CString& out, LPCWSTR format, const FormatArg* args, int count)
{
    if (!format)
        return;
    int next = 0;
    LPCWSTR p = format;
    while (*p) {
        LPCWSTR literal = p;
        while (*p && *p != L'%')
            ++p;
        out.Append(literal, static_cast<int>(p - literal));
        if (!*p)
            break;
        LPCWSTR start = p++;
        Conversion conv;
        if (*p == L'0') {
            conv.zero = true;
            ++p;
        }
        conv.width = ParseWidth(p);
        if (!IsSupported(*p)) {
            if (*p)
                ++p;
            out.Append(start, static_cast<int>(p - start));
            continue;
        }
        conv.type = *p++;
        AppendConversion(out, conv, next < count ? &args[next++] : nullptr);
    }
}

}  // namespace

// Formats into a separate string first: an argument may be this very string's text.
void CString::FormatList(LPCWSTR format, const FormatArg* args, int count)
{
    CString out;
    AppendFormatted(out, format, args, count);
    *this = std::move(out);
}

FormatArg::FormatArg(const CString& s) : m_kind(kString), m_bits(0)
{
    m_u.s = s.GetString();
}
