#include "console/console_layout.h"

#include <array>

namespace zol {
namespace {

using K = ControlKind;
using F = ControlFont;

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

constexpr std::uint32_t kNoColour = 0;

// Text boxes carry a limit only where the layout gives one.
constexpr std::size_t kBoxLimit = 500;

const std::array<ControlSpec, 21> kControls = {{
    {idc_txtscoreboard, L"txtscoreboard", K::multi_line_box, kScoreBoard, 0, 0, 3615, 1095, 0, F::window,
     kBoxTextColour, true, false, kBoxLimit, L"enter and edit the score board here"},
    {idc_say_score, L"say_score", K::toggle_button, L"sa&y score", 0, 1125, 1215, 255, 18, F::window, kNoColour,
     false, false, 0, L"say the score in the chat room or not"},
    {idc_cmdscoreboard, L"cmdscoreboard", K::push_button, L" scroll score &board ", 1200, 1125, 2415, 255, 1,
     F::arial_italic, kNoColour, false, false, 0, L"clyck here to scroll the score board in the chat room"},
    {idc_zolvantachat81, L"zolvantachat81", K::scanner, L"", 600, 1320, 2400, 1380, -1, F::window, kNoColour,
     false, false, 0, L""},
    {idc_lblhitpoints, L"lblhitpoints", K::label, L"", 0, 1440, 3615, 300, 12, F::banner, kNoColour, false, true,
     0, L"thys wyll show how many hyt points the last attack was worth"},
    {idc_cmdcounterstart, L"cmdcounterstart", K::toggle_button, L"&counter start", 0, 1800, 735, 465, 2,
     F::arial_italic, kNoColour, false, false, 0, L"start and stop dyce counter to calculate hyt points"},
    {idc_ontop, L"ontop", K::toggle_button, L"stay &on top", 720, 1800, 735, 465, 19, F::arial_italic, kNoColour,
     false, false, 0, L"make thys program stay on top of other windows"},
    {idc_txthydyce, L"txthydyce", K::single_line_box, L"", 1680, 1800, 495, 285, 3, F::window, kBoxTextColour,
     true, false, 0, L"enter the hyest dyce in the spar"},
    {idc_txtnuminspar, L"txtnuminspar", K::single_line_box, L"", 2400, 1800, 495, 285, 4, F::window,
     kBoxTextColour, true, false, 0, L"enter the number of people in thys spar"},
    {idc_cmdscrollxps, L"cmdscrollxps", K::flat_button, L"scroll &xp's", 3000, 1800, 615, 465, 5, F::arial_italic,
     kNoColour, false, false, 0,
     L"after entering the hy dyce and number of people in the spar, clyck here to scroll the number of xp's "
     L"thys spar it worth"},
    {idc_Lblhydycetxt, L"Lblhydycetxt", K::label, L"hy dyce", 1680, 2060, 615, 195, 13, F::arial_italic,
     kNoColour, false, false, 0, L""},
    {idc_lblnuminspartxt, L"lblnuminspartxt", K::label, L"in spar", 2400, 2060, 615, 195, 9, F::arial_italic,
     kNoColour, false, false, 0, L""},
    {idc_txtterms, L"txtterms", K::multi_line_box, kTerms, 0, 2300, 3615, 1095, 6, F::window, kTermsTextColour,
     true, false, kBoxLimit, L"you can put your attacks or terms or what ever you wysh to scroll into the chat room here"},
    {idc_cmddatetyme, L"cmddatetyme", K::push_button, L"&date  tyme", 0, 3450, 1215, 255, 14, F::arial_italic,
     kNoColour, false, false, 0, L"post date and tyme to the chatroom"},
    {idc_cmdscrollterms, L"cmdscrollterms", K::push_button, L"scroll &terms/attack", 1200, 3450, 2415, 255, 7,
     F::arial_italic, kNoColour, false, false, 0, L"thys wyll scroll the above text into the chat room"},
    {idc_Command1, L"Command1", K::flat_button, L"&init", 0, 3760, 615, 315, 16, F::arial_italic, kNoColour, false,
     false, 0, L"clyck here to roll 1d100"},
    {idc_numofdyce, L"numofdyce", K::single_line_box, L"4", 720, 3760, 435, 315, 17, F::window, kBoxTextColour,
     true, false, 0, L"enter how many dyce you wysh to roll"},
    {idc_lblnumofdycetxt, L"lblnumofdycetxt", K::label, L"dyce wyth", 1210, 3820, 735, 255, 10, F::arial_italic,
     kNoColour, false, false, 0, L""},
    {idc_txtnumofdyce, L"txtnumofdyce", K::single_line_box, L"92", 2040, 3760, 555, 315, 8, F::window,
     kBoxTextColour, true, false, 0, L"enter how many sydes you wysh to roll"},
    {idc_lblsycestxt, L"lblsycestxt", K::label, L"sydes", 2640, 3820, 495, 255, 11, F::sans_serif, kNoColour,
     false, false, 0, L""},
    {idc_cmdrolldyce, L"cmdrolldyce", K::push_button, L"&roll ", 3120, 3760, 495, 315, 15, F::arial_italic,
     kNoColour, false, false, 0, L"clyck here to roll dyce"},
}};

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; five of those bytes
// are unassigned and map to their C1 control code points, as Windows does.
constexpr char16_t kC1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::span<const ControlSpec> console_controls() { return kControls; }

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

std::wstring_view score_board_template() { return kScoreBoard; }
std::wstring_view terms_template() { return kTerms; }

}  // namespace zol
