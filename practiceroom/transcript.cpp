#include "practiceroom/transcript.h"

namespace zol::practiceroom {

std::wstring escape_transcript_text(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t ch : text) {
        switch (ch) {
        case L'\t': out += L"\\t"; break;
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        case L'\\': out += L"\\\\"; break;
        default: out += ch; break;
        }
    }
    return out;
}

std::wstring transcript_record(std::int64_t ms, int room, TranscriptKind kind, std::wstring_view text) {
    const wchar_t* kind_word = L"line";
    switch (kind) {
    case TranscriptKind::Start: kind_word = L"start"; break;
    case TranscriptKind::Enter: kind_word = L"enter"; break;
    case TranscriptKind::Line: kind_word = L"line"; break;
    case TranscriptKind::Read: kind_word = L"read"; break;
    }
    std::wstring out = std::to_wstring(ms);
    out += L'\t';
    out += std::to_wstring(room);
    out += L'\t';
    out += kind_word;
    out += L'\t';
    out += escape_transcript_text(text);
    out += L'\n';
    return out;
}

}  // namespace zol::practiceroom
