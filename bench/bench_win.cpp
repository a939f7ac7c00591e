#include "bench/bench_win.h"

#include <cstdio>
#include <cwchar>
#include <thread>

namespace zol::bench {

double ms_between(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

Args::Args(int argc, wchar_t** argv, int first) {
    for (int i = first; i < argc; ++i) {
        std::wstring word = argv[i];
        if (word.rfind(L"--", 0) != 0) continue;
        if (i + 1 < argc && std::wstring(argv[i + 1]).rfind(L"--", 0) != 0) {
            values_[word] = argv[++i];
        } else {
            values_[word] = L"";
        }
    }
}

std::wstring Args::text(const std::wstring& key, const std::wstring& fallback) const {
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

int Args::number(const std::wstring& key, int fallback) const {
    const auto it = values_.find(key);
    if (it == values_.end() || it->second.empty()) return fallback;
    return static_cast<int>(std::wcstol(it->second.c_str(), nullptr, 10));
}

bool Args::flag(const std::wstring& key) const { return values_.count(key) != 0; }

std::wstring own_dir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

void report(const char* key, double value) {
    std::printf("%s %.6g\n", key, value);
    std::fflush(stdout);
}

void report_text(const char* key, const std::wstring& value) {
    std::printf("%s %ls\n", key, value.c_str());
    std::fflush(stdout);
}

void note(const std::wstring& text) {
    std::fprintf(stderr, "zolbench: %ls\n", text.c_str());
    std::fflush(stderr);
}

Child::Child(Child&& other) noexcept : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
    other.id_ = 0;
}

Child& Child::operator=(Child&& other) noexcept {
    if (this != &other) {
        close();
        process_ = other.process_;
        id_ = other.id_;
        other.process_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

Child::~Child() { close(); }

bool Child::start(const std::wstring& path, const std::wstring& args) {
    close();
    std::wstring command = L"\"" + path + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        note(L"could not start " + path + L" (error " + std::to_wstring(GetLastError()) + L")");
        return false;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
    return true;
}

bool Child::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Child::wait(std::chrono::milliseconds timeout) const {
    return !process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

namespace {

struct CloseRequest {
    DWORD pid;
};

BOOL CALLBACK close_if_owned(HWND window, LPARAM param) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == reinterpret_cast<CloseRequest*>(param)->pid) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void Child::close(std::chrono::milliseconds grace) {
    if (!process_) return;
    if (running()) {
        CloseRequest request{id_};
        EnumWindows(close_if_owned, reinterpret_cast<LPARAM>(&request));
        if (!wait(grace)) {
            TerminateProcess(process_, 1);
            wait(5s);
        }
    }
    CloseHandle(process_);
    process_ = nullptr;
    id_ = 0;
}

HWND find_top_level(const wchar_t* cls, DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

HWND wait_for_top_level(const wchar_t* cls, DWORD pid, std::chrono::milliseconds timeout, bool visible) {
    HWND found = nullptr;
    wait_until(
        [&] {
            found = find_top_level(cls, pid);
            return found && (!visible || IsWindowVisible(found));
        },
        timeout);
    return found && (!visible || IsWindowVisible(found)) ? found : nullptr;
}

std::optional<std::wstring> text_of(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return std::nullopt;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied)) {
        return std::nullopt;
    }
    text.resize(copied > length ? length : copied);
    return text;
}

bool set_text_of(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               2000, &result) != 0;
}

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds step) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

bool write_file(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
}

bool file_exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace zol::bench
