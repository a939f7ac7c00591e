#include "chathost/user32_host_win.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "winui/code_page_win.h"

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
// did not answer within the timeout. A window that is gone fails the send
// itself: asking IsWindow first would only add a round trip to the window
// manager (the wineserver under Wine) to every call of every tick.
std::optional<LRESULT> send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!window) return std::nullopt;
    DWORD_PTR result = 0;
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

HostWindow User32Host::find_top_level(std::wstring_view class_name) {
    const std::string cls = ui::to_code_page(class_name);
    return as_host(FindWindowA(cls.c_str(), nullptr));
}

HostWindow User32Host::find_child(HostWindow parent, HostWindow after, std::wstring_view class_name) {
    // No IsWindow first: a parent that is gone has no children to find, and
    // for another process's window that question is one more round trip to
    // the window manager, several times a tick.
    HWND p = as_hwnd(parent);
    if (!p) return 0;
    const std::string cls = ui::to_code_page(class_name);
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

CodePageLayout system_code_page_layout() {
    CodePageLayout layout;
    if (GetACP() == CP_UTF8) {
        layout.kind = CodePageLayout::Kind::Utf8;
        return layout;
    }
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info)) {
        layout.kind = CodePageLayout::Kind::Other;  // convert from the start: slow but never wrong
        return layout;
    }
    if (info.MaxCharSize == 1) return layout;
    if (info.MaxCharSize != 2) {
        layout.kind = CodePageLayout::Kind::Other;
        return layout;
    }
    layout.kind = CodePageLayout::Kind::DoubleByte;
    // Pairs of inclusive ranges, ended by a pair of zeros.
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1] && b < 256; ++b) layout.lead_byte[b] = true;
    }
    return layout;
}

User32Host::User32Host() : code_page_(system_code_page_layout()) {}

void User32Host::decode(std::string_view bytes, std::wstring& into) { ui::from_code_page(bytes, into); }

std::optional<std::size_t> User32Host::text_length(HostWindow window) {
    // Asked in the wide form only. The single-byte WM_GETTEXTLENGTH to
    // another process's window is never sent: Wine 8 answers it by fetching
    // the window's whole text in the wide form with no timeout, so a host
    // that stops answering at that moment would hold the console for good,
    // and the whole text would cross twice on every tick.
    //
    // An ANSI window, as the host's are, answers the wide form with its own
    // count, the bytes of its single-byte text (the system passes its answer
    // through; Windows documents such an answer as possibly larger than the
    // characters, which it is): the exact length. A Unicode window answers
    // with UTF-16 units, which on a multi-byte code page may be fewer than
    // its bytes; the reader then finds its text filling the room it offered
    // and asks once more with room for the widest characters.
    HWND w = as_hwnd(window);
    if (!w) return std::nullopt;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, kHostCallFlags, kTimeoutMs, &length)) return std::nullopt;
    return static_cast<std::size_t>(length);
}

std::optional<HostBytes> User32Host::text_bytes(HostWindow window, std::size_t room) {
    // WM_GETTEXT takes the buffer's size as a WPARAM, but Wine converts
    // through a wide buffer of twice as many bytes, counted in an int.
    if (room >= static_cast<std::size_t>(INT_MAX / 2) - 1) return std::nullopt;
    const std::size_t size = room + 1;
    // Held until the caller is done with the text: while the host answers,
    // messages sent to us are handled, and any read they make gets a buffer
    // of its own rather than this one.
    HostBytes lease = bytes_.lend(size);
    if (!lease) return std::nullopt;
    char* const buffer = lease.data();
    buffer[0] = '\0';
    const auto r = send(as_hwnd(window), WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer));
    if (!r) return std::nullopt;
    std::size_t copied = *r < 0 ? 0 : std::min(static_cast<std::size_t>(*r), room);
    // The count and the zero should agree; where they do not, the zero the
    // host wrote is where its text ends.
    if (buffer[copied] != '\0') {
        if (const void* zero = std::memchr(buffer, 0, copied)) {
            copied = static_cast<std::size_t>(static_cast<const char*>(zero) - buffer);
        }
    }
    lease.set_length(copied);
    return lease;
}

bool User32Host::set_text(HostWindow window, std::wstring_view text) {
    const std::string narrow = ui::to_code_page(text);
    return send(as_hwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(narrow.c_str())).has_value();
}

bool User32Host::type_char(HostWindow window, wchar_t ch) {
    char narrow = '?';
    if (ch < 0x80) {
        narrow = static_cast<char>(ch);
    } else {
        const std::string s = ui::to_code_page(std::wstring_view(&ch, 1));
        if (s.size() == 1) narrow = s[0];
    }
    // As the keyboard would type it, but with no key behind it: lParam 0.
    return send(as_hwnd(window), WM_CHAR, static_cast<unsigned char>(narrow), 0).has_value();
}

}  // namespace zol
