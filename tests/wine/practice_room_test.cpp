// The practice room used from its menus, as someone who never opens a
// command line uses it: a transcript kept through the Save As dialog, a
// script played through the Open dialog, the sample spar played and
// stopped, the screen name changed, and the help shown. Every key goes
// through the system's input queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/files_win.h"
#include "tests/wine/support/input.h"
#include "tests/wine/support/spar_session.h"

namespace zol::test {
namespace {

using namespace std::chrono_literals;

class PracticeRoomMenus : public ::testing::Test {
protected:
    void SetUp() override {
        drop_left_quit();
        room_ = Process::start(L"practice-room.exe", L"--seed 7");
        frame_ = wait_for_window(L"AOL Frame25", nullptr, room_.id());
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(bring_to_front(frame_));
    }

    // Picks a menu item by its access keys: Alt with the menu's, then the
    // item's.
    void pick(char menu, WORD item) {
        press_alt(menu);
        press_key(item);
    }

    // The dialog of the room with this caption, once its focus is in a text
    // box: the state in which a person starts typing.
    HWND dialog(const wchar_t* caption) {
        HWND d = wait_for_window(L"#32770", caption, room_.id(), 10s);
        if (!d) return nullptr;
        const bool typing = wait_until(
            [&] {
                wchar_t cls[32] = L"";
                GetClassNameW(focus_of(d), cls, 32);
                return lstrcmpiW(cls, L"Edit") == 0;
            },
            5s);
        return typing ? d : nullptr;
    }

    // Answers a file dialog with a path, as typed.
    void answer_file_dialog(const wchar_t* caption, const std::wstring& path) {
        HWND d = dialog(caption);
        ASSERT_NE(d, nullptr) << "no dialog \"" << testing::PrintToString(std::wstring(caption)) << "\" ready to type in";
        type_text(path);
        press_key(VK_RETURN);
        ASSERT_TRUE(closes(d));
    }

    Process room_;
    HWND frame_ = nullptr;
};

TEST_F(PracticeRoomMenus, KeepATranscriptPlayAScriptAndTheSampleSparStopItAndRenameTheUser) {
    const std::wstring transcript = temp_file(L"menu-transcript");
    const std::wstring script = temp_file(L"menu-script");
    ASSERT_TRUE(write_utf8_file(script, L"# two lines\r\n0.2 Tester: hello from the script\r\n0.1 Tester: //roll\r\n"));

    pick('S', 'K');
    answer_file_dialog(L"keep a transcript", transcript);
    pick('S', 'P');
    answer_file_dialog(L"play a spar script", script);
    EXPECT_TRUE(wait_for_line(transcript, [](const TranscriptLine& l) { return l.text == L"Tester:  hello from the script"; },
                              5s));
    // The bare roll is answered with two six-sided dice.
    EXPECT_TRUE(wait_for_line(transcript,
                              [](const TranscriptLine& l) {
                                  return l.text.rfind(L"OnlineHost:  Tester rolled 2 6-sided dice:  ", 0) == 0;
                              },
                              5s));

    // The sample spar, stopped after its first line: a line played after
    // the stop comes, the sample's second line (due 3 s after its first)
    // never does.
    pick('S', 'S');
    ASSERT_TRUE(wait_for_line(transcript, [](const TranscriptLine& l) { return l.text.rfind(L"ShadowWyrm13:  ", 0) == 0; },
                              5s));
    pick('S', 'T');
    const std::wstring marker = temp_file(L"menu-marker");
    ASSERT_TRUE(write_utf8_file(marker, L"4 Marker: after the stop\r\n"));
    pick('S', 'P');
    answer_file_dialog(L"play a spar script", marker);
    ASSERT_TRUE(wait_for_line(transcript, [](const TranscriptLine& l) { return l.text == L"Marker:  after the stop"; },
                              10s));
    for (const auto& l : transcript_lines(transcript)) EXPECT_EQ(l.text.find(L"lil kitsune"), std::wstring::npos);

    // A new screen name: what the user types in the room goes out under it.
    pick('R', 'S');
    HWND name = dialog(L"screen name");
    ASSERT_NE(name, nullptr);
    type_text(L"ref");  // the old name is selected, so this replaces it
    press_key(VK_RETURN);
    ASSERT_TRUE(closes(name));
    HWND mdi = FindWindowExW(frame_, nullptr, L"MDIClient", nullptr);
    HWND input = FindWindowExW(FindWindowExW(mdi, nullptr, L"AOL Child", nullptr), nullptr, L"RICHCNTL", nullptr);
    ASSERT_NE(input, nullptr);
    set_text(input, L"renamed");
    SendMessageW(input, WM_CHAR, L'\r', 0);
    EXPECT_TRUE(wait_for_line(transcript, [](const TranscriptLine& l) { return l.text == L"ref:  renamed"; }, 5s));
}

TEST_F(PracticeRoomMenus, HelpExplainsEveryOptionAndTheScriptFormat) {
    pick('H', 'O');
    HWND help = wait_for_window(L"#32770", L"practice room", room_.id(), 10s);
    ASSERT_NE(help, nullptr);
    std::wstring shown;
    for (HWND c = FindWindowExW(help, nullptr, L"Static", nullptr); c; c = FindWindowExW(help, c, L"Static", nullptr)) {
        shown += text_of(c);
    }
    for (const wchar_t* part : {L"--name NAME", L"--rooms N", L"--script FILE", L"--transcript FILE", L"--seed N",
                                L"--hang-after SECONDS", L"--quit-after SECONDS", L"--windows ansi|unicode",
                                L"--length-off N", L"<seconds after the line before> <screen name>: <message>",
                                L"//roll-dice 3-sides92"}) {
        EXPECT_NE(shown.find(part), std::wstring::npos) << testing::PrintToString(std::wstring(part));
    }
    press_key(VK_RETURN);
    EXPECT_TRUE(closes(help));
}

}  // namespace
}  // namespace zol::test
