// How the room's text is built: the history a reader gets from the room's
// text window, the cleanup of a posted input box, and the bounded view the
// user sees. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zol::practiceroom {

// "spar room 3"
std::wstring room_name(int number);

// The first line of every room: a notice without a colon.
std::wstring entered_notice(std::wstring_view room);

// A chat line as it stands in the history: "<name>:  <message>".
std::wstring chat_line(std::wstring_view speaker, std::wstring_view message);

// The input box text as it gets posted: CRs and LFs at the end are dropped
// and every other line break (CR LF, a lone CR or a lone LF) becomes one
// blank, since the history keeps one line per CR. An empty result means
// nothing is posted.
std::wstring clean_posted_text(std::wstring_view raw);

// Appends one line to a history: a CR, then the line.
void append_history_line(std::wstring& history, std::wstring_view line);

// One history line as the user's view shows it: a line longer than
// `max_line_chars` is cut there and marked with an ellipsis.
std::wstring view_line(std::wstring_view line, std::size_t max_line_chars);

// The history as the user's view shows it: lines (each through view_line)
// separated by CR LF, no leading line break. Only whole lines from the end
// that fit in `max_chars` are kept; a newest line that alone does not fit is
// cut to `max_chars`.
std::wstring display_tail(std::wstring_view history, std::size_t max_chars, std::size_t max_line_chars);

}  // namespace zol::practiceroom
