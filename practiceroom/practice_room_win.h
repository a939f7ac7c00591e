// The practice room's windows: a frame of the host's class, an MDI client,
// and chat rooms with the host's child classes, so the console finds and
// drives them with the very calls it uses on the host. See room_window_win.cpp
// for one room, practice_room_win.cpp for the frame and the clock.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "practiceroom/agenda.h"
#include "practiceroom/dice.h"
#include "practiceroom/options.h"
#include "practiceroom/script.h"
#include "practiceroom/transcript.h"
#include "winui/win_ui.h"
#include "winui/window_class_win.h"
#include "winui/window_win.h"

namespace zol::practiceroom {

class PracticeRoom;

// The system's default frame procedure of the window's own kind: an ANSI
// window gets its messages in their single-byte form and must pass them on
// in it. (ui::default_window_proc does the same for other windows.)
LRESULT def_frame_proc(HWND hwnd, HWND client, UINT msg, WPARAM wparam, LPARAM lparam);

// The character set of the windows of the chosen kind.
inline ui::CharacterSet character_set(WindowKind kind) {
    return kind == WindowKind::Ansi ? ui::CharacterSet::ansi : ui::CharacterSet::unicode;
}

// One chat room: an "AOL Child" MDI child with, in this child order,
// RICHCNTLREADONLY (the history as its window text, shown through a
// read-only edit inside it), RICHCNTL (the input box), _AOL_Listbox (the
// people here), _AOL_Icon (the send button) and _AOL_Static (the head count).
// With ANSI windows every one of these classes is a single-byte class and the
// history is kept as bytes in the system code page, which RICHCNTLREADONLY
// hands out itself, exactly counted; with Unicode windows the history is its
// window text.
class RoomWindow final : public ui::Window {
public:
    RoomWindow(PracticeRoom& app, int number) : app_(app), number_(number) {}
    RoomWindow(const RoomWindow&) = delete;
    RoomWindow& operator=(const RoomWindow&) = delete;

    static bool register_classes(WindowKind kind);

    // Creates the room as a child of the MDI client; it becomes the front room.
    bool create(HWND mdi_client);

    int number() const { return number_; }

    // Appends one line to the history, the view and the transcript.
    void add_line(std::wstring_view line);
    void add_person(std::wstring_view name);

private:
    static LRESULT CALLBACK input_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK text_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    static RoomWindow* from(HWND room);

    LRESULT handle_message(UINT msg, WPARAM wparam, LPARAM lparam) override;
    void on_detached() override;
    void create_children();
    void layout();
    void show_line(std::wstring_view line, bool first);
    void post_input();
    LRESULT answer_text_message(UINT msg, WPARAM wparam, LPARAM lparam) const;

    PracticeRoom& app_;
    const int number_;
    std::wstring history_;
    std::string history_bytes_;  // ANSI windows: the history in the system code page
    HWND text_ = nullptr;    // RICHCNTLREADONLY
    HWND view_ = nullptr;    // the read-only EDIT inside it
    HWND input_ = nullptr;   // RICHCNTL
    HWND people_ = nullptr;  // _AOL_Listbox
    HWND send_ = nullptr;    // _AOL_Icon
    HWND count_ = nullptr;   // _AOL_Static
};

// Appends UTF-8 records to a file. Each record is written with one WriteFile
// straight to the system, so a reader sees it as soon as it happened.
class TranscriptFile {
public:
    TranscriptFile() = default;
    TranscriptFile(const TranscriptFile&) = delete;
    TranscriptFile& operator=(const TranscriptFile&) = delete;

    bool open(const std::wstring& path);
    void write(std::wstring_view record);

private:
    ui::KernelHandle file_;
};

// A script's text from its bytes: UTF-8 (with or without its mark), UTF-16
// with its mark, or failing those the system code page, as Notepad saves
// them. And the same read from a file; nothing when it cannot be read or is
// too big to be a script.
std::optional<std::wstring> script_text(std::string bytes);
std::optional<std::wstring> read_script_file(const std::wstring& path);

// The program: the frame window, its rooms, the dice service, the script
// player and the one timer that drives them. Everything the command line
// does can be done from its menus too.
class PracticeRoom final : public ui::Window {
public:
    PracticeRoom(Options options, Script script, std::uint32_t seed);
    PracticeRoom(const PracticeRoom&) = delete;
    PracticeRoom& operator=(const PracticeRoom&) = delete;
    ~PracticeRoom();

    bool open_transcript(const std::wstring& path) { return transcript_.open(path); }
    // Plays the script's lines, timed from now, after any still to come.
    void play(const Script& script);
    bool create(HINSTANCE instance, int show);
    int run();

    // What rooms call.
    const std::wstring& user_name() const { return options_.name; }
    WindowKind window_kind() const { return options_.windows; }
    int length_off() const { return options_.length_off; }
    HFONT font() const { return font_.get(); }
    void record(int room, TranscriptKind kind, std::wstring_view text);
    void post(RoomWindow& room, std::wstring_view speaker, std::wstring_view message);
    void room_closed(int number);

private:
    // Something the agenda holds until it is due.
    struct Event {
        enum class Kind { ScriptLine, ServiceLine, Hang, Quit } kind;
        int room = 0;          // ServiceLine: the room the command was posted in
        std::wstring speaker;  // ScriptLine
        std::wstring text;     // ScriptLine: the message; ServiceLine: the whole line
    };

    LRESULT handle_message(UINT msg, WPARAM wparam, LPARAM lparam) override;
    LRESULT default_message(UINT msg, WPARAM wparam, LPARAM lparam) override;
    void create_client();
    void open_room();
    // The menu's commands that ask the user something first.
    void play_chosen_script();
    void play_sample_spar();
    void stop_playing();
    void keep_chosen_transcript();
    void ask_screen_name();
    void show_help();
    std::optional<std::wstring> choose_file(bool to_save, const wchar_t* title);
    void tell(const std::wstring& text, UINT icon);
    void close_front_room();
    RoomWindow* front_room();
    std::int64_t now_ms() const;
    void arm_timer();
    void run_due_events();
    void run(const Event& event);

    Options options_;
    Script script_;
    std::uint32_t seed_;
    DiceRoller roller_;
    Agenda<Event> agenda_;
    TranscriptFile transcript_;
    // Until every room of the start is open, records are held and then
    // written at once: a reader may take the first bytes of the transcript
    // to mean that the rooms are there.
    bool holding_records_ = true;
    std::wstring held_records_;
    std::map<int, std::unique_ptr<RoomWindow>> rooms_;
    int next_room_number_ = 1;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    HINSTANCE instance_ = nullptr;
    HWND client_ = nullptr;
    ui::Font font_;  // the rooms' font; goes after the destructor has destroyed every window
};

}  // namespace zol::practiceroom
