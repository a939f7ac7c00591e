#include "scanner/chat_scanner.h"

#include "chathost/zol_chat.h"

namespace zol {

std::optional<ChatLine> scan_tick(const std::wstring& tail, ScannerMemory& memory) {
    if (tail == memory.scanstarttext) return std::nullopt;  // nothing new since switched on
    if (tail.size() < 3) return std::nullopt;               // no room (the reader gives " ")
    // Blanks after the zero: the room's text shrank between the reader's two
    // messages. The last line then carries the zero and the blanks; raised,
    // it would be a message nobody wrote, and the clean read of the next
    // tick would raise the same line a second time (a dice result counted
    // and announced twice). That tick reads it afresh instead.
    if (tail.back() != L'\0') return std::nullopt;
    const std::wstring line = zol_chat::LastChatLine(tail);
    const std::size_t colon = line.find(L':');
    if (colon == std::wstring::npos) return std::nullopt;   // a room notice, not a chat line

    // Speaker up to the first colon; the message after the colon and its two
    // separators, without the line's last character (the zero the reader
    // leaves at the end). A line too short for that has an empty message.
    ChatLine chat;
    chat.who_said = line.substr(0, colon);
    const std::size_t from = colon + 3;
    if (line.size() > from + 1) chat.what_said = line.substr(from, line.size() - from - 1);

    if (chat.who_said == memory.oldwhosaid && chat.what_said == memory.oldwhatsaid) return std::nullopt;
    memory.oldwhosaid = chat.who_said;
    memory.oldwhatsaid = chat.what_said;
    return chat;
}

}  // namespace zol
