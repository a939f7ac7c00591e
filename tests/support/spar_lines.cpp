#include "tests/support/spar_lines.h"

#include <cwchar>
#include <sstream>

namespace zol::test {

int hit_points_of(int die) {
    if (die <= 14) return 0;
    if (die <= 90) return (die - 15) / 5 + 1;
    return die - 74;
}

std::wstring dice_result(const std::wstring& roller, int sides, const std::vector<int>& values) {
    std::wstring line = roller + L" rolled " + std::to_wstring(values.size()) + L" " + std::to_wstring(sides) +
                        (values.size() == 1 ? L"-sided die:  " : L"-sided dice:  ");
    for (std::size_t i = 0; i < values.size(); ++i) line += (i ? L" " : L"") + std::to_wstring(values[i]);
    return line;
}

std::wstring script_line(double seconds, const std::wstring& speaker, const std::wstring& message) {
    wchar_t delay[32];
    std::swprintf(delay, 32, L"%.3f", seconds);
    return delay + (L" " + speaker + L": " + message + L"\r\n");
}

std::wstring score_announcement(const std::wstring& roller, int total) {
    return L"~*~ " + roller + L" scored " + std::to_wstring(total) + L" hyt poynts ~*~";
}

std::vector<int> dice_values(const std::wstring& line) {
    std::vector<int> values;
    const std::wstring head = L"OnlineHost:  ";
    if (line.compare(0, head.size(), head) != 0) return values;
    const auto colon = line.find(L":  ", head.size());
    if (colon == std::wstring::npos) return values;
    std::wistringstream in(line.substr(colon + 3));
    int v;
    while (in >> v) values.push_back(v);
    return values;
}

}  // namespace zol::test
