// Scanner tick cost: one ReadChatText and one scan_tick through User32Host,
// exactly what the console does on every WM_TIMER, against a host in
// another process whose room history has a given size. The host is this
// same exe started in "host" mode: a window tree of the host's classes that
// does nothing but hold its text.
#include "bench/benchmarks_win.h"

#include <string>
#include <vector>

#include "bench/stats.h"
#include "chathost/user32_host_win.h"
#include "chathost/zol_chat.h"
#include "scanner/chat_scanner.h"

namespace zol::bench {
namespace {

// The last line of every history: a dice result, what the scanner is there
// to find.
constexpr wchar_t kLastLine[] = L"OnlineHost:  player1 rolled 4 92-sided dice:  17 88 42 5";

// A room history of exactly `chars` characters: chat lines separated by one
// CR, as the host keeps them, ending with a dice result.
std::wstring history_of(std::size_t chars) {
    std::wstring text;
    text.reserve(chars + 128);
    for (std::size_t i = 0; text.size() < chars; ++i) {
        text += L"player" + std::to_wstring(i % 7 + 1) + L":  my line number " + std::to_wstring(i) +
                L", with a few words more\r";
    }
    text += kLastLine;
    if (text.size() > chars) text.erase(0, text.size() - chars);
    return text;
}

HWND g_client = nullptr;

LRESULT CALLBACK frame_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefFrameProcW(window, g_client, message, wparam, lparam);
}

LRESULT CALLBACK room_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefMDIChildProcW(window, message, wparam, lparam);
}

bool register_class(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

int run_host(const Args& args) {
    const auto chars = static_cast<std::size_t>(args.number(L"--chars", 1024));
    const std::wstring ready = args.text(L"--ready");

    // Unicode classes, as the practice room registers them: the console's
    // "A" calls get the text converted by the system, as on the real host.
    if (!register_class(L"AOL Frame25", frame_proc) || !register_class(L"AOL Child", room_proc)) return 1;
    for (const wchar_t* cls : {L"RICHCNTLREADONLY", L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"}) {
        if (!register_class(cls, DefWindowProcW)) return 1;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND frame = CreateWindowExW(0, L"AOL Frame25", L"tick benchmark host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                 40, 640, 400, nullptr, nullptr, instance, nullptr);
    if (!frame) return 1;
    CLIENTCREATESTRUCT ccs{};
    g_client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 620, 360,
                               frame, nullptr, instance, &ccs);
    if (!g_client) return 1;
    MDICREATESTRUCTW mcs{};
    mcs.szClass = L"AOL Child";
    mcs.szTitle = L"room";
    mcs.hOwner = instance;
    mcs.x = mcs.y = 0;
    mcs.cx = 600;
    mcs.cy = 340;
    auto room = reinterpret_cast<HWND>(SendMessageW(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!room) return 1;
    // Child order as the locator requires: the text window before the input
    // box, then the people list, the icon and the label.
    for (const wchar_t* cls : {L"RICHCNTLREADONLY", L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"}) {
        HWND child = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, room, nullptr, instance, nullptr);
        if (!child) return 1;
        // Set after creation: under Wine 8 a window created with the
        // megabyte-long history as its name was not there afterwards.
        if (cls == std::wstring_view(L"RICHCNTLREADONLY")) {
            const std::wstring history = history_of(chars);
            if (!SetWindowTextW(child, history.c_str()) ||
                static_cast<std::size_t>(GetWindowTextLengthW(child)) != history.size()) {
                return 1;
            }
        }
    }

    if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready.c_str())) {
        SetEvent(event);
        CloseHandle(event);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

namespace {

struct TickResult {
    bool ok = false;
    Summary micros;
    double cpu_micros = 0;  // this process's CPU time per tick, on average
};

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

TickResult measure_ticks(std::size_t chars, std::chrono::milliseconds budget) {
    TickResult result;
    const std::wstring event_name = L"Local\\zolbench-host-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(chars);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, event_name.c_str());
    if (!ready) return result;
    Child host;
    const bool started = host.start(own_dir() + L"\\zolbench.exe",
                                    L"host --chars " + std::to_wstring(chars) + L" --ready " + event_name);
    const bool is_ready = started && WaitForSingleObject(ready, 5000) == WAIT_OBJECT_0;
    CloseHandle(ready);
    if (!is_ready) {
        note(L"the tick host did not come up");
        return result;
    }

    User32Host user32;
    ScannerMemory memory;
    memory.scanstarttext = zol_chat::ReadChatText(user32);
    if (memory.scanstarttext.find(L"OnlineHost:") == std::wstring::npos) {
        note(L"the scanner did not find the host's room text");
        return result;
    }
    // The first tick raises nothing (the text is the start text); so do all
    // later ones, which is the console's steady state between lines.
    std::vector<double> samples;
    const double cpu_before = own_cpu_micros();
    const auto stop = Clock::now() + budget;
    while ((Clock::now() < stop && samples.size() < 5000) || samples.size() < 20) {
        const auto start = Clock::now();
        const std::wstring tail = zol_chat::ReadChatText(user32);
        const auto raised = scan_tick(tail, memory);
        const auto end = Clock::now();
        if (raised || tail.size() != zol_chat::kChatTailLength) {
            note(L"unexpected tick result");
            return result;
        }
        samples.push_back(ms_between(start, end) * 1000.0);
    }
    result.ok = true;
    result.micros = summarize(samples);
    result.cpu_micros = (own_cpu_micros() - cpu_before) / static_cast<double>(samples.size());
    return result;
}

}  // namespace

int run_tick(const Args& args) {
    const auto budget = std::chrono::milliseconds(args.number(L"--ms", 3000));
    int status = 0;
    for (const std::size_t chars : {std::size_t{1024}, std::size_t{100} * 1024, std::size_t{1024} * 1024}) {
        const TickResult r = measure_ticks(chars, budget);
        if (!r.ok) {
            status = 1;
            continue;
        }
        const std::string key = "tick_" + std::to_string(chars);
        report((key + "_samples").c_str(), static_cast<double>(r.micros.count));
        report((key + "_median_us").c_str(), r.micros.median);
        report((key + "_min_us").c_str(), r.micros.min);
        report((key + "_max_us").c_str(), r.micros.max);
        report((key + "_cpu_us").c_str(), r.cpu_micros);
    }
    return status;
}

}  // namespace zol::bench
