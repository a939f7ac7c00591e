// An in-memory window tree that behaves like the Windows one as far as the
// HostWindows contract goes. The tests build host clients with it, and it can
// misbehave on request the ways a real host can (hang, report wrong lengths,
// change its text between two messages, vanish).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chathost/host_windows.h"
#include "tests/fakes/memory_code_page.h"

namespace zol {

class MemoryHost : public HostWindows {
public:
    // Window texts are kept as bytes in `code_page`, as a single-byte host
    // keeps them in the system code page.
    explicit MemoryHost(MemoryCodePage code_page = MemoryCodePage::latin1()) : code_page_(std::move(code_page)) {}

    // Building the tree. Children are appended at the bottom of the child
    // order, as Windows does with a newly created window.
    HostWindow add_top_level(std::wstring class_name, const std::wstring& text = {});
    HostWindow add_child(HostWindow parent, std::wstring class_name, const std::wstring& text = {});
    void destroy(HostWindow window);           // the window and its children vanish
    void bring_to_front(HostWindow window);    // first in its parent's child order
    void send_to_back(HostWindow window);      // last in its parent's child order

    // Direct access for tests, bypassing the faults below: the text as the
    // code page converts it, and the bytes themselves.
    std::wstring window_text(HostWindow window) const;
    void set_window_text(HostWindow window, std::wstring_view text);
    std::string& window_bytes(HostWindow window);
    bool exists(HostWindow window) const;
    const MemoryCodePage& memory_code_page() const { return code_page_; }

    // Faults.
    void set_hung(HostWindow window, bool hung);                  // messages time out
    void set_reported_length(HostWindow window, std::optional<std::size_t> length);  // a lying WM_GETTEXTLENGTH
    // Runs inside the next text_bytes on that window, once its buffer has
    // been lent and before the text is copied: a host whose text changes
    // between the two messages, or a message handled while the read waits
    // (which may read the host itself, nested).
    void on_text_read(HostWindow window, std::function<void()> hook);
    // What typing a character does (the host posts the input box's line).
    void on_char(HostWindow window, std::function<void(wchar_t)> handler);

    // Every set_text and type_char that reached a window, in order, for
    // assertions: "set:<text>" and "char:<code>".
    std::vector<std::wstring> log;

    HostWindow find_top_level(std::wstring_view class_name) override;
    HostWindow find_child(HostWindow parent, HostWindow after, std::wstring_view class_name) override;
    const CodePageLayout& code_page() const override { return code_page_.layout(); }
    void decode(std::string_view bytes, std::wstring& into) override;
    std::optional<std::size_t> text_length(HostWindow window) override;
    std::optional<HostBytes> text_bytes(HostWindow window, std::size_t room) override;
    bool set_text(HostWindow window, std::wstring_view text) override;
    bool type_char(HostWindow window, wchar_t ch) override;

private:
    struct Node {
        std::wstring class_name;
        std::string text;  // in code_page_
        HostWindow parent = 0;
        std::vector<HostWindow> children;
        bool alive = true;
        bool hung = false;
        std::optional<std::size_t> reported_length;
        std::function<void()> text_read_hook;
        std::function<void(wchar_t)> char_handler;
    };
    Node* node(HostWindow window);
    const Node* node(HostWindow window) const;
    Node* answering(HostWindow window);
    HostWindow add(HostWindow parent, std::wstring class_name, const std::wstring& text);
    std::vector<HostWindow>& siblings_of(HostWindow window);

    // Handles are indexes + 1 and never reused, so a destroyed window stays
    // "not found" even if new windows appear.
    std::vector<Node> nodes_;
    std::vector<HostWindow> top_levels_;
    MemoryCodePage code_page_;
    // The buffer text_bytes lends, reused as the real binding's is.
    ReusableBuffer read_buffer_;
};

// Class names compare without regard to ASCII case, as window classes do.
bool same_class_name(std::wstring_view a, std::wstring_view b);

}  // namespace zol
