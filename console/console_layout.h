// The console window's layout as data: every control with its caption or
// initial text, place in twips, tab position, font and look. Portable, so the
// texts can be checked without a window system; the Win32 shell builds the
// window from this table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "winui/control_row.h"

namespace zol {

inline constexpr std::wstring_view kConsoleClass = L"zolspar";
inline constexpr std::wstring_view kConsoleCaption = L"zolvanta's spar 7.8";

// Client area in twips.
inline constexpr int kConsoleWidthTwips = 3615;
inline constexpr int kConsoleHeightTwips = 4095;

// Colours as 0x00BBGGRR.
inline constexpr std::uint32_t kConsoleBackColour = 0x00800080;
inline constexpr std::uint32_t kActiveColour = 0x00FF00FF;
inline constexpr std::uint32_t kBoxTextColour = 0x00C000C0;
inline constexpr std::uint32_t kTermsTextColour = 0x00FF00FF;

// Control ids. The menu items and the controls share one numbering so a
// WM_COMMAND names its source without ambiguity; tests find controls by them.
enum ControlId : int {
    idc_txtscoreboard = 101,
    idc_say_score,
    idc_cmdscoreboard,
    idc_zolvantachat81,
    idc_lblhitpoints,
    idc_cmdcounterstart,
    idc_ontop,
    idc_txthydyce,
    idc_txtnuminspar,
    idc_cmdscrollxps,
    idc_Lblhydycetxt,
    idc_lblnuminspartxt,
    idc_txtterms,
    idc_cmddatetyme,
    idc_cmdscrollterms,
    idc_Command1,      // the init button
    idc_numofdyce,     // the dice count box
    idc_lblnumofdycetxt,
    idc_txtnumofdyce,  // the sides box
    idc_lblsycestxt,
    idc_cmdrolldyce,
    idm_about = 201,
    idm_help,
};

// The fonts the layout names: the window's own, and those of single controls.
inline constexpr ui::FontDesc kWindowFont{L"Arial", 825, false};
inline constexpr ui::FontDesc kArialItalicFont{L"Arial", 825, true};
inline constexpr ui::FontDesc kBannerFont{L"Arial", 975, false};
inline constexpr ui::FontDesc kSansSerifFont{L"MS Sans Serif", 825, false};
// The hit-point label while the counter runs, and after it stops.
inline constexpr ui::FontDesc kHitPointsRunningFont{L"Arial", 800, true};
inline constexpr ui::FontDesc kHitPointsStoppedFont{L"Arial", 1000, false};

// The controls from the top of the window downwards. The hit-point label
// (framed) starts with banner_text(); the scanner is the one custom control.
std::span<const ui::ControlRow> console_controls();

// The label that names a text box for screen readers, or none: the two
// multi-line boxes have no label and go by their tooltips.
std::optional<ControlId> label_of_box(ControlId box);

// The label's caption at start: 41 characters decoded from Windows-1252.
const std::wstring& banner_text();

// Menu bar.
inline constexpr std::wstring_view kAboutMenuText = L"&about";
inline constexpr std::wstring_view kHelpMenuText = L"&help";

// Windows-1252 bytes to UTF-16.
std::wstring decode_windows_1252(std::string_view bytes);

}  // namespace zol
