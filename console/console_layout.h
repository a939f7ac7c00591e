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

#include "winui/twips.h"

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
    idc_Command1,
    idc_numofdyce,
    idc_lblnumofdycetxt,
    idc_txtnumofdyce,
    idc_lblsycestxt,
    idc_cmdrolldyce,
    idm_about = 201,
    idm_help,
};

enum class ControlKind {
    multi_line_box,   // multi-line text box with a vertical scroll bar
    single_line_box,  // one-line text box
    push_button,      // standard push button with the usual 3-D look
    toggle_button,    // graphical push button whose face colour changes
    flat_button,      // push button with a one-pixel outline
    label,            // text drawn on the window's surface
    scanner,          // the invisible chat scanner
};

// The fonts the layout names; the console makes each once per DPI.
enum class ControlFont {
    window,        // Arial 8.25 pt, the window's own font
    arial_italic,  // Arial 8.25 pt italic
    banner,        // Arial 9.75 pt, the hit-point label at start
    sans_serif,    // MS Sans Serif 8.25 pt
};

inline constexpr ui::FontDesc kWindowFont{L"Arial", 825, false};
inline constexpr ui::FontDesc kArialItalicFont{L"Arial", 825, true};
inline constexpr ui::FontDesc kBannerFont{L"Arial", 975, false};
inline constexpr ui::FontDesc kSansSerifFont{L"MS Sans Serif", 825, false};
// The hit-point label while the counter runs, and after it stops.
inline constexpr ui::FontDesc kHitPointsRunningFont{L"Arial", 800, true};
inline constexpr ui::FontDesc kHitPointsStoppedFont{L"Arial", 1000, false};

const ui::FontDesc& font_desc(ControlFont font);

// One control of the console as it is laid out.
struct ConsoleControl {
    ControlId id;
    ControlKind kind;
    std::wstring_view text;             // caption or initial text
    ui::TwipsRect place;                // from the top-left of the client area
    int tab_index = -1;                 // -1: takes no part in the tab order
    ControlFont font = ControlFont::window;
    std::optional<std::uint32_t> text_colour;  // 0x00BBGGRR; none: the system's
    std::size_t max_length = 0;         // characters; 0: no limit of its own
    std::wstring_view tooltip;          // empty: none
};

// The controls from the top of the window downwards.
std::span<const ConsoleControl> console_controls();

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
