// What a proctor reads off dice results, written out independently of the
// console's counter so that the checks built on it can catch the counter out.
#pragma once

#include <string>
#include <vector>

namespace zol::test {

// Hit points of one die, from the table a proctor uses: nothing up to 14,
// then one for every five pips from 15 to 90, then one per pip.
int hit_points_of(int die);

// What the dice service posts for a roll, without "OnlineHost:  " in front:
// "<roller> rolled N M-sided dice:  v1 v2 ...", "die" for one.
std::wstring dice_result(const std::wstring& roller, int sides, const std::vector<int>& values);

// One line of a practice room script: the seconds after the line before,
// the speaker and the message, ending in CR LF.
std::wstring script_line(double seconds, const std::wstring& speaker, const std::wstring& message);

// What the console posts for a counted result with "say score" on, without
// the user's name in front: "~*~ <roller> scored N hyt poynts ~*~".
std::wstring score_announcement(const std::wstring& roller, int total);

// A result a test plays, with the hit points its table says a proctor counts
// for it.
struct PlayedResult {
    std::wstring roller;
    int sides;
    std::vector<int> values;
    int total;

    std::wstring line() const { return dice_result(roller, sides, values); }
    std::wstring announcement() const { return score_announcement(roller, total); }
};

// The values of a dice result line "OnlineHost:  <name> rolled N M-sided
// dice:  v1 v2 ...", or nothing when it is not one.
std::vector<int> dice_values(const std::wstring& line);

}  // namespace zol::test
