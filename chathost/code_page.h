// How the host's single-byte text is cut into characters. The host keeps its
// room text in the system code page, where one character takes one byte, two
// (the double-byte code pages of Japanese, Chinese and Korean) or up to four
// (UTF-8, code page 65001). The reader only ever converts the end of that
// text, so it must find where a character begins without reading the text
// from its start.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace zol {

struct CodePageLayout {
    enum class Kind {
        SingleByte,  // every byte is a character
        DoubleByte,  // a lead byte and the byte after it make one character
        Utf8,        // sequences of one to four bytes
        Other,       // anything else: only the start of the text is known to be safe
    };
    Kind kind = Kind::SingleByte;
    // Double-byte code pages: the bytes that begin a two-byte character.
    std::array<bool, 256> lead_byte{};

    // The most bytes one character takes.
    std::size_t max_char_bytes() const;
};

// Where converting may begin so that the converted text still ends with at
// least `chars` UTF-16 units of `bytes` (all of them when there are fewer),
// without starting inside a character. Looks at the end of the text only
// (see the definition for the one case where it reaches further back).
std::size_t tail_start(std::string_view bytes, std::size_t chars, const CodePageLayout& code_page);

// UTF-16 surrogate halves: a character outside the Basic Multilingual Plane
// is a high half followed by a low half.
constexpr bool is_high_surrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool is_low_surrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace zol
