// The console's rules for reading and writing numbers. Portable: no Windows
// headers, so the native test build covers them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zol {

// The user's regional number format, as strict_number() needs it. The
// Windows shell fills it from the user's locale (user_number_format()).
struct NumberFormat {
    std::wstring decimal = L".";
    std::wstring grouping = L",";
};

// How a number is written into a posted line or a caption: one leading blank
// for zero or more, "-" directly in front of a negative value, "." as the
// decimal point whatever the locale, no grouping. Whole values of up to 15
// digits are plain digits; anything else keeps at most 15 significant digits
// with trailing zeros dropped and a 0 in front of the point below 1.
std::wstring signed_number_text(double value);

// Reads a number out of arbitrary text and never fails: blanks, tabs and line
// feeds are skipped wherever they stand, then an optional sign, digits and at
// most one "." are taken; reading stops at the first other character; nothing
// readable gives 0.
double lenient_number(std::wstring_view text);

// Reads a number typed into a box: the whole text, blanks around it allowed,
// must be one number in the given format (optional sign, digits with
// grouping separators, one decimal separator, optional exponent). Anything
// else, and anything beyond the range of a double, gives no value.
std::optional<double> strict_number(std::wstring_view text, const NumberFormat& format);

// Rounds to the nearest whole number; a half goes to the even neighbour.
double round_half_even(double value);

}  // namespace zol
