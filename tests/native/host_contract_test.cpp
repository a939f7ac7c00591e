// The host seam's contract cases (tests/contract/) against the in-memory
// window tree, built as the practice room lays out its first room.
#include <gtest/gtest.h>

#include "tests/contract/host_window_cases.h"
#include "tests/fakes/memory_host.h"

namespace zol::contract {
namespace {

class MemoryRoom : public HostRoom {
public:
    explicit MemoryRoom(Fault fault) {
        w_.frame = host_.add_top_level(L"AOL Frame25", L"practice room");
        w_.client = host_.add_child(w_.frame, L"MDIClient");
        w_.room = host_.add_child(w_.client, L"AOL Child", L"spar room 1");
        const std::string history = first_history();
        w_.text = host_.add_child(w_.room, L"RICHCNTLREADONLY", std::wstring(history.begin(), history.end()));
        w_.view = host_.add_child(w_.text, L"EDIT");
        w_.input = host_.add_child(w_.room, L"RICHCNTL");
        w_.people = host_.add_child(w_.room, L"_AOL_Listbox");
        w_.send = host_.add_child(w_.room, L"_AOL_Icon", L"send");
        w_.count = host_.add_child(w_.room, L"_AOL_Static", L"1 person here");
        switch (fault) {
        case Fault::none: break;
        case Fault::longer_length: host_.set_reported_length(w_.text, history.size() + kLengthLie); break;
        case Fault::shorter_length: host_.set_reported_length(w_.text, history.size() - kLengthLie); break;
        case Fault::room_closed: host_.destroy(w_.room); break;
        case Fault::stops_answering:
            // One thread owns all of the host's windows: they stop together.
            for (HostWindow window : {w_.frame, w_.client, w_.room, w_.text, w_.view, w_.input, w_.people, w_.send,
                                      w_.count}) {
                host_.set_hung(window, true);
            }
            break;
        }
    }

    HostWindows& host() override { return host_; }
    const RoomWindows& windows() const override { return w_; }

private:
    MemoryHost host_;
    RoomWindows w_;
};

class MemoryHostContract : public ::testing::TestWithParam<Case> {};

TEST_P(MemoryHostContract, Holds) {
    MemoryRoom room(GetParam().fault);
    GetParam().check(room.host(), room.windows());
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryHostContract, ::testing::ValuesIn(kCases), CaseName());

}  // namespace
}  // namespace zol::contract
