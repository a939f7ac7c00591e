#include "practiceroom/practice_room_win.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include <commdlg.h>

#include "practiceroom/resources.h"
#include "practiceroom/room_text.h"
#include "winui/code_page_win.h"

namespace zol::practiceroom {

namespace {

constexpr wchar_t kFrameClass[] = L"AOL Frame25";
constexpr UINT_PTR kAgendaTimer = 1;

// The dice service answers a moment later, as the host's does.
constexpr std::int64_t kServiceDelayMs = 200;

enum Command : UINT {
    kCmdNewRoom = 1001,
    kCmdNextRoom,
    kCmdCloseRoom,
    kCmdExit,
    kCmdCascade,
    kCmdTile,
    kCmdScreenName,
    kCmdPlayScript,
    kCmdPlaySample,
    kCmdStopPlaying,
    kCmdTranscript,
    kCmdHelp,
    kFirstRoomInMenu = 50000,  // the MDI client numbers its window list from here
};

HFONT create_message_font() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

struct MenuItem {
    UINT id;  // 0: a separator
    const wchar_t* text;
};

HMENU popup(std::initializer_list<MenuItem> items) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : items) {
        AppendMenuW(menu, item.id ? MF_STRING : MF_SEPARATOR, item.id, item.text);
    }
    return menu;
}

HMENU create_frame_menu(HMENU* window_menu) {
    *window_menu = popup({{kCmdCascade, L"&cascade"}, {kCmdTile, L"&tile"}});
    const std::pair<HMENU, const wchar_t*> popups[] = {
        {popup({{kCmdNewRoom, L"&new room"},
                {kCmdNextRoom, L"ne&xt room"},
                {kCmdCloseRoom, L"&close room"},
                {0, nullptr},
                {kCmdScreenName, L"&screen name..."},
                {0, nullptr},
                {kCmdExit, L"e&xit"}}),
         L"&room"},
        {popup({{kCmdPlayScript, L"&play a script..."},
                {kCmdPlaySample, L"play the &sample spar"},
                {kCmdStopPlaying, L"s&top playing"},
                {0, nullptr},
                {kCmdTranscript, L"&keep a transcript..."}}),
         L"&spar"},
        {*window_menu, L"&window"},
        {popup({{kCmdHelp, L"&options and scripts"}}), L"&help"},
    };
    HMENU bar = CreateMenu();
    for (const auto& [menu, text] : popups) AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), text);
    return bar;
}

// Scripts are small; a bigger file is surely not one.
constexpr LONGLONG kMaxScriptBytes = 4 * 1024 * 1024;

// The screen name dialog: the name the user types, checked before it is
// taken.
struct NameDialog {
    std::wstring name;
};

INT_PTR CALLBACK name_dialog_proc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* state = reinterpret_cast<NameDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        state = reinterpret_cast<NameDialog*>(lparam);
        SetDlgItemTextW(dialog, IDC_SCREEN_NAME, state->name.c_str());
        SendDlgItemMessageW(dialog, IDC_SCREEN_NAME, EM_SETSEL, 0, -1);
        return TRUE;  // the focus goes to the name
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) {
            const std::wstring typed = ui::window_text(GetDlgItem(dialog, IDC_SCREEN_NAME));
            if (!is_usable_name(typed)) {
                SetDlgItemTextW(dialog, IDC_NAME_PROBLEM, L"a name needs a letter and no colon");
                MessageBeep(MB_ICONWARNING);
                SetFocus(GetDlgItem(dialog, IDC_SCREEN_NAME));
                return TRUE;
            }
            state->name = typed;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> script_text(std::string bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                           static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        }
        return text;
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    std::wstring text;
    if (ui::from_code_page(bytes, text, CP_UTF8, MB_ERR_INVALID_CHARS) || ui::from_code_page(bytes, text)) {
        return text;
    }
    return std::nullopt;
}

std::optional<std::wstring> read_script_file(const std::wstring& path) {
    const HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const ui::KernelHandle file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxScriptBytes) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read <= bytes.size() ? read : 0);
    return script_text(std::move(bytes));
}

bool TranscriptFile::open(const std::wstring& path) {
    // FILE_APPEND_DATA alone makes every write land at the end, and sharing
    // read access lets a test follow the file while we run.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    file_.reset(file);
    return true;
}

