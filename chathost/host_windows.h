// The seam between this program and the host chat client: the few window
// operations the program relies on, and nothing else. Everything that reads
// or writes the host goes through one HostWindows, so the same code runs on
// the real host (user32) and on an in-memory window tree in the tests.
//
// Contract for implementations:
// - A HostWindow of 0 is "no window". Every operation handed 0 or a window
//   that no longer exists behaves as if the window were not there: lookups
//   give 0, text_length and text_bytes give nothing, set_text and type_char
//   do nothing and give false. A window that does not answer in time gives
//   nothing and false the same way, but lookups still find it: they ask the
//   window manager, not the window.
// - Class names match without regard to ASCII case; a prefix of a class name
//   is another class.
// - find_child walks the direct children of a parent in child order (topmost
//   first). With `after` 0 it starts at the first child; otherwise at the
//   child standing right after `after`, whatever `after`'s own class is (the
//   Windows meaning, which Wine does not give by itself), and an `after` that
//   is not a child of `parent` finds nothing. A parent of 0 has no children:
//   the desktop is never searched for them.
// - The cases in tests/contract/ pin this down; both implementations pass
//   them.
// - The host's text is single-byte text in its code page (the system code
//   page for the real host). text_length and text_bytes hand it over as the
//   host gives it; code_page and decode say how to cut it into characters
//   and convert it to UTF-16. Everything else is UTF-16 here, converted at
//   the implementation.
// - text_bytes hands the bytes over in a buffer the caller holds for as long
//   as it reads them (a lease). The implementation keeps that buffer and
//   lends it again on the next call, so reading the room twice a second
//   allocates nothing once it has grown to the room's size; a call made
//   while the buffer is still lent (nested inside another read, from a
//   message handled while that read waited for the host) gets a buffer of
//   its own. decode writes into the caller's string. So calls may nest: none
//   frees, grows or overwrites what a call further out is still using.
// - Nothing is cached: every call asks the host afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chathost/code_page.h"
#include "chathost/reusable_buffer.h"

namespace zol {

using HostWindow = std::uintptr_t;

// Bytes a host window wrote, in a buffer lent to the caller: text() is what
// the window wrote before its zero.
using HostBytes = ReusableBuffer::Lease;

class HostWindows {
public:
    virtual ~HostWindows() = default;

    // First top-level window of the class, or 0.
    virtual HostWindow find_top_level(std::wstring_view class_name) = 0;

    // First direct child of `parent` of the class standing after `after`
    // (0: from the first child), or 0.
    virtual HostWindow find_child(HostWindow parent, HostWindow after, std::wstring_view class_name) = 0;

    // The host's code page: how its single-byte text is cut into characters.
    virtual const CodePageLayout& code_page() const = 0;

    // The single-byte text converted to UTF-16 into `into`, replacing what
    // it held and keeping its storage (invalid bytes give what the system's
    // converter gives for them; nothing fails).
    virtual void decode(std::string_view bytes, std::wstring& into) = 0;

    // The length the window reports for its single-byte text, in bytes (a
    // window that is not single-byte may count characters instead). It may
    // be wrong: callers must not trust it for more than sizing a read.
    virtual std::optional<std::size_t> text_length(HostWindow window) = 0;

    // The window's single-byte text, as WM_GETTEXT gives it with room for
    // `room` bytes and the zero: at most `room` bytes, what the window wrote
    // before its zero. Nothing when the window is missing or does not answer
    // (or there is no memory for the room).
    virtual std::optional<HostBytes> text_bytes(HostWindow window, std::size_t room) = 0;

    // Replaces the window's text; false when it did not happen.
    virtual bool set_text(HostWindow window, std::wstring_view text) = 0;

    // Types one character into the window, as WM_CHAR does; false when the
    // window is missing or did not answer.
    virtual bool type_char(HostWindow window, wchar_t ch) = 0;
};

}  // namespace zol
