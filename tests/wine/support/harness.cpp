#include "tests/wine/support/harness.h"

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <sstream>
#include <thread>

namespace zol::test {

std::wstring exe_dir() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    const auto slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : dir.substr(0, slash);
}

std::wstring temp_file(const std::wstring& stem) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    static int counter = 0;
    std::wstring path = std::wstring(dir) + L"zolspar-" + stem + L"-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-" + std::to_wstring(++counter) + L".txt";
    DeleteFileW(path.c_str());
    return path;
}

Process::Process(Process&& other) noexcept : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
    other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        process_ = other.process_;
        id_ = other.id_;
        other.process_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

Process::~Process() { kill(); }

namespace {

// Every program a test starts belongs to one job that ends with the test
// process, so a test that crashes leaves nothing running behind it.
HANDLE test_job() {
    static HANDLE job = [] {
        HANDLE j = CreateJobObjectW(nullptr, nullptr);
        if (j) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        return j;
    }();
    return job;
}

}  // namespace

Process Process::start(const std::wstring& exe, const std::wstring& args) {
    Process p;
    const std::wstring path = exe_dir() + L"\\" + exe;
    std::wstring command = L"\"" + path + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        if (HANDLE job = test_job()) AssignProcessToJobObject(job, pi.hProcess);
        CloseHandle(pi.hThread);
        p.process_ = pi.hProcess;
        p.id_ = pi.dwProcessId;
        WaitForInputIdle(pi.hProcess, 10000);
    }
    return p;
}

bool Process::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::wait(std::chrono::milliseconds timeout) const {
    return !process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void Process::kill() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    id_ = 0;
}

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

HWND find_top_level(const wchar_t* cls, const wchar_t* caption, DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, caption); w; w = FindWindowExW(nullptr, w, cls, caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (pid == 0 || owner == pid) return w;
    }
    return nullptr;
}

HWND wait_for_window(const wchar_t* cls, const wchar_t* caption, DWORD pid, std::chrono::milliseconds timeout) {
    // A window is found as soon as it is created; it is ready once shown.
    HWND found = nullptr;
    wait_until(
        [&] {
            found = find_top_level(cls, caption, pid);
            return found != nullptr && IsWindowVisible(found);
        },
        timeout);
    return found;
}

std::wstring text_of(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
        return L"<no answer>";
    }
    text.resize(copied > length ? length : copied);
    return text;
}

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool write_utf8_file(const std::wstring& path, const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

namespace {

std::wstring unescape(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size()) {
            const wchar_t c = text[++i];
            out.push_back(c == L't' ? L'\t' : c == L'r' ? L'\r' : c == L'n' ? L'\n' : c);
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

std::vector<TranscriptLine> read_transcript(const std::wstring& path) {
    std::vector<TranscriptLine> lines;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    // The transcript is UTF-8, one record per line; a record still being
    // written (no final LF yet) is left for the next read.
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string record = bytes.substr(start, end - start);
        if (!record.empty() && record.back() == '\r') record.pop_back();
        const int n = MultiByteToWideChar(CP_UTF8, 0, record.data(), static_cast<int>(record.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, record.data(), static_cast<int>(record.size()), wide.data(), n);
        std::wstringstream fields(wide);
        TranscriptLine line;
        std::wstring ms, room;
        if (!std::getline(fields, ms, L'\t') || !std::getline(fields, room, L'\t') ||
            !std::getline(fields, line.kind, L'\t')) {
            continue;
        }
        std::getline(fields, line.text);
        line.ms = std::wcstoll(ms.c_str(), nullptr, 10);
        line.room = static_cast<int>(std::wcstol(room.c_str(), nullptr, 10));
        line.text = unescape(line.text);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<TranscriptLine> transcript_lines(const std::wstring& path) {
    std::vector<TranscriptLine> lines;
    for (auto& l : read_transcript(path)) {
        if (l.kind == L"line") lines.push_back(std::move(l));
    }
    return lines;
}

bool wait_for_line(const std::wstring& path, const std::function<bool(const TranscriptLine&)>& match,
                   std::chrono::milliseconds timeout) {
    return wait_until(
        [&] {
            for (const auto& l : transcript_lines(path)) {
                if (match(l)) return true;
            }
            return false;
        },
        timeout);
}

}  // namespace zol::test
