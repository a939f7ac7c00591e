// Counting end to end on a system whose code page is not a Western one: the
// practice room, with ANSI windows as the host's, keeps its history in the
// system code page, and the console must read names, messages and dice
// results out of it exactly and post lines and put back a draft exactly.
//
// Run under a Unix locale that gives Wine the code page named by
// ZOL_EXPECTED_CODE_PAGE (ctest does: ja_JP.UTF-8 for 932, zh_CN.UTF-8 for
// 936 and ko_KR.UTF-8 for 949, double-byte, and hi_IN.UTF-8 for 65001,
// UTF-8). Under any other code page it fails at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "chathost/user32_host_win.h"
#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

using namespace std::chrono_literals;

UINT expected_code_page() {
    wchar_t value[16] = {};
    if (!GetEnvironmentVariableW(L"ZOL_EXPECTED_CODE_PAGE", value, 16)) return 0;
    return static_cast<UINT>(std::wcstoul(value, nullptr, 10));
}

// The people and words of the room, in the language of the code page:
// Chinese under 936, Korean under 949, Japanese under 932 and UTF-8.
struct Language {
    std::wstring user, speaker1, speaker2, hello, attack, draft;
    std::vector<std::wstring> rollers;  // four
};

Language language() {
    switch (GetACP()) {
    case 936:
        return {L"\u88C1\u5224",                                                    // 裁判
                L"\u5C0F\u9F99",                                                    // 小龙
                L"\u5251\u5BA2",                                                    // 剑客
                L"\u5927\u5BB6\u597D\uFF0C\u4ECA\u5929\u6211\u4EEC\u6BD4\u8D5B\u5427\u3002",  // 大家好，今天我们比赛吧。
                L"\u653B\u51FB\uFF1A\u7528\u5251\u780D\uFF01",                        // 攻击：用剑砍！
                L"\u4E0B\u4E00\u56DE\u5408\u7528\u9B54\u6CD5",                        // 下一回合用魔法
                {L"\u9F99", L"\u9B54\u6CD5\u5E08", L"\u5C0F\u660E", L"\u6218\u58EB"}};    // 龙 魔法师 小明 战士
    case 949:
        return {L"\uC2EC\uD310",                                                    // 심판
                L"\uBBFC\uC218",                                                    // 민수
                L"\uAC80\uC0AC",                                                    // 검사
                L"\uC548\uB155\uD558\uC138\uC694, \uC5EC\uB7EC\uBD84.",                 // 안녕하세요, 여러분.
                L"\uACF5\uACA9: \uCE7C\uB85C \uBCA4\uB2E4!",                           // 공격: 칼로 벤다!
                L"\uB2E4\uC74C\uC740 \uB9C8\uBC95\uC73C\uB85C",                        // 다음은 마법으로
                {L"\uC6A9", L"\uB9C8\uBC95\uC0AC", L"\uC9C0\uC218", L"\uC804\uC0AC"}};    // 용 마법사 지수 전사
    default:
        return {L"\u5BE9\u5224",                                                    // 審判
                L"\u3055\u304F\u3089",                                              // さくら
                L"\u5263\u58EB",                                                    // 剣士
                L"\u3053\u3093\u306B\u3061\u306F\u3001\u307F\u306A\u3055\u3093\u3002",  // こんにちは、みなさん。
                L"\u653B\u6483\uFF1A\u5263\u3067\u65AC\u308B\uFF01",                  // 攻撃：剣で斬る！
                L"\u6B21\u306F\u9B54\u6CD5\u3092",                                  // 次は魔法を
                // 竜 魔法使い さくら ｻｲｺﾛ (half-width katakana, one byte each in 932)
                {L"\u7ADC", L"\u9B54\u6CD5\u4F7F\u3044", L"\u3055\u304F\u3089", L"\uFF7B\uFF72\uFF7A\uFF9B"}};
    }
}

