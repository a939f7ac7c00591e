// A window's controls as data: one row per control, written with designated
// initializers, and the window they sit in. ui::ControlTable builds and lays
// out a window from these. Portable: no Windows headers, so a window's table
// can be checked without a window system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "winui/twips.h"

namespace zol::ui {

// What a control is. Each kind is made as the same Windows control with the
// same styles in every window of ours.
enum class ControlKind {
    multi_line_box,   // text box of several lines with a vertical scroll bar; Enter breaks the line
    single_line_box,  // one-line text box
    read_only_box,    // multi-line text to read and scroll, in a sunken frame
    push_button,      // standard push button
    default_button,   // standard push button that Enter presses
    toggle_button,    // owner-drawn button whose face colour shows a state
    flat_button,      // owner-drawn button with a one-pixel outline
    label,            // one line of text on the window's surface, not wrapped
    wrapped_label,    // text on the window's surface, wrapped at the right edge
    centred_label,    // text centred on the window's surface, wrapped
    framed_label,     // text centred in a one-pixel frame; tells its parent of clicks
    icon,             // the program icon, set by the window
    picture,          // a bitmap, set by the window
    rule,             // an empty strip painted in its back colour: a line
    custom,           // made by the window itself (a control of our own class)
};

// Boxes and buttons take the focus and stand in the tab order; the rest do not.
constexpr bool takes_focus(ControlKind kind) {
    switch (kind) {
    case ControlKind::multi_line_box:
    case ControlKind::single_line_box:
    case ControlKind::read_only_box:
    case ControlKind::push_button:
    case ControlKind::default_button:
    case ControlKind::toggle_button:
    case ControlKind::flat_button:
        return true;
    default:
        return false;
    }
}

constexpr bool is_button(ControlKind kind) {
    return kind == ControlKind::push_button || kind == ControlKind::default_button ||
           kind == ControlKind::toggle_button || kind == ControlKind::flat_button;
}

// Colours are 0x00BBGGRR, or 0x800000nn for the system's colour nn, which is
// read whenever the control is drawn and so follows the user's scheme.
constexpr bool is_system_colour(std::uint32_t colour) { return (colour & 0xFFFFFF00u) == 0x80000000u; }
constexpr int system_colour_index(std::uint32_t colour) { return static_cast<int>(colour & 0xFFu); }
inline constexpr std::uint32_t kButtonFaceColour = 0x8000000F;
inline constexpr std::uint32_t kWindowTextColour = 0x80000008;

// One control. The texts must outlive the window (literals or statics).
struct ControlRow {
    int id = 0;
    ControlKind kind = ControlKind::label;
    std::wstring_view text;          // caption or initial text
    TwipsRect place;                 // from the top-left of the client area
    int tab_index = -1;              // child order among controls of its sort (see ControlTable); -1: table order
    const FontDesc* font = nullptr;  // null: the window's font
    std::optional<std::uint32_t> text_colour;  // a Colour; none: the system's for the kind
    std::optional<std::uint32_t> back_colour;  // a Colour; none: the system's for the kind
    std::size_t max_length = 0;      // text boxes: characters; 0: no limit of their own
    std::wstring_view tooltip;       // empty: none
};

// The window the rows sit in: its class, caption and look, the size of its
// client area and its own font.
struct WindowLayout {
    std::wstring_view class_name;
    std::wstring_view caption;
    std::uint32_t style = 0;     // window styles (WS_*)
    std::uint32_t ex_style = 0;  // extended window styles (WS_EX_*)
    int client_width = 0;        // twips
    int client_height = 0;       // twips
    FontDesc font;
    // Width and height in pixels the controls are made at, before the layout
    // places them. A text box fixes its margins when it gets its font: made
    // too narrow for the font's margins it keeps its own narrow ones (the
    // console's boxes); made empty it takes the font's.
    int made_at_px = 0;
};

}  // namespace zol::ui
