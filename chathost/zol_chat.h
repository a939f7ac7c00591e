// zol_chat: the stateless operations on the host client's chat room. Every
// call looks the room up afresh through the HostWindows seam; nothing is
// cached, so the program always works on the chat room the user has in
// front at that moment.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "chathost/host_windows.h"

namespace zol_chat {

using zol::HostWindow;
using zol::HostBytes;
using zol::HostWindows;

// The host's window classes. The host matches them without regard to case.
inline constexpr std::wstring_view kFrameClass = L"AOL Frame25";
inline constexpr std::wstring_view kMdiClientClass = L"MDIClient";
inline constexpr std::wstring_view kInnerWindowClass = L"AOL Child";
inline constexpr std::wstring_view kRoomTextClass = L"RICHCNTLREADONLY";
inline constexpr std::wstring_view kInputBoxClass = L"RICHCNTL";
inline constexpr std::wstring_view kPeopleListClass = L"_AOL_Listbox";
inline constexpr std::wstring_view kIconClass = L"_AOL_Icon";
inline constexpr std::wstring_view kStaticClass = L"_AOL_Static";

// How much of the room text the scanner ever looks at, the terminating zero
// included.
inline constexpr std::size_t kChatTailLength = 500;

// A reported text length above this is not believed: it reads as no text.
inline constexpr std::size_t kMaxRoomTextLength = 16u * 1024 * 1024;

// Room a read leaves beyond the length the host reported, so that a text
// that grew between the two messages still arrives whole.
inline constexpr std::size_t kGrowthRoom = 4096;

// The chat room: the first of the host's inner windows, in stacking order,
// that has an input box after its text window, a people list, an icon and a
// label. 0 when the host or such a window is missing.
HostWindow FindChatRoom(HostWindows& host);

// The tail of the room text: the host's text converted from its code page,
// the zero the host writes after it, and a blank for every byte of the
// length it reported that it then left unwritten (a text that shrank between
// the two messages), at most the last kChatTailLength characters of all
// that. With an exact length that is the last kChatTailLength - 1 characters
// of the text and one zero. " " when there is no room, no text window, or the
// host does not answer.
//
// Only the end of the text is converted, and the tail never starts inside a
// character. A text that grew between the two messages is read whole, not
// cut at the old length (a cut could end in the middle of a line); in the
// rare case that it grew past kGrowthRoom the host is asked once more.
std::wstring ReadChatText(HostWindows& host);
// The same into `tail`, reusing its storage from tick to tick.
void ReadChatText(HostWindows& host, std::wstring& tail);

// What follows the last CR of the text, or the empty text when there is no
// CR. A LF after that CR stays at the start of the result.
std::wstring LastChatLine(std::wstring_view text);

// Posts one line in the chat room under the user's screen name, exactly as
// given. What the user had half typed in the room's input box is put back
// after the line has gone. Nothing happens when there is no room.
void SendChatLine(HostWindows& host, std::wstring_view line);

// True when the text is exactly one of the characters "0" to "9".
bool is_digit(std::wstring_view text);

}  // namespace zol_chat
