#include "infowindows/help_text.h"

#include <string_view>

#include "infowindows/web_address.h"

namespace zol {

namespace {

// The text is kept as one entry per line, without the CR LF that ends each.
// Lines are kept short enough for the help box at its own width, so no line
// wraps there and the box shows the text exactly as laid out here. The web
// address line is built from the program's one web address.

constexpr std::wstring_view kBeforeAddress[] = {
    L"                     zolvanta's spar proctoring tools 7.8",
    L"",
    L"",
    L"thys is a new version of zolvanta's spar, made for america",
    L"online 7.  it is the thyrd release for that clyent, wyth some",
    L"fixes and a few changes to make it easyer to use.  the toggle",
    L"buttons that start the counter, keep the program on top and send",
    L"the counter's results to the chat room now lyght up (they turn",
    L"magenta) whyle they are on, so you see at a glance what's on.",
    L"",
    L"thys is not a complete automatic spar program.  it is a help for",
    L"the proctor, much lyke a calculator: it holds the features most",
    L"needed to proctor a spar on one small page, and it posts nothing",
    L"you did not ask for (but the scores, when say score is lyt).",
    L"",
    L"                   ~*~ now for help.  it is really symple. ~*~",
    L"",
    L"any button can be pressed by holdyng alt and pressyng the letter",
    L"underlined in its name.  the about and help menu work the same.",
    L"",
    L"1. score board ~ the top box holds the score board of the spar.",
    L"type, edit and recalculate the scores there as the spar goes on,",
    L"then clyck scroll score board (alt+b) to post it in the chat",
    L"room, one line each second.  long lines are cut at a blank.",
    L"",
    L"2. say score (alt+y) ~ when lyt, each roll the counter counts is",
    L"announced in the chat room too: ~*~ name scored 18 hyt poynts ~*~",
    L"when it is not lyt, the score shows on the console only.",
    L"",
    L"3. counter start / counter stop (alt+c) ~ one button starts and",
    L"stops the dyce counter.  whyle it is lyt, each dyce roll that",
    L"onlinehost posts in the room is turned into hyt poynts, and the",
    L"roll's total shows in the bar under the score board.  a dye",
    L"under 15 is worth 0, then 1 poynt for every 5 over 10 (90 gives",
    L"16), and from 91 up each pip adds 1 more (100 gives 26).",
    L"",
    L"4. stay on top / not on top (alt+o) ~ when lyt, thys program",
    L"stays on top of all other programs and windows; clyck it agayn",
    L"to let them cover it.  whyle thys help or the about box is open,",
    L"the console steps back behynd them, and goes back on top after.",
    L"",
    L"5. hy dyce, in spar and scroll xp's (alt+x) ~ put the sydes of",
    L"the hyest dye in the spar in hy dyce and how many people are in",
    L"the spar in in spar, then clyck scroll xp's to post what the",
    L"spar is worth: 5 x hy dyce x (people - 1).  an empty box is 0.",
    L"",
    L"6. terms/attack ~ a second scroll box, for your next attack, the",
    L"terms, or chattyng wythout the dyce counter in the way.  clyck",
    L"scroll terms/attack (alt+t) to post it one line each second.",
    L"",
    L"~*~ the lymit in each scroll box is 500 characters. ~*~",
    L"",
    L"clyck a scroll button whyle its box is empty and it posts a",
    L"lyttle advertysement for thys program instead.",
    L"",
    L"7. date tyme (alt+d) ~ new in thys version!  posts your",
    L"computer's tyme and date to the chat room as a stamp, for your",
    L"logs and for tymyng players who leave or do not answer.  it",
    L"replaces the old advertyse button.",
    L"",
    L"8. init (alt+i) ~ rolls one dye wyth 100 sydes (1d100).",
    L"",
    L"9. dyce wyth / sydes and roll (alt+r) ~ put how many dyce in the",
    L"first box and how many sydes in the second, then clyck roll to",
    L"roll them in the chat room.  you can roll 1 to 15 dyce at once;",
    L"a count outsyde that is set to 1 or 15 for you.",
    L"",
    L"that's it",
    L"                        ",
    L"                            ~*~v~*~v~*~v~*~v~*~v~*~",
    L"",
    L"when i make thys program better, the new version wyll be posted",
    L"on my web page, so stop by now and then:",
};

// 36 blanks, then the address framed by "~  " and "  ~".
std::wstring address_line() {
    std::wstring line(36, L' ');
    line += L"~  ";
    line += kWebAddress;
    line += L"  ~";
    return line;
}

constexpr std::wstring_view kAfterAddress[] = {
    L"",
    L"special thanks to everyone who tested thys program, found its",
    L"bugs and told me what a proctor really needs.  you know who you",
    L"are, and thys one is for you.",
    L"thys program is free.  take it, gyve it to your friends and pass",
    L"it along to anyone who proctors spars.  all i ask is that you do",
    L"not sell it.",
    L"",
    L"love and peace,",
    L"zolvanta",
};

std::wstring join_lines() {
    std::wstring text;
    auto add = [&text](std::wstring_view line) {
        text += line;
        text += L"\r\n";
    };
    for (std::wstring_view line : kBeforeAddress) add(line);
    add(address_line());
    for (std::wstring_view line : kAfterAddress) add(line);
    return text;
}

}  // namespace

const std::wstring& help_text() {
    static const std::wstring text = join_lines();
    return text;
}

}  // namespace zol
