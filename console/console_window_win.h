// zolspar: the console window. It owns its controls, fonts and the chat
// scanner, keeps the three flags, and answers the buttons and menu. The
// window's state lives in this object; the window procedure only forwards.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "chathost/host_windows.h"
#include "console/console_layout.h"
#include "console/dice_counter.h"
#include "console/text_rules.h"
#include "infowindows/about_and_help_win.h"
#include "winui/control_table_win.h"
#include "winui/focus_keeper_win.h"
#include "winui/pump_win.h"
#include "winui/win_ui.h"
#include "winui/window_win.h"
#include "scanner/chat_scanner_win.h"

namespace zol {

class ConsoleWindow final : public ui::Window {
public:
    // The console's keyboard handling and its About and Help windows' join
    // the pump's dialog filters for as long as the console lives.
    ConsoleWindow(HostWindows& host, ui::MessagePump& pump);
    ~ConsoleWindow();
    ConsoleWindow(const ConsoleWindow&) = delete;
    ConsoleWindow& operator=(const ConsoleWindow&) = delete;

    // Creates the window centred on the screen and shows it.
    HWND create(HINSTANCE instance, int show);

    // Read by the About and Help windows when they close.
    bool stayontop = false;

    // Waits with window events flowing; see MessagePump::Pause.
    void Pause(int Duration) { pump_.Pause(Duration); }

    // Tab and Alt keys for the console's controls.
    bool is_dialog_message(MSG& msg);

private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The button Enter presses: the focused one, or 0.
    int focused_button() const;

    void create_controls();
    // What only input needs: subclasses, focus keeping, tooltips.
    void after_first_paint();
    void add_tooltips();
    HWND control(int id) const { return table_.control(id); }
    std::wstring control_text(ControlId id) const;

    void on_command(int id);
    void draw_button(const DRAWITEMSTRUCT& item);

    // The commands.
    void counter_toggle();
    void score_toggle();
    void on_top_toggle();
    void scroll_box(ControlId box);
    void advertise();
    void roll();
    void init();
    void stamp();
    void scroll_xps();
    void refuse(ControlId box);
    void send_line(const std::wstring& line);
    void zolvantascan(const std::wstring& who_said, const std::wstring& what_said);

    // The toggles' face colours: ui::kButtonFaceColour while off.
    std::uint32_t& face_of(int id);
    void set_face(int id, std::uint32_t colour);

    HostWindows& host_;
    ui::MessagePump& pump_;
    int dialog_filter_id_ = 0;
    AboutAndHelp about_and_help_;
    ui::OwnedWindow tooltip_;
    ui::FocusKeeper focus_;
    ui::ControlTable table_;
    ChatScanner scanner_;

    bool ready_for_input_ = false;
    bool sayscore = false;
    bool counteridle = false;
    std::uint32_t face_counter_ = ui::kButtonFaceColour;
    std::uint32_t face_say_score_ = ui::kButtonFaceColour;
    std::uint32_t face_ontop_ = ui::kButtonFaceColour;

    ui::Brush back_brush_, active_brush_;
};

// The user's decimal and grouping separators.
NumberFormat user_number_format();

// The current date and time in the user's general form: short date, one
// blank, long time; at midnight the date alone.
std::wstring user_date_time_text();

// The program: the console on the real host client, shown as `show` asks,
// until it is closed. Gives the exit code.
int run_console(HINSTANCE instance, int show);

}  // namespace zol
