// The window base every window of ours is built on: the object is attached
// from the first message it can see to the last, MDI children get theirs
// through the MDI creation record, and a window's text comes back whole. And
// the pump's pauses, which every handler that waits runs inside.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/wine/support/harness.h"
#include "winui/pump_win.h"
#include "winui/window_class_win.h"
#include "winui/window_win.h"

namespace zol::test {
namespace {

// Keeps every message it is handed and what it saw of its window then.
class Recorder final : public ui::Window {
public:
    struct Seen {
        UINT message;
        HWND hwnd;
    };

    std::vector<Seen> seen;
    int detached = 0;
    HWND handle_at_detach = reinterpret_cast<HWND>(1);

    bool saw(UINT message) const {
        for (const Seen& s : seen) {
            if (s.message == message) return true;
        }
        return false;
    }

private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override {
        seen.push_back({message, hwnd()});
        return default_message(message, wparam, lparam);
    }
    void on_detached() override {
        ++detached;
        handle_at_detach = hwnd();
    }
};

bool register_class(const wchar_t* name, bool unicode) {
    return ui::register_class(
        {.name = name, .characters = unicode ? ui::CharacterSet::unicode : ui::CharacterSet::ansi});
}

TEST(WindowBase, ObjectSeesItsWindowFromCreationToDestructionAndIsDetachedOnce) {
    ASSERT_TRUE(register_class(L"zoltest plain", true));
    Recorder object;
    HWND window = CreateWindowExW(0, L"zoltest plain", L"plain", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), static_cast<ui::Window*>(&object));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(object.hwnd(), window);
    EXPECT_EQ(ui::Window::from_handle(window), &object);
    ASSERT_FALSE(object.seen.empty());
    EXPECT_EQ(object.seen.front().message, static_cast<UINT>(WM_NCCREATE));
    for (const auto& s : object.seen) EXPECT_EQ(s.hwnd, window) << "message " << s.message;
    // The default handling ran: WM_NCCREATE left the caption in place.
    EXPECT_EQ(ui::window_text(window), L"plain");

    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(object.seen.back().message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(object.seen.back().hwnd, window);
    EXPECT_EQ(object.detached, 1);
    EXPECT_EQ(object.handle_at_detach, nullptr);
    EXPECT_EQ(object.hwnd(), nullptr);
    EXPECT_EQ(ui::Window::from_handle(window), nullptr);
}

TEST(WindowBase, WindowMadeWithoutAnObjectGetsTheDefaultHandling) {
    ASSERT_TRUE(register_class(L"zoltest plain", true));
    HWND window = CreateWindowExW(0, L"zoltest plain", L"no object", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ui::Window::from_handle(window), nullptr);
    EXPECT_EQ(ui::window_text(window), L"no object");
    EXPECT_TRUE(DestroyWindow(window));
}

// A frame with an MDI client, and MDI children of a class of either
// character set created through WM_MDICREATE with an object each.
class MdiChildren : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        frame_ = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 600, 400,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(frame_, nullptr);
        CLIENTCREATESTRUCT ccs{};
        ccs.idFirstChild = 50000;
        client_ = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 600, 400,
                                  frame_, nullptr, GetModuleHandleW(nullptr), &ccs);
        ASSERT_NE(client_, nullptr);
        ASSERT_TRUE(register_class(unicode() ? L"zoltest child w" : L"zoltest child a", unicode()));
    }
    void TearDown() override {
        if (frame_) DestroyWindow(frame_);
    }

    bool unicode() const { return GetParam(); }

    HWND create(Recorder& object, const wchar_t* title) {
        MDICREATESTRUCTW mcs{};
        mcs.szClass = unicode() ? L"zoltest child w" : L"zoltest child a";
        mcs.szTitle = title;
        mcs.hOwner = GetModuleHandleW(nullptr);
        mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
        mcs.lParam = reinterpret_cast<LPARAM>(static_cast<ui::Window*>(&object));
        return reinterpret_cast<HWND>(SendMessageW(client_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }

    HWND frame_ = nullptr;
    HWND client_ = nullptr;
};

TEST_P(MdiChildren, EachChildGetsItsObjectAndTheMdiDefaultHandling) {
    Recorder first, second;
    HWND a = create(first, L"first");
    HWND b = create(second, L"second");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(IsWindowUnicode(a) != FALSE, unicode());
    EXPECT_EQ(first.hwnd(), a);
    EXPECT_EQ(second.hwnd(), b);
    EXPECT_TRUE(first.saw(WM_CREATE));
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client_, WM_MDIGETACTIVE, 0, 0)), b);

    // Only DefMDIChildProc makes a child the client's active one when it is
    // told it was activated; DefWindowProc would leave the second active.
    SendMessageW(a, WM_CHILDACTIVATE, 0, 0);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client_, WM_MDIGETACTIVE, 0, 0)), a);

    SendMessageW(client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_EQ(first.detached, 1);
    EXPECT_EQ(first.hwnd(), nullptr);
    EXPECT_EQ(second.detached, 0);
    EXPECT_EQ(second.hwnd(), b);
    SendMessageW(client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(b), 0);
    EXPECT_EQ(second.detached, 1);
}

INSTANTIATE_TEST_SUITE_P(BothCharacterSets, MdiChildren, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unicode" : "Ansi"; });

TEST(WindowText, ComesBackWholeAtAnyLength) {
    // A window whose text DefWindowProc keeps: no limit and no layout cost.
    ASSERT_TRUE(register_class(L"zoltest plain", true));
    HWND window = CreateWindowExW(0, L"zoltest plain", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ui::window_text(window), L"");
    for (const std::wstring& text : {std::wstring(L"x"), std::wstring(L"two\r\nlines \u00e9\u4e2d"),
                                     std::wstring(70000, L'q') + L"end"}) {
        SetWindowTextW(window, text.c_str());
        const std::wstring got = ui::window_text(window);
        EXPECT_EQ(got.size(), text.size());
        EXPECT_TRUE(got == text);
    }
    DestroyWindow(window);
    EXPECT_EQ(ui::window_text(window), L"");  // gone: nothing, no crash
}

// A pause that is its handler's last step, begun inside a running pause,
// opens no loop: it returns at once, and the running pause lasts until it
// would have ended. Begun outside any pause it waits itself.
using Clock = std::chrono::steady_clock;
struct LastPauseRun {
    ui::MessagePump* pump = nullptr;
    Clock::time_point called, returned;
} g_last;

void CALLBACK pause_last_from_timer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_last.called = Clock::now();
    g_last.pump->pause_last(2);
    g_last.returned = Clock::now();
}

TEST(Pause, LastPauseInsideAnotherLengthensItInsteadOfNesting) {
    using namespace std::chrono_literals;
    drop_left_quit();
    ui::MessagePump pump;
    g_last = {};
    g_last.pump = &pump;
    SetTimer(nullptr, 0, 50, pause_last_from_timer);
    pump.Pause(1);
    const auto ended = Clock::now();
    ASSERT_NE(g_last.called, Clock::time_point{}) << "the timer never fired inside the pause";
    EXPECT_LT(g_last.returned - g_last.called, 500ms) << "the inner pause waited itself";
    EXPECT_GE(ended - g_last.called, 2s) << "the outer pause ended before the inner one would have";

    const auto alone = Clock::now();
    pump.pause_last(1);
    EXPECT_GE(Clock::now() - alone, 1s);
}

}  // namespace
}  // namespace zol::test
