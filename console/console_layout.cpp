#include "console/console_layout.h"

#include <array>

namespace zol {
namespace {

using K = ui::ControlKind;

constexpr std::wstring_view kScoreBoard = L"    ~*~ score ~*~\r\n\r\n~*~  end score ~*~\r\n";

constexpr std::wstring_view kTerms =
    L"~*~ terms ~*~\r\n"
    L"no sids, healing or enhancers\r\n"
    L"no hs for anyone any round\r\n"
    L"s/a's are ok.. random if you must\r\n"
    L"if you are not here for your turn we wyll\r\n"
    L"skyp you once then dq you if you are not \r\n"
    L"here the second turn\r\n"
    L"~*~ that's it ~*~\r\n";

// The banner's bytes in Windows-1252: an ornament around "^v^".
constexpr unsigned char kBannerBytes[] = {
    0x7E, 0xB7, 0xA5, 0x20, 0xBB, 0xA7, 0xAB, 0x3A, 0x2A, 0x2E, 0xB8, 0xB8, 0x2E, 0xB7,
    0xB4, 0xA8, 0x60, 0xBB, 0x20, 0x5E, 0x76, 0x5E, 0x20, 0xAB, 0xB4, 0xA8, 0x60, 0xB7,
    0x2E, 0xB8, 0xB8, 0x2E, 0x2A, 0x3A, 0xBB, 0xA7, 0xAB, 0x20, 0xA5, 0xB7, 0x7E,
};

// Text boxes carry a limit only where the layout gives one.
constexpr std::size_t kBoxLimit = 500;

const std::array<ui::ControlRow, 21> kControls = {{
    {.id = idc_txtscoreboard, .kind = K::multi_line_box, .text = kScoreBoard,
     .place = {.left = 0, .top = 0, .width = 3615, .height = 1095}, .tab_index = 0,
     .text_colour = kBoxTextColour, .max_length = kBoxLimit, .tooltip = L"enter and edit the score board here"},
    {.id = idc_say_score, .kind = K::toggle_button, .text = L"sa&y score",
     .place = {.left = 0, .top = 1125, .width = 1215, .height = 255}, .tab_index = 18,
     .tooltip = L"say the score in the chat room or not"},
    {.id = idc_cmdscoreboard, .kind = K::push_button, .text = L" scroll score &board ",
     .place = {.left = 1200, .top = 1125, .width = 2415, .height = 255}, .tab_index = 1, .font = &kArialItalicFont,
     .tooltip = L"clyck here to scroll the score board in the chat room"},
    {.id = idc_zolvantachat81, .kind = K::custom, .text = L"",
     .place = {.left = 600, .top = 1320, .width = 2400, .height = 1380}},
    {.id = idc_lblhitpoints, .kind = K::framed_label, .text = L"",
     .place = {.left = 0, .top = 1440, .width = 3615, .height = 300}, .tab_index = 12, .font = &kBannerFont,
     .text_colour = ui::kWindowTextColour, .tooltip = L"thys wyll show how many hyt points the last attack was worth"},
    {.id = idc_cmdcounterstart, .kind = K::toggle_button, .text = L"&counter start",
     .place = {.left = 0, .top = 1800, .width = 735, .height = 465}, .tab_index = 2, .font = &kArialItalicFont,
     .tooltip = L"start and stop dyce counter to calculate hyt points"},
    {.id = idc_ontop, .kind = K::toggle_button, .text = L"stay &on top",
     .place = {.left = 720, .top = 1800, .width = 735, .height = 465}, .tab_index = 19, .font = &kArialItalicFont,
     .tooltip = L"make thys program stay on top of other windows"},
    {.id = idc_txthydyce, .kind = K::single_line_box, .text = L"",
     .place = {.left = 1680, .top = 1800, .width = 495, .height = 285}, .tab_index = 3,
     .text_colour = kBoxTextColour, .tooltip = L"enter the hyest dyce in the spar"},
    {.id = idc_txtnuminspar, .kind = K::single_line_box, .text = L"",
     .place = {.left = 2400, .top = 1800, .width = 495, .height = 285}, .tab_index = 4,
     .text_colour = kBoxTextColour, .tooltip = L"enter the number of people in thys spar"},
    {.id = idc_cmdscrollxps, .kind = K::flat_button, .text = L"scroll &xp's",
     .place = {.left = 3000, .top = 1800, .width = 615, .height = 465}, .tab_index = 5, .font = &kArialItalicFont,
     .tooltip = L"after entering the hy dyce and number of people in the spar, clyck here to scroll the number of "
                L"xp's thys spar it worth"},
    {.id = idc_Lblhydycetxt, .kind = K::label, .text = L"hy dyce",
     .place = {.left = 1680, .top = 2060, .width = 615, .height = 195}, .tab_index = 13, .font = &kArialItalicFont},
    {.id = idc_lblnuminspartxt, .kind = K::label, .text = L"in spar",
     .place = {.left = 2400, .top = 2060, .width = 615, .height = 195}, .tab_index = 9, .font = &kArialItalicFont},
    {.id = idc_txtterms, .kind = K::multi_line_box, .text = kTerms,
     .place = {.left = 0, .top = 2300, .width = 3615, .height = 1095}, .tab_index = 6,
     .text_colour = kTermsTextColour, .max_length = kBoxLimit,
     .tooltip = L"you can put your attacks or terms or what ever you wysh to scroll into the chat room here"},
    {.id = idc_cmddatetyme, .kind = K::push_button, .text = L"&date  tyme",
     .place = {.left = 0, .top = 3450, .width = 1215, .height = 255}, .tab_index = 14, .font = &kArialItalicFont,
     .tooltip = L"post date and tyme to the chatroom"},
    {.id = idc_cmdscrollterms, .kind = K::push_button, .text = L"scroll &terms/attack",
     .place = {.left = 1200, .top = 3450, .width = 2415, .height = 255}, .tab_index = 7, .font = &kArialItalicFont,
     .tooltip = L"thys wyll scroll the above text into the chat room"},
    {.id = idc_Command1, .kind = K::flat_button, .text = L"&init",
     .place = {.left = 0, .top = 3760, .width = 615, .height = 315}, .tab_index = 16, .font = &kArialItalicFont,
     .tooltip = L"clyck here to roll 1d100"},
    {.id = idc_numofdyce, .kind = K::single_line_box, .text = L"4",
     .place = {.left = 720, .top = 3760, .width = 435, .height = 315}, .tab_index = 17,
     .text_colour = kBoxTextColour, .tooltip = L"enter how many dyce you wysh to roll"},
    {.id = idc_lblnumofdycetxt, .kind = K::label, .text = L"dyce wyth",
     .place = {.left = 1210, .top = 3820, .width = 735, .height = 255}, .tab_index = 10, .font = &kArialItalicFont},
    {.id = idc_txtnumofdyce, .kind = K::single_line_box, .text = L"92",
     .place = {.left = 2040, .top = 3760, .width = 555, .height = 315}, .tab_index = 8,
     .text_colour = kBoxTextColour, .tooltip = L"enter how many sydes you wysh to roll"},
    {.id = idc_lblsycestxt, .kind = K::label, .text = L"sydes",
     .place = {.left = 2640, .top = 3820, .width = 495, .height = 255}, .tab_index = 11, .font = &kSansSerifFont},
    {.id = idc_cmdrolldyce, .kind = K::push_button, .text = L"&roll ",
     .place = {.left = 3120, .top = 3760, .width = 495, .height = 315}, .tab_index = 15, .font = &kArialItalicFont,
     .tooltip = L"clyck here to roll dyce"},
}};

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; five of those bytes
// are unassigned and map to their C1 control code points, as Windows does.
constexpr char16_t kC1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::span<const ui::ControlRow> console_controls() { return kControls; }

std::optional<ControlId> label_of_box(ControlId box) {
    switch (box) {
    case idc_txthydyce: return idc_Lblhydycetxt;
    case idc_txtnuminspar: return idc_lblnuminspartxt;
    case idc_numofdyce: return idc_lblnumofdycetxt;
    case idc_txtnumofdyce: return idc_lblsycestxt;
    default: return std::nullopt;
    }
}

std::wstring decode_windows_1252(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.push_back(b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(kC1[b - 0x80]) : static_cast<wchar_t>(b));
    }
    return text;
}

const std::wstring& banner_text() {
    static const std::wstring banner = decode_windows_1252(
        std::string_view(reinterpret_cast<const char*>(kBannerBytes), sizeof kBannerBytes));
    return banner;
}


}  // namespace zol