void TranscriptFile::write(std::wstring_view record) {
    if (!file_) return;
    const std::string bytes = ui::to_code_page(record, CP_UTF8);
    DWORD written = 0;
    WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

PracticeRoom::PracticeRoom(Options options, Script script, std::uint32_t seed)
    : options_(std::move(options)), script_(std::move(script)), seed_(seed), roller_(seed) {}

PracticeRoom::~PracticeRoom() {
    // Rooms forget themselves as their windows go, so the windows go first.
    // The font member goes after this body, when every window is gone.
    if (hwnd()) DestroyWindow(hwnd());
}

bool PracticeRoom::create(HINSTANCE instance, int show) {
    instance_ = instance;
    // The code page and the kind of window, so a test can tell what it ran against.
    record(0, TranscriptKind::Start,
           L"name " + options_.name + L", seed " + std::to_wstring(seed_) + L", code page " +
               std::to_wstring(GetACP()) + (options_.windows == WindowKind::Ansi ? L", ansi" : L", unicode") +
               L" windows");
    font_.reset(create_message_font());

    const bool frame_registered = ui::register_class({
        .name = kFrameClass,
        .characters = character_set(options_.windows),
        .background = ui::system_colour_background(COLOR_APPWORKSPACE),
        .icon = LoadIconW(nullptr, IDI_APPLICATION),
    });
    if (!frame_registered || !RoomWindow::register_classes(options_.windows)) return false;

    // At the left of the screen and clear of its middle, where the console
    // opens, so the two stand side by side on a screen of common size.
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int work_w = work.right - work.left;
    const int width = std::clamp(work_w / 2 - 140, 420, 900);
    const int height = std::min(640, static_cast<int>(work.bottom - work.top));
    if (!CreateWindowExW(0, kFrameClass, L"practice room", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, work.left, work.top,
                         width, height, nullptr, nullptr, instance, static_cast<ui::Window*>(this)) ||
        !client_) {
        return false;
    }
    // Shown first: a hidden frame gets its first WM_SIZE only when shown, and
    // rooms opened into a client of no size come out minimized.
    ShowWindow(hwnd(), show);
    UpdateWindow(hwnd());
    for (int i = 0; i < options_.rooms; ++i) open_room();

    // The script's delays add up from the start; the agenda keeps them in
    // order, and ties with the hang or the quit go to the script first.
    play(script_);
    if (options_.hang_after_ms) agenda_.add(*options_.hang_after_ms, Event{Event::Kind::Hang, 0, {}, {}});
    if (options_.quit_after_ms) agenda_.add(*options_.quit_after_ms, Event{Event::Kind::Quit, 0, {}, {}});
    arm_timer();

    transcript_.write(held_records_);
    held_records_.clear();
    holding_records_ = false;
    return true;
}

int PracticeRoom::run() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (client_ && TranslateMDISysAccel(client_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

std::int64_t PracticeRoom::now_ms() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - start_).count();
}

void PracticeRoom::record(int room, TranscriptKind kind, std::wstring_view text) {
    std::wstring line = transcript_record(now_ms(), room, kind, text);
    if (holding_records_) held_records_ += line;
    else transcript_.write(line);
}

void PracticeRoom::post(RoomWindow& room, std::wstring_view speaker, std::wstring_view message) {
    room.add_line(chat_line(speaker, message));
    room.add_person(speaker);
    if (auto reply = dice_service_reply(speaker, message, roller_)) {
        agenda_.add(now_ms() + kServiceDelayMs, Event{Event::Kind::ServiceLine, room.number(), {}, std::move(*reply)});
        arm_timer();
    }
}

void PracticeRoom::room_closed(int number) { rooms_.erase(number); }

void PracticeRoom::play(const Script& script) {
    // After the last line still to come, so that two scripts played one
    // after the other do not talk over each other.
    std::int64_t due = now_ms();
    agenda_.for_each([&](std::int64_t at, const Event& e) {
        if (e.kind == Event::Kind::ScriptLine) due = std::max(due, at);
    });
    for (const ScriptLine& line : script.lines) {
        due += line.delay_ms;
        agenda_.add(due, Event{Event::Kind::ScriptLine, 0, line.speaker, line.message});
    }
    arm_timer();
}

void PracticeRoom::stop_playing() {
    agenda_.remove_if([](const Event& e) { return e.kind == Event::Kind::ScriptLine; });
    arm_timer();
}

void PracticeRoom::tell(const std::wstring& text, UINT icon) {
    MessageBoxW(hwnd(), text.c_str(), L"practice room", MB_OK | icon);
}

std::optional<std::wstring> PracticeRoom::choose_file(bool to_save, const wchar_t* title) {
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = L"text files (*.txt)\0*.txt\0all files\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                (to_save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen = to_save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) return std::nullopt;
    return std::wstring(path);
}

void PracticeRoom::play_chosen_script() {
    const auto path = choose_file(false, L"play a spar script");
    if (!path) return;
    const auto text = read_script_file(*path);
    if (!text) {
        tell(L"cannot read the script \"" + *path + L"\"", MB_ICONWARNING);
        return;
    }
    const Script script = parse_script(*text);
    play(script);
    if (!script.problems.empty()) {
        std::wstring problems = L"these lines of the script are left out:\n";
        for (const std::wstring& p : script.problems) problems += L"\n" + p;
        tell(problems, MB_ICONINFORMATION);
    }
}

void PracticeRoom::play_sample_spar() {
    HRSRC found = FindResourceW(instance_, MAKEINTRESOURCEW(IDR_SAMPLE_SPAR), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance_, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return;
    const auto text = script_text(std::string(static_cast<const char*>(bytes), SizeofResource(instance_, found)));
    if (text) play(parse_script(*text));
}

void PracticeRoom::keep_chosen_transcript() {
    const auto path = choose_file(true, L"keep a transcript");
    if (!path) return;
    if (!transcript_.open(*path)) tell(L"cannot write the transcript \"" + *path + L"\"", MB_ICONWARNING);
}

void PracticeRoom::ask_screen_name() {
    NameDialog state{options_.name};
    if (DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_SCREEN_NAME), hwnd(), name_dialog_proc,
                        reinterpret_cast<LPARAM>(&state)) != IDOK) {
        return;
    }
    options_.name = state.name;
    if (RoomWindow* room = front_room()) room->add_person(options_.name);
}

