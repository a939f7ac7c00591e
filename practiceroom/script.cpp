#include "practiceroom/script.h"

#include "text/digits.h"

namespace zol::practiceroom {

namespace {

constexpr std::int64_t kMaxSeconds = 1'000'000;

bool is_blank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::wstring_view trim_blanks(std::wstring_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

// Why a line cannot be played, or nothing when `line` was filled in.
std::optional<std::wstring> read_line(std::wstring_view text, ScriptLine& line) {
    const std::size_t blank = text.find_first_of(L" \t");
    const std::wstring_view delay_text = text.substr(0, blank);
    const std::optional<std::int64_t> delay = parse_seconds(delay_text);
    if (!delay) return L"delay \"" + std::wstring(delay_text) + L"\" is not a number of seconds";
    if (blank == std::wstring_view::npos) return std::wstring(L"no \"name: message\" after the delay");

    const std::wstring_view rest = text.substr(blank);
    const std::size_t colon = rest.find(L':');
    if (colon == std::wstring_view::npos) return std::wstring(L"no colon after the screen name");
    const std::wstring_view speaker = trim_blanks(rest.substr(0, colon));
    const std::wstring_view message = trim_blanks(rest.substr(colon + 1));
    if (speaker.empty()) return std::wstring(L"empty screen name");
    if (message.empty()) return std::wstring(L"empty message");

    line.delay_ms = *delay;
    line.speaker = speaker;
    line.message = message;
    return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> parse_seconds(std::wstring_view text) {
    std::int64_t whole = 0;
    std::int64_t millis = 0;
    std::size_t digits = 0;
    std::size_t i = 0;
    for (; i < text.size() && is_ascii_digit(text[i]); ++i, ++digits) {
        whole = whole * 10 + (text[i] - L'0');
        if (whole > kMaxSeconds) return std::nullopt;
    }
    if (i < text.size() && text[i] == L'.') {
        ++i;
        std::int64_t scale = 100;
        for (; i < text.size() && is_ascii_digit(text[i]); ++i, ++digits) {
            millis += (text[i] - L'0') * scale;
            scale /= 10;
        }
    }
    if (digits == 0 || i != text.size()) return std::nullopt;
    return whole * 1000 + millis;
}

Script parse_script(std::wstring_view text) {
    Script script;
    int number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring_view raw = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) {
            const bool crlf = text[pos] == L'\r' && pos + 1 < text.size() && text[pos + 1] == L'\n';
            pos += crlf ? 2 : 1;
        }
        ++number;

        const std::wstring_view body = trim_blanks(raw);
        if (body.empty() || body.front() == L'#') continue;
        ScriptLine line;
        line.line_number = number;
        if (auto problem = read_line(body, line)) {
            script.problems.push_back(L"script line " + std::to_wstring(number) + L": " + *problem);
            continue;
        }
        script.lines.push_back(std::move(line));
    }
    return script;
}

}  // namespace zol::practiceroom
