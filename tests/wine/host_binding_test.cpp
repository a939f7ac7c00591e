// The user32 binding of the host seam where it goes beyond the contract
// cases (tests/contract/, run against both sides of the seam in
// host_contract_test): text in the system code page, Enter as typed, hosts
// that stop answering in another process, and reads nested in reads.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "chathost/user32_host_win.h"
#include "chathost/zol_chat.h"
#include "console/console_layout.h"
#include "tests/wine/support/harness.h"

namespace zol {
namespace {

HostWindow as_host(HWND w) { return reinterpret_cast<HostWindow>(w); }

// A window of a single-byte class, as the host's are.
class AnsiWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Ansi window";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "Ansi window", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    HWND window_ = nullptr;
    User32Host host_;
};

TEST_F(AnsiWindowTest, TextCrossesInTheSystemCodePage) {
    // "é" exists in every Western code page Wine picks for a Latin locale;
    // where it does not, the round trip still must not fail.
    const std::wstring text = L"caf\u00e9:  na\u00efve";
    ASSERT_TRUE(host_.set_text(as_host(window_), text));
    const auto length = host_.text_length(as_host(window_));
    ASSERT_TRUE(length.has_value());
    const auto bytes = host_.text_bytes(as_host(window_), *length + 10);
    ASSERT_TRUE(bytes.has_value());
    // An ANSI window answers with the bytes of its text, exactly.
    EXPECT_EQ(bytes->text().size(), *length);
    std::wstring decoded;
    host_.decode(bytes->text(), decoded);
    if (GetACP() == 1252) {
        EXPECT_EQ(decoded, text);
        // Given room for fewer bytes than there are, it gets exactly those.
        const auto some = host_.text_bytes(as_host(window_), 4);
        ASSERT_TRUE(some.has_value());
        host_.decode(some->text(), decoded);
        EXPECT_EQ(decoded, L"caf\u00e9");
    } else {
        EXPECT_EQ(decoded.size(), text.size());
    }
}

// Enter reaches the input box as WM_CHAR with the carriage return and an
// lParam of 0: no repeat count, no scan code, no key behind it.
std::vector<std::pair<WPARAM, LPARAM>> g_chars;
LRESULT CALLBACK record_chars(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CHAR) g_chars.emplace_back(wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST(TypeChar, EnterIsACarriageReturnWithLParamZero) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = record_chars;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Char recorder";
    RegisterClassA(&wc);
    HWND box = CreateWindowExA(0, "Char recorder", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(box, nullptr);
    g_chars.clear();
    User32Host host;
    EXPECT_TRUE(host.type_char(as_host(box), L'\r'));
    DestroyWindow(box);
    EXPECT_EQ(g_chars, (std::vector<std::pair<WPARAM, LPARAM>>{{13, 0}}));
}

// A host in another process that stops answering, with room windows of
// either kind. Under Wine 8 a single-byte WM_GETTEXTLENGTH to another
// process's window waits for as long as the window does not answer, timeout
// or not: the binding must never be caught by it. Each call runs on a thread
// of its own so that a call that does get caught fails the test instead of
// hanging it (closing the room then lets it go).
class HungRoom : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(HungRoom, EveryCallGivesUpWithinItsTimeout) {
    using namespace std::chrono_literals;
    test::Process room = test::Process::start(L"practice-room.exe", std::wstring(L"--windows ") + GetParam() +
                                                                          L" --hang-after 1.5");
    HWND frame = test::wait_for_window(L"AOL Frame25", nullptr, room.id());
    ASSERT_NE(frame, nullptr);
    HWND mdi = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    HWND chat = mdi ? FindWindowExW(mdi, nullptr, L"AOL Child", nullptr) : nullptr;
    HWND text = chat ? FindWindowExW(chat, nullptr, L"RICHCNTLREADONLY", nullptr) : nullptr;
    HWND input = chat ? FindWindowExW(chat, nullptr, L"RICHCNTL", nullptr) : nullptr;
    ASSERT_TRUE(text && input);
    EXPECT_EQ(IsWindowUnicode(text) != FALSE, std::wstring(GetParam()) == L"unicode");
    User32Host host;
    ASSERT_TRUE(host.text_length(as_host(text)).has_value());  // answering still
    ASSERT_TRUE(test::wait_until([&] { return !test::answers(frame, 200ms); }, 10s))
        << "the room never stopped answering";

    const auto limit = std::chrono::milliseconds(User32Host::kTimeoutMs + 1000);
    const auto gives_up = [&](const char* what, auto call) {
        auto started = std::chrono::steady_clock::now();
        auto result = std::async(std::launch::async, call);
        if (result.wait_for(10s) != std::future_status::ready) {
            room.kill();  // lets the caught call go, so the test can end
            result.wait();
            ADD_FAILURE() << what << " did not give up on a room that stopped answering";
            return;
        }
        EXPECT_FALSE(result.get()) << what << " answered for a room that stopped answering";
        EXPECT_LT(std::chrono::steady_clock::now() - started, limit) << what;
    };
    gives_up("text_length", [&] { return host.text_length(as_host(text)).has_value(); });
    gives_up("text_bytes", [&] { return host.text_bytes(as_host(text), 100).has_value(); });
    gives_up("set_text", [&] { return host.set_text(as_host(input), L"x"); });
    gives_up("type_char", [&] { return host.type_char(as_host(input), L'\r'); });
    gives_up("ReadChatText", [&] { return zol_chat::ReadChatText(host) != L" "; });
}

INSTANTIATE_TEST_SUITE_P(RoomWindows, HungRoom, ::testing::Values(L"ansi", L"unicode"));

// A chat host of the test's own, on a thread of its own: one room of
// single-byte windows. When armed, its text window answers the console's
// next read only after it has pressed a console button by a click *sent* to
// it, as automation tools press buttons: the console handles that click
// while it waits for the answer, nested inside the read, and the command it
// runs reads the host too.
class NestingHost {
public:
    NestingHost(std::string history, std::string draft) : history_(std::move(history)), draft_(std::move(draft)) {
        thread_ = std::thread([this] { run(); });
        test::wait_until([&] { return ready_.load(); }, std::chrono::seconds(5));
    }
    ~NestingHost() {
        if (thread_id_) PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }

    // A new line in the room; the read that first sees it presses `button`.
    void say(const std::string& line, HWND button) {
        std::lock_guard lock(mutex_);
        history_ += "\r" + line;
        press_.store(button);
    }
    bool pressed() const { return pressed_.load(); }
    std::vector<std::string> posted() const {
        std::lock_guard lock(mutex_);
        return posted_;
    }
    std::string draft() const {
        std::lock_guard lock(mutex_);
        return draft_;
    }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<NestingHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && (window == self->text_ || window == self->input_)) {
            if (auto r = self->answer(window, message, wparam, lparam)) return *r;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }

    static LRESULT copy_out(const std::string& text, WPARAM size, LPARAM buffer) {
        if (size == 0) return 0;
        const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
        std::memcpy(reinterpret_cast<char*>(buffer), text.data(), n);
        reinterpret_cast<char*>(buffer)[n] = '\0';
        return static_cast<LRESULT>(n);
    }

    std::optional<LRESULT> answer(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        std::unique_lock lock(mutex_);
        std::string& text = window == text_ ? history_ : draft_;
        switch (message) {
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text.size());
        case WM_GETTEXT: {
            // The answer is written first, then the click is sent; the
            // console gets the answer once the click has been handled.
            const LRESULT n = copy_out(text, wparam, lparam);
            if (window == text_) {
                if (HWND button = press_.exchange(nullptr)) {
                    lock.unlock();
                    SendMessageW(button, BM_CLICK, 0, 0);
                    pressed_.store(true);
                }
            }
            return n;
        }
        case WM_SETTEXT:
            if (window != input_) return std::nullopt;
            text = lparam ? reinterpret_cast<const char*>(lparam) : "";
            return TRUE;
        case WM_CHAR:
            // Enter posts the input box's line under the user's name.
            if (window != input_ || wparam != '\r') return std::nullopt;
            posted_.push_back(draft_);
            history_ += "\rproctor:  " + draft_;
            draft_.clear();
            return 0;
        default:
            return std::nullopt;
        }
    }

