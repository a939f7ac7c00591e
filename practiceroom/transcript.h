// Records of the transcript file, one per room line, so tests outside the
// program can follow what appeared in which room and when. Portable.
//
// A record is "<ms>\t<room>\t<kind>\t<text>\n": milliseconds since the
// program started (monotonic clock), the room number (0 for the start
// record), the kind, and the text with tab, CR, LF and backslash written as
// \t \r \n \\ so that one record is always one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zol::practiceroom {

enum class TranscriptKind {
    Start,  // the program started; text names the user and the dice seed
    Enter,  // a room opened; text is its first line, the notice
    Line,   // any later line of a room, exactly as in the room's history
    Read,   // another program read the room's history; text is what it was handed (characters, or bytes
            // for single-byte windows)
};

std::wstring escape_transcript_text(std::wstring_view text);

std::wstring transcript_record(std::int64_t ms, int room, TranscriptKind kind, std::wstring_view text);

}  // namespace zol::practiceroom
