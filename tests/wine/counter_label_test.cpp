// The hit-point label's caption and font as a user sees them when the
// counter is started and stopped with real clicks: 41 blanks in 8-point
// italics while counting (results too), the banner in 10-point upright type
// when stopped. The console runs in this process, over an in-memory chat
// room, because a font handle can only be read in the process that made it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "console/console_layout.h"
#include "console/console_window_win.h"
#include "tests/fakes/memory_host.h"
#include "tests/support/wait.h"
#include "tests/wine/support/harness.h"
#include "tests/wine/support/input.h"

namespace zol {
namespace {

using namespace std::chrono_literals;

class CounterLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        HostWindow frame = host_.add_top_level(L"AOL Frame25");
        HostWindow client = host_.add_child(frame, L"MDIClient");
        HostWindow room = host_.add_child(client, L"AOL Child");
        room_text_ = host_.add_child(room, L"RICHCNTLREADONLY", L"\rproctor:  hi all");
        host_.add_child(room, L"RICHCNTL");
        host_.add_child(room, L"_AOL_Listbox");
        host_.add_child(room, L"_AOL_Icon");
        host_.add_child(room, L"_AOL_Static");
        test::drop_left_quit();
        ASSERT_NE(console_.create(GetModuleHandleW(nullptr), SW_SHOW), nullptr);
        label_ = GetDlgItem(console_.hwnd(), idc_lblhitpoints);
    }

    // The console's loop runs on this thread: it handles the clicks while
    // the test waits.
    bool pump_until(const std::function<bool()>& done) {
        return test::wait_until(
            [&] {
                pump_.Pause(0);
                return done();
            },
            5s);
    }

    std::wstring caption() const {
        wchar_t text[128] = L"";
        GetWindowTextW(label_, text, 128);
        return text;
    }

    ::testing::AssertionResult shows_font(int hundredths_of_point, bool italic) const {
        LOGFONTW lf{};
        auto font = reinterpret_cast<HFONT>(SendMessageW(label_, WM_GETFONT, 0, 0));
        if (!font || !GetObjectW(font, sizeof lf, &lf)) return ::testing::AssertionFailure() << "no font";
        const LONG height = -MulDiv(hundredths_of_point, static_cast<int>(ui::window_dpi(label_)), 7200);
        if (std::wstring(lf.lfFaceName) != L"Arial" || lf.lfHeight != height || (lf.lfItalic != 0) != italic) {
            return ::testing::AssertionFailure() << testing::PrintToString(std::wstring(lf.lfFaceName)) << " height "
                                                 << lf.lfHeight << " (" << height << " wanted)"
                                                 << (lf.lfItalic ? " italic" : " upright");
        }
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult click_counter() {
        HWND button = GetDlgItem(console_.hwnd(), idc_cmdcounterstart);
        // The click must reach the button before its effect can be awaited.
        const POINT at = test::centre_of(button);
        if (!pump_until([&] { return WindowFromPoint(at) == button; })) {
            return ::testing::AssertionFailure() << "the counter button is not under its centre";
        }
        test::click_at(at);
        return ::testing::AssertionSuccess();
    }

    MemoryHost host_;
    HostWindow room_text_ = 0;
    ui::MessagePump pump_{[this](MSG& msg) { return console_.is_dialog_message(msg); }};
    ConsoleWindow console_{host_, pump_};
    HWND label_ = nullptr;
};

TEST_F(CounterLabelTest, CountingShowsEightPointItalicsAndStoppingTheBannerUpright) {
    EXPECT_EQ(caption(), banner_text());
    EXPECT_TRUE(shows_font(975, false)) << "at start";

    ASSERT_TRUE(click_counter());
    ASSERT_TRUE(pump_until([&] { return test::counter_is_running(console_.hwnd()); }));
    EXPECT_TRUE(shows_font(800, true)) << "counting";

    // A result keeps the counting font.
    host_.set_window_text(room_text_,
                          host_.window_text(room_text_) + L"\rOnlineHost:  proctor rolled 2 92-sided dice:  50 91");
    ASSERT_TRUE(pump_until([&] { return caption().find(L"scored") != std::wstring::npos; })) << caption();
    EXPECT_TRUE(shows_font(800, true)) << "showing a result";

    ASSERT_TRUE(click_counter());
    ASSERT_TRUE(pump_until([&] { return caption() == banner_text(); }));
    EXPECT_TRUE(shows_font(1000, false)) << "stopped";

    ASSERT_TRUE(click_counter());
    ASSERT_TRUE(pump_until([&] { return test::counter_is_running(console_.hwnd()); }));
    EXPECT_TRUE(shows_font(800, true)) << "counting again";
}

}  // namespace
}  // namespace zol