// Where UTF-8 is the code page: Hindi and a character outside the Basic
// Multilingual Plane (a die, U+1F3B2, two UTF-16 units) as well.
const std::wstring kDie = L"\xD83C\xDFB2";
const std::wstring kRaj = L"\u0930\u093E\u091C";                              // राज
const std::wstring kNamaste = L"\u0928\u092E\u0938\u094D\u0924\u0947 ";       // नमस्ते

bool utf8() { return GetACP() == CP_UTF8; }

// Hit points: 15 -> 1, 17 -> 1, 19 -> 1, 20 -> 2, 40 -> 6, 91 -> 17,
// 95 -> 21, 100 -> 26.
std::vector<PlayedResult> results(const Language& l) {
    std::vector<PlayedResult> r = {
        {l.rollers[0], 20, {15, 20}, 3},
        {l.rollers[1], 100, {91}, 17},
        {l.rollers[2], 20, {20, 19, 17}, 4},
        {l.rollers[3], 100, {95, 40}, 27},
    };
    if (utf8()) {
        r.push_back({kRaj, 100, {100, 91}, 43});
        r.push_back({kDie + l.rollers[0], 100, {40, 15}, 7});
    }
    return r;
}


class CodePage : public ::testing::Test {
protected:
    void SetUp() override {
        // Run for a code page (ctest and the test scripts set the locale that
        // gives it and say which): it must be that one. Run as it is (the
        // test kit on a user's machine): the system's own, when it is one of
        // these.
        if (const UINT expected = expected_code_page()) {
            ASSERT_EQ(GetACP(), expected) << "the system gave code page " << GetACP() << ", not " << expected
                                          << ": under Wine, is the locale generated (localedef)?";
            return;
        }
        const UINT acp = GetACP();
        if (acp != 932 && acp != 936 && acp != 949 && acp != CP_UTF8) {
            GTEST_SKIP() << "skipped: needs the system code page 932, 936, 949 or 65001 (Japanese, Chinese, "
                            "Korean or UTF-8); this system's is "
                         << acp;
        }
    }

    // Every text used must survive the code page, or the test itself is wrong.
    void check_every_text_survives_the_code_page() {
        std::vector<std::wstring> texts = {lang_.user,  lang_.speaker1, lang_.speaker2,
                                           lang_.hello, lang_.attack,   lang_.draft};
        for (const PlayedResult& r : results(lang_)) texts.push_back(r.line());
        if (utf8()) texts.insert(texts.end(), {kRaj, kNamaste + kDie});
        for (const auto& t : texts) ASSERT_TRUE(in_system_code_page(t)) << "not in code page " << GetACP();
    }

    // A long history in the language first, then each result after a line
    // in it.
    void write_the_script() {
        std::wstring script;
        const auto say = [&](double delay, const std::wstring& speaker, const std::wstring& message) {
            script += script_line(delay, speaker, message);
        };
        for (int i = 0; i < 40; ++i) {
            const std::wstring& speaker = i % 2 ? lang_.speaker1 : lang_.speaker2;
            say(i == 0 ? 2.0 : 0.0, speaker, lang_.attack + L" " + std::to_wstring(i) + L": " + lang_.hello);
        }
        if (utf8()) say(0.0, kRaj, kNamaste + kDie);
        bool first = true;
        for (const PlayedResult& r : results(lang_)) {
            say(first ? 6.0 : 1.5, lang_.speaker2, lang_.hello);
            say(1.5, L"OnlineHost", r.line());
            first = false;
        }
        script_path_ = temp_file(L"code-page-script");
        ASSERT_TRUE(write_utf8_file(script_path_, script));
    }

