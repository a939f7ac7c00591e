#include "tests/support/process_meter_win.h"

#include <winternl.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <vector>

#include "tests/support/files_win.h"
#include "tests/support/windows_win.h"

namespace zol::test {

namespace {

// A "Name:   123 kB" field of /proc/PID/status, in kB.
std::optional<long> status_kb(const std::string& status, const char* field) {
    const auto at = status.find(field);
    if (at == std::string::npos) return std::nullopt;
    return std::strtol(status.c_str() + at + std::strlen(field), nullptr, 10);
}

// Wine 8's GetGuiResources is a stub (0, ERROR_CALL_NOT_IMPLEMENTED), for
// every process including the caller. Its GDI handle table, though, lies in
// the process's own memory and the process's PEB points to it, as on old
// Windows: 65536 entries of 24 bytes, an entry in use when its type byte (at
// offset 14) is not 0. Windows' own count is used wherever it answers.
constexpr std::size_t kPebGdiTableOffset = 0xF8;  // PEB64.GdiSharedHandleTable
constexpr std::size_t kGdiEntries = 0x10000;
constexpr std::size_t kGdiEntrySize = 24;
constexpr std::size_t kGdiTypeOffset = 14;

std::optional<long> gdi_table_count(HANDLE process, std::map<int, long>* by_type) {
    PROCESS_BASIC_INFORMATION info{};
    ULONG got = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, &got) != 0) return std::nullopt;
    ULONG_PTR table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + kPebGdiTableOffset, &table,
                           sizeof table, &read) ||
        !table) {
        return std::nullopt;
    }
    std::vector<unsigned char> entries(kGdiEntries * kGdiEntrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(), entries.size(), &read) ||
        read != entries.size()) {
        return std::nullopt;
    }
    long count = 0;
    for (std::size_t i = 0; i < kGdiEntries; ++i) {
        const int type = entries[i * kGdiEntrySize + kGdiTypeOffset];
        if (!type) continue;
        ++count;
        if (by_type) ++(*by_type)[type];
    }
    return count;
}

// Windows owned by the process: top-level ones with all their descendants,
// and message-only ones. Where GetGuiResources is a stub this stands in for
// the USER object count; menus, icons and cursors are not in it.
struct WindowCount {
    DWORD pid;
    long count = 0;
};

BOOL CALLBACK count_child(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK count_top_level(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == c->pid) {
        ++c->count;
        EnumChildWindows(window, count_child, param);
    }
    return TRUE;
}

long window_count(DWORD pid) {
    WindowCount c{pid};
    EnumWindows(count_top_level, reinterpret_cast<LPARAM>(&c));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) {
        count_top_level(w, reinterpret_cast<LPARAM>(&c));
    }
    return c.count;
}

}  // namespace

std::optional<unsigned long> linux_pid_with(const std::string& word) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<unsigned long> pid;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
            continue;
        }
        const auto cmdline = read_file(L"Z:\\proc\\" + name + L"\\cmdline");
        if (cmdline && cmdline->find(word) != std::string::npos) pid = std::wcstoul(name.c_str(), nullptr, 10);
    } while (!pid && FindNextFileW(search, &found));
    FindClose(search);
    return pid;
}

MeasuredRun start_measured_run(const std::wstring& room_args, const std::wstring& exe, const wchar_t* cls,
                               const wchar_t* caption, const std::string& stem) {
    MeasuredRun run;
    run.room = Process::start(L"practice-room.exe", room_args);
    if (!wait_for_window(L"AOL Frame25", nullptr, run.room.id())) {
        std::printf("the practice room did not start\n");
        return run;
    }
    const std::string tag =
        "--" + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
    run.program = Process::start(exe, std::wstring(tag.begin(), tag.end()));
    run.window = wait_for_window(cls, caption, run.program.id());
    if (!run.window) {
        std::printf("%ls did not start\n", exe.c_str());
        return run;
    }
    run.linux_pid = linux_pid_with(tag);
    if (!run.linux_pid) std::printf("no Linux process for %ls (not under Wine?): its working set is used\n", exe.c_str());
    return run;
}

Meter::Meter(const Process& process, std::optional<unsigned long> linux_pid) : process_(process), linux_pid_(linux_pid) {
    SetLastError(0xdeadbeef);
    const DWORD gdi = GetGuiResources(process_.handle(), GR_GDIOBJECTS);
    windows_counts_ = gdi != 0;
    if (!windows_counts_) {
        std::printf("GetGuiResources: %lu, error %lu; counting the GDI handle table and the windows instead\n", gdi,
                    GetLastError());
    }
}

Sample Meter::sample() const {
    Sample s;
    if (linux_pid_) {
        const auto status = read_file(L"Z:\\proc\\" + std::to_wstring(*linux_pid_) + L"\\status");
        if (status) {
            s.rss_kb = status_kb(*status, "VmRSS:").value_or(-1);
            s.anon_kb = status_kb(*status, "RssAnon:").value_or(-1);
            s.file_kb = status_kb(*status, "RssFile:").value_or(-1);
            s.shmem_kb = status_kb(*status, "RssShmem:").value_or(-1);
        }
        if (const auto maps = read_file(L"Z:\\proc\\" + std::to_wstring(*linux_pid_) + L"\\maps")) {
            s.shm_segments = 0;
            for (auto at = maps->find("/SYSV"); at != std::string::npos; at = maps->find("/SYSV", at + 1)) {
                ++s.shm_segments;
            }
        }
    } else {
        // On Windows itself: the working set.
        PROCESS_MEMORY_COUNTERS counters{};
        if (GetProcessMemoryInfo(process_.handle(), &counters, sizeof counters)) {
            s.rss_kb = static_cast<long>(counters.WorkingSetSize / 1024);
        }
    }
    if (windows_counts_) {
        s.gdi = static_cast<long>(GetGuiResources(process_.handle(), GR_GDIOBJECTS));
        s.user = static_cast<long>(GetGuiResources(process_.handle(), GR_USEROBJECTS));
    } else {
        s.gdi = gdi_table_count(process_.handle(), &s.gdi_by_type).value_or(-1);
        s.user = window_count(process_.id());
    }
    return s;
}

