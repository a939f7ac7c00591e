#include "tests/support/input_win.h"

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/wait.h"
#include "tests/support/windows_win.h"
#include "winui/code_page_win.h"
#include "winui/win_ui.h"

namespace zol::test {

using namespace std::chrono_literals;

namespace {

// Absolute pointer positions are given in 0..65535 over the virtual desktop.
// The scaling differs by one unit between systems, so the position is
// checked and nudged until the pointer stands on the wanted pixel.
LONG normalised(LONG offset, int extent) {
    if (extent <= 1) return 0;
    const long long n = (static_cast<long long>(offset) * 65536 + extent / 2) / extent;
    return static_cast<LONG>(std::clamp(n, 0LL, 65535LL));
}

void send_move(LONG dx, LONG dy) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &in, sizeof in);
}

INPUT key_input(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

HWND thread_window(HWND window, HWND GUITHREADINFO::*field) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.*field;
}

bool shows(POINT at, HWND window) {
    HWND hit = WindowFromPoint(at);
    return hit && (hit == window || IsChild(window, hit));
}

// "Edit \"text\"", for a report.
std::string describe(HWND window) {
    if (!window) return "nothing";
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, 64);
    return ui::to_code_page(cls, CP_UTF8) + " \"" + ui::to_code_page(text_of(window), CP_UTF8) + "\"";
}

// The visible top-level windows from the top down, for a report.
std::string stacking() {
    std::string order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsWindowVisible(w)) continue;
        if (!order.empty()) order += ", ";
        order += describe(w);
        if (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) order += " (topmost)";
    }
    return order;
}

// Two bursts at one spot within the double-click time would make one
// double click of the last click of the one and the first of the next, which
// is not what two separate calls mean. A thread pairs its own clicks,
// whatever other windows were clicked in between, so every recent click at
// the spot counts. (A title bar takes such a pair as a double click and,
// under Wine, does not activate its window.)
struct Click {
    POINT at;
    ULONGLONG tick;
};
std::vector<Click> g_unpaired_clicks;

ULONGLONG pairing_time() { return GetDoubleClickTime() + 50; }

void wait_out_double_click(POINT at) {
    const ULONGLONG now = GetTickCount64();
    std::erase_if(g_unpaired_clicks, [&](const Click& c) { return now - c.tick >= pairing_time(); });
    for (const Click& c : g_unpaired_clicks) {
        if (std::abs(at.x - c.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
            std::abs(at.y - c.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pairing_time() - (now - c.tick)));
            return;
        }
    }
}

// After an even count the last click was the second of a double click and
// pairs with nothing.
void note_clicks(POINT at, int count) {
    if (count % 2) g_unpaired_clicks.push_back(Click{at, GetTickCount64()});
}

}  // namespace

POINT centre_of(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Moves the pointer to `at` and gives the absolute coordinates that put it
// there exactly.
std::pair<LONG, LONG> place_pointer(POINT at) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    LONG dx = normalised(at.x - left, width);
    LONG dy = normalised(at.y - top, height);
    for (int attempt = 0; attempt < 4; ++attempt) {
        send_move(dx, dy);
        POINT now{};
        // The move is applied when the input is processed, which is at once
        // for the cursor position; a short wait covers a loaded machine.
        wait_until([&] { return GetCursorPos(&now) && now.x == at.x && now.y == at.y; }, 200ms);
        if (now.x == at.x && now.y == at.y) break;
        dx = std::clamp<LONG>(dx + (at.x - now.x) * 65536 / std::max(width, 1), 0, 65535);
        dy = std::clamp<LONG>(dy + (at.y - now.y) * 65536 / std::max(height, 1), 0, 65535);
    }
    return {dx, dy};
}

void move_pointer(POINT at) { place_pointer(at); }