void PracticeRoom::show_help() { tell(usage_text(), MB_ICONINFORMATION); }

void PracticeRoom::open_room() {
    const int number = next_room_number_++;
    auto room = std::make_unique<RoomWindow>(*this, number);
    RoomWindow& created = *room;
    rooms_.emplace(number, std::move(room));
    // A failed creation may or may not have reached WM_NCDESTROY, which
    // erases the room; erasing again is harmless.
    if (!created.create(client_)) rooms_.erase(number);
}

// The front room is the first room in the MDI client's child order, the
// one the console picks.
RoomWindow* PracticeRoom::front_room() {
    for (HWND child = GetWindow(client_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        for (auto& [number, room] : rooms_) {
            if (room->hwnd() == child) return room.get();
        }
    }
    return nullptr;
}

void PracticeRoom::close_front_room() {
    RoomWindow* room = front_room();
    if (room) SendMessageW(client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(room->hwnd()), 0);
}

void PracticeRoom::arm_timer() {
    const auto due = agenda_.next_due();
    if (!due) {
        KillTimer(hwnd(), kAgendaTimer);
        return;
    }
    const std::int64_t wait = std::clamp<std::int64_t>(*due - now_ms(), USER_TIMER_MINIMUM, 0x7FFFFFFF);
    SetTimer(hwnd(), kAgendaTimer, static_cast<UINT>(wait), nullptr);
}

void PracticeRoom::run_due_events() {
    while (auto event = agenda_.take_due(now_ms())) run(*event);
    arm_timer();
}

void PracticeRoom::run(const Event& event) {
    switch (event.kind) {
    case Event::Kind::ScriptLine:
        // With no room open the line is said to nobody.
        if (RoomWindow* room = front_room()) post(*room, event.speaker, event.text);
        break;
    case Event::Kind::ServiceLine:
        // The room may have been closed since the command.
        if (auto it = rooms_.find(event.room); it != rooms_.end()) it->second->add_line(event.text);
        break;
    case Event::Kind::Hang:
        // A host that stops answering: the window thread never returns to
        // its message loop, so every message sent to any of our windows
        // waits, and SMTO_ABORTIFHUNG callers see a hung window.
        for (;;) Sleep(INFINITE);
    case Event::Kind::Quit:
        DestroyWindow(hwnd());
        break;
    }
}

LRESULT PracticeRoom::default_message(UINT msg, WPARAM wparam, LPARAM lparam) {
    return def_frame_proc(hwnd(), client_, msg, wparam, lparam);
}

LRESULT PracticeRoom::handle_message(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        create_client();
        return client_ ? 0 : -1;
    case WM_TIMER:
        if (wparam == kAgendaTimer) run_due_events();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case kCmdNewRoom:   open_room(); return 0;
        case kCmdNextRoom:  SendMessageW(client_, WM_MDINEXT, 0, 0); return 0;
        case kCmdCloseRoom: close_front_room(); return 0;
        case kCmdExit:      DestroyWindow(hwnd()); return 0;
        case kCmdCascade:   SendMessageW(client_, WM_MDICASCADE, 0, 0); return 0;
        case kCmdTile:      SendMessageW(client_, WM_MDITILE, MDITILE_VERTICAL, 0); return 0;
        case kCmdScreenName: ask_screen_name(); return 0;
        case kCmdPlayScript: play_chosen_script(); return 0;
        case kCmdPlaySample: play_sample_spar(); return 0;
        case kCmdStopPlaying: stop_playing(); return 0;
        case kCmdTranscript: keep_chosen_transcript(); return 0;
        case kCmdHelp:      show_help(); return 0;
        }
        break;
    case WM_DESTROY:
        KillTimer(hwnd(), kAgendaTimer);
        PostQuitMessage(0);
        return 0;
    }
    return default_message(msg, wparam, lparam);
}

void PracticeRoom::create_client() {
    HMENU window_menu = nullptr;
    ui::Menu bar(create_frame_menu(&window_menu));
    if (SetMenu(hwnd(), bar.get())) {
        bar.release();  // the window's now, destroyed with it
    } else {
        window_menu = nullptr;  // goes with the bar
    }
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = window_menu;
    ccs.idFirstChild = kFirstRoomInMenu;
    client_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                              WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0, hwnd(),
                              nullptr, instance_, &ccs);
}

}  // namespace zol::practiceroom
