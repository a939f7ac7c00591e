// The timed script that plays other people in the room, and the reading of
// a number of seconds shared with the command line. Portable.
//
// A script line is "<delay> <name>: <message>": the delay in seconds after
// the previous line (decimals allowed), blanks, the screen name up to the
// first colon, the colon, then the message. Blank lines and lines whose
// first non-blank character is '#' are ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zol::practiceroom {

struct ScriptLine {
    std::int64_t delay_ms = 0;  // after the previous line (or the start)
    std::wstring speaker;
    std::wstring message;
    int line_number = 0;
};

struct Script {
    std::vector<ScriptLine> lines;
    // One entry per skipped line: "script line N: <reason>".
    std::vector<std::wstring> problems;
};

// Lines end with LF, CR LF or a lone CR; lines are numbered from 1, counting
// comments and blank lines. Blanks around the name and the message are
// dropped. A bad line is reported and skipped, never fatal.
Script parse_script(std::wstring_view text);

// "2", "0.25", "1.", ".5": whole milliseconds (digits past the third
// decimal are dropped). Nothing for anything else (signs, exponents, blanks,
// more than a million seconds).
std::optional<std::int64_t> parse_seconds(std::wstring_view text);

}  // namespace zol::practiceroom
