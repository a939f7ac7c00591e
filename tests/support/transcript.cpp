#include "tests/support/transcript.h"

#include <cwchar>
#include <sstream>

#include "tests/support/files_win.h"
#include "tests/support/wait.h"
#include "winui/code_page_win.h"

namespace zol::test {

namespace {

std::wstring unescape(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size()) {
            const wchar_t c = text[++i];
            out.push_back(c == L't' ? L'\t' : c == L'r' ? L'\r' : c == L'n' ? L'\n' : c);
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

std::vector<TranscriptLine> read_transcript(const std::wstring& path) {
    std::vector<TranscriptLine> lines;
    const std::string bytes = read_file(path).value_or("");
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string record = bytes.substr(start, end - start);
        if (!record.empty() && record.back() == '\r') record.pop_back();
        std::wstringstream fields(ui::from_code_page(record, CP_UTF8));
        TranscriptLine line;
        std::wstring ms, room;
        if (!std::getline(fields, ms, L'\t') || !std::getline(fields, room, L'\t') ||
            !std::getline(fields, line.kind, L'\t')) {
            continue;
        }
        std::getline(fields, line.text);
        line.ms = std::wcstoll(ms.c_str(), nullptr, 10);
        line.room = static_cast<int>(std::wcstol(room.c_str(), nullptr, 10));
        line.text = unescape(line.text);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<TranscriptLine> transcript_lines(const std::wstring& path) {
    std::vector<TranscriptLine> lines;
    for (auto& l : read_transcript(path)) {
        if (l.kind == L"line") lines.push_back(std::move(l));
    }
    return lines;
}

std::size_t reads_of(const std::wstring& path) {
    std::size_t reads = 0;
    for (const auto& l : read_transcript(path)) reads += l.kind == L"read";
    return reads;
}

bool wait_for_reads(const std::wstring& path, std::size_t since, std::size_t more,
                    std::chrono::milliseconds timeout) {
    return wait_until([&] { return reads_of(path) >= since + more; }, timeout);
}

bool wait_for_line(const std::wstring& path, const std::function<bool(const TranscriptLine&)>& match,
                   std::chrono::milliseconds timeout) {
    return wait_until(
        [&] {
            for (const auto& l : transcript_lines(path)) {
                if (match(l)) return true;
            }
            return false;
        },
        timeout);
}

}  // namespace zol::test
