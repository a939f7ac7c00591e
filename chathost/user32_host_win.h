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

    // Reads the system code page once: it changes only with a restart.
    User32Host();

    HostWindow find_top_level(std::wstring_view class_name) override;
    HostWindow find_child(HostWindow parent, HostWindow after, std::wstring_view class_name) override;
    const CodePageLayout& code_page() const override { return code_page_; }
    void decode(std::string_view bytes, std::wstring& into) override;
    std::optional<std::size_t> text_length(HostWindow window) override;
    std::optional<HostBytes> text_bytes(HostWindow window, std::size_t room) override;
    bool set_text(HostWindow window, std::wstring_view text) override;
    bool type_char(HostWindow window, wchar_t ch) override;

private:
    CodePageLayout code_page_;
    // The room's text arrives here on every read that is not nested in
    // another. It grows with the room's history and is never filled by us,
    // so only what the host wrote is ever touched.
    ReusableBuffer bytes_;
};

// The layout of the system code page, from GetACP and GetCPInfo.
CodePageLayout system_code_page_layout();

}  // namespace zol
