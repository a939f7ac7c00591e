#include "practiceroom/dice.h"

#include "practiceroom/room_text.h"
#include "text/digits.h"

namespace zol::practiceroom {

namespace {

constexpr std::wstring_view kCommand = L"//roll-dice";
// A bare "//roll" asks for the service's default roll.
constexpr std::wstring_view kBareRoll = L"//roll";
constexpr int kBareRollCount = 2;
constexpr int kBareRollSides = 6;
constexpr std::wstring_view kSides = L"-sides";

bool is_blank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::wstring_view trim_blanks(std::wstring_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

// Takes a run of digits off the front of `text`. Gives -1 for no digits and
// caps absurdly long runs at a value beyond every range we accept, so a
// thousand-digit count cannot overflow.
int take_number(std::wstring_view& text) {
    std::size_t n = 0;
    long long value = 0;
    while (n < text.size() && is_ascii_digit(text[n])) {
        if (value < 1'000'000) value = value * 10 + (text[n] - L'0');
        ++n;
    }
    text.remove_prefix(n);
    if (n == 0) return -1;
    return static_cast<int>(value);
}

}  // namespace

DiceCommand parse_dice_command(std::wstring_view message) {
    std::wstring_view rest = trim_blanks(message);
    if (rest == kBareRoll) return {DiceCommandKind::Roll, kBareRollCount, kBareRollSides};
    if (rest.substr(0, kCommand.size()) != kCommand) return {};
    rest.remove_prefix(kCommand.size());

    const DiceCommand refused{DiceCommandKind::Refused, 0, 0};
    while (!rest.empty() && is_blank(rest.front())) rest.remove_prefix(1);
    const int count = take_number(rest);
    if (count < 0 || rest.substr(0, kSides.size()) != kSides) return refused;
    rest.remove_prefix(kSides.size());
    while (!rest.empty() && is_blank(rest.front())) rest.remove_prefix(1);
    const int sides = take_number(rest);
    if (sides < 0 || !rest.empty()) return refused;
    if (count < kMinDice || count > kMaxDice || sides < kMinSides || sides > kMaxSides) return refused;
    return {DiceCommandKind::Roll, count, sides};
}

std::wstring roll_result_message(std::wstring_view poster, int sides, std::span<const int> values) {
    std::wstring out(poster);
    out += L" rolled ";
    out += std::to_wstring(values.size());
    out += L' ';
    out += std::to_wstring(sides);
    out += values.size() == 1 ? L"-sided die:  " : L"-sided dice:  ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += L' ';
        out += std::to_wstring(values[i]);
    }
    return out;
}

std::wstring roll_refused_notice() {
    // Neither a colon nor the command word: the notice must not look like a
    // chat line, nor like a command a script or the console could react to.
    return L"*** the dice service could not read that roll ***";
}

std::vector<int> DiceRoller::roll(int count, int sides) {
    std::vector<int> values;
    if (count < kMinDice || count > kMaxDice || sides < kMinSides || sides > kMaxSides) return values;
    std::uniform_int_distribution<int> die(1, sides);
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) values.push_back(die(engine_));
    return values;
}

std::optional<std::wstring> dice_service_reply(std::wstring_view poster, std::wstring_view message,
                                               DiceRoller& roller) {
    const DiceCommand command = parse_dice_command(message);
    switch (command.kind) {
    case DiceCommandKind::NotACommand: return std::nullopt;
    case DiceCommandKind::Refused: return roll_refused_notice();
    case DiceCommandKind::Roll: break;
    }
    const std::vector<int> values = roller.roll(command.count, command.sides);
    return chat_line(kServiceName, roll_result_message(poster, command.sides, values));
}

}  // namespace zol::practiceroom
