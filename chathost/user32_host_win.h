// The host seam bound to user32: the host client is a single-byte ("A")
// program, so every text crosses here in the system code page and is UTF-16
// on our side. Every message to a host window gives up after two seconds
// (abort-if-hung): a host that stops answering reads as no window, and the
// console keeps working.
#pragma once

#include <windows.h>

#include "chathost/host_windows.h"

namespace zol {

class User32Host final : public HostWindows {
public:
    static constexpr UINT kTimeoutMs = 2000;

    HostWindow find_top_level(std::wstring_view class_name) override;
    HostWindow find_child(HostWindow parent, HostWindow after, std::wstring_view class_name) override;
    std::optional<std::size_t> text_length(HostWindow window) override;
    std::optional<std::wstring> text(HostWindow window, std::size_t max_length) override;
    bool set_text(HostWindow window, std::wstring_view text) override;
    bool type_char(HostWindow window, wchar_t ch) override;
};

// Single-byte text in the system code page to UTF-16 and back.
std::wstring from_system_code_page(const char* text, std::size_t length);
std::string to_system_code_page(std::wstring_view text);

}  // namespace zol
