// The contract of the host seam (chathost/host_windows.h) as one table of
// cases, run against every implementation of it: the in-memory window tree
// natively, the user32 binding under Wine against the practice room. Both
// present the practice room's first room, with its windows in the room's
// child order, so the fake cannot drift from the real thing unnoticed.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "chathost/host_windows.h"
#include "practiceroom/room_text.h"

namespace zol::contract {

// The windows of the room, as the test itself knows them (not through the
// seam under test).
struct RoomWindows {
    HostWindow frame = 0;   // AOL Frame25
    HostWindow client = 0;  // MDIClient
    HostWindow room = 0;    // AOL Child
    HostWindow text = 0;    // RICHCNTLREADONLY, the history
    HostWindow view = 0;    // EDIT inside it
    HostWindow input = 0;   // RICHCNTL
    HostWindow people = 0;  // _AOL_Listbox
    HostWindow send = 0;    // _AOL_Icon
    HostWindow count = 0;   // _AOL_Static
};

// How the host misbehaves in a case, from the start of the case on.
enum class Fault {
    none,
    longer_length,    // the history reports its length kLengthLie bytes too long
    shorter_length,   // ... kLengthLie bytes too short
    room_closed,      // the room and its windows are gone (the handles stay with the test)
    stops_answering,  // the host's window thread answers no message any more
};

inline constexpr std::size_t kLengthLie = 7;

// One host with its room, made for one case with the fault in place.
class HostRoom {
public:
    virtual ~HostRoom() = default;
    virtual HostWindows& host() = 0;
    virtual const RoomWindows& windows() const = 0;
};

// The room's history when nothing has been said: its notice, in ASCII.
inline std::string first_history() {
    const std::wstring notice = practiceroom::entered_notice(practiceroom::room_name(1));
    return std::string(notice.begin(), notice.end());
}

inline std::optional<std::string> read(HostWindows& host, HostWindow window, std::size_t room) {
    const auto bytes = host.text_bytes(window, room);
    return bytes ? std::optional<std::string>(std::string(bytes->text())) : std::nullopt;
}

struct Case {
    const char* name;
    Fault fault;
    void (*check)(HostWindows& host, const RoomWindows& w);
};

inline const Case kCases[] = {
    {"FindsWindowsByClassInAnyCase", Fault::none,
     [](HostWindows& host, const RoomWindows& w) {
         EXPECT_EQ(host.find_top_level(L"AOL Frame25"), w.frame);
         EXPECT_EQ(host.find_top_level(L"aol frame25"), w.frame);
         EXPECT_EQ(host.find_top_level(L"AOL FRAME25"), w.frame);
         EXPECT_EQ(host.find_top_level(L"AOL Frame2"), 0u) << "a prefix of the class is another class";
         EXPECT_EQ(host.find_child(w.frame, 0, L"mdiclient"), w.client);
         EXPECT_EQ(host.find_child(w.client, 0, L"aol child"), w.room);
         EXPECT_EQ(host.find_child(w.room, 0, L"RichCntlReadOnly"), w.text);
         EXPECT_EQ(host.find_child(w.room, 0, L"richcntl"), w.input);
     }},
    {"AfterOfAnyClassStartsTheSearchRightAfterIt", Fault::none,
     [](HostWindows& host, const RoomWindows& w) {
         EXPECT_EQ(host.find_child(w.room, w.text, L"RICHCNTL"), w.input);
         EXPECT_EQ(host.find_child(w.room, w.input, L"RICHCNTL"), 0u) << "after itself is passed over";
         EXPECT_EQ(host.find_child(w.room, w.text, L"_AOL_Icon"), w.send);
         EXPECT_EQ(host.find_child(w.room, w.input, L"_AOL_Static"), w.count);
         EXPECT_EQ(host.find_child(w.room, w.people, L"RICHCNTL"), 0u) << "the input box stands before";
         EXPECT_EQ(host.find_child(w.room, w.count, L"_AOL_Icon"), 0u) << "nothing stands after the last";
     }},
    {"LooksOnlyAmongTheDirectChildrenOfTheParent", Fault::none,
     [](HostWindows& host, const RoomWindows& w) {
         EXPECT_EQ(host.find_child(w.frame, 0, L"AOL Child"), 0u) << "a grandchild";
         EXPECT_EQ(host.find_child(w.room, 0, L"Edit"), 0u) << "a grandchild";
         EXPECT_EQ(host.find_child(w.text, 0, L"Edit"), w.view);
         EXPECT_EQ(host.find_child(0, 0, L"AOL Frame25"), 0u) << "the desktop is never searched";
         EXPECT_EQ(host.find_child(w.room, w.view, L"RICHCNTL"), 0u) << "after a window of another parent";
     }},
    {"ZeroIsNoWindow", Fault::none,
     [](HostWindows& host, const RoomWindows&) {
         EXPECT_FALSE(host.text_length(0).has_value());
         EXPECT_FALSE(host.text_bytes(0, 16).has_value());
         EXPECT_FALSE(host.set_text(0, L"x"));
         EXPECT_FALSE(host.type_char(0, L'x'));
     }},
    {"ReadsTheTextAsTheWindowHoldsItCutToTheRoomGiven", Fault::none,
     [](HostWindows& host, const RoomWindows& w) {
         const std::string history = first_history();
         EXPECT_EQ(host.text_length(w.text), std::optional<std::size_t>(history.size()));
         EXPECT_EQ(read(host, w.text, history.size()), history);
         EXPECT_EQ(read(host, w.text, history.size() + 100), history);
         EXPECT_EQ(read(host, w.text, 5), history.substr(0, 5));
     }},
    {"WritesTextAndTypesIntoALiveWindow", Fault::none,
     [](HostWindows& host, const RoomWindows& w) {
         EXPECT_TRUE(host.set_text(w.input, L"half a thought"));
         EXPECT_EQ(host.text_length(w.input), std::optional<std::size_t>(14));
         EXPECT_EQ(read(host, w.input, 100), std::string("half a thought"));
         EXPECT_TRUE(host.type_char(w.input, L'x'));
     }},
    {"ALengthTooLongIsHandedOnAndTheTextIsWhatTheWindowWrote", Fault::longer_length,
     [](HostWindows& host, const RoomWindows& w) {
         const std::string history = first_history();
         EXPECT_EQ(host.text_length(w.text), std::optional<std::size_t>(history.size() + kLengthLie));
         EXPECT_EQ(read(host, w.text, history.size() + kLengthLie), history);
     }},
    {"ALengthTooShortIsHandedOnAndAReadOfItIsCut", Fault::shorter_length,
     [](HostWindows& host, const RoomWindows& w) {
         const std::string history = first_history();
         EXPECT_EQ(host.text_length(w.text), std::optional<std::size_t>(history.size() - kLengthLie));
         EXPECT_EQ(read(host, w.text, history.size() - kLengthLie), history.substr(0, history.size() - kLengthLie));
         EXPECT_EQ(read(host, w.text, history.size()), history);
     }},
    {"AClosedRoomIsNotThere", Fault::room_closed,
     [](HostWindows& host, const RoomWindows& w) {
         EXPECT_EQ(host.find_top_level(L"AOL Frame25"), w.frame) << "the frame stays";
         EXPECT_EQ(host.find_child(w.client, 0, L"AOL Child"), 0u);
         EXPECT_EQ(host.find_child(w.room, 0, L"RICHCNTL"), 0u);
         EXPECT_EQ(host.find_child(w.room, w.text, L"RICHCNTL"), 0u);
         EXPECT_FALSE(host.text_length(w.text).has_value());
         EXPECT_FALSE(host.text_bytes(w.text, 16).has_value());
         EXPECT_FALSE(host.set_text(w.input, L"x"));
         EXPECT_FALSE(host.type_char(w.input, L'x'));
     }},
    {"AWindowThatStopsAnsweringIsFoundButGivesNothing", Fault::stops_answering,
     [](HostWindows& host, const RoomWindows& w) {
         EXPECT_EQ(host.find_top_level(L"AOL Frame25"), w.frame);
         EXPECT_EQ(host.find_child(w.room, w.text, L"RICHCNTL"), w.input);
         EXPECT_FALSE(host.text_length(w.text).has_value());
         EXPECT_FALSE(host.text_bytes(w.text, 16).has_value());
         EXPECT_FALSE(host.set_text(w.input, L"x"));
         EXPECT_FALSE(host.type_char(w.input, L'x'));
     }},
};

// For INSTANTIATE_TEST_SUITE_P: the case's name.
struct CaseName {
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const { return info.param.name; }
};

}  // namespace zol::contract
