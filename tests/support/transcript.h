// The practice room's transcript: one record a line, "ms<TAB>room<TAB>kind<TAB>text".
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace zol::test {

struct TranscriptLine {
    long long ms = 0;
    int room = 0;
    std::wstring kind;
    std::wstring text;
};

// The records written so far; a record still being written (no final LF
// yet) is left for the next read.
std::vector<TranscriptLine> read_transcript(const std::wstring& path);

// The chat lines (kind "line") of the transcript.
std::vector<TranscriptLine> transcript_lines(const std::wstring& path);

// How many times other programs have read the room's text so far (the
// console's scanner reads the room it watches once a tick): a test that must
// see that nothing more happens waits for the reader's next looks.
std::size_t reads_of(const std::wstring& path);

// Waits until the room's text has been read `more` times after the first
// `since` reads.
bool wait_for_reads(const std::wstring& path, std::size_t since, std::size_t more,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Waits until the transcript holds a chat line satisfying the condition.
bool wait_for_line(const std::wstring& path, const std::function<bool(const TranscriptLine&)>& match,
                   std::chrono::milliseconds timeout);

}  // namespace zol::test