    // The practice room plays the script with ANSI windows, under the user's
    // screen name in the language.
    void start_the_spar() {
        s_.emplace((L"--name " + lang_.user + L" --script \"" + script_path_ + L"\"").c_str());
        ASSERT_NE(s_->console(), nullptr);
        ASSERT_NE(s_->room_frame(), nullptr);
        const auto records = read_transcript(s_->transcript());
        ASSERT_FALSE(records.empty());
        EXPECT_NE(records.front().text.find(L"code page " + std::to_wstring(GetACP()) + L", ansi windows"),
                  std::wstring::npos)
            << "the practice room runs with: " << records.front().text;
    }

    void switch_counting_on() {
        ASSERT_TRUE(turn_counter_on(s_->console()));
        click(s_->item(idc_say_score));
    }

    // Every result of the script, counted and announced in order.
    void count_every_result_of_the_script() {
        for (const PlayedResult& r : results(lang_)) expected_.push_back(r.announcement());
        EXPECT_TRUE(wait_until([&] { return announced().size() >= expected_.size(); }, 60s))
            << "announced " << announced().size() << " of " << expected_.size();
    }

    // The room's history is now far past the 500 characters the reader
    // looks at, and longer in bytes than in characters; the single-byte
    // length the room reports is its exact count of bytes.
    void check_the_history_is_read_in_bytes() {
        HWND mdi = FindWindowExW(s_->room_frame(), nullptr, L"MDIClient", nullptr);
        HWND text_window = FindWindowExW(s_->front_room(), nullptr, L"RICHCNTLREADONLY", nullptr);
        ASSERT_TRUE(mdi && text_window);
        ASSERT_FALSE(IsWindowUnicode(text_window));
        User32Host host;
        const auto length = host.text_length(reinterpret_cast<HostWindow>(text_window));
        ASSERT_TRUE(length.has_value());
        const auto bytes = host.text_bytes(reinterpret_cast<HostWindow>(text_window), *length + 4096);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(bytes->text().size(), *length);
        std::wstring history;
        host.decode(bytes->text(), history);
        EXPECT_GT(history.size(), 1000u);
        EXPECT_GT(*length, history.size());
    }

