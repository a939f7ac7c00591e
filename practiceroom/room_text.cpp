#include "practiceroom/room_text.h"

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

std::wstring display_tail(std::wstring_view history, std::size_t max_chars) {
    // Walk the lines from the newest back while they fit; every kept line
    // after the first costs two more characters for its CR LF.
    std::size_t end = history.size();  // end of the line looked at
    std::size_t start = end;           // start of what is kept
    std::size_t used = 0;
    std::size_t kept_lines = 0;
    for (;;) {
        const std::size_t cr = end == 0 ? std::wstring_view::npos : history.rfind(L'\r', end - 1);
        const std::size_t line_begin = cr == std::wstring_view::npos ? 0 : cr + 1;
        const std::size_t cost = (end - line_begin) + (kept_lines > 0 ? 2 : 0);
        if (used + cost > max_chars) {
            // The newest line alone is too long: show its end.
            if (kept_lines == 0) return std::wstring(history.substr(end - max_chars, max_chars));
            break;
        }
        used += cost;
        ++kept_lines;
        start = line_begin;
        if (cr == std::wstring_view::npos) break;
        end = cr;
    }
    std::wstring out;
    out.reserve(used);
    for (wchar_t ch : history.substr(start)) {
        if (ch == L'\r') out += L"\r\n";
        else out += ch;
    }
    return out;
}

}  // namespace zol::practiceroom
