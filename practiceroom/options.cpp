#include "practiceroom/options.h"

#include "practiceroom/script.h"

namespace zol::practiceroom {

namespace {

// Plain decimal digits, at most `max`.
std::optional<std::uint32_t> parse_whole(std::wstring_view text, std::uint32_t max) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t ch : text) {
        if (ch < L'0' || ch > L'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(ch - L'0');
        if (value > max) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// An optional minus and plain decimal digits, at most `max` either way.
std::optional<int> parse_signed(std::wstring_view text, std::uint32_t max) {
    const bool negative = !text.empty() && text.front() == L'-';
    const auto magnitude = parse_whole(negative ? text.substr(1) : text, max);
    if (!magnitude) return std::nullopt;
    return negative ? -static_cast<int>(*magnitude) : static_cast<int>(*magnitude);
}

}  // namespace

ParsedOptions parse_options(const std::vector<std::wstring>& args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    auto fail = [&parsed](std::wstring why) {
        parsed.error = std::move(why);
        return parsed;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& option = args[i];
        if (option == L"--help") {
            o.help = true;
            continue;
        }
        if (option != L"--name" && option != L"--rooms" && option != L"--script" && option != L"--transcript" &&
            option != L"--seed" && option != L"--hang-after" && option != L"--quit-after" &&
            option != L"--windows" && option != L"--length-off") {
            return fail(L"unknown option \"" + option + L"\"");
        }
        if (i + 1 >= args.size()) return fail(option + L" needs a value");
        const std::wstring& value = args[++i];
        const std::wstring bad = L"bad value \"" + value + L"\" for " + option;

        if (option == L"--name") {
            if (!is_usable_name(value)) return fail(bad + L" (empty, or holds a colon or line break)");
            o.name = value;
        } else if (option == L"--rooms") {
            const auto n = parse_whole(value, kMaxRooms);
            if (!n) return fail(bad + L" (0 to " + std::to_wstring(kMaxRooms) + L")");
            o.rooms = static_cast<int>(*n);
        } else if (option == L"--script" || option == L"--transcript") {
            if (value.empty()) return fail(bad + L" (empty file name)");
            (option == L"--script" ? o.script_path : o.transcript_path) = value;
        } else if (option == L"--windows") {
            if (value != L"ansi" && value != L"unicode") return fail(bad + L" (ansi or unicode)");
            o.windows = value == L"ansi" ? WindowKind::Ansi : WindowKind::Unicode;
        } else if (option == L"--length-off") {
            const auto n = parse_signed(value, kMaxLengthOff);
            if (!n) return fail(bad + L" (a whole number, -" + std::to_wstring(kMaxLengthOff) + L" to " +
                                std::to_wstring(kMaxLengthOff) + L")");
            o.length_off = *n;
        } else if (option == L"--seed") {
            const auto n = parse_whole(value, UINT32_MAX);
            if (!n) return fail(bad + L" (0 to 4294967295)");
            o.seed = *n;
        } else {
            const auto ms = parse_seconds(value);
            if (!ms) return fail(bad + L" (seconds, e.g. 2.5)");
            (option == L"--hang-after" ? o.hang_after_ms : o.quit_after_ms) = *ms;
        }
    }
    return parsed;
}

std::wstring usage_text() {
    return L"practice-room: a chat room of your own to try zolspar.exe with. It stands in for the\n"
           L"chat client: zolspar.exe finds its room, reads what is said there and types lines\n"
           L"into it, and the room's dice service answers //roll-dice commands (and a bare\n"
           L"//roll, with two six-sided dice) as OnlineHost. Everything below can also be done\n"
           L"from the room's menus.\n"
           L"\n"
           L"usage: practice-room [--name NAME] [--rooms N] [--script FILE] [--transcript FILE]\n"
           L"                     [--seed N] [--hang-after SECONDS] [--quit-after SECONDS]\n"
           L"                     [--windows ansi|unicode] [--length-off N] [--help]\n"
           L"\n"
           L"  --name NAME            your screen name in the rooms (default proctor; no colon)\n"
           L"                         (menu: room > screen name)\n"
           L"  --rooms N              how many rooms are open at the start, 0 to 20 (default 1)\n"
           L"  --script FILE          plays other people's lines from a script file, timed\n"
           L"                         (menu: spar > play a script)\n"
           L"  --transcript FILE      adds every room line to the file as it appears, one\n"
           L"                         record a line: milliseconds, room, kind, text\n"
           L"                         (menu: spar > keep a transcript)\n"
           L"  --seed N               makes the dice roll the same way every time (0 to 4294967295)\n"
           L"  --hang-after SECONDS   stops answering after that long, as a chat client that hangs\n"
           L"  --quit-after SECONDS   closes itself after that long\n"
           L"  --windows ansi|unicode the kind of windows the room shows (default ansi, as the\n"
           L"                         chat client's)\n"
           L"  --length-off N         the room's text window tells its length N more (or fewer)\n"
           L"                         than it is, as a chat client that miscounts does\n"
           L"  --help                 this text\n"
           L"\n"
           L"A script is a text file (UTF-8, UTF-16 or the system's code page), one line each:\n"
           L"  <seconds after the line before> <screen name>: <message>\n"
           L"Blank lines and lines starting with # are skipped; seconds may have decimals.\n"
           L"For example:\n"
           L"  1    ShadowWyrm13: ready when u r\n"
           L"  3    lil kitsune: born ready\n"
           L"  0.5  lil kitsune: //roll-dice 3-sides92\n"
           L"The last line asks the dice service for three 92-sided dice; it answers about 0.2 s\n"
           L"later. spar > play the sample spar plays a longer one.\n";
}

bool is_usable_name(std::wstring_view name) {
    return !name.empty() && name.find_first_of(L":\r\n") == std::wstring_view::npos;
}

}  // namespace zol::practiceroom
