#include "chathost/user32_host_win.h"

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace zol {
namespace {

HWND as_hwnd(HostWindow w) { return reinterpret_cast<HWND>(w); }
HostWindow as_host(HWND w) { return reinterpret_cast<HostWindow>(w); }

// Without SMTO_BLOCK: while a call waits for a slow host, messages other
// programs send us (a screen reader, a test reading a label) are still
// answered. With it the console froze for the whole timeout on every call to
// a host that had just stopped answering, which it does for the first five
// seconds before the system calls the host hung and abort-if-hung takes over.
// Only messages sent to us run meanwhile, never posted ones such as clicks.
constexpr UINT kHostCallFlags = SMTO_ABORTIFHUNG | SMTO_NORMAL;

// SendMessageTimeout with abort-if-hung; nothing when the window is gone or
// did not answer within the timeout.
std::optional<LRESULT> send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!window || !IsWindow(window)) return std::nullopt;
    DWORD_PTR result = 0;
    SetLastError(0);
    if (!SendMessageTimeoutA(window, message, wparam, lparam, kHostCallFlags, User32Host::kTimeoutMs, &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

bool class_is(HWND window, const std::string& wanted) {
    char name[256];
    const int n = GetClassNameA(window, name, static_cast<int>(sizeof name));
    if (n <= 0) return false;
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, n, wanted.data(),
                          static_cast<int>(wanted.size())) == CSTR_EQUAL;
}

}  // namespace

std::wstring from_system_code_page(const char* text, std::size_t length) {
    if (length == 0) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), n);
    return wide;
}

std::string to_system_code_page(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return {};
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n, nullptr,
                        nullptr);
    return narrow;
}

HostWindow User32Host::find_top_level(std::wstring_view class_name) {
    const std::string cls = to_system_code_page(class_name);
    return as_host(FindWindowA(cls.c_str(), nullptr));
}

HostWindow User32Host::find_child(HostWindow parent, HostWindow after, std::wstring_view class_name) {
    HWND p = as_hwnd(parent);
    if (!p || !IsWindow(p)) return 0;
    const std::string cls = to_system_code_page(class_name);
    if (!after) return as_host(FindWindowExA(p, nullptr, cls.c_str(), nullptr));
    // Windows takes the first child of the class after `after`, whatever
    // `after`'s own class; Wine filters by class first and finds nothing when
    // `after` is of another class. Walking the children ourselves gives the
    // Windows meaning on both.
    HWND a = as_hwnd(after);
    if (GetParent(a) != p && GetAncestor(a, GA_PARENT) != p) return 0;
    for (HWND c = GetWindow(a, GW_HWNDNEXT); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (class_is(c, cls)) return as_host(c);
    }
    return 0;
}

std::optional<std::size_t> User32Host::text_length(HostWindow window) {
    // Asked in the wide form: Wine 8 never gives up on the single-byte
    // WM_GETTEXTLENGTH to a hung window, timeout or not, while the wide one
    // times out as it should. The single-byte text can take up to the code
    // page's widest character per UTF-16 unit, so the length is scaled by it
    // to size the buffer the single-byte text is read into.
    HWND w = as_hwnd(window);
    if (!w || !IsWindow(w)) return std::nullopt;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, kHostCallFlags, kTimeoutMs, &result)) {
        return std::nullopt;
    }
    CPINFO info{};
    const std::size_t widest = GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1 ? info.MaxCharSize : 1;
    if (result > SIZE_MAX / widest) return std::nullopt;
    return static_cast<std::size_t>(result) * widest;
}

std::optional<std::wstring> User32Host::text(HostWindow window, std::size_t max_length) {
    // The host counts single-byte characters; a buffer of max_length bytes
    // plus the zero holds what it may write, whatever it claimed before.
    if (max_length >= static_cast<std::size_t>(INT_MAX) - 1) return std::nullopt;
    std::vector<char> buffer;
    try {
        buffer.assign(max_length + 1, '\0');
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const auto r = send(as_hwnd(window), WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    if (!r) return std::nullopt;
    std::size_t copied = *r < 0 ? 0 : static_cast<std::size_t>(*r);
    if (copied > max_length) copied = max_length;
    return from_system_code_page(buffer.data(), copied);
}

bool User32Host::set_text(HostWindow window, std::wstring_view text) {
    const std::string narrow = to_system_code_page(text);
    return send(as_hwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(narrow.c_str())).has_value();
}

bool User32Host::type_char(HostWindow window, wchar_t ch) {
    char narrow = '?';
    if (ch < 0x80) {
        narrow = static_cast<char>(ch);
    } else {
        const std::string s = to_system_code_page(std::wstring_view(&ch, 1));
        if (s.size() == 1) narrow = s[0];
    }
    return send(as_hwnd(window), WM_CHAR, static_cast<unsigned char>(narrow), 1).has_value();
}

}  // namespace zol