    // The user's own roll under a screen name in the language, with a draft
    // in it in the room's input box: the draft is put back after the line.
    void roll_with_a_draft_in_the_input_box() {
        input_ = s_->input_box(s_->front_room());
        ASSERT_NE(input_, nullptr);
        SendMessageW(input_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lang_.draft.c_str()));
        click(s_->item(idc_cmdrolldyce));
        ASSERT_TRUE(s_->wait_for(lang_.user + L":  //roll-dice 4-sides92"));
        EXPECT_TRUE(wait_until([&] { return text_of(input_) == lang_.draft; }, 3s)) << "draft now: " << text_of(input_);
        std::vector<int> values;
        ASSERT_TRUE(wait_for_line(
            s_->transcript(),
            [&](const TranscriptLine& l) {
                if (l.text.rfind(L"OnlineHost:  " + lang_.user + L" rolled", 0) != 0) return false;
                values = dice_values(l.text);
                return true;
            },
            5s));
        for (int v : values) user_total_ += hit_points_of(v);
        expected_.push_back(score_announcement(lang_.user, user_total_));
        // Counted before anything else is posted: a line posted within the same
        // half second would hide the result from the scanner, as it would any
        // two lines between two ticks.
        EXPECT_TRUE(wait_until([&] { return announced().size() >= expected_.size(); }, 5s));
    }

    // Lines posted in the code page's own script arrive exactly; a console
    // converting in another code page would turn them into question marks.
    void scroll_lines_in_the_language() {
        std::vector<std::wstring> terms = {lang_.attack, lang_.hello + L" " + lang_.speaker2};
        if (utf8()) terms.push_back(kNamaste + kDie);
        std::wstring box;
        for (const auto& t : terms) box += (box.empty() ? L"" : L"\r\n") + t;
        s_->set_box(idc_txtterms, box);
        click(s_->item(idc_cmdscrollterms));
        EXPECT_TRUE(wait_until(
            [&] {
                const auto lines = messages_of(s_->transcript(), lang_.user);
                return !lines.empty() && lines.back() == terms.back();
            },
            20s))
            << "the console did not post the last line exactly: does it run under code page " << GetACP() << "?";
        std::vector<std::wstring> scrolled;
        for (const auto& m : messages_of(s_->transcript(), lang_.user)) {
            if (m.rfind(L"~*~ ", 0) != 0 && m.rfind(L"//roll-dice", 0) != 0) scrolled.push_back(m);
        }
        EXPECT_EQ(scrolled, terms);
    }

    // By now the scanner has ticked through every pause of the scroll: each
    // result was announced exactly once, and the draft is still there.
    void check_each_result_announced_once_and_the_draft_kept() {
        EXPECT_EQ(announced(), expected_);
        EXPECT_EQ(text_of(input_), lang_.draft);
        EXPECT_EQ(text_of(s_->item(idc_lblhitpoints)),
                  L"~*~ " + lang_.user + L" scored " + std::to_wstring(user_total_) + L" ~*~");
    }

    // Each script result stood as the room's last line for a second at
    // least; a room that fell behind its script would explain a miss.
    void check_the_room_kept_to_its_script() {
        const auto from_script = [&](const TranscriptLine& l) {
            return l.text.rfind(lang_.user + L":  ", 0) != 0 && l.text.rfind(L"OnlineHost:  " + lang_.user, 0) != 0;
        };
        const auto lines = transcript_lines(s_->transcript());
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i].text.rfind(L"OnlineHost:  ", 0) != 0 || !from_script(lines[i])) continue;
            for (std::size_t j = i + 1; j < lines.size(); ++j) {
                if (!from_script(lines[j])) continue;
                EXPECT_GE(lines[j].ms - lines[i].ms, 1000) << "the room fell behind its script";
                break;
            }
        }
    }

    // After a failure, the transcript, non-ASCII characters as \x escapes.
    void print_the_transcript_after_a_failure() const {
        if (!HasFailure()) return;
        for (const auto& l : read_transcript(s_->transcript())) {
            std::string text;
            for (wchar_t c : l.text) {
                char escaped[16];
                const bool plain = c >= 0x20 && c < 0x7F;
                std::snprintf(escaped, sizeof escaped, plain ? "%c" : "\\x%X", static_cast<unsigned>(c));
                text += escaped;
            }
            std::printf("%6lld %d %ls %s\n", l.ms, l.room, l.kind.c_str(), text.c_str());
        }
    }

    // The user's announcements so far.
    std::vector<std::wstring> announced() const {
        std::vector<std::wstring> out;
        for (const auto& m : messages_of(s_->transcript(), lang_.user)) {
            if (m.rfind(L"~*~ ", 0) == 0) out.push_back(m);
        }
        return out;
    }

    const Language lang_ = language();
    std::wstring script_path_;
    std::optional<SparSession> s_;
    std::vector<std::wstring> expected_;  // the announcements due so far
    HWND input_ = nullptr;                // the room's input box
    int user_total_ = 0;                  // the hit points of the user's own roll
};

TEST_F(CodePage, CountsPostsAndKeepsTheDraftExactlyInAnAnsiRoomPastFiveHundredCharacters) {
    ASSERT_NO_FATAL_FAILURE(check_every_text_survives_the_code_page());
    ASSERT_NO_FATAL_FAILURE(write_the_script());
    ASSERT_NO_FATAL_FAILURE(start_the_spar());
    ASSERT_NO_FATAL_FAILURE(switch_counting_on());
    count_every_result_of_the_script();
    ASSERT_NO_FATAL_FAILURE(check_the_history_is_read_in_bytes());
    ASSERT_NO_FATAL_FAILURE(roll_with_a_draft_in_the_input_box());
    scroll_lines_in_the_language();
    check_each_result_announced_once_and_the_draft_kept();
    check_the_room_kept_to_its_script();
    print_the_transcript_after_a_failure();
}

}  // namespace
}  // namespace zol::test
