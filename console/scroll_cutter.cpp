#include "scroll_cutter.h"

namespace zol {

namespace {

constexpr wchar_t kCr = L'\r';
constexpr wchar_t kBlank = L' ';
// The counter value beyond which a line is wrapped.
constexpr std::size_t kWrapAfter = 49;

}  // namespace

std::vector<LineSpan> cut_scroll_lines(std::wstring_view text) {
    std::vector<LineSpan> lines;
    const std::size_t n = text.size();
    if (n == 0) return lines;

    // The open line has its start set; its end is filled in when it closes.
    lines.push_back({1, 0});
    std::size_t count = 1;       // characters looked at since the last cut
    std::size_t last_blank = 0;  // position of the last blank passed, 0 for none

    auto close_line = [&lines](std::size_t end, std::size_t next_start) {
        lines.back().end = end;
        lines.push_back({next_start, 0});
    };

    for (std::size_t x = 1; x <= n; ++x) {
        const wchar_t ch = text[x - 1];
        if (ch == kBlank) last_blank = x;
        if (count > kWrapAfter) {
            if (last_blank >= lines.back().start) {
                close_line(last_blank, last_blank + 1);
            } else {
                // No blank in this line to wrap at: cut before the current
                // character rather than wrap at a blank an earlier line has
                // already posted.
                close_line(x - 1, x);
            }
            count = 1;
        }
        if (ch == kCr) {
            close_line(x + 1, x + 2);
            count = 1;
        }
        ++count;
    }
    lines.back().end = n;
    return lines;
}

std::wstring line_text(std::wstring_view text_now, LineSpan span) {
    std::wstring out;
    if (span.start == 0 || span.start > span.end || span.start > text_now.size()) return out;
    const std::size_t last = span.end < text_now.size() ? span.end : text_now.size();
    out.assign(text_now.substr(span.start - 1, last - span.start + 1));
    return out;
}

}  // namespace zol
