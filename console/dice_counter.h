// The dice counter: reads the dice results the host service posts in the
// room and turns them into hit points. Portable; the console shows and
// announces what it returns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zol {

// The hit points of one die value: nothing up to 14, bands of five from 15
// to 90 (15 gives 1, 90 gives 16), and one per pip from 91 on (91 gives 17).
std::int16_t hyt_poynts(std::int16_t rolled);

struct DiceTally {
    std::wstring roller;
    std::int32_t total = 0;
};

// Reads one chat line (speaker and message). Gives the roller and the total
// hit points when it is a dice result of "OnlineHost" that can be read;
// nothing for every other line, which the counter ignores without a trace.
std::optional<DiceTally> read_dice_result(std::wstring_view who_said, std::wstring_view what_said);

// "~*~ <name> scored <total> ~*~", the caption of the hit-point label.
std::wstring hit_points_caption(const DiceTally& tally);

// "~*~ <name> scored <total> hyt poynts ~*~", the line announced in the room.
std::wstring hit_points_announcement(const DiceTally& tally);

// What the console does with one new chat line: the caption to show, and
// the line to announce when the score is said. The console shows the
// caption, sends the announcement, then pauses a second.
struct DiceCount {
    std::wstring caption;
    std::optional<std::wstring> announcement;
};

// The handler of one new chat line: a readable dice result gives its
// caption, and its announcement when `say_score`; anything else gives
// nothing, and the console then changes nothing and does not pause.
std::optional<DiceCount> count_chat_line(std::wstring_view who_said, std::wstring_view what_said, bool say_score);

}  // namespace zol
