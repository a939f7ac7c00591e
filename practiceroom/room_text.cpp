#include "practiceroom/room_text.h"

#include <vector>

namespace zol::practiceroom {

std::wstring room_name(int number) { return L"spar room " + std::to_wstring(number); }

std::wstring entered_notice(std::wstring_view room) {
    std::wstring out = L"*** you are in \"";
    out += room;
    out += L"\" ***";
    return out;
}

std::wstring chat_line(std::wstring_view speaker, std::wstring_view message) {
    std::wstring out(speaker);
    out += L":  ";
    out += message;
    return out;
}

std::wstring clean_posted_text(std::wstring_view raw) {
    while (!raw.empty() && (raw.back() == L'\r' || raw.back() == L'\n')) raw.remove_suffix(1);
    std::wstring out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const wchar_t ch = raw[i];
        if (ch != L'\r' && ch != L'\n') {
            out += ch;
            continue;
        }
        // A pasted line break is CR LF in an edit box: one break, one blank.
        if (ch == L'\r' && i + 1 < raw.size() && raw[i + 1] == L'\n') ++i;
        out += L' ';
    }
    return out;
}

void append_history_line(std::wstring& history, std::wstring_view line) {
    history += L'\r';
    history += line;
}

std::wstring view_line(std::wstring_view line, std::size_t max_line_chars) {
    if (line.size() <= max_line_chars) return std::wstring(line);
    std::wstring out(line.substr(0, max_line_chars));
    out += L'\u2026';
    return out;
}

std::wstring display_tail(std::wstring_view history, std::size_t max_chars, std::size_t max_line_chars) {
    // Collect lines from the newest back while they fit; every kept line
    // after the first costs two more characters for its CR LF.
    std::vector<std::wstring> kept;
    std::size_t used = 0;
    std::size_t end = history.size();  // end of the line looked at
    for (;;) {
        const std::size_t cr = end == 0 ? std::wstring_view::npos : history.rfind(L'\r', end - 1);
        const std::size_t begin = cr == std::wstring_view::npos ? 0 : cr + 1;
        std::wstring line = view_line(history.substr(begin, end - begin), max_line_chars);
        const std::size_t separator = kept.empty() ? 0 : 2;
        if (used + separator + line.size() > max_chars) {
            if (!kept.empty()) break;
            line.resize(max_chars);  // the newest line alone does not fit
        }
        used += separator + line.size();
        kept.push_back(std::move(line));
        if (cr == std::wstring_view::npos) break;
        end = cr;
    }
    std::wstring out;
    out.reserve(used);
    for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
        if (it != kept.rbegin()) out += L"\r\n";
        out += *it;
    }
    return out;
}

}  // namespace zol::practiceroom
