// ReadChatText and LastChatLine over an in-memory chat room holding any
// bytes, in a single-byte, a double-byte or the UTF-8 code page, and the line
// sent back into that room. The input may start with "#cp=932\n" (the
// in-memory double-byte code page) or "#cp=65001\n" (UTF-8); without it the
// room is single-byte (ISO 8859-1). A following "#len=<digits>\n" makes the
// text window report that length instead of its own, as a host whose text
// changed between the two messages, or one that lies.
#include <algorithm>
#include <string>
#include <string_view>

#include "chathost/zol_chat.h"
#include "fuzz_input.h"
#include "tests/fakes/memory_host.h"

namespace {

struct Room {
    zol::MemoryHost host;
    zol::HostWindow text_window = 0;
    zol::HostWindow input_box = 0;

    explicit Room(zol::MemoryCodePage code_page) : host(std::move(code_page)) {
        using namespace zol_chat;
        auto frame = host.add_top_level(std::wstring(kFrameClass));
        auto client = host.add_child(frame, std::wstring(kMdiClientClass));
        auto room = host.add_child(client, std::wstring(kInnerWindowClass));
        text_window = host.add_child(room, std::wstring(kRoomTextClass));
        input_box = host.add_child(room, std::wstring(kInputBoxClass));
        host.add_child(room, std::wstring(kPeopleListClass));
        host.add_child(room, std::wstring(kIconClass));
        host.add_child(room, std::wstring(kStaticClass));
    }
};

// Takes "<prefix><digits>\n" off the front of the input.
bool take_number(std::string_view& input, std::string_view prefix, std::size_t& number) {
    if (input.substr(0, prefix.size()) != prefix) return false;
    const std::size_t end = input.find('\n');
    if (end == std::string_view::npos || end == prefix.size() || end - prefix.size() > 9) return false;
    std::size_t value = 0;
    for (std::size_t i = prefix.size(); i < end; ++i) {
        if (input[i] < '0' || input[i] > '9') return false;
        value = value * 10 + static_cast<std::size_t>(input[i] - '0');
    }
    number = value;
    input.remove_prefix(end + 1);
    return true;
}

// The tail worked out the long way, from the whole text converted.
std::wstring expected_tail(const zol::MemoryCodePage& code_page, std::string_view text, std::size_t reported) {
    using zol_chat::kChatTailLength;
    if (reported == 0 || reported > zol_chat::kMaxRoomTextLength) return L" ";
    // A text that fills the room left for it may be cut: read as nothing.
    if (text.size() >= reported * code_page.layout().max_char_bytes() + zol_chat::kGrowthRoom) return L" ";
    const std::size_t blanks = reported > text.size() ? reported - text.size() : 0;
    if (blanks >= kChatTailLength) return std::wstring(kChatTailLength, L' ');
    const std::size_t wanted = kChatTailLength - 1 - blanks;
    std::wstring all;
    code_page.decode(text, all);
    std::size_t from = all.size() > wanted ? all.size() - wanted : 0;
    if (from > 0 && zol::is_low_surrogate(all[from]) && zol::is_high_surrogate(all[from - 1])) ++from;
    return all.substr(from) + L'\0' + std::wstring(blanks, L' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // One room per code page for the whole run, reset for each input:
    // building the window tree costs more than the calls under test.
    static Room latin1(zol::MemoryCodePage::latin1());
    static Room double_byte(zol::MemoryCodePage::double_byte());
    static Room utf8(zol::MemoryCodePage::utf8());
    Room* room = &latin1;
    std::size_t code_page = 0;
    if (take_number(input, "#cp=", code_page)) {
        if (code_page == 932) room = &double_byte;
        if (code_page == 65001) room = &utf8;
    }
    std::size_t reported = 0;
    const bool lying = take_number(input, "#len=", reported);

    zol::MemoryHost& host = room->host;
    host.set_reported_length(room->text_window, lying ? std::optional<std::size_t>(reported) : std::nullopt);
    host.window_bytes(room->input_box).clear();
    host.window_bytes(room->text_window).assign(input);
    if (!lying) reported = input.size();

    const std::wstring tail = zol_chat::ReadChatText(host);
    FUZZ_CHECK(!tail.empty() && tail.size() <= zol_chat::kChatTailLength);
    // Converting only the end gives exactly the end of the whole conversion:
    // no character split, lost or doubled, whatever the bytes.
    FUZZ_CHECK(tail == expected_tail(host.memory_code_page(), input, reported));

    const std::wstring line = zol_chat::LastChatLine(tail);
    const std::size_t cr = tail.rfind(L'\r');
    if (cr == std::wstring::npos) {
        FUZZ_CHECK(line.empty());
    } else {
        FUZZ_CHECK(line == tail.substr(cr + 1));
    }

    // Sending the line puts exactly it into the input box and presses Enter.
    host.log.clear();
    zol_chat::SendChatLine(host, line);
    FUZZ_CHECK(host.log.size() == 2 && host.log[0] == L"set:" + line && host.log[1] == L"char:13");
    return 0;
}
