// Cuts the text of the scroll box into the lines the scroll command posts.
// Portable: no Windows headers, so the native test build covers it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zol {

// One posted line as a range of box positions: 1-based and inclusive. A span
// whose start lies past its end is the empty line. The end may lie past the
// end of the text (a CR in the last position claims the LF it expects);
// line_text() simply finds nothing there.
struct LineSpan {
    std::size_t start;
    std::size_t end;

    friend bool operator==(const LineSpan&, const LineSpan&) = default;
};

// The box is cut by counting characters: a line is wrapped at its last blank
// once about 50 characters have been looked at, and a CR ends a line together
// with the character after it (the LF). A run with no blank to wrap at is cut
// hard before the character at which the wrap is due, so every character of
// the text lands in exactly one line, in order. The last span reaches to the
// end of the text; after a final CR LF it is the empty line, which is posted
// as well.
//
// After a wrap at a blank the counter restarts where the wrap was due, not
// where the new line starts, so a word that straddles the wrap point rides
// along into the next line and that line can grow to 98 characters.
//
// An empty text gives no spans: the scroll command posts the advertisement
// instead of an empty scroll.
std::vector<LineSpan> cut_scroll_lines(std::wstring_view text);

// The line for a span, taken from the box text as it stands now: the shell
// reads the box again before every line it posts, so the user can still edit
// the part not yet posted. Positions past the end of the current text add
// nothing.
std::wstring line_text(std::wstring_view text_now, LineSpan span);

}  // namespace zol