std::string gdi_types_text(const Sample& s) {
    // The object types of the handle table's entries.
    static const std::map<int, const char*> names = {{0x01, "DC"},    {0x04, "region"}, {0x05, "bitmap"},
                                                     {0x08, "palette"}, {0x0a, "font"},   {0x10, "brush"},
                                                     {0x30, "pen"},   {0x50, "extpen"}};
    std::string text;
    for (const auto& [type, n] : s.gdi_by_type) {
        const auto name = names.find(type);
        text += (text.empty() ? "" : ", ") +
                (name != names.end() ? std::string(name->second) : "type " + std::to_string(type)) + " " +
                std::to_string(n);
    }
    return text;
}

}  // namespace zol::test

namespace zol::test {

namespace {

// NtQueryInformationThread's ThreadBasicInformation (0): where the thread's
// TEB lies.
struct ThreadBasics {
    LONG exit_status;
    PVOID teb;
    CLIENT_ID client;
    ULONG_PTR affinity;
    LONG priority;
    LONG base_priority;
};

// Where the TEB keeps the bottom of the stack's reservation
// (DeallocationStack), in each bitness.
constexpr std::size_t kDeallocationStackOffset = sizeof(void*) == 8 ? 0x1478 : 0xE0C;

}  // namespace

StackMeter::StackMeter(HWND window) {
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, pid);
    thread_ = OpenThread(THREAD_QUERY_INFORMATION | THREAD_GET_CONTEXT | THREAD_SUSPEND_RESUME, FALSE, tid);
    ThreadBasics basics{};
    if (!process_ || !thread_ ||
        NtQueryInformationThread(thread_, static_cast<THREADINFOCLASS>(0), &basics, sizeof basics, nullptr) != 0) {
        std::printf("cannot read the stack of thread %lu: no access to it\n", tid);
        return;
    }
    NT_TIB tib{};
    void* deallocation = nullptr;
    const auto teb = reinterpret_cast<const char*>(basics.teb);
    if (!ReadProcessMemory(process_, teb, &tib, sizeof tib, nullptr) ||
        !ReadProcessMemory(process_, teb + kDeallocationStackOffset, &deallocation, sizeof deallocation, nullptr)) {
        std::printf("cannot read the TEB of thread %lu\n", tid);
        return;
    }
    base_ = reinterpret_cast<std::uintptr_t>(tib.StackBase);
    bottom_ = reinterpret_cast<std::uintptr_t>(deallocation ? deallocation : tib.StackLimit);
}

StackMeter::~StackMeter() {
    if (thread_) CloseHandle(thread_);
    if (process_) CloseHandle(process_);
}

StackUse StackMeter::sample() const {
    StackUse use;
    if (!ready()) return use;
    use.reserve_bytes = static_cast<long long>(base_ - bottom_);
    if (SuspendThread(thread_) != static_cast<DWORD>(-1)) {
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL;
        if (GetThreadContext(thread_, &context)) {
#ifdef _WIN64
            const std::uintptr_t sp = context.Rsp;
#else
            const std::uintptr_t sp = context.Esp;
#endif
            if (sp > bottom_ && sp <= base_) use.now_bytes = static_cast<long long>(base_ - sp);
        }
        ResumeThread(thread_);
    }
    // The lowest page with anything in it, from the bottom up; pages that
    // cannot be read (reserved, not committed, or the guard page) are empty.
    constexpr std::size_t kPage = 4096;
    std::vector<unsigned char> page(kPage);
    for (std::uintptr_t at = bottom_; at < base_; at += kPage) {
        SIZE_T got = 0;
        if (!ReadProcessMemory(process_, reinterpret_cast<const void*>(at), page.data(), kPage, &got) || got != kPage) {
            continue;
        }
        const auto used = std::find_if(page.begin(), page.end(), [](unsigned char b) { return b != 0; });
        if (used != page.end()) {
            use.peak_bytes = static_cast<long long>(base_ - (at + static_cast<std::uintptr_t>(used - page.begin())));
            break;
        }
    }
    return use;
}

Probe::Probe(HWND window) : window_(window) {
    using namespace std::chrono_literals;
    thread_ = std::thread([this] {
        while (!stop_) {
            const auto start = std::chrono::steady_clock::now();
            const bool answered = answers(window_, 2s);
            const long long took =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
            ++sent_;
            if (!answered) ++unanswered_;
            longest_ = std::max(longest_.load(), took);
            const auto next = start + 1s;
            while (!stop_ && std::chrono::steady_clock::now() < next) std::this_thread::sleep_for(20ms);
        }
    });
}

void Probe::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace zol::test
