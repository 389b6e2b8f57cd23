#include "classlib/Utf8.h"

namespace {

const unsigned long kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, unsigned long c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(CString& out, unsigned long c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out.AppendChar(static_cast<WCHAR>(0xD800 + (c >> 10)));
        out.AppendChar(static_cast<WCHAR>(0xDC00 + (c & 0x3FF)));
    } else {
        out.AppendChar(static_cast<WCHAR>(c));
    }
}

bool IsHighSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(unsigned long c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string WideToUtf8(LPCWSTR text, int length)
{
    std::string out;
    if (!text)
        return out;
    if (length < 0) {
        length = 0;
        while (text[length])
            ++length;
    }
    for (int i = 0; i < length; ++i) {
        unsigned long c = static_cast<WORD>(text[i]);
        if (IsHighSurrogate(c) && i + 1 < length && IsLowSurrogate(static_cast<WORD>(text[i + 1]))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<WORD>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

CString Utf8ToWide(const std::string& text)
{
    CString out;
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int extra;
        unsigned long c;
        if (b < 0x80) {
            extra = 0;
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            c = b & 0x07;
        } else {
            AppendUtf16(out, kReplacement);
            ++i;
            continue;
        }
        size_t k = 1;
        for (; k <= static_cast<size_t>(extra) && i + k < n; ++k) {
            const unsigned char t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80)
                break;
            c = (c << 6) | (t & 0x3F);
        }
        if (k != static_cast<size_t>(extra) + 1 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            AppendUtf16(out, kReplacement);
            i += k;
            continue;
        }
        AppendUtf16(out, c);
        i += k;
    }
    return out;
}
