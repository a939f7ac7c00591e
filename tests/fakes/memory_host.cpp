#include "tests/fakes/memory_host.h"

#include <algorithm>
#include <cstring>

namespace zol {

bool same_class_name(std::wstring_view a, std::wstring_view b) {
    auto lower = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) { return lower(x) == lower(y); });
}

MemoryHost::Node* MemoryHost::node(HostWindow window) {
    if (window == 0 || window > nodes_.size()) return nullptr;
    Node& n = nodes_[window - 1];
    return n.alive ? &n : nullptr;
}

const MemoryHost::Node* MemoryHost::node(HostWindow window) const {
    return const_cast<MemoryHost*>(this)->node(window);
}

MemoryHost::Node* MemoryHost::answering(HostWindow window) {
    Node* n = node(window);
    return (n && !n->hung) ? n : nullptr;
}

HostWindow MemoryHost::add(HostWindow parent, std::wstring class_name, const std::wstring& text) {
    Node n;
    n.class_name = std::move(class_name);
    n.text = code_page_.encode(text);
    n.parent = parent;
    nodes_.push_back(std::move(n));
    return nodes_.size();
}

HostWindow MemoryHost::add_top_level(std::wstring class_name, const std::wstring& text) {
    HostWindow w = add(0, std::move(class_name), text);
    top_levels_.push_back(w);
    return w;
}

HostWindow MemoryHost::add_child(HostWindow parent, std::wstring class_name, const std::wstring& text) {
    if (!node(parent)) return 0;
    HostWindow w = add(parent, std::move(class_name), text);
    nodes_[parent - 1].children.push_back(w);
    return w;
}

std::vector<HostWindow>& MemoryHost::siblings_of(HostWindow window) {
    HostWindow parent = nodes_[window - 1].parent;
    return parent ? nodes_[parent - 1].children : top_levels_;
}

void MemoryHost::destroy(HostWindow window) {
    Node* n = node(window);
    if (!n) return;
    for (HostWindow child : std::vector<HostWindow>(n->children)) destroy(child);
    auto& sib = siblings_of(window);
    sib.erase(std::remove(sib.begin(), sib.end(), window), sib.end());
    nodes_[window - 1].alive = false;
}

void MemoryHost::bring_to_front(HostWindow window) {
    if (!node(window)) return;
    auto& sib = siblings_of(window);
    sib.erase(std::remove(sib.begin(), sib.end(), window), sib.end());
    sib.insert(sib.begin(), window);
}

void MemoryHost::send_to_back(HostWindow window) {
    if (!node(window)) return;
    auto& sib = siblings_of(window);
    sib.erase(std::remove(sib.begin(), sib.end(), window), sib.end());
    sib.push_back(window);
}

std::wstring MemoryHost::window_text(HostWindow window) const {
    std::wstring text;
    code_page_.decode(nodes_.at(window - 1).text, text);
    return text;
}

void MemoryHost::set_window_text(HostWindow window, std::wstring_view text) {
    nodes_.at(window - 1).text = code_page_.encode(text);
}

std::string& MemoryHost::window_bytes(HostWindow window) { return nodes_.at(window - 1).text; }

bool MemoryHost::exists(HostWindow window) const { return node(window) != nullptr; }

void MemoryHost::set_hung(HostWindow window, bool hung) {
    if (Node* n = node(window)) n->hung = hung;
}

void MemoryHost::set_reported_length(HostWindow window, std::optional<std::size_t> length) {
    if (Node* n = node(window)) n->reported_length = length;
}

void MemoryHost::on_text_read(HostWindow window, std::function<void()> hook) {
    if (Node* n = node(window)) n->text_read_hook = std::move(hook);
}

void MemoryHost::on_char(HostWindow window, std::function<void(wchar_t)> handler) {
    if (Node* n = node(window)) n->char_handler = std::move(handler);
}

HostWindow MemoryHost::find_top_level(std::wstring_view class_name) {
    for (HostWindow w : top_levels_)
        if (same_class_name(nodes_[w - 1].class_name, class_name)) return w;
    return 0;
}

HostWindow MemoryHost::find_child(HostWindow parent, HostWindow after, std::wstring_view class_name) {
    Node* p = node(parent);
    if (!p) return 0;
    auto it = p->children.begin();
    if (after != 0) {
        it = std::find(p->children.begin(), p->children.end(), after);
        if (it == p->children.end()) return 0;  // not a child of this parent
        ++it;
    }
    for (; it != p->children.end(); ++it)
        if (same_class_name(nodes_[*it - 1].class_name, class_name)) return *it;
    return 0;
}

std::optional<std::size_t> MemoryHost::text_length(HostWindow window) {
    Node* n = answering(window);
    if (!n) return std::nullopt;
    return n->reported_length ? *n->reported_length : n->text.size();
}

std::optional<HostBytes> MemoryHost::text_bytes(HostWindow window, std::size_t room) {
    Node* n = answering(window);
    if (!n) return std::nullopt;
    // Lent before the hook runs, as the real binding hands its buffer to the
    // host before the host answers: what the hook does meanwhile (a nested
    // read among it) must leave this buffer alone.
    HostBytes lease = read_buffer_.lend(room + 1);
    if (!lease) return std::nullopt;
    if (n->text_read_hook) {
        auto hook = std::move(n->text_read_hook);
        n->text_read_hook = nullptr;
        hook();
        n = answering(window);  // the hook may have destroyed or hung it
        if (!n) return std::nullopt;
    }
    // Cut by bytes, as a single-byte window cuts its text: a character may
    // lose its second byte when the room is too small.
    const std::size_t copied = std::min(room, n->text.size());
    std::memcpy(lease.data(), n->text.data(), copied);
    lease.data()[copied] = '\0';
    lease.set_length(copied);
    return lease;
}

void MemoryHost::decode(std::string_view bytes, std::wstring& into) {
    into.clear();
    code_page_.decode(bytes, into);
}

bool MemoryHost::set_text(HostWindow window, std::wstring_view text) {
    Node* n = answering(window);
    if (!n) return false;
    n->text = code_page_.encode(text);
    log.push_back(L"set:" + std::wstring(text));
    return true;
}

bool MemoryHost::type_char(HostWindow window, wchar_t ch) {
    Node* n = answering(window);
    if (!n) return false;
    log.push_back(L"char:" + std::to_wstring(static_cast<unsigned>(ch)));
    if (n->char_handler) {
        auto handler = n->char_handler;  // may destroy the window it belongs to
        handler(ch);
    }
    return true;
}

}  // namespace zol