    void run() {
        thread_id_ = GetCurrentThreadId();
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        for (const char* cls : {"AOL Frame25", "MDIClient", "AOL Child", "RICHCNTLREADONLY", "RICHCNTL",
                                "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"}) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = proc;
            wc.hInstance = instance;
            wc.lpszClassName = cls;
            RegisterClassA(&wc);
        }
        auto make = [&](const char* cls, HWND parent) {
            HWND w = CreateWindowExA(0, cls, "", parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 50, 50, parent, nullptr,
                                     instance, nullptr);
            SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            return w;
        };
        HWND frame = make("AOL Frame25", nullptr);
        HWND room = make("AOL Child", make("MDIClient", frame));
        text_ = make("RICHCNTLREADONLY", room);
        input_ = make("RICHCNTL", room);
        for (const char* cls : {"_AOL_Listbox", "_AOL_Icon", "_AOL_Static"}) make(cls, room);
        ready_ = true;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        DestroyWindow(frame);
    }

    mutable std::mutex mutex_;
    std::string history_, draft_;
    std::vector<std::string> posted_;
    std::atomic<HWND> press_{nullptr};
    std::atomic<bool> pressed_{false}, ready_{false};
    HWND text_ = nullptr, input_ = nullptr;
    DWORD thread_id_ = 0;
    std::thread thread_;
};

