// LastChatLine over the tail ReadChatText takes from an in-memory chat room
// holding any text, and the line sent back into that room. An input that
// starts with "#len=<digits>\n" makes the text window report that length
// instead of its own, as a host whose text changed between the two messages.
#include <algorithm>
#include <string>

#include "chathost/memory_host.h"
#include "chathost/zol_chat.h"
#include "fuzz_input.h"

namespace {

struct Room {
    zol::MemoryHost host;
    zol::HostWindow text_window = 0;
    zol::HostWindow input_box = 0;

    Room() {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text = zol_fuzz::widen(data, size);
    // One room for the whole run, reset for each input: building the window
    // tree costs more than the calls under test.
    static Room room;
    room.host.set_reported_length(room.text_window, std::nullopt);
    room.host.window_bytes(room.input_box).clear();
    bool lying = false;
    const std::wstring_view prefix = L"#len=";
    if (text.compare(0, prefix.size(), prefix) == 0) {
        const std::size_t end = text.find(L'\n');
        if (end != std::wstring::npos && end > prefix.size() && end - prefix.size() <= 9) {
            std::size_t length = 0;
            bool digits = true;
            for (std::size_t i = prefix.size(); i < end; ++i) {
                if (text[i] < L'0' || text[i] > L'9') digits = false;
                else length = length * 10 + static_cast<std::size_t>(text[i] - L'0');
            }
            if (digits) {
                lying = true;
                room.host.set_reported_length(room.text_window, length);
                text.erase(0, end + 1);
            }
        }
    }
    room.host.set_window_text(room.text_window, text);

    const std::wstring tail = zol_chat::ReadChatText(room.host);
    FUZZ_CHECK(!tail.empty() && tail.size() <= zol_chat::kChatTailLength);
    if (!lying) {
        // An honest host: the text and its zero, the last 500 characters.
        const std::wstring whole = text + L'\0';
        const std::size_t keep = std::min(whole.size(), zol_chat::kChatTailLength);
        FUZZ_CHECK(tail == (text.empty() ? L" " : whole.substr(whole.size() - keep)));
    }

    const std::wstring line = zol_chat::LastChatLine(tail);
    const std::size_t cr = tail.rfind(L'\r');
    if (cr == std::wstring::npos) {
        FUZZ_CHECK(line.empty());
    } else {
        FUZZ_CHECK(line == tail.substr(cr + 1));
    }
    FUZZ_CHECK(zol_chat::LastChatLine(text) == (text.rfind(L'\r') == std::wstring::npos
                                                     ? std::wstring()
                                                     : text.substr(text.rfind(L'\r') + 1)));

    // Sending the line puts exactly it into the input box and presses Enter.
    room.host.log.clear();
    zol_chat::SendChatLine(room.host, line);
    FUZZ_CHECK(room.host.log.size() == 2 && room.host.log[0] == L"set:" + line && room.host.log[1] == L"char:13");
    return 0;
}
