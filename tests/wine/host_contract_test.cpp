// The host seam's contract cases (tests/contract/) against the user32
// binding, with the practice room as the host: the same table the in-memory
// window tree passes natively.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "chathost/user32_host_win.h"
#include "tests/contract/host_window_cases.h"
#include "tests/wine/support/harness.h"

namespace zol::contract {
namespace {

using namespace std::chrono_literals;

HostWindow as_host(HWND window) { return reinterpret_cast<HostWindow>(window); }

std::wstring class_of(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}


class PracticeRoomHost : public HostRoom {
public:
    explicit PracticeRoomHost(Fault fault) {
        std::wstring args = L"--seed 1";
        const std::wstring lie = std::to_wstring(kLengthLie);
        if (fault == Fault::longer_length) args += L" --length-off " + lie;
        if (fault == Fault::shorter_length) args += L" --length-off -" + lie;
        if (fault == Fault::stops_answering) args += L" --hang-after 1.5";
        room_ = test::Process::start(L"practice-room.exe", args);
        frame_ = test::wait_for_window(L"AOL Frame25", nullptr, room_.id());
        // The room is whole once its last window shows its head count.
        ready_ = test::wait_until(
            [&] {
                find_windows();
                return w_.count && test::read_text(reinterpret_cast<HWND>(w_.count)).value_or(L"") != L"";
            },
            10s);
        if (!ready_) return;
        if (fault == Fault::room_closed) {
            HWND room = reinterpret_cast<HWND>(w_.room);
            PostMessageW(room, WM_CLOSE, 0, 0);
            ready_ = test::wait_until([&] { return !IsWindow(room); }, 5s);
        }
        if (fault == Fault::stops_answering) ready_ = test::wait_until([&] { return !test::answers(frame_, 200ms); }, 10s);
    }

    bool ready() const { return ready_; }
    HostWindows& host() override { return host_; }
    const RoomWindows& windows() const override { return w_; }

private:
    // The windows as the room made them, found without the seam: its
    // children walked in child order and named by their classes.
    void find_windows() {
        w_ = {};
        if (!frame_) return;
        HWND client = FindWindowExW(frame_, nullptr, L"MDIClient", nullptr);
        HWND room = client ? FindWindowExW(client, nullptr, L"AOL Child", nullptr) : nullptr;
        if (!room) return;
        w_.frame = as_host(frame_);
        w_.client = as_host(client);
        w_.room = as_host(room);
        HostWindow* const in_order[] = {&w_.text, &w_.input, &w_.people, &w_.send, &w_.count};
        const wchar_t* const classes[] = {L"RICHCNTLREADONLY", L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon",
                                          L"_AOL_Static"};
        int next = 0;
        for (HWND c = GetWindow(room, GW_CHILD); c && next < 5; c = GetWindow(c, GW_HWNDNEXT), ++next) {
            if (class_of(c) != classes[next]) return;
            *in_order[next] = as_host(c);
        }
        if (w_.text) w_.view = as_host(GetWindow(reinterpret_cast<HWND>(w_.text), GW_CHILD));
    }

    test::Process room_;
    HWND frame_ = nullptr;
    bool ready_ = false;
    RoomWindows w_;
    User32Host host_;
};

class User32HostContract : public ::testing::TestWithParam<Case> {};

TEST_P(User32HostContract, Holds) {
    PracticeRoomHost room(GetParam().fault);
    ASSERT_TRUE(room.ready()) << "the practice room did not come up as the case needs it";
    GetParam().check(room.host(), room.windows());
}

INSTANTIATE_TEST_SUITE_P(Cases, User32HostContract, ::testing::ValuesIn(kCases), CaseName());

}  // namespace
}  // namespace zol::contract
