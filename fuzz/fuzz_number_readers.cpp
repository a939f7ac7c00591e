// The number rules over any text: lenient reading (chat lines), strict
// reading in several regional formats (boxes), the written form and
// half-even rounding of whatever was read. The first eight bytes are also
// taken as a raw double, so the written form meets NaN, infinities and
// subnormals too.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "console/text_rules.h"
#include "fuzz_input.h"

namespace {

const zol::NumberFormat kFormats[] = {
    {L".", L","},
    {L",", L"."},
    {L",", L" "},       // a blank as grouping meets the blanks allowed around the number
    {L",", L"\u00a0"},
    {L".", L"'"},
    {L".", L""},        // no grouping at all
    {L"<>", L"::"},     // separators of more than one character
};

// The largest value whose 15-digit form still reads back as a double.
constexpr double kLargestReadBack = 1.79769313486231e308;

void check_written_form(double value) {
    const std::wstring text = zol::signed_number_text(value);
    FUZZ_CHECK(!text.empty());
    if (!std::isfinite(value)) return;
    FUZZ_CHECK(text.find(L',') == std::wstring::npos);
    FUZZ_CHECK((text[0] == L' ') == (value >= 0 || value == 0));
    FUZZ_CHECK(text[0] == L' ' || text[0] == L'-');
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        FUZZ_CHECK(text.find_first_of(L".E") == std::wstring::npos);
    }

    // The written form reads back as nearly the same value (15 digits) and
    // writes again the same.
    const auto again = zol::strict_number(text, zol::NumberFormat{});
    if (std::fabs(value) > kLargestReadBack) return;
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(std::fabs(*again - value) <= 1e-14 * std::fabs(value) + DBL_TRUE_MIN * 4);
    FUZZ_CHECK(zol::signed_number_text(*again) == text);
}

void check_rounding(double value) {
    const double rounded = zol::round_half_even(value);
    if (!std::isfinite(value)) return;
    FUZZ_CHECK(rounded == std::trunc(rounded));
    const double off = std::fabs(rounded - value);
    FUZZ_CHECK(off <= 0.5);
    if (off == 0.5) FUZZ_CHECK(std::fmod(rounded, 2.0) == 0.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = zol_fuzz::widen(data, size);

    const double lenient = zol::lenient_number(text);
    FUZZ_CHECK(std::isfinite(lenient));
    check_written_form(lenient);
    check_rounding(lenient);

    for (const auto& format : kFormats) {
        const auto strict = zol::strict_number(text, format);
        if (!strict) continue;
        FUZZ_CHECK(std::isfinite(*strict));
        FUZZ_CHECK(text.find_first_not_of(L' ') != std::wstring::npos);
        check_written_form(*strict);
        check_rounding(*strict);
    }

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        check_written_form(raw);
        check_rounding(raw);
    }
    return 0;
}
