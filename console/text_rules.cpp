#include "text_rules.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "text/digits.h"

namespace zol {

namespace {

bool starts_with_at(std::wstring_view text, std::size_t pos, std::wstring_view piece) {
    return !piece.empty() && text.substr(pos, piece.size()) == piece;
}

}  // namespace

std::wstring signed_number_text(double value) {
    if (value == 0.0) return L" 0";  // also -0.0: zero is written with its sign blank
    char buf[64];
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", value);
    } else {
        std::snprintf(buf, sizeof buf, "%.15G", value);
    }
    std::wstring out = value < 0 ? L"" : L" ";
    for (const char* p = buf; *p; ++p) {
        // snprintf follows the C locale, which this program never changes;
        // force the point anyway so a changed locale cannot leak into a line.
        out.push_back(*p == ',' ? L'.' : static_cast<wchar_t>(*p));
    }
    return out;
}

double lenient_number(std::wstring_view text) {
    std::string digits;  // sign, digits and at most one point, as strtod reads them
    bool have_sign = false, have_point = false, have_digit = false;
    for (wchar_t ch : text) {
        if (ch == L' ' || ch == L'\t' || ch == L'\n') continue;
        if ((ch == L'+' || ch == L'-') && !have_sign && !have_point && !have_digit) {
            have_sign = true;
            digits.push_back(static_cast<char>(ch));
        } else if (ch == L'.' && !have_point) {
            have_point = true;
            digits.push_back('.');
        } else if (is_ascii_digit(ch)) {
            have_digit = true;
            digits.push_back(static_cast<char>(ch));
        } else {
            break;
        }
    }
    if (!have_digit) return 0.0;
    double value = std::strtod(digits.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

std::optional<double> strict_number(std::wstring_view text, const NumberFormat& format) {
    std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return std::nullopt;
    std::size_t last = text.find_last_not_of(L' ');
    text = text.substr(first, last - first + 1);

    std::string plain;  // the number rewritten in the C form for strtod
    std::size_t i = 0;
    if (text[i] == L'+' || text[i] == L'-') plain.push_back(static_cast<char>(text[i++]));
    bool int_digits = false, frac_digits = false;
    while (i < text.size()) {
        if (is_ascii_digit(text[i])) {
            plain.push_back(static_cast<char>(text[i++]));
            int_digits = true;
        } else if (int_digits && starts_with_at(text, i, format.grouping)) {
            i += format.grouping.size();
            // A separator must stand between digits.
            if (i >= text.size() || !is_ascii_digit(text[i])) return std::nullopt;
        } else {
            break;
        }
    }
    if (i < text.size() && starts_with_at(text, i, format.decimal)) {
        i += format.decimal.size();
        plain.push_back('.');
        while (i < text.size() && is_ascii_digit(text[i])) {
            plain.push_back(static_cast<char>(text[i++]));
            frac_digits = true;
        }
    }
    if (!int_digits && !frac_digits) return std::nullopt;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        plain.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) plain.push_back(static_cast<char>(text[i++]));
        bool exp_digits = false;
        while (i < text.size() && is_ascii_digit(text[i])) {
            plain.push_back(static_cast<char>(text[i++]));
            exp_digits = true;
        }
        if (!exp_digits) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    errno = 0;
    double value = std::strtod(plain.c_str(), nullptr);
    if (errno == ERANGE && std::fabs(value) > 1.0) return std::nullopt;  // beyond double range
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

double round_half_even(double value) {
    if (!std::isfinite(value)) return value;
    double floor = std::floor(value);
    double diff = value - floor;
    if (diff > 0.5) return floor + 1.0;
    if (diff < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

}  // namespace zol
