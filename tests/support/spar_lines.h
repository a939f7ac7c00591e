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

// The values of a dice result line "OnlineHost:  <name> rolled N M-sided
// dice:  v1 v2 ...", or nothing when it is not one.
std::vector<int> dice_values(const std::wstring& line);

}  // namespace zol::test
