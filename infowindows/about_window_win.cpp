// frmaboutzolspar: names the tool, its version and author. Modal over the
// console, run by its own message loop.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "infowindows/web_address.h"
#include "infowindows/info_window_base_win.h"
#include "infowindows/about_and_help_win.h"

namespace zol {

namespace {

using ui::ControlKind;
using ui::ControlRow;
using ui::FontDesc;

constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr FontDesc kHeadFont{L"Arial", 1800, true};
constexpr FontDesc kSansSerif{L"MS Sans Serif", 825, false};

constexpr wchar_t kDescription[] =
    L"thys is intended to ease the task of proctoring mass spars.  i have tryed to include the most needed "
    L"elements on a syngle page.  please feel free to dystribute thys freely.  if you lyke it, let me know.";
constexpr wchar_t kThanks[] = L"special thanks to so many who have helped wyth thys program...   :::kysses:::  ";

enum ControlId {
    kOk = IDOK,  // so IsDialogMessage's Enter lands on it even without DM_GETDEFID
    kIcon = 101,
    kDescriptionLabel,
    kThanksLabel,
    kVersion,
    kSalutation,
    kSignature,
    kEmail,
    kWebAddressLabel,
    kPicture,
    kHead,
    kLowerLine,
    kUpperLine,
    kTopLine,
};

// A line drawn two pixels thick (30 twips at 96 dpi) centred on its y, as an
// empty label painted in the line's colour. The half of a line that would lie
// above the client area is cut off, as the window would clip it.
ControlRow line(int id, int x1, int x2, int y, COLORREF colour) {
    const int top = std::max(0, y - 15);
    return {.id = id, .kind = ControlKind::rule, .place = {.left = x1, .top = top, .width = x2 - x1, .height = y + 15 - top},
            .back_colour = colour};
}

// Controls in tab order, which is also their order on screen from top to
// bottom of the Z order.
std::vector<ControlRow> about_controls() {
    static const std::wstring email = L"zolvanta@" + std::wstring(kWebDomain);
    return {
        {.id = kOk, .kind = ControlKind::default_button, .text = L"o&k",
         .place = {.left = 3840, .top = 5520, .width = 420, .height = 705}},
        {.id = kIcon, .kind = ControlKind::icon, .place = {.left = 2760, .top = 3240, .width = 480, .height = 480},
         .font = &kSansSerif},
        {.id = kDescriptionLabel, .kind = ControlKind::wrapped_label, .text = kDescription,
         .place = {.left = 360, .top = 1800, .width = 3885, .height = 1245}, .text_colour = kBlack},
        {.id = kThanksLabel, .kind = ControlKind::wrapped_label, .text = kThanks,
         .place = {.left = 480, .top = 5520, .width = 3255, .height = 945}, .text_colour = kBlack},
        {.id = kVersion, .kind = ControlKind::centred_label, .text = L"Version 7.8",
         .place = {.left = 1800, .top = 1440, .width = 1515, .height = 225}},
        {.id = kSalutation, .kind = ControlKind::wrapped_label, .text = L"love and peace,",
         .place = {.left = 360, .top = 3120, .width = 1455, .height = 255}},
        {.id = kSignature, .kind = ControlKind::wrapped_label, .text = L"zolvanta",
         .place = {.left = 360, .top = 3480, .width = 1215, .height = 255}},
        {.id = kEmail, .kind = ControlKind::centred_label, .text = email,
         .place = {.left = 120, .top = 4320, .width = 4095, .height = 255}, .font = &kSansSerif},
        {.id = kWebAddressLabel, .kind = ControlKind::centred_label, .text = kWebAddress,
         .place = {.left = 120, .top = 4680, .width = 4095, .height = 255}, .font = &kSansSerif},
        {.id = kPicture, .kind = ControlKind::picture, .place = {.left = 120, .top = 120, .width = 1575, .height = 1695},
         .font = &kSansSerif},
        {.id = kHead, .kind = ControlKind::centred_label, .text = L"zolvanta's spar proctoring tools",
         .place = {.left = 1680, .top = 240, .width = 2655, .height = 1080}, .font = &kHeadFont,
         .text_colour = kPurple},
        line(kLowerLine, 240, 4080, 5160, kPurple),
        line(kUpperLine, 240, 4080, 4080, kPurple),
        line(kTopLine, 0, 3840, 0, kWhite),
    };
}

// The About picture, 102 by 111 pixels at 96 dpi and scaled with the DPI: a
// pair of dice on a purple ground fading to black.
ui::Bitmap draw_picture(UINT dpi) {
    auto px = [dpi](int v) { return MulDiv(v, static_cast<int>(dpi), 96); };
    const int width = px(102);
    const int height = px(111);
    HDC screen = GetDC(nullptr);
    ui::Bitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    const ui::MemoryDc memory(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (!bitmap || !memory) return bitmap;
    HDC dc = memory.get();
    const ui::Selection into_bitmap(dc, bitmap.get());

    constexpr int kBands = 16;
    for (int band = 0; band < kBands; ++band) {
        const BYTE level = static_cast<BYTE>(128 - band * 128 / kBands);
        ui::Brush brush(CreateSolidBrush(RGB(level, 0, level)));
        const RECT r{0, band * height / kBands, width, (band + 1) * height / kBands};
        FillRect(dc, &r, brush.get());
    }

    struct Die {
        int left, top, size;
        COLORREF face, pip;
        // Pip places on a 4 by 4 grid inside the face: 1 and 3 are the
        // thirds, 2 the middle.
        std::vector<POINT> pips;
    };
    const Die dice[] = {
        {10, 20, 52, kWhite, kPurple, {{1, 1}, {3, 1}, {2, 2}, {1, 3}, {3, 3}}},
        {44, 56, 46, kMagenta, kWhite, {{1, 1}, {2, 2}, {3, 3}}},
    };
    ui::Pen outline(CreatePen(PS_SOLID, px(2), kBlack));
    const ui::Selection outlined(dc, outline.get());
    for (const Die& die : dice) {
        ui::Brush face(CreateSolidBrush(die.face));
        ui::Brush pip(CreateSolidBrush(die.pip));
        {
            const ui::Selection filled(dc, face.get());
            RoundRect(dc, px(die.left), px(die.top), px(die.left + die.size), px(die.top + die.size), px(12), px(12));
        }
        const ui::Selection filled(dc, pip.get());
        const ui::Selection unoutlined(dc, GetStockObject(NULL_PEN));
        const int radius = die.size / 10;
        for (const POINT& p : die.pips) {
            const int cx = die.left + die.size * p.x / 4;
            const int cy = die.top + die.size * p.y / 4;
            Ellipse(dc, px(cx - radius), px(cy - radius), px(cx + radius + 1), px(cy + radius + 1));
        }
    }
    return bitmap;
}

class AboutForm final : public info::InfoWindowBase {
public:
    using InfoWindowBase::InfoWindowBase;

    bool open();

    // Disables every visible, enabled window of the thread but this one (and
    // the console even when hidden), remembering which, the way a modal
    // dialog does.
    void disable_others();
    // Enables again what disable_others disabled; harmless to call twice.
    void enable_others();

private:
    void on_command(int id) override {
        if (id == kOk || id == IDCANCEL) close();  // mouse, Enter, Alt+K, Esc
    }
    int default_button_id() const override { return kOk; }
    void on_laid_out(UINT dpi) override;
    // The others are enabled before the window goes, so activation returns to
    // the console instead of to some other program.
    void on_closing() override { enable_others(); }
    void on_detached() override;

    static BOOL CALLBACK collect_enabled(HWND window, LPARAM self);

    std::vector<HWND> disabled_;
    ui::Bitmap picture_;
};

bool AboutForm::open() {
    static constexpr ui::WindowLayout kLayout{
        .class_name = L"frmaboutzolspar",
        .caption = L"about zolvanta's spar",
        .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
        .ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
        .client_width = 4395,
        .client_height = 6675,
        .font = FontDesc{L"Arial", 975, true},
    };
    return create(kLayout, about_controls());
}

void AboutForm::on_laid_out(UINT dpi) {
    ui::Bitmap picture = draw_picture(dpi);
    SendMessageW(control(kPicture), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    picture_ = std::move(picture);  // the control no longer holds the old one
    // No icon resource (as in a test exe) leaves the box empty.
    if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ui::kProgramIconId))) {
        SendMessageW(control(kIcon), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
}

void AboutForm::on_detached() { enable_others(); }

BOOL CALLBACK AboutForm::collect_enabled(HWND window, LPARAM self_param) {
    auto* self = reinterpret_cast<AboutForm*>(self_param);
    if (window != self->hwnd() && IsWindowEnabled(window) && (IsWindowVisible(window) || window == self->console())) {
        self->disabled_.push_back(window);
    }
    return TRUE;
}

void AboutForm::disable_others() {
    EnumThreadWindows(GetCurrentThreadId(), &AboutForm::collect_enabled, reinterpret_cast<LPARAM>(this));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

void AboutForm::enable_others() {
    for (HWND window : disabled_) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    disabled_.clear();
}

}  // namespace

void AboutAndHelp::show_about(HWND console, const std::function<bool()>& stay_on_top) {
    if (about_) {
        SetForegroundWindow(about_->hwnd());
        return;
    }
    AboutForm about(console, stay_on_top);
    about.lower_console();
    if (!about.open()) {
        about.restore_console();
        return;
    }
    about_ = &about;
    about.disable_others();
    ShowWindow(about.hwnd(), SW_SHOW);
    UpdateWindow(about.hwnd());

    // The modal loop is the pump's. It dispatches every message of the
    // thread, so the console's timers and handlers keep running; they may
    // even close the window from a loop of their own, which is why the
    // window's existence is the loop's condition. It also ends when the
    // program does; the pump has then put WM_QUIT back for the loops further
    // out.
    pump_.run_until([&about] { return about.hwnd() == nullptr; });
    about.close();
    about_ = nullptr;
}

}  // namespace zol
