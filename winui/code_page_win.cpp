#include "winui/code_page_win.h"

#include <climits>

namespace zol::ui {

std::string to_code_page(std::wstring_view text, UINT code_page) {
    // The system counts in int.
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(code_page, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string bytes(static_cast<std::size_t>(n), '\0');
    const int written = WideCharToMultiByte(code_page, 0, text.data(), length, bytes.data(), n, nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return bytes;
}

bool from_code_page(std::string_view bytes, std::wstring& into, UINT code_page, DWORD flags) {
    into.clear();
    if (bytes.empty()) return true;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
    const int length = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(code_page, flags, bytes.data(), length, nullptr, 0);
    if (n <= 0) return false;
    into.resize(static_cast<std::size_t>(n));
    const int written = MultiByteToWideChar(code_page, flags, bytes.data(), length, into.data(), n);
    into.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return written > 0;
}

std::wstring from_code_page(std::string_view bytes, UINT code_page) {
    std::wstring text;
    from_code_page(bytes, text, code_page);
    return text;
}

}  // namespace zol::ui