void click_at(POINT at, int count) {
    wait_out_double_click(at);
    const auto [dx, dy] = place_pointer(at);
    // All in one call, so they reach the queue together, well inside the
    // double-click time and at one spot. Each button carries the spot as
    // well: under Wine the X server reports the pointer's earlier moves back
    // some time later, and on a loaded machine such a late report could move
    // the pointer off the spot between the move and the buttons. (A move to
    // where the pointer already is does not part the clicks of a double
    // click.)
    std::vector<INPUT> inputs;
    for (int i = 0; i < count; ++i) {
        for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dx = dx;
            in.mi.dy = dy;
            in.mi.dwFlags = flag | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
            inputs.push_back(in);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    note_clicks(at, count);
}

Outcome click_on(HWND window, int count) {
    if (!window || !IsWindowVisible(window)) return Outcome::failure("no visible window to click");
    const POINT at = centre_of(window);
    move_pointer(at);
    // A tooltip shown for the control the pointer left goes once its window
    // has seen the pointer move.
    if (!wait_until([&] { return shows(at, window); }, 2s)) {
        return Outcome::failure("the point (" + std::to_string(at.x) + ", " + std::to_string(at.y) + ") shows " +
                                describe(WindowFromPoint(at)) + ", not " + describe(window));
    }
    click_at(at, count);
    return Outcome::success();
}

Outcome activate_by_click(HWND window, POINT at) {
    // Windows coming and going in front can still be being stacked: as in
    // click_on, the click waits until the point shows the window.
    if (!wait_until([&] { return shows(at, window); }, 2s)) {
        return Outcome::failure("the point shows " + describe(WindowFromPoint(at)) + "; stacked from the top: " +
                                stacking());
    }
    click_at(at);
    if (!wait_until([&] { return GetForegroundWindow() == window; }, 3s)) {
        return Outcome::failure("not in front after a click into it; in front: " + describe(GetForegroundWindow()));
    }
    return Outcome::success();
}

Outcome bring_to_front(HWND window) {
    SetForegroundWindow(window);
    if (!wait_until([&] { return GetForegroundWindow() == window; }, 3s)) {
        return Outcome::failure("not in front; in front: " + describe(GetForegroundWindow()));
    }
    return Outcome::success();
}

std::optional<POINT> menu_bar_item_point(HWND window, const std::vector<std::wstring>& captions, int index) {
    RECT r{};
    if (!GetWindowRect(window, &r) || index < 0 || static_cast<std::size_t>(index) >= captions.size()) {
        return std::nullopt;
    }
    auto hit = [&](LONG x, LONG y) {
        DWORD_PTR code = 0;
        return SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &code) &&
               code == HTMENU;
    };
    // The bar: its first row and its left end, a little way down the window.
    const LONG probe_x = r.left + (r.right - r.left) / 2;
    LONG top = r.top;
    while (top < r.bottom && !hit(probe_x, top)) ++top;
    if (top >= r.bottom) return std::nullopt;
    LONG bottom = top;
    while (bottom + 1 < r.bottom && hit(probe_x, bottom + 1)) ++bottom;
    const LONG y = (top + bottom) / 2;
    LONG left = r.left;
    while (left < r.right && !hit(left, y)) ++left;

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const ui::Font font(CreateFontIndirectW(&metrics.lfMenuFont));
    HDC dc = GetDC(nullptr);
    // Each item is its caption's width and 12 pixels of space.
    constexpr LONG kItemSpace = 12;
    LONG x = left;
    LONG width = 0;
    {
        const ui::Selection menu_font(dc, font.get());
        for (int i = 0; i <= index; ++i) {
            x += width;
            RECT text{0, 0, 0, 0};
            DrawTextW(dc, captions[i].c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
            width = (text.right - text.left) + kItemSpace;
        }
    }
    ReleaseDC(nullptr, dc);
    return POINT{x + width / 2, y};
}

void press_key(WORD vk, int modifiers) {
    std::vector<INPUT> inputs;
    const WORD held[] = {VK_CONTROL, VK_SHIFT, VK_MENU};
    const int flags[] = {kCtrl, kShift, kAlt};
    for (int i = 0; i < 3; ++i) {
        if (modifiers & flags[i]) inputs.push_back(key_input(held[i], false));
    }
    inputs.push_back(key_input(vk, false));
    inputs.push_back(key_input(vk, true));
    for (int i = 2; i >= 0; --i) {
        if (modifiers & flags[i]) inputs.push_back(key_input(held[i], true));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void type_text(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = c;
            in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(in);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND focus_of(HWND window) { return thread_window(window, &GUITHREADINFO::hwndFocus); }

HWND active_of(HWND window) { return thread_window(window, &GUITHREADINFO::hwndActive); }

Outcome focus_comes_to(HWND window, HWND expected, std::chrono::milliseconds timeout) {
    if (wait_until([&] { return focus_of(window) == expected; }, timeout)) return Outcome::success();
    return Outcome::failure("the focus is on " + describe(focus_of(window)) + ", not on " + describe(expected));
}

Outcome closes(HWND window, std::chrono::milliseconds timeout) {
    if (wait_until([&] { return !IsWindow(window); }, timeout)) return Outcome::success();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return Outcome::failure("still open; its thread's input state cannot be read");
    }
    std::string loops;
    for (const auto& [flag, name] : {std::pair{GUI_INMENUMODE, "menu"}, std::pair{GUI_POPUPMENUMODE, "pop-up menu"},
                                     std::pair{GUI_SYSTEMMENUMODE, "system menu"}, std::pair{GUI_INMOVESIZE, "move"}}) {
        if (info.flags & flag) loops += std::string(loops.empty() ? "" : ", ") + name;
    }
    return Outcome::failure("still open; in front: " + describe(GetForegroundWindow()) +
                            "; active: " + describe(info.hwndActive) + "; focus: " + describe(info.hwndFocus) +
                            "; capture: " + describe(info.hwndCapture) +
                            "; loops: " + (loops.empty() ? "none" : loops));
}

}  // namespace zol::test
