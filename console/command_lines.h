// The lines the roll, xp, stamp and advertisement commands post, and the box
// rewrites that go with them. Portable: no Windows headers, so the native
// test build covers them. The shell reads the boxes, calls these, applies the
// rewrites, and posts the lines (or beeps and focuses the named box).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "console/text_rules.h"
#include "infowindows/web_address.h"

namespace zol {

// Result of the roll command. Without a line the command was refused: the
// count box holds no number, so the shell beeps and focuses it.
struct RollLine {
    std::optional<std::wstring> line;
    // New text for the count box when the count was pulled into 1..15;
    // otherwise the box is left exactly as typed.
    std::optional<std::wstring> count_box_rewrite;

    bool refused() const { return !line.has_value(); }
};

// The count is read strictly in the user's number format and kept as typed
// (a fraction stays a fraction) unless it lies outside 1..15. The sides text
// goes into the line untouched, even empty.
RollLine roll_line(std::wstring_view count_text, std::wstring_view sides_text, const NumberFormat& format);

// The line posted when the dice are set up.
std::wstring init_line();

enum class XpBox { people, highest_die };

// Result of the xp command. Without a line the command was refused and
// refused_box names the box to focus. Box rewrites are reported either way:
// empty boxes become "0" before anything is read.
struct XpLine {
    std::optional<std::wstring> line;
    std::optional<XpBox> refused_box;
    std::optional<std::wstring> people_box_rewrite;
    std::optional<std::wstring> highest_die_box_rewrite;

    bool refused() const { return !line.has_value(); }
};

// xp = 5 × highest die × (people − 1). A box that holds no number is refused
// (people first). A product beyond the range of a double is refused too,
// naming the box with the larger magnitude, the people box on a tie.
XpLine xp_line(std::wstring_view people_text, std::wstring_view highest_die_text, const NumberFormat& format);

// "~*~ <date and time> ~*~".
std::wstring stamp_line(std::wstring_view date_time_text);

// The general date form: the short date, one blank and the long time; at
// midnight the date alone.
std::wstring general_date_text(std::wstring_view short_date, std::wstring_view long_time, bool is_midnight);

// The two lines of the advertisement; the shell pauses one second between
// them.
std::array<std::wstring, 2> advertisement_lines();

}  // namespace zol
