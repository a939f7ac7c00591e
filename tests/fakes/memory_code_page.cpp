#include "tests/fakes/memory_code_page.h"

namespace zol {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;  // what UTF-8 converters give for invalid bytes
constexpr wchar_t kDoubleByteDefault = 0x30FB;  // what double-byte converters give
constexpr unsigned kFirstIdeograph = 0x4E00;
constexpr unsigned kTrailCount = 188;  // 40..7E and 80..FC

bool is_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
unsigned lead_index(unsigned char b) { return b <= 0x9F ? b - 0x81u : b - 0xE0u + 31u; }
bool is_trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
unsigned trail_index(unsigned char b) { return b < 0x7F ? b - 0x40u : b - 0x41u; }
unsigned char lead_of(unsigned index) {
    return static_cast<unsigned char>(index < 31 ? 0x81 + index : 0xE0 + index - 31);
}
unsigned char trail_of(unsigned index) { return static_cast<unsigned char>(index < 63 ? 0x40 + index : 0x41 + index); }
constexpr unsigned kLeadCount = 60;

void append_utf16(unsigned code_point, std::wstring& out) {
    if (code_point < 0x10000) {
        out.push_back(static_cast<wchar_t>(code_point));
    } else {
        code_point -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (code_point >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (code_point & 0x3FF)));
    }
}

void decode_utf8(std::string_view bytes, std::wstring& out) {
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    while (i < bytes.size()) {
        const unsigned char b = at(i);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        // Length of the sequence and the range its second byte must fall in
        // (which rules out overlong forms, surrogates and values past 10FFFF).
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) length = 2;
        else if (b >= 0xE0 && b <= 0xEF) length = 3, low = b == 0xE0 ? 0xA0 : 0x80, high = b == 0xED ? 0x9F : 0xBF;
        else if (b >= 0xF0 && b <= 0xF4) length = 4, low = b == 0xF0 ? 0x90 : 0x80, high = b == 0xF4 ? 0x8F : 0xBF;
        if (length == 0) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        unsigned code_point = b & (0xFF >> (length + 1));
        std::size_t taken = 1;
        for (; taken < length && i + taken < bytes.size(); ++taken) {
            const unsigned char c = at(i + taken);
            const bool fits = taken == 1 ? (c >= low && c <= high) : (c & 0xC0) == 0x80;
            if (!fits) break;
            code_point = (code_point << 6) | (c & 0x3F);
        }
        if (taken < length) {
            out.push_back(kReplacement);  // the valid start of a sequence that breaks off
            i += taken;
            continue;
        }
        append_utf16(code_point, out);
        i += length;
    }
}

std::string encode_utf8(std::wstring_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned c = static_cast<unsigned>(text[i]) & 0xFFFF;
        if (is_high_surrogate(text[i]) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((static_cast<unsigned>(text[i + 1]) & 0xFFFF) - 0xDC00);
            ++i;
        } else if (is_high_surrogate(text[i]) || is_low_surrogate(text[i])) {
            c = kReplacement;
        }
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
    return out;
}

void decode_double_byte(std::string_view bytes, std::wstring& out) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(b);
        } else if (b >= 0xA1 && b <= 0xDF) {
            out.push_back(static_cast<wchar_t>(0xFF61 + (b - 0xA1)));
        } else if (is_lead(b) && i + 1 < bytes.size()) {
            const auto t = static_cast<unsigned char>(bytes[++i]);
            out.push_back(is_trail(t) ? static_cast<wchar_t>(kFirstIdeograph + lead_index(b) * kTrailCount +
                                                             trail_index(t))
                                      : kDoubleByteDefault);
        } else {
            out.push_back(kDoubleByteDefault);
        }
    }
}

std::string encode_double_byte(std::wstring_view text) {
    std::string out;
    for (wchar_t ch : text) {
        const auto c = static_cast<unsigned>(ch);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            out += static_cast<char>(0xA1 + (c - 0xFF61));
        } else if (c >= kFirstIdeograph && c < kFirstIdeograph + kLeadCount * kTrailCount) {
            const unsigned index = c - kFirstIdeograph;
            out += static_cast<char>(lead_of(index / kTrailCount));
            out += static_cast<char>(trail_of(index % kTrailCount));
        } else {
            out += '?';
        }
    }
    return out;
}

}  // namespace

MemoryCodePage MemoryCodePage::latin1() { return MemoryCodePage(CodePageLayout{}); }

MemoryCodePage MemoryCodePage::utf8() {
    CodePageLayout layout;
    layout.kind = CodePageLayout::Kind::Utf8;
    return MemoryCodePage(layout);
}

MemoryCodePage MemoryCodePage::double_byte() {
    CodePageLayout layout;
    layout.kind = CodePageLayout::Kind::DoubleByte;
    for (unsigned b = 0; b < 256; ++b) layout.lead_byte[b] = is_lead(static_cast<unsigned char>(b));
    return MemoryCodePage(layout);
}

std::string MemoryCodePage::encode(std::wstring_view text) const {
    switch (layout_.kind) {
    case CodePageLayout::Kind::Utf8: return encode_utf8(text);
    case CodePageLayout::Kind::DoubleByte: return encode_double_byte(text);
    default: break;
    }
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out += static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?';
    return out;
}

void MemoryCodePage::decode(std::string_view bytes, std::wstring& out) const {
    switch (layout_.kind) {
    case CodePageLayout::Kind::Utf8: decode_utf8(bytes, out); return;
    case CodePageLayout::Kind::DoubleByte: decode_double_byte(bytes, out); return;
    default: break;
    }
    for (char b : bytes) out.push_back(static_cast<unsigned char>(b));
}

}  // namespace zol
