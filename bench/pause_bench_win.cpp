// Pause accuracy: the console's own MessagePump::Pause, in this process,
// with a window present and messages arriving the whole time, as they do
// while the console scrolls with the counter running.
#include "bench/benchmarks_win.h"

#include <atomic>
#include <thread>
#include <vector>

#include "bench/stats.h"
#include "winui/pump_win.h"
#include "winui/window_class_win.h"

namespace zol::bench {
namespace {

constexpr wchar_t kWindowClass[] = L"zolbench pause";
constexpr UINT_PTR kTimerId = 1;
// The scanner ticks every 500 ms; this timer ticks faster so that every
// pause handles many messages, not one or two.
constexpr UINT kTimerMs = 50;
// Another thread posts to the window as a busy room might make the console
// repaint: a message every few milliseconds.
constexpr auto kPostEvery = 7ms;

struct Traffic {
    std::atomic<long> timer_ticks{0};
    std::atomic<long> posted_seen{0};
};

LRESULT CALLBACK traffic_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* traffic = reinterpret_cast<Traffic*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (traffic && message == WM_TIMER && wparam == kTimerId) {
        ++traffic->timer_ticks;
        return 0;
    }
    if (traffic && message == WM_APP) {
        ++traffic->posted_seen;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int run_pause(const Args& args) {
    const int count = args.number(L"--count", 20);
    const int seconds = args.number(L"--seconds", 1);

    if (!ui::register_class({.name = kWindowClass, .procedure = traffic_proc})) return 1;
    HWND window = CreateWindowExW(0, kWindowClass, L"pause benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                  240, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return 1;
    Traffic traffic;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&traffic));
    SetTimer(window, kTimerId, kTimerMs, nullptr);

    std::atomic<bool> stop{false};
    std::thread poster([&] {
        while (!stop) {
            PostMessageW(window, WM_APP, 0, 0);
            std::this_thread::sleep_for(kPostEvery);
        }
    });

    ui::MessagePump pump;
    pump.Pause(1);  // settles the window and the timer before measuring
    std::vector<double> pauses;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        pump.Pause(seconds);
        pauses.push_back(ms_between(start, Clock::now()) / 1000.0);
    }

    stop = true;
    poster.join();
    KillTimer(window, kTimerId);
    DestroyWindow(window);

    const Summary s = summarize(pauses);
    report("pause_count", static_cast<double>(s.count));
    report("pause_min_s", s.min);
    report("pause_median_s", s.median);
    report("pause_max_s", s.max);
    report("pause_timer_messages", static_cast<double>(traffic.timer_ticks));
    report("pause_posted_messages", static_cast<double>(traffic.posted_seen));
    return 0;
}

}  // namespace zol::bench
