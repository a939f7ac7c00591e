// Text between UTF-16, which our code keeps, and bytes in a code page: the
// system's (CP_ACP), in which ANSI windows such as the chat client's keep
// their text, or UTF-8, in which our files are written.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zol::ui {

// UTF-16 to bytes in `code_page`. A character the code page lacks becomes
// its default character ("?"); empty when the system cannot convert.
std::string to_code_page(std::wstring_view text, UINT code_page = CP_ACP);

// Bytes in `code_page` to UTF-16, written into `into`, whose room is reused
// (the host binding's reads go through here on every tick). False, with
// `into` empty, when the system cannot convert them; with
// MB_ERR_INVALID_CHARS in `flags`, also when they are no valid text in the
// code page.
bool from_code_page(std::string_view bytes, std::wstring& into, UINT code_page = CP_ACP, DWORD flags = 0);

// The same into a new string; empty when the system cannot convert.
std::wstring from_code_page(std::string_view bytes, UINT code_page = CP_ACP);

}  // namespace zol::ui
