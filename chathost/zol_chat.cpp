#include "chathost/zol_chat.h"

#include <algorithm>
#include <new>
#include <optional>

#include "text/digits.h"

namespace zol_chat {

namespace {

// A chat room and its text window, which the room's test looks up anyway.
struct ChatRoom {
    HostWindow room = 0;
    HostWindow text = 0;  // may be 0 in a room
};

bool is_chat_room(HostWindows& host, HostWindow candidate, HostWindow& text_window) {
    // The input box must stand after the text window; a room whose text
    // window is missing still counts (the reader then finds no text).
    text_window = host.find_child(candidate, 0, kRoomTextClass);
    HostWindow input_box = host.find_child(candidate, text_window, kInputBoxClass);
    HostWindow people = host.find_child(candidate, 0, kPeopleListClass);
    HostWindow icon = host.find_child(candidate, 0, kIconClass);
    HostWindow label = host.find_child(candidate, 0, kStaticClass);
    return input_box && people && icon && label;
}

ChatRoom locate_chat_room(HostWindows& host) {
    HostWindow frame = host.find_top_level(kFrameClass);
    HostWindow client = host.find_child(frame, 0, kMdiClientClass);
    for (HostWindow candidate = host.find_child(client, 0, kInnerWindowClass); candidate != 0;
         candidate = host.find_child(client, candidate, kInnerWindowClass)) {
        HostWindow text = 0;
        if (is_chat_room(host, candidate, text)) return {candidate, text};
    }
    return {};
}

// A window's single-byte text as read by asking its length, then its text.
struct HostText {
    bool answered = false;  // false: the window is missing or did not answer
    bool whole = false;     // false: an unbelievable length, or a text that may be cut
    std::size_t reported = 0;  // the length the window reported, in bytes
    HostBytes bytes;           // what it wrote, held for as long as the read runs
};

HostText read_host_text(HostWindows& host, HostWindow window) {
    HostText read;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::optional<std::size_t> length = host.text_length(window);
        if (!length) return read;
        read.answered = true;
        read.reported = *length;
        if (*length > kMaxRoomTextLength) return read;
        read.bytes = {};  // the first attempt's buffer goes back before the second is lent
        if (*length == 0) {
            read.whole = true;
            return read;
        }
        // The host counts bytes, so its length and some room for growth
        // hold the text. A text that fills all of that room may go on beyond
        // it, and a cut text ends in the middle of a line: it is asked once
        // more, then with room for the widest characters too, for a window
        // that counted characters (a Unicode window does). Only the second
        // read pays for that room: copying another process's text costs in
        // proportion to the room offered, not only to the text.
        const std::size_t room = *length * (attempt == 0 ? 1 : host.code_page().max_char_bytes()) + kGrowthRoom;
        std::optional<HostBytes> bytes = host.text_bytes(window, room);
        if (!bytes) {
            read.answered = false;
            return read;
        }
        read.bytes = std::move(*bytes);
        if (read.bytes.text().size() < room) {
            read.whole = true;
            return read;
        }
    }
    return read;
}

}  // namespace

HostWindow FindChatRoom(HostWindows& host) { return locate_chat_room(host).room; }

void ReadChatText(HostWindows& host, std::wstring& tail) {
    tail.assign(1, L' ');  // no room, no text window, no answer
    // The room's first text window, found by the room's test: looking it up
    // again would cost every tick one more round trip to the window manager.
    const HostWindow view = locate_chat_room(host).text;
    try {
        const HostText read = read_host_text(host, view);
        if (!read.answered || !read.whole || read.reported == 0) return;
        // The buffer a single-byte reader fills: the text, its zero, and the
        // blanks the buffer was filled with where the host wrote nothing.
        const std::string_view text = read.bytes.text();
        const std::size_t blanks = read.reported > text.size() ? read.reported - text.size() : 0;
        tail.clear();
        if (blanks >= kChatTailLength) {
            tail.assign(kChatTailLength, L' ');
            return;
        }
        const std::size_t wanted = kChatTailLength - 1 - blanks;
        if (wanted > 0) {
            host.decode(text.substr(zol::tail_start(text, wanted, host.code_page())), tail);
            if (tail.size() > wanted) {
                std::size_t from = tail.size() - wanted;
                // Never the second half of a surrogate pair alone.
                if (zol::is_low_surrogate(tail[from]) && zol::is_high_surrogate(tail[from - 1])) ++from;
                tail.erase(0, from);
            }
        }
        tail.push_back(L'\0');
        tail.append(blanks, L' ');
    } catch (const std::bad_alloc&) {
        tail.assign(1, L' ');
    }
}

std::wstring ReadChatText(HostWindows& host) {
    std::wstring tail;
    ReadChatText(host, tail);
    return tail;
}

std::wstring LastChatLine(std::wstring_view text) {
    std::size_t cr = text.rfind(L'\r');
    if (cr == std::wstring_view::npos) return {};
    return std::wstring(text.substr(cr + 1));
}

void SendChatLine(HostWindows& host, std::wstring_view line) {
    HostWindow input_box = host.find_child(FindChatRoom(host), 0, kInputBoxClass);
    if (!input_box) return;
    // Keep what the user was typing: read it first, give it back afterwards.
    // A draft that cannot be read whole is not put back cut.
    std::wstring typed;
    try {
        const HostText read = read_host_text(host, input_box);
        if (!read.answered) return;  // not answering: treat as no room
        if (read.whole) host.decode(read.bytes.text(), typed);
    } catch (const std::bad_alloc&) {
        typed.clear();
    }
    if (!host.set_text(input_box, line)) return;
    if (!host.type_char(input_box, L'\r')) return;
    if (!typed.empty()) host.set_text(input_box, typed);
}

bool is_digit(std::wstring_view text) { return text.size() == 1 && zol::is_ascii_digit(text[0]); }

}  // namespace zol_chat
