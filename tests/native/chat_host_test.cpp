#include <gtest/gtest.h>

#include "chathost/memory_host.h"
#include "chathost/zol_chat.h"

using namespace zol;
using namespace zol_chat;

namespace {

// A host client with its frame and inner-window client, and helpers to add
// the inner windows the tests need.
struct Host {
    MemoryHost windows;
    HostWindow frame = windows.add_top_level(L"AOL Frame25");
    HostWindow client = windows.add_child(frame, L"MDIClient");

    struct Room {
        HostWindow window, text, input;
    };
    // A chat room at the bottom of the stacking (a newly opened inner window
    // is brought to the front by bring_to_front in the tests that need it).
    Room add_room(std::wstring history = L"\r*** you are in the room ***") {
        Room r;
        r.window = windows.add_child(client, L"AOL Child");
        r.text = windows.add_child(r.window, L"RICHCNTLREADONLY", std::move(history));
        r.input = windows.add_child(r.window, L"RICHCNTL");
        windows.add_child(r.window, L"_AOL_Listbox");
        windows.add_child(r.window, L"_AOL_Icon");
        windows.add_child(r.window, L"_AOL_Static");
        // Enter in the input box posts its text as the user's line.
        HostWindow text = r.text, input = r.input;
        windows.on_char(input, [this, text, input](wchar_t ch) {
            if (ch != L'\r') return;
            windows.window_text(text) += L"\rme:  " + windows.window_text(input);
            windows.window_text(input).clear();
        });
        return r;
    }
};

}  // namespace

TEST(MemoryHost, FindsChildrenInOrderWithCaseInsensitiveClassesAndNullParent) {
    MemoryHost h;
    HostWindow top = h.add_top_level(L"Frame");
    HostWindow a = h.add_child(top, L"Edit");
    HostWindow b = h.add_child(top, L"Other");
    HostWindow c = h.add_child(top, L"EDIT");
    EXPECT_EQ(h.find_top_level(L"frame"), top);
    EXPECT_EQ(h.find_child(top, 0, L"edit"), a);
    EXPECT_EQ(h.find_child(top, a, L"edit"), c);
    EXPECT_EQ(h.find_child(top, b, L"Edit"), c);  // `after` of another class: the Windows meaning
    EXPECT_EQ(h.find_child(top, c, L"Edit"), 0u);
    EXPECT_EQ(h.find_child(0, 0, L"Edit"), 0u);
    EXPECT_EQ(h.find_child(top, top, L"Edit"), 0u);  // `after` not a child
    h.destroy(a);
    EXPECT_EQ(h.find_child(top, 0, L"Edit"), c);
    EXPECT_FALSE(h.text_length(a).has_value());
    EXPECT_FALSE(h.set_text(a, L"x"));
}

