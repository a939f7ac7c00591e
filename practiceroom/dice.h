// The room's dice service: reading a "//roll-dice" command out of a posted
// line and writing the answer the service posts back. Portable (no Windows
// headers) so the native tests cover it.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zol::practiceroom {

inline constexpr int kMinDice = 1;
inline constexpr int kMaxDice = 15;
inline constexpr int kMinSides = 2;
inline constexpr int kMaxSides = 9999;

// The screen name the service answers under.
inline constexpr std::wstring_view kServiceName = L"OnlineHost";

enum class DiceCommandKind {
    NotACommand,  // an ordinary chat line: the service stays quiet
    Roll,         // a well-formed request within range
    Refused,      // starts like a command but is malformed or out of range
};

struct DiceCommand {
    DiceCommandKind kind = DiceCommandKind::NotACommand;
    int count = 0;
    int sides = 0;
};

// Reads a posted message. Blanks (spaces, tabs) around it are ignored; a
// bare "//roll" asks for two six-sided dice; otherwise the rest must be
// exactly "//roll-dice", optional blanks, the count digits,
// "-sides", optional blanks and the sides digits, with the count in 1..15 and
// the sides in 2..9999. Anything else starting with "//roll-dice" is refused,
// a fractional count such as "2.5" included.
DiceCommand parse_dice_command(std::wstring_view message);

// The service's answer to `poster`, e.g. "Jimbo rolled 2 92-sided dice:  45 67"
// or "Jimbo rolled 1 6-sided die:  4": the values follow two blanks and are
// separated by one blank.
std::wstring roll_result_message(std::wstring_view poster, int sides, std::span<const int> values);

// What the service says to a refused command: a whole room line, not a chat
// line. It holds no colon, so a reader that splits lines at the first ":"
// never takes it for something a speaker said.
std::wstring roll_refused_notice();

// Uniform dice, reproducible from a seed within one build (the standard
// library picks the distribution's algorithm). A count or sides outside the
// accepted ranges gives no values.
class DiceRoller {
public:
    explicit DiceRoller(std::uint32_t seed) : engine_(seed) {}
    std::vector<int> roll(int count, int sides);

private:
    std::mt19937 engine_;
};

// The whole room line the service posts after `poster` said `message`: the
// "OnlineHost:  ..." result, the refused notice, or nothing for a line that
// is not a dice command.
std::optional<std::wstring> dice_service_reply(std::wstring_view poster, std::wstring_view message,
                                               DiceRoller& roller);

}  // namespace zol::practiceroom