// The console's scanner reads the room; while it waits for the answer, a
// click sent to the roll button posts a line, which reads a draft far larger
// than the room. The nested read must not free or grow the buffer the outer
// read handed to the host. Sizes are such that both buffers are blocks the
// heap maps and unmaps by themselves: writing into a freed one ends the
// console.
TEST(NestedRead, AClickSentDuringARoomReadLeavesTheReadTheLineAndTheDraftExact) {
    using namespace std::chrono_literals;
    const std::string history = "\r*** you are in the room ***\r" + std::string(100000, 'h');
    const std::string draft(300000, 'd');
    NestingHost host(history, draft);
    test::Process console = test::Process::start(L"zolspar.exe");
    HWND window = test::wait_for_window(L"zolspar", L"zolvanta's spar 7.8", console.id());
    ASSERT_NE(window, nullptr);
    HWND label = GetDlgItem(window, idc_lblhitpoints);
    ASSERT_TRUE(test::turn_counter_on(window));
    test::click(GetDlgItem(window, idc_say_score));

    host.say("OnlineHost:  Jimbo rolled 2 92-sided dice:  45 67", GetDlgItem(window, idc_cmdrolldyce));
    ASSERT_TRUE(test::wait_until([&] { return host.posted().size() >= 2 || !console.running(); }, 10s))
        << "posted: " << ::testing::PrintToString(host.posted()) << "; label: " << ::testing::PrintToString(test::text_of(label))
        << (host.pressed() ? "" : "; the button was never pressed");
    EXPECT_TRUE(console.running());
    EXPECT_EQ(host.posted(), (std::vector<std::string>{"//roll-dice 4-sides92", "~*~ Jimbo scored 18 hyt poynts ~*~"}));
    EXPECT_EQ(test::text_of(label), L"~*~ Jimbo scored 18 ~*~");
    // The draft is put back after the line's Enter, so a moment after the
    // host has seen the line.
    EXPECT_TRUE(test::wait_until([&] { return host.draft() == draft; }, 2s))
        << "the draft came back as " << host.draft().size() << " bytes";
}

}  // namespace
}  // namespace zol
