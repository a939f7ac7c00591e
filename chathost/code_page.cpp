#include "chathost/code_page.h"

namespace zol {

std::size_t CodePageLayout::max_char_bytes() const {
    switch (kind) {
    case Kind::SingleByte: return 1;
    case Kind::DoubleByte: return 2;
    case Kind::Utf8: return 4;
    case Kind::Other: break;
    }
    return 4;
}

std::size_t tail_start(std::string_view bytes, std::size_t chars, const CodePageLayout& code_page) {
    if (chars == 0) return bytes.size();  // nothing wanted; the steps below would look past the end
    // Every character takes at most max_char_bytes and gives at least one
    // UTF-16 unit, so this many bytes from the end hold enough characters.
    const std::size_t width = code_page.max_char_bytes();
    if (chars > bytes.size() / width) return 0;
    std::size_t at = bytes.size() - chars * width;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };

    switch (code_page.kind) {
    case CodePageLayout::Kind::SingleByte:
        return at;
    case CodePageLayout::Kind::Utf8:
        // A byte 10xxxxxx continues a sequence; any other byte begins one,
        // and converters never let a sequence swallow it. Stepping back over
        // at most three continuation bytes reaches the sequence's first
        // byte; more than three in a row are stray bytes, each converted on
        // its own, so starting among them splits nothing.
        for (int step = 0; step < 3 && at > 0 && (byte(at) & 0xC0) == 0x80; ++step) --at;
        return at;
    case CodePageLayout::Kind::DoubleByte: {
        // Trail bytes share their values with lead bytes, so a byte alone
        // does not tell which it is. A byte outside the lead range always
        // ends a character (it is one, or it is a trail byte), so the byte
        // after it begins one; from there the lead-range bytes pair up.
        // An odd run of them right before `at` makes `at` the second byte
        // of a pair. CR, LF and every ASCII byte are outside the range, so
        // the run ends within a line of text; only a text made wholly of
        // lead-range bytes is walked to its start, which costs a test per
        // byte, far less than the copy that brought it here.
        std::size_t run_start = at;
        while (run_start > 0 && code_page.lead_byte[byte(run_start - 1)]) --run_start;
        if ((at - run_start) % 2 == 1) --at;
        return at;
    }
    case CodePageLayout::Kind::Other:
        break;
    }
    return 0;
}

}  // namespace zol
