#include "chathost/zol_chat.h"

#include <algorithm>
#include <new>

namespace zol_chat {

namespace {

bool is_chat_room(HostWindows& host, HostWindow candidate) {
    // The input box must stand after the text window; a room whose text
    // window is missing still counts (the reader then finds no text).
    HostWindow text_window = host.find_child(candidate, 0, kRoomTextClass);
    HostWindow input_box = host.find_child(candidate, text_window, kInputBoxClass);
    HostWindow people = host.find_child(candidate, 0, kPeopleListClass);
    HostWindow icon = host.find_child(candidate, 0, kIconClass);
    HostWindow label = host.find_child(candidate, 0, kStaticClass);
    return input_box && people && icon && label;
}

}  // namespace

HostWindow FindChatRoom(HostWindows& host) {
    HostWindow frame = host.find_top_level(kFrameClass);
    HostWindow client = host.find_child(frame, 0, kMdiClientClass);
    for (HostWindow candidate = host.find_child(client, 0, kInnerWindowClass); candidate != 0;
         candidate = host.find_child(client, candidate, kInnerWindowClass)) {
        if (is_chat_room(host, candidate)) return candidate;
    }
    return 0;
}

std::wstring ReadChatText(HostWindows& host) {
    const std::wstring nothing = L" ";
    HostWindow view = host.find_child(FindChatRoom(host), 0, L"richcntlreadonly");
    std::optional<std::size_t> length = host.text_length(view);
    if (!length || *length == 0) return nothing;
    if (*length > kMaxRoomTextLength) return nothing;
    try {
        std::optional<std::wstring> text = host.text(view, *length);
        if (!text) return nothing;
        // The buffer the host fills: n characters at most, its zero, and the
        // blanks of a text that shrank in between. A text that grew was cut
        // to n by the host; cut again in case the host ignored the limit.
        std::size_t n = *length;
        std::size_t used = std::min(text->size(), n);
        std::size_t whole = n + 1;
        std::size_t from = whole > kChatTailLength ? whole - kChatTailLength : 0;
        std::wstring tail;
        tail.reserve(whole - from);
        for (std::size_t i = from; i < whole; ++i) {
            if (i < used) tail.push_back((*text)[i]);
            else if (i == used) tail.push_back(L'\0');
            else tail.push_back(L' ');
        }
        return tail;
    } catch (const std::bad_alloc&) {
        return nothing;
    }
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
    std::optional<std::size_t> typed_length = host.text_length(input_box);
    if (!typed_length) return;  // not answering: treat as no room
    std::wstring typed;
    if (*typed_length > 0 && *typed_length <= kMaxRoomTextLength) {
        if (auto t = host.text(input_box, *typed_length)) typed = std::move(*t);
    }
    if (!host.set_text(input_box, line)) return;
    if (!host.type_char(input_box, L'\r')) return;
    if (!typed.empty()) host.set_text(input_box, typed);
}

bool is_digit(std::wstring_view text) { return text.size() == 1 && text[0] >= L'0' && text[0] <= L'9'; }

}  // namespace zol_chat