TEST(FindChatRoom, NeedsTheHostAndAllFourMarks) {
    {
        MemoryHost none;
        EXPECT_EQ(FindChatRoom(none), 0u);
    }
    Host host;
    EXPECT_EQ(FindChatRoom(host.windows), 0u);  // no inner windows

    // Inner windows each missing one mark are not rooms.
    for (const wchar_t* missing : {L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"}) {
        HostWindow w = host.windows.add_child(host.client, L"AOL Child");
        for (const wchar_t* cls : {L"RICHCNTLREADONLY", L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"})
            if (std::wstring(cls) != missing) host.windows.add_child(w, cls);
    }
    // The input box standing before the text window does not count.
    HostWindow backwards = host.windows.add_child(host.client, L"AOL Child");
    for (const wchar_t* cls : {L"RICHCNTL", L"RICHCNTLREADONLY", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"})
        host.windows.add_child(backwards, cls);
    EXPECT_EQ(FindChatRoom(host.windows), 0u);

    // A room without a text window counts; the reader then finds no text.
    HostWindow textless = host.windows.add_child(host.client, L"AOL Child");
    for (const wchar_t* cls : {L"RICHCNTL", L"_AOL_Listbox", L"_AOL_Icon", L"_AOL_Static"})
        host.windows.add_child(textless, cls);
    EXPECT_EQ(FindChatRoom(host.windows), textless);
    EXPECT_EQ(ReadChatText(host.windows), L" ");
}

TEST(FindChatRoom, TakesTheRoomHighestInTheStackingAndFollowsTheUser) {
    Host host;
    auto first = host.add_room();
    auto second = host.add_room();
    EXPECT_EQ(FindChatRoom(host.windows), first.window);
    host.windows.bring_to_front(second.window);
    EXPECT_EQ(FindChatRoom(host.windows), second.window);
    host.windows.destroy(second.window);
    EXPECT_EQ(FindChatRoom(host.windows), first.window);
}

TEST(ReadChatText, GivesTheTextItsZeroAndAtMostTheLast500Characters) {
    Host host;
    EXPECT_EQ(ReadChatText(host.windows), L" ");  // no room
    auto room = host.add_room(L"first\rJimbo:  hi");
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"first\rJimbo:  hi") + L'\0');
    EXPECT_EQ(LastChatLine(ReadChatText(host.windows)), std::wstring(L"Jimbo:  hi") + L'\0');

    std::wstring history(600, L'x');
    for (std::size_t i = 0; i < history.size(); ++i) history[i] = static_cast<wchar_t>(L'a' + i % 26);
    host.windows.window_text(room.text) = history;
    std::wstring tail = ReadChatText(host.windows);
    ASSERT_EQ(tail.size(), 500u);
    EXPECT_EQ(tail.substr(0, 499), history.substr(101));
    EXPECT_EQ(tail.back(), L'\0');
}

TEST(ReadChatText, DistrustsTheHost) {
    Host host;
    auto room = host.add_room(L"\rJimbo:  hello");
    // A text that shrinks between the two messages leaves blanks after its zero.
    host.windows.on_text_read(room.text, [&] { host.windows.window_text(room.text) = L"\rJo:  hi"; });
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"\rJo:  hi") + L'\0' + L"      ");
    // One that grows is cut to the length first reported.
    host.windows.window_text(room.text) = L"\rJimbo:  hello";
    host.windows.on_text_read(room.text, [&] { host.windows.window_text(room.text) = L"\rJo:  hi there all"; });
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"\rJo:  hi there") + L'\0');
    // An absurd length reads as no text; so does a window that does not answer
    // or one destroyed between the two messages.
    host.windows.set_reported_length(room.text, std::size_t{1} << 40);
    EXPECT_EQ(ReadChatText(host.windows), L" ");
    host.windows.set_reported_length(room.text, std::nullopt);
    host.windows.set_hung(room.text, true);
    EXPECT_EQ(ReadChatText(host.windows), L" ");
    host.windows.set_hung(room.text, false);
    host.windows.on_text_read(room.text, [&] { host.windows.destroy(room.window); });
    EXPECT_EQ(ReadChatText(host.windows), L" ");
}

TEST(LastChatLine, TakesWhatFollowsTheLastCarriageReturn) {
    struct { const wchar_t* text; const wchar_t* line; } rows[] = {
        {L"", L""}, {L"no break", L""}, {L"a\r", L""}, {L"a\rb", L"b"}, {L"a\r\nb", L"\nb"}, {L"\r\r x", L" x"},
    };
    for (const auto& row : rows) EXPECT_EQ(LastChatLine(row.text), row.line);
}

TEST(SendChatLine, PostsExactlyTheLineInTheFrontRoomAndKeepsHalfTypedText) {
    Host host;
    auto back = host.add_room(L"");
    auto front = host.add_room(L"");
    host.windows.bring_to_front(front.window);
    host.windows.window_text(front.input) = L"half typ";

    SendChatLine(host.windows, L"~*~ score ~*~\r\n");
    EXPECT_EQ(host.windows.window_text(front.text), L"\rme:  ~*~ score ~*~\r\n");
    EXPECT_EQ(host.windows.window_text(front.input), L"half typ");
    EXPECT_EQ(host.windows.window_text(back.text), L"");
    EXPECT_EQ(host.windows.log, (std::vector<std::wstring>{L"set:~*~ score ~*~\r\n", L"char:13", L"set:half typ"}));

    host.windows.log.clear();
    SendChatLine(host.windows, L"");  // an empty line is sent too
    EXPECT_EQ(host.windows.log, (std::vector<std::wstring>{L"set:", L"char:13", L"set:half typ"}));
}

TEST(SendChatLine, DoesNothingWithoutARoomOrWhenTheHostHangs) {
    Host host;
    SendChatLine(host.windows, L"hello");  // no room: nothing, no error
    EXPECT_TRUE(host.windows.log.empty());
    auto room = host.add_room(L"");
    host.windows.set_hung(room.input, true);
    SendChatLine(host.windows, L"hello");
    EXPECT_TRUE(host.windows.log.empty());
}
