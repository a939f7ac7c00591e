#include "command_lines.h"

#include <cmath>
#include <initializer_list>

namespace zol {

namespace {

constexpr double kMinDice = 1.0;
constexpr double kMaxDice = 15.0;

std::wstring concat(std::initializer_list<std::wstring_view> parts) {
    std::wstring out;
    for (std::wstring_view part : parts) out.append(part);
    return out;
}

}  // namespace

RollLine roll_line(std::wstring_view count_text, std::wstring_view sides_text, const NumberFormat& format) {
    RollLine result;
    const std::optional<double> typed = strict_number(count_text, format);
    if (!typed) return result;
    // The range is checked on the count as it will be written, not on the
    // typed value: a count that only rounds to 1 or 15 in its 15 digits is
    // posted as that and leaves the box alone. The written form always reads
    // back in the C number form.
    double count = strict_number(signed_number_text(*typed), NumberFormat{}).value_or(*typed);
    if (count < kMinDice) {
        count = kMinDice;
        result.count_box_rewrite = L"1";
    } else if (count > kMaxDice) {
        count = kMaxDice;
        result.count_box_rewrite = L"15";
    }
    result.line = concat({L"//roll-dice", signed_number_text(count), L"-sides", sides_text});
    return result;
}

std::wstring init_line() { return L"//roll-dice1-sides100"; }

XpLine xp_line(std::wstring_view people_text, std::wstring_view highest_die_text, const NumberFormat& format) {
    XpLine result;
    // An empty box counts as 0, and the user sees it say so.
    if (people_text.empty()) {
        result.people_box_rewrite = L"0";
        people_text = L"0";
    }
    if (highest_die_text.empty()) {
        result.highest_die_box_rewrite = L"0";
        highest_die_text = L"0";
    }

    const std::optional<double> people = strict_number(people_text, format);
    if (!people) {
        result.refused_box = XpBox::people;
        return result;
    }
    const std::optional<double> highest_die = strict_number(highest_die_text, format);
    if (!highest_die) {
        result.refused_box = XpBox::highest_die;
        return result;
    }

    // This order of operations decides the rounding of fractional values.
    const double others = *people - 1.0;
    const double per_die = *highest_die * others;
    const double xp = per_die * 5.0;
    if (!std::isfinite(xp)) {
        result.refused_box = std::fabs(*highest_die) > std::fabs(*people) ? XpBox::highest_die : XpBox::people;
        return result;
    }
    result.line = concat({L"~*~ thys spar is worth", signed_number_text(xp), L" xp's ~*~"});
    return result;
}

std::wstring stamp_line(std::wstring_view date_time_text) { return concat({L"~*~ ", date_time_text, L" ~*~"}); }

std::wstring general_date_text(std::wstring_view short_date, std::wstring_view long_time, bool is_midnight) {
    if (is_midnight) return std::wstring(short_date);
    return concat({short_date, L" ", long_time});
}

std::array<std::wstring, 2> advertisement_lines() {
    return {
        concat({L"   ~*~ zolvanta's spar tools 7.8 ", L"< A href=\"", kWebAddress, L"\">download</A>", L" ~*~"}),
        concat({L"        ~*~ ", kWebDomain, L" ~*~"}),
    };
}

}  // namespace zol
