// The room reader against a long history: the scanner's tick (ReadChatText
// and scan_tick through User32Host, what the console does on every WM_TIMER)
// timed against the bare single-byte WM_GETTEXT of the same history, and the
// console's memory while a history grows from nothing to 1 MB.
//
// The host is this same exe started in "host" mode: a window tree of the
// host's classes, registered as ANSI classes as the host's are, whose text
// window hands out a history kept as bytes in the system code page and does
// nothing else. With --grow it starts near empty and grows when told.
#include "bench/benchmarks_win.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bench/stats.h"
#include "chathost/user32_host_win.h"
#include "chathost/zol_chat.h"
#include "console/console_layout.h"
#include "scanner/chat_scanner.h"
#include "winui/code_page_win.h"
#include "winui/window_class_win.h"

namespace zol::bench {
namespace {

// The last line of every history: a dice result, what the scanner is there
// to find.
constexpr wchar_t kLastLine[] = L"OnlineHost:  player1 rolled 4 92-sided dice:  17 88 42 5";
// The dice result that ends a grown history; the console must count it.
constexpr wchar_t kGrownLine[] = L"OnlineHost:  grower rolled 2 20-sided dice:  15 20";
constexpr wchar_t kGrownCaption[] = L"~*~ grower scored 3 ~*~";

// One chat line of the history. Where the system code page holds Japanese
// (932, or UTF-8) a line carries some, so the reader meets characters of
// two and three bytes; elsewhere it is ASCII.
std::string chat_line(std::size_t i) {
    static const bool japanese = GetACP() == 932 || GetACP() == CP_UTF8;
    std::wstring line = L"player" + std::to_wstring(i % 7 + 1) + L":  my line number " + std::to_wstring(i);
    line += japanese ? L", \u653B\u6483\u3057\u307E\u3059" : L", with a few words more";  // 攻撃します
    return ui::to_code_page(line);
}

// A room history of about `bytes` bytes in the system code page: whole chat
// lines separated by one CR, as the host keeps them, ending with `last`.
std::string history_of(std::size_t bytes, const std::wstring& last) {
    std::string tail(1, '\r');
    tail += ui::to_code_page(last);
    std::string text;
    text.reserve(bytes + 256);
    for (std::size_t i = 0; text.size() + tail.size() < bytes; ++i) {
        if (!text.empty()) text += '\r';
        text += chat_line(i);
    }
    return text + tail;
}

// The host's state: one room whose text window hands out `g_history`.
HWND g_client = nullptr;
HWND g_text = nullptr;
std::string g_history;
// Growing: the size to reach, how much to add per step, and the events that
// start the growth and say it is done.
std::size_t g_grow_to = 0;
std::size_t g_grow_step = 0;
HANDLE g_grow_go = nullptr;
HANDLE g_grow_full = nullptr;
std::size_t g_next_line = 0;
constexpr UINT_PTR kGoTimer = 1, kGrowTimer = 2;

LRESULT CALLBACK frame_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_TIMER:
        if (wparam == kGoTimer && WaitForSingleObject(g_grow_go, 0) == WAIT_OBJECT_0) {
            KillTimer(window, kGoTimer);
            SetTimer(window, kGrowTimer, 250, nullptr);
        } else if (wparam == kGrowTimer) {
            const std::size_t target = std::min(g_grow_to, g_history.size() + g_grow_step);
            while (g_history.size() < target) {
                g_history += '\r';
                g_history += chat_line(g_next_line++);
            }
            if (g_history.size() >= g_grow_to) {
                g_history += '\r';
                g_history += ui::to_code_page(kGrownLine);
                KillTimer(window, kGrowTimer);
                SetEvent(g_grow_full);
            }
        }
        return 0;
    }
    return DefFrameProcA(window, g_client, message, wparam, lparam);
}

LRESULT CALLBACK room_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefMDIChildProcA(window, message, wparam, lparam);
}

