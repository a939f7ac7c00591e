#include "console/dice_counter.h"

#include <array>

#include "chathost/zol_chat.h"
#include "console/text_rules.h"

namespace zol {

namespace {

// A dice line has room for this many values; more cannot be counted.
constexpr int kValueSlots = 15;

// 1-based position of the first occurrence of `piece`, 0 when absent.
std::size_t position_of(std::wstring_view text, std::wstring_view piece) {
    std::size_t at = text.find(piece);
    return at == std::wstring_view::npos ? 0 : at + 1;
}

// Up to `count` characters from 1-based `start`; nothing past the end.
std::wstring_view mid(std::wstring_view text, std::size_t start, std::size_t count) {
    if (start == 0 || start > text.size()) return {};
    return text.substr(start - 1, count);
}

// A run of digits as a die value; nothing when it does not fit 16 bits.
std::optional<std::int16_t> die_value(std::wstring_view digits) {
    std::int32_t value = 0;
    for (wchar_t d : digits) {
        value = value * 10 + (d - L'0');
        if (value > 32767) return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

std::int16_t hyt_poynts(std::int16_t rolled) {
    if (rolled <= 14) return 0;
    if (rolled <= 90) return static_cast<std::int16_t>((rolled - 10) / 5);
    return static_cast<std::int16_t>(rolled - 74);
}

std::optional<DiceTally> read_dice_result(std::wstring_view who_said, std::wstring_view what_said) {
    const std::size_t s = position_of(what_said, L"sided di");
    if (s == 0 || who_said != L"OnlineHost") return std::nullopt;
    const std::size_t length = what_said.size();

    // The name stands in front of "rolled "; without it, the first character.
    std::size_t p = position_of(what_said, L"rolled ");
    if (p < 3) p = 3;
    DiceTally tally;
    tally.roller.assign(what_said.substr(0, p - 2));

    // One or two characters of count right after "rolled " (positions 7 and 8
    // of the text when "rolled" is missing).
    const std::size_t q = position_of(what_said, L"rolled");
    const int count = static_cast<int>(round_half_even(lenient_number(mid(what_said, q + 7, 2))));

    // The first value follows "sided dice:" and two blanks, or "sided die:"
    // and two blanks; those characters themselves are never looked at.
    std::size_t at = count > 1 ? s + 13 : count == 1 ? s + 12 : s;
    if (at > length + 1) return std::nullopt;

    std::array<std::wstring_view, kValueSlots> slots{};
    for (int j = 0; j < count; ++j) {
        std::size_t begin = at;
        while (zol_chat::is_digit(mid(what_said, at, 1))) ++at;
        // A 16th value has no slot: such a line cannot be counted.
        if (j >= kValueSlots) return std::nullopt;
        slots[j] = mid(what_said, begin, at - begin);
        ++at;  // over the separator
        // Fewer values than announced: the line is not a result we can read.
        if (at > length + 2) return std::nullopt;
    }

    for (int k = 0; k < count; ++k) {
        std::optional<std::int16_t> value = die_value(slots[k]);
        if (!value) return std::nullopt;
        tally.total += hyt_poynts(*value);
    }
    return tally;
}

std::wstring hit_points_caption(const DiceTally& tally) {
    return L"~*~ " + tally.roller + L" scored" + signed_number_text(tally.total) + L" ~*~";
}

std::wstring hit_points_announcement(const DiceTally& tally) {
    return L"~*~ " + tally.roller + L" scored" + signed_number_text(tally.total) + L" hyt poynts ~*~";
}

std::optional<DiceCount> count_chat_line(std::wstring_view who_said, std::wstring_view what_said, bool say_score) {
    const std::optional<DiceTally> tally = read_dice_result(who_said, what_said);
    if (!tally) return std::nullopt;
    DiceCount count{hit_points_caption(*tally), std::nullopt};
    if (say_score) count.announcement = hit_points_announcement(*tally);
    return count;
}

}  // namespace zol
