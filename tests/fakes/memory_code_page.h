// Code pages for the in-memory host: enough of a Windows code page to keep a
// window's text as the bytes a single-byte program would keep, and to convert
// them the way the system converter does.
#pragma once

#include <string>
#include <string_view>

#include "chathost/code_page.h"

namespace zol {

class MemoryCodePage {
public:
    // One byte, one character: U+0000 to U+00FF (ISO 8859-1). The default.
    static MemoryCodePage latin1();
    // UTF-8, as code page 65001. Invalid bytes convert to U+FFFD, one each,
    // and a character outside the Basic Multilingual Plane to a surrogate
    // pair.
    static MemoryCodePage utf8();
    // A small double-byte code page laid out like Shift-JIS (932): ASCII,
    // half-width katakana at A1 to DF, and two-byte characters whose lead
    // byte is 81 to 9F or E0 to FC and whose trail byte is 40 to 7E or 80 to
    // FC, standing for U+4E00 onwards. A lead byte takes the next byte with
    // it whatever that byte is; a pair that stands for nothing, a lead byte
    // at the very end and an unused single byte convert to U+30FB.
    static MemoryCodePage double_byte();

    const CodePageLayout& layout() const { return layout_; }

    // UTF-16 to bytes; a character the code page lacks becomes "?".
    std::string encode(std::wstring_view text) const;
    // Bytes to UTF-16, appended to `out`.
    void decode(std::string_view bytes, std::wstring& out) const;

private:
    explicit MemoryCodePage(const CodePageLayout& layout) : layout_(layout) {}
    CodePageLayout layout_;
};

}  // namespace zol
