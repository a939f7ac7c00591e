#include "tests/support/windows_win.h"

#include "tests/support/wait.h"

namespace zol::test {

namespace {

bool ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR* answer) {
    return SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(kAnswerTime.count()), answer) != 0;
}

}  // namespace

HWND find_top_level(const wchar_t* cls, const wchar_t* caption, DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, caption); w; w = FindWindowExW(nullptr, w, cls, caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (pid == 0 || owner == pid) return w;
    }
    return nullptr;
}

HWND wait_for_window(const wchar_t* cls, const wchar_t* caption, DWORD pid, std::chrono::milliseconds timeout) {
    // A window is found as soon as it is created; it is ready once shown.
    HWND found = nullptr;
    const bool shown = wait_until(
        [&] {
            found = find_top_level(cls, caption, pid);
            return found != nullptr && IsWindowVisible(found);
        },
        timeout);
    return shown ? found : nullptr;
}

std::optional<std::wstring> read_text(HWND window) {
    DWORD_PTR length = 0;
    if (!ask(window, WM_GETTEXTLENGTH, 0, 0, &length)) return std::nullopt;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) return std::nullopt;
    text.resize(copied > length ? length : copied);
    return text;
}

std::wstring text_of(HWND window) { return read_text(window).value_or(L"<no answer>"); }

bool set_text(HWND window, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    return ask(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ignored);
}

bool posted_messages_handled(HWND edit, std::chrono::milliseconds timeout) {
    DWORD_PTR length = 0, selection = 0;
    if (!ask(edit, WM_GETTEXTLENGTH, 0, 0, &length) || length == 0 || !ask(edit, EM_GETSEL, 0, 0, &selection)) {
        return false;
    }
    // A selection other than the one it has now.
    const DWORD_PTR ends[][2] = {{0, 0}, {length, length}};
    const auto& mark = LOWORD(selection) == 0 && HIWORD(selection) == 0 ? ends[1] : ends[0];
    PostMessageW(edit, EM_SETSEL, mark[0], static_cast<LPARAM>(mark[1]));
    return wait_until(
        [&] {
            DWORD_PTR now = 0;
            return ask(edit, EM_GETSEL, 0, 0, &now) && LOWORD(now) == mark[0] && HIWORD(now) == mark[1];
        },
        timeout);
}

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool under_wine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

bool answers(HWND window, std::chrono::milliseconds limit) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(limit.count()), &ignored) != 0;
}

}  // namespace zol::test