// The text window of an ANSI host: its length in bytes and its bytes.
LRESULT CALLBACK text_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(g_history.size());
    if (message == WM_GETTEXT) {
        if (wparam == 0) return 0;
        const std::size_t n = std::min(g_history.size(), static_cast<std::size_t>(wparam) - 1);
        g_history.copy(reinterpret_cast<char*>(lparam), n);
        reinterpret_cast<char*>(lparam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// The host's classes are ANSI classes, as the chat client's are.
bool register_class(const wchar_t* name, WNDPROC proc) {
    return ui::register_class({.name = name,
                               .procedure = proc,
                               .characters = ui::CharacterSet::ansi,
                               .background = ui::system_colour_background(COLOR_BTNFACE)});
}

void signal(const std::wstring& name) {
    if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str())) {
        SetEvent(event);
        CloseHandle(event);
    }
}

}  // namespace

int run_host(const Args& args) {
    const auto chars = static_cast<std::size_t>(args.number(L"--chars", 1024));
    const bool grow = args.flag(L"--grow");

    if (!register_class(L"AOL Frame25", frame_proc) || !register_class(L"AOL Child", room_proc) ||
        !register_class(L"RICHCNTLREADONLY", text_proc)) {
        return 1;
    }
    for (const wchar_t* cls : {L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"}) {
        if (!register_class(cls, DefWindowProcA)) return 1;
    }
    if (grow) {
        g_history = ui::to_code_page(L"*** you are in the room ***");
        g_grow_to = chars;
        g_grow_step = static_cast<std::size_t>(args.number(L"--step", 16 * 1024));
        g_grow_go = OpenEventW(SYNCHRONIZE, FALSE, args.text(L"--go").c_str());
        g_grow_full = OpenEventW(EVENT_MODIFY_STATE, FALSE, args.text(L"--full").c_str());
        if (!g_grow_go || !g_grow_full) return 1;
    } else {
        g_history = history_of(chars, kLastLine);
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND frame = CreateWindowExA(0, "AOL Frame25", "tick benchmark host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 640, 400, nullptr, nullptr, instance, nullptr);
    if (!frame) return 1;
    CLIENTCREATESTRUCT ccs{};
    g_client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 620, 360, frame,
                               nullptr, instance, &ccs);
    if (!g_client) return 1;
    MDICREATESTRUCTA mcs{};
    mcs.szClass = "AOL Child";
    mcs.szTitle = "room";
    mcs.hOwner = instance;
    mcs.cx = 600;
    mcs.cy = 340;
    auto room = reinterpret_cast<HWND>(SendMessageA(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!room) return 1;
    // Child order as the locator requires: the text window before the input
    // box, then the people list, the icon and the label.
    for (const char* cls : {"RICHCNTLREADONLY", "RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"}) {
        HWND child = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, room, nullptr, instance, nullptr);
        if (!child) return 1;
        if (!g_text) g_text = child;
    }
    if (grow) SetTimer(frame, kGoTimer, 50, nullptr);

    signal(args.text(L"--ready"));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

namespace {

// CPU time of this process so far, in microseconds. (Wine answers this for
// the calling process; only other processes' times are out of its reach.)
double own_cpu_micros() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (value(kernel) + value(user)) / 10.0;
}

// A host started in another process, closed with this object.
class Host {
public:
    bool start(const std::wstring& args) {
        static int count = 0;
        const std::wstring ready_name =
            L"Local\\zolbench-host-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, ready_name.c_str());
        if (!ready) return false;
        const bool started = launch(child_, exe_dir() + L"\\zolbench.exe", L"host " + args + L" --ready " + ready_name);
        const bool is_ready = started && WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0;
        CloseHandle(ready);
        if (!is_ready) note(L"the benchmark host did not come up");
        return is_ready;
    }
    DWORD id() const { return child_.id(); }

private:
    Process child_;
};

// What one way of reading costs: wall time per read and this process's CPU
// time per read.
struct Cost {
    std::vector<double> micros;
    double cpu_micros = 0;
    std::size_t reads = 0;
    double cpu_per_read() const { return reads ? cpu_micros / static_cast<double>(reads) : 0; }
};

// Runs `read` for about `ms` milliseconds and adds what it cost.
template <typename Read>
bool time_reads(Cost& cost, int ms, Read read) {
    const double cpu_before = own_cpu_micros();
    const auto stop = Clock::now() + std::chrono::milliseconds(ms);
    std::size_t n = 0;
    while (Clock::now() < stop || n < 5) {
        const auto start = Clock::now();
        if (!read()) return false;
        cost.micros.push_back(ms_between(start, Clock::now()) * 1000.0);
        ++n;
    }
    cost.cpu_micros += own_cpu_micros() - cpu_before;
    cost.reads += n;
    return true;
}

struct TickResult {
    bool ok = false;
    Cost tick, bare;
};

// The two ways of reading the same history, taken in turns, so that
// whatever else runs on the machine weighs on both alike.
TickResult measure(std::size_t bytes, int budget_ms) {
    TickResult result;
    Host host;
    if (!host.start(L"--chars " + std::to_wstring(bytes))) return result;

    User32Host user32;
    ScannerMemory memory;
    memory.scanstarttext = zol_chat::ReadChatText(user32);
    if (memory.scanstarttext.find(L"OnlineHost:") == std::wstring::npos) {
        note(L"the scanner did not find the host's room text");
        return result;
    }
    HWND frame = test::find_top_level(L"AOL Frame25", nullptr, host.id());
    HWND mdi = frame ? FindWindowExW(frame, nullptr, L"MDIClient", nullptr) : nullptr;
    HWND room = mdi ? FindWindowExW(mdi, nullptr, L"AOL Child", nullptr) : nullptr;
    HWND text = room ? FindWindowExW(room, nullptr, L"RICHCNTLREADONLY", nullptr) : nullptr;
    DWORD_PTR length = 0;
    if (!text || !SendMessageTimeoutW(text, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        note(L"the host's text window does not answer");
        return result;
    }
    std::wstring tail;
    std::vector<char> bare(length + 1);
    const auto tick = [&] {
        zol_chat::ReadChatText(user32, tail);
        // The first tick raises nothing (the text is the start text); so do
        // all later ones, which is the console's steady state between lines.
        return !scan_tick(tail, memory) && tail.size() == zol_chat::kChatTailLength;
    };
    // The one copy every reader needs: the single-byte text into a buffer
    // sized from the exact length, nothing converted.
    const auto bare_copy = [&] {
        DWORD_PTR copied = 0;
        return SendMessageTimeoutA(text, WM_GETTEXT, bare.size(), reinterpret_cast<LPARAM>(bare.data()),
                                   SMTO_ABORTIFHUNG | SMTO_NORMAL, 2000, &copied) != 0 &&
               copied == length;
    };
    constexpr int kRounds = 12;
    for (int round = 0; round < kRounds; ++round) {
        if (!time_reads(result.bare, budget_ms / kRounds, bare_copy) ||
            !time_reads(result.tick, budget_ms / kRounds, tick)) {
            note(L"unexpected result of a read");
            return result;
        }
    }
    result.ok = true;
    return result;
}

void report_cost(const std::string& key, const Cost& cost) {
    const Summary s = summarize(cost.micros);
    report((key + "_samples").c_str(), static_cast<double>(s.count));
    report((key + "_median_us").c_str(), s.median);
    report((key + "_max_us").c_str(), s.max);
    report((key + "_cpu_us").c_str(), cost.cpu_per_read());
}

}  // namespace

int run_tick(const Args& args) {
    const int budget = args.number(L"--ms", 3000);
    int status = 0;
    report("tick_code_page", GetACP());
    for (const std::size_t bytes : {std::size_t{1024}, std::size_t{100} * 1024, std::size_t{1024} * 1024}) {
        const TickResult r = measure(bytes, budget);
        if (!r.ok) {
            status = 1;
            continue;
        }
        const std::string size = std::to_string(bytes);
        report_cost("tick_" + size, r.tick);
        report_cost("bare_" + size, r.bare);
        if (r.bare.cpu_per_read() > 0) {
            report(("tick_" + size + "_cpu_ratio").c_str(), r.tick.cpu_per_read() / r.bare.cpu_per_read());
        }
    }
    return status;
}

// The console's memory while the room's history grows. The host grows from
// nothing to --chars bytes in steps of --step bytes every 250 ms and ends
// with a dice result, which the console must count; the script reads the
// console's resident memory from Linux meanwhile. Hand-off through files:
// --ready (we are set), --go (the script took its first reading), --full
// (the history is complete; the console keeps ticking over it),
// --done (the script has its figures; we close everything).
int run_memory(const Args& args) {
    const std::wstring bin = args.text(L"--bin", exe_dir());
    const std::wstring ready = args.text(L"--ready"), go = args.text(L"--go");
    const std::wstring full = args.text(L"--full"), done = args.text(L"--done");
    const int chars = args.number(L"--chars", 1024 * 1024);
    if (ready.empty() || go.empty() || full.empty() || done.empty()) {
        note(L"memory needs --ready, --go, --full and --done FILE");
        return 2;
    }
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    const std::wstring go_name = L"Local\\zolbench-grow-go-" + tag, full_name = L"Local\\zolbench-grow-full-" + tag;
    HANDLE grow_go = CreateEventW(nullptr, TRUE, FALSE, go_name.c_str());
    HANDLE grow_full = CreateEventW(nullptr, TRUE, FALSE, full_name.c_str());
    const auto finish = [&](int status) {
        CloseHandle(grow_go);
        CloseHandle(grow_full);
        return status;
    };
    Host host;
    const std::wstring step = std::to_wstring(args.number(L"--step", 16384));
    if (!host.start(L"--grow --chars " + std::to_wstring(chars) + L" --step " + step + L" --go " + go_name +
                    L" --full " + full_name)) {
        return finish(1);
    }
    Process console;
    if (!launch(console, bin + L"\\zolspar.exe")) return finish(1);
    HWND window = wait_for_window(L"zolspar", nullptr, console.id(), 20s);
    if (!window) {
        note(L"the console showed no window");
        return finish(1);
    }
    // The yardstick: a reader that does nothing but what any reader must,
    // the single-byte copy of the whole text into a buffer of its length,
    // as often as the scanner ticks.
    Process reader;
    if (!launch(reader, exe_dir() + L"\\zolbench.exe", L"reader --host " + std::to_wstring(host.id()))) return finish(1);
    HWND label = GetDlgItem(window, idc_lblhitpoints);
    click(GetDlgItem(window, idc_cmdcounterstart));
    const bool counting = wait_until(
        [&] {
            const auto t = read_text(label);
            return t && !t->empty() && t->find_first_not_of(L' ') == std::wstring::npos;
        },
        10s);
    if (!counting) {
        note(L"the counter did not start");
        return finish(1);
    }
    if (!write_file(ready, "ready\n") || !wait_until([&] { return file_exists(go); }, 120s)) {
        note(L"no go from the bench script");
        return finish(1);
    }
    const auto grow_start = Clock::now();
    SetEvent(grow_go);
    if (WaitForSingleObject(grow_full, 600000) != WAIT_OBJECT_0) {
        note(L"the history never grew full");
        return finish(1);
    }
    report("memory_grow_seconds", ms_between(grow_start, Clock::now()) / 1000.0);
    // The console must have read to the end of the grown history.
    const bool counted = wait_until([&] { return read_text(label).value_or(L"") == kGrownCaption; }, 10s);
    report("memory_counted_last_result", counted ? 1 : 0);
    write_file(full, "full\n");
    wait_until([&] { return file_exists(done); }, 300s);
    console.close();
    reader.close();
    return finish(counted ? 0 : 1);
}

int run_reader(const Args& args) {
    const auto host = static_cast<DWORD>(args.number(L"--host", 0));
    // A hidden window, so that the reader is closed like the other programs.
    HWND self = CreateWindowExW(0, L"STATIC", L"zolbench reader", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    std::vector<char> buffer;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || (msg.hwnd == self && msg.message == WM_CLOSE)) return 0;
            DispatchMessageW(&msg);
        }
        HWND frame = test::find_top_level(L"AOL Frame25", nullptr, host);
        HWND mdi = frame ? FindWindowExW(frame, nullptr, L"MDIClient", nullptr) : nullptr;
        HWND room = mdi ? FindWindowExW(mdi, nullptr, L"AOL Child", nullptr) : nullptr;
        HWND text = room ? FindWindowExW(room, nullptr, L"RICHCNTLREADONLY", nullptr) : nullptr;
        DWORD_PTR length = 0, copied = 0;
        if (text && SendMessageTimeoutW(text, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
            buffer.resize(length + 1);
            SendMessageTimeoutA(text, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                                SMTO_ABORTIFHUNG, 2000, &copied);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT);
    }
}

}  // namespace zol::bench
