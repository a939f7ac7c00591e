// Layout units shared by our windows. Positions and sizes of controls are
// given in twips, 1/1440 inch, from the top-left corner of the client area,
// and scaled to pixels by the DPI the window is shown at. Portable: no
// Windows headers, so layout tables can be checked natively.
#pragma once

#include <string_view>

namespace zol::ui {

inline constexpr int kTwipsPerInch = 1440;

// A control's place in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A font by face, size and slant. Sizes are in hundredths of a point, so
// 8.25 pt is 825.
struct FontDesc {
    std::wstring_view face;
    int hundredths_of_point = 0;
    bool italic = false;
};

// Pixels for `twips` at `dpi`, rounded as MulDiv rounds (half away from zero).
constexpr int twips_to_px(int twips, unsigned dpi) {
    const long long scaled = static_cast<long long>(twips) * static_cast<long long>(dpi);
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch : -((-scaled + half) / kTwipsPerInch));
}

}  // namespace zol::ui
