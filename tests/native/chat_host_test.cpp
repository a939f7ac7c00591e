#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "chathost/zol_chat.h"
#include "tests/fakes/memory_host.h"

using namespace zol;
using namespace zol_chat;

// The reader and the buffer ask for memory with new (std::nothrow) and cope
// with getting none. ASan stops the program at a request it cannot meet
// unless told to give nullptr, as the allocator does without it.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

// The in-memory host with a few more ways to misbehave, for the reader's
// and the sender's error paths: single messages that go unanswered (a host
// busy for a moment), a conversion that runs out of memory, and a record of
// the room each read offered.
class TestHost : public MemoryHost {
public:
    using MemoryHost::MemoryHost;

    int lengths_to_fail = 0;        // the next text_length calls give nothing
    int reads_to_fail = 0;          // the next text_bytes calls give nothing
    bool decode_runs_out = false;   // decode writes part of the text, then throws
    std::vector<std::size_t> rooms;  // the room of every text_bytes call

    std::optional<std::size_t> text_length(HostWindow window) override {
        if (lengths_to_fail > 0) {
            --lengths_to_fail;
            return std::nullopt;
        }
        return MemoryHost::text_length(window);
    }
    std::optional<HostBytes> text_bytes(HostWindow window, std::size_t room) override {
        rooms.push_back(room);
        if (reads_to_fail > 0) {
            --reads_to_fail;
            return std::nullopt;
        }
        return MemoryHost::text_bytes(window, room);
    }
    void decode(std::string_view bytes, std::wstring& into) override {
        MemoryHost::decode(bytes, into);
        if (decode_runs_out) {
            into.resize(into.size() / 2);
            throw std::bad_alloc();
        }
    }
};

// A host client with its frame and inner-window client, and helpers to add
// the inner windows the tests need.
struct Host {
    explicit Host(MemoryCodePage code_page = MemoryCodePage::latin1()) : windows(std::move(code_page)) {}

    TestHost windows;
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
            windows.window_bytes(text) += windows.memory_code_page().encode(L"\rme:  ");
            windows.window_bytes(text) += windows.window_bytes(input);
            windows.window_bytes(input).clear();
        });
        return r;
    }
};

}  // namespace

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
    host.windows.set_window_text(host.frame, L"America Online");
    EXPECT_EQ(ReadChatText(host.windows), L" ");  // no room
    auto room = host.add_room(L"first\rJimbo:  hi");
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"first\rJimbo:  hi") + L'\0');
    EXPECT_EQ(LastChatLine(ReadChatText(host.windows)), std::wstring(L"Jimbo:  hi") + L'\0');
    host.windows.set_window_text(room.text, L"a");
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"a") + L'\0');
    // An empty text is no text, and is not asked for.
    host.windows.set_window_text(room.text, L"");
    host.windows.rooms.clear();
    EXPECT_EQ(ReadChatText(host.windows), L" ");
    EXPECT_TRUE(host.windows.rooms.empty());

    std::wstring history(600, L'x');
    for (std::size_t i = 0; i < history.size(); ++i) history[i] = static_cast<wchar_t>(L'a' + i % 26);
    host.windows.set_window_text(room.text, history);
    std::wstring tail = ReadChatText(host.windows);
    ASSERT_EQ(tail.size(), 500u);
    EXPECT_EQ(tail.substr(0, 499), history.substr(101));
    EXPECT_EQ(tail.back(), L'\0');
}

TEST(ReadChatText, DistrustsTheHost) {
    Host host;
    auto room = host.add_room(L"\rJimbo:  hello");
    // A text that shrinks between the two messages leaves blanks after its zero.
    host.windows.on_text_read(room.text, [&] { host.windows.set_window_text(room.text, L"\rJo:  hi"); });
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"\rJo:  hi") + L'\0' + L"      ");
    // One that grows is read whole: cut at the length first reported, its
    // last line would end in the middle.
    host.windows.set_window_text(room.text, L"\rJimbo:  hello");
    host.windows.on_text_read(room.text, [&] { host.windows.set_window_text(room.text, L"\rJo:  hi there all"); });
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"\rJo:  hi there all") + L'\0');
    // One that grew past the room left for growth is asked again.
    const std::wstring flood = L"\rJo:  " + std::wstring(kGrowthRoom + 100, L'x');
    host.windows.on_text_read(room.text, [&] { host.windows.set_window_text(room.text, flood); });
    EXPECT_EQ(ReadChatText(host.windows), flood.substr(flood.size() - 499) + L'\0');
    // One that outgrows the room again when asked once more is given up.
    const std::wstring grown = flood + std::wstring(kGrowthRoom + 100, L'y');
    host.windows.on_text_read(room.text, [&] {
        host.windows.set_window_text(room.text, grown);
        host.windows.on_text_read(room.text, [&] { host.windows.set_window_text(room.text, grown + grown); });
    });
    EXPECT_EQ(ReadChatText(host.windows), L" ");
    // A length that lies high leaves a blank for every byte not written;
    // the blanks take the tail's room before the text does.
    host.windows.set_window_text(room.text, L"\rJo:  hi");
    const std::wstring zero(1, L'\0');
    const struct { std::size_t blanks; std::wstring tail; } high[] = {
        {498, L"i" + zero + std::wstring(498, L' ')},
        {499, zero + std::wstring(499, L' ')},
        {500, std::wstring(500, L' ')},
    };
    for (const auto& lie : high) {
        host.windows.set_reported_length(room.text, 8 + lie.blanks);
        EXPECT_EQ(ReadChatText(host.windows), lie.tail) << lie.blanks << " blanks";
    }
    // A length right at the limit is still believed.
    host.windows.set_reported_length(room.text, kMaxRoomTextLength);
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(kChatTailLength, L' '));
    // A length that always lies low would only ever give a cut text: nothing.
    host.windows.set_window_text(room.text, flood);
    host.windows.set_reported_length(room.text, 3);
    EXPECT_EQ(ReadChatText(host.windows), L" ");
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

namespace {

// What the tail must be, worked out the long way: the whole text converted,
// its last 499 UTF-16 units (one fewer when they would begin with the second
// half of a surrogate pair) and the zero.
std::wstring whole_text_tail(const MemoryCodePage& code_page, const std::string& bytes) {
    std::wstring all;
    code_page.decode(bytes, all);
    std::size_t from = all.size() > 499 ? all.size() - 499 : 0;
    if (from > 0 && is_low_surrogate(all[from]) && is_high_surrogate(all[from - 1])) ++from;
    return all.substr(from) + L'\0';
}

std::string repeat(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

}  // namespace

// The reader converts only the end of the text. Whatever the code page and
// wherever the 499-character boundary falls (on a second byte, inside a UTF-8
// sequence, between the halves of a surrogate pair), that must give exactly
// the end of the whole text converted: no half character at the start, none
// lost, none doubled. Invalid bytes included.
TEST(ReadChatText, ConvertsOnlyTheEndAndNeverSplitsACharacter) {
    struct Case {
        const char* name;
        MemoryCodePage code_page;
        std::vector<std::string> pieces;  // the history is built from these
    };
    // In the double-byte code page 88 9F is an ideograph whose second byte
    // is also a lead byte, the hardest case for finding where a character
    // begins; 82 A0 one whose second byte is not; B1 a one-byte katakana.
    // A history of nothing but such ideographs leaves no byte to take
    // bearings from; one of nothing but four-byte UTF-8 characters puts the
    // boundary between the halves of a surrogate pair.
    const Case cases[] = {
        {"double-byte", MemoryCodePage::double_byte(),
         {"\x88\x9F", "\x82\xA0", "a", "\xB1", "\r", "\x88\x9F\x88\x9F", ":  "}},
        {"double-byte, ideographs only", MemoryCodePage::double_byte(), {"\x88\x9F"}},
        {"double-byte, invalid", MemoryCodePage::double_byte(),
         {"\x88\x9F", "\x81\x0D", "\xFD", "\x80", "\x88"}},
        // The first lead byte of each of code page 932's two lead ranges,
        // 81 and E0, as first and as second byte.
        {"double-byte, lead bytes 81 and E0", MemoryCodePage::double_byte(),
         {"\x81\x81", "\xE0\xE0", "\x81\xE0", "\xE0\x81"}},
        {"utf-8", MemoryCodePage::utf8(),
         {"a", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x8E\xB2", "\r", "\xE0\xA4\xB9"}},
        {"utf-8, outside the BMP only", MemoryCodePage::utf8(), {"\xF0\x9F\x8E\xB2"}},
        {"utf-8, invalid", MemoryCodePage::utf8(),
         {"\xF0\x9F\x8E\xB2", "\x80", "\xBF\xBF\xBF\xBF", "\xE6\x97", "\xC0\xAF", "\xFF", "z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Host host(c.code_page);
        auto room = host.add_room();
        // Histories of every length from 590 to 620 pieces, the pieces taken
        // in a rotating order, ending in zero to three one-byte characters
        // or a dice result, so the boundary lands on every kind of byte.
        for (std::size_t length = 590; length <= 620; ++length) {
            for (const std::string ending : {"", "a", "ab", "abc", "\rOnlineHost:  Jo rolled 1 6-sided die:  4"}) {
                std::string history;
                for (std::size_t i = 0; i < length; ++i) history += c.pieces[(i * 7 + length) % c.pieces.size()];
                history += ending;
                host.windows.window_bytes(room.text) = history;
                const std::wstring tail = ReadChatText(host.windows);
                ASSERT_EQ(tail, whole_text_tail(c.code_page, history)) << length << " pieces, then " << ending;
                ASSERT_LE(tail.size(), kChatTailLength);
            }
        }
    }
}

TEST(ReadChatText, CountsBlanksInBytesTheHostLeftUnwrittenOnEveryCodePage) {
    // Japanese text in the double-byte code page: characters of two bytes.
    Host host(MemoryCodePage::double_byte());
    const MemoryCodePage& code_page = host.windows.memory_code_page();
    const std::string line = "\rJimbo:  " + repeat("\x88\x9F", 600);  // 609 characters, 1209 bytes
    auto room = host.add_room();
    host.windows.window_bytes(room.text) = line;
    // Exact: the last 499 characters and one zero.
    std::wstring tail = ReadChatText(host.windows);
    ASSERT_EQ(tail.size(), 500u);
    EXPECT_EQ(tail, whole_text_tail(code_page, line));
    // Shrunk by 40 bytes (20 characters) between the messages: a blank for
    // each of the 40 bytes of the buffer the host did not write.
    const std::string shrunk = line.substr(0, line.size() - 40);
    host.windows.on_text_read(room.text, [&] { host.windows.window_bytes(room.text) = shrunk; });
    tail = ReadChatText(host.windows);
    ASSERT_EQ(tail.size(), 500u);
    std::wstring all;
    code_page.decode(shrunk, all);
    EXPECT_EQ(tail, all.substr(all.size() - 459) + L'\0' + std::wstring(40, L' '));
    // Shrunk to nothing: blanks only.
    host.windows.on_text_read(room.text, [&] { host.windows.window_bytes(room.text).clear(); });
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(500, L' '));
    // A host that counted its 609 characters instead of its 1209 bytes: the
    // text outgrows the room first offered and is read whole the second
    // time, with room for two bytes a character.
    host.windows.window_bytes(room.text) = line;
    host.windows.set_reported_length(room.text, 609);
    EXPECT_EQ(ReadChatText(host.windows), whole_text_tail(code_page, line));

    // Only a read that came back cut pays for room for two bytes a
    // character: 5009 characters in 10009 bytes.
    const std::string long_line = "\rJimbo:  " + repeat("\x88\x9F", 5000);
    host.windows.window_bytes(room.text) = long_line;
    host.windows.set_reported_length(room.text, std::nullopt);
    host.windows.rooms.clear();
    EXPECT_EQ(ReadChatText(host.windows), whole_text_tail(code_page, long_line));
    EXPECT_EQ(host.windows.rooms, std::vector<std::size_t>{long_line.size() + kGrowthRoom});
    host.windows.set_reported_length(room.text, 5009);
    host.windows.rooms.clear();
    EXPECT_EQ(ReadChatText(host.windows), whole_text_tail(code_page, long_line));
    EXPECT_EQ(host.windows.rooms, (std::vector<std::size_t>{5009 + kGrowthRoom, 2 * 5009 + kGrowthRoom}));
}

// Where converting starts, for each kind of code page: never inside a
// character, and late enough to convert little more than is wanted.
TEST(TailStart, StartsAtACharacterNearTheEnd) {
    CodePageLayout other;
    other.kind = CodePageLayout::Kind::Other;
    const CodePageLayout single = MemoryCodePage::latin1().layout(), utf8 = MemoryCodePage::utf8().layout(),
                         double_byte = MemoryCodePage::double_byte().layout();
    struct {
        const char* name;
        const CodePageLayout& code_page;
        std::string bytes;
        std::size_t chars, start;
    } rows[] = {
        {"single-byte: every byte a character", single, "ab\xA9\xA9\xA9", 2, 3},
        {"single-byte: more than there are", single, "abc", 4, 0},
        {"utf-8: back to the die's first byte", utf8, "a\xF0\x9F\x8E\xB2xyz", 1, 1},
        {"utf-8: back to the first byte of a two-byte character", utf8, "\xC3\xA9" "abc", 1, 0},
        {"utf-8: stray continuation bytes", utf8, "a\x80\x80\x80\x80xyz", 1, 1},
        {"utf-8: continuation bytes at the start", utf8, "\x80\x80" "abcdef", 2, 0},
        {"utf-8: ASCII", utf8, "abcdefgh", 1, 4},
        {"utf-8: four bytes a character, one to spare", utf8, "abcdefghi", 2, 1},
        {"utf-8: nothing wanted", utf8, "abc", 0, 3},
        {"double-byte: after a one-byte character", double_byte, "ab\x88\x9F", 1, 2},
        {"double-byte: an even run of lead bytes", double_byte, "a\x88\x9F\x88\x9F", 1, 3},
        {"double-byte: an odd run of lead bytes", double_byte, "a\x88\x9F\x88\x9F" "b", 2, 1},
        {"other: from the start", other, "abcdefgh", 1, 0},
    };
    for (const auto& row : rows) EXPECT_EQ(tail_start(row.bytes, row.chars, row.code_page), row.start) << row.name;
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
    host.windows.set_window_text(front.input, L"half typ");

    SendChatLine(host.windows, L"~*~ score ~*~\r\n");
    EXPECT_EQ(host.windows.window_text(front.text), L"\rme:  ~*~ score ~*~\r\n");
    EXPECT_EQ(host.windows.window_text(front.input), L"half typ");
    EXPECT_EQ(host.windows.window_text(back.text), L"");
    EXPECT_EQ(host.windows.log, (std::vector<std::wstring>{L"set:~*~ score ~*~\r\n", L"char:13", L"set:half typ"}));

    host.windows.log.clear();
    SendChatLine(host.windows, L"");  // an empty line is sent too
    EXPECT_EQ(host.windows.log, (std::vector<std::wstring>{L"set:", L"char:13", L"set:half typ"}));
}

// Names, messages and a draft in double-byte text, and in UTF-8 with a
// character outside the Basic Multilingual Plane, cross the seam exactly.
TEST(SendChatLine, PostsAndKeepsDoubleByteAndUtf8TextExactly) {
    const std::wstring line = L"\u65E5\u672C:  \u6226 \u653B\u6483 ~*~ \uFF71";  // 日本:  戦 攻撃 ~*~ ｱ
    const std::wstring draft = L"\u653B\u6483\u624B\u756A";                 // 攻撃手番
    for (auto code_page : {MemoryCodePage::double_byte(), MemoryCodePage::utf8()}) {
        Host host(code_page);
        auto room = host.add_room(L"");
        const std::wstring emoji = L"\xD83C\xDFB2";  // a die: U+1F3B2 as its two UTF-16 units
        const std::wstring typed = code_page.layout().kind == CodePageLayout::Kind::Utf8 ? draft + emoji : draft;
        host.windows.set_window_text(room.input, typed);
        SendChatLine(host.windows, line);
        EXPECT_EQ(host.windows.window_text(room.text), L"\rme:  " + line);
        EXPECT_EQ(host.windows.window_text(room.input), typed);
        EXPECT_EQ(LastChatLine(ReadChatText(host.windows)), L"me:  " + line + L'\0');
    }
}

TEST(SendChatLine, DoesNothingWithoutARoomOrWhenTheHostHangs) {
    Host host;
    SendChatLine(host.windows, L"hello");  // no room: nothing, no error
    EXPECT_TRUE(host.windows.log.empty());
    auto room = host.add_room(L"");
    host.windows.set_hung(room.input, true);
    SendChatLine(host.windows, L"hello");
    EXPECT_TRUE(host.windows.log.empty());
    // A box that leaves one message about the draft unanswered: the line
    // is not sent, rather than sent with the draft lost.
    host.windows.set_hung(room.input, false);
    host.windows.set_window_text(room.input, L"draft");
    host.windows.lengths_to_fail = 1;
    SendChatLine(host.windows, L"hello");
    host.windows.reads_to_fail = 1;
    SendChatLine(host.windows, L"hello");
    EXPECT_TRUE(host.windows.log.empty());
    EXPECT_EQ(host.windows.window_text(room.input), L"draft");
}

// Out of memory while converting: the reader gives no text rather than
// part of it, and a draft that could not be converted whole is not put
// back cut.
TEST(ReadChatText, RunningOutOfMemoryGivesNoTextAndPutsBackNoPartOfTheDraft) {
    Host host;
    auto room = host.add_room(L"\rJo:  hi there");
    host.windows.set_window_text(room.input, L"half typed");
    host.windows.decode_runs_out = true;
    EXPECT_EQ(ReadChatText(host.windows), L" ");
    SendChatLine(host.windows, L"hello");
    host.windows.decode_runs_out = false;
    EXPECT_EQ(host.windows.window_text(room.text), L"\rJo:  hi there\rme:  hello");
    EXPECT_EQ(host.windows.window_text(room.input), L"");
}

// A read waits for the host with messages flowing, so a command that posts a
// line (and reads the draft) can run nested inside it. Each owns its buffer
// for as long as it runs: the nested one, needing more room than the outer
// one was lent, gets a buffer of its own instead of freeing the outer's.
TEST(ReusableBuffer, LendsTheKeptBufferOnlyToOneCallerAtATime) {
    ReusableBuffer buffer;
    char* kept = nullptr;
    {
        auto outer = buffer.lend(100);
        ASSERT_TRUE(outer && outer.is_kept());
        kept = outer.data();
        {
            auto nested = buffer.lend(100000);
            ASSERT_TRUE(nested);
            EXPECT_FALSE(nested.is_kept());
            std::fill_n(nested.data(), 100000, 'n');
        }
        // Under ASan a freed or moved outer buffer fails right here.
        std::fill_n(outer.data(), outer.capacity(), 'o');
        EXPECT_EQ(outer.data(), kept);
    }
    // Reuse from call to call stays for calls that do not nest.
    auto again = buffer.lend(50);
    EXPECT_TRUE(again.is_kept());
    EXPECT_EQ(again.data(), kept);
    again = {};
    EXPECT_FALSE(buffer.lent());
    EXPECT_TRUE(buffer.lend(1000).is_kept());
    EXPECT_GE(buffer.kept_capacity(), 1000u);
}

// A lease moves with its buffer and leaves an empty one behind; the kept
// buffer stays lent until the lease holding it ends. A request the kept
// buffer fits exactly reuses it, and one that memory cannot meet gives an
// empty lease and lets the kept buffer go, so the next request starts
// afresh.
TEST(ReusableBuffer, LeasesMoveWithTheirBuffersAndAFailedGrowthLeavesNothingStale) {
    ReusableBuffer buffer;
    auto first = buffer.lend(0);  // nothing asked for is still a buffer
    ASSERT_TRUE(first && first.is_kept());
    ReusableBuffer::Lease moved(std::move(first));
    EXPECT_TRUE(moved && moved.is_kept());
    EXPECT_FALSE(first || first.is_kept());
    EXPECT_EQ(first.capacity(), 0u);
    EXPECT_TRUE(first.text().empty());
    {
        auto own = buffer.lend(10);
        ASSERT_TRUE(own && !own.is_kept());
        std::fill_n(own.data(), 10, 'x');
        own.set_length(10);
        first = std::move(own);
    }
    EXPECT_EQ(first.text(), "xxxxxxxxxx");  // under ASan: fails if the buffer went with `own`
    EXPECT_EQ(first.capacity(), 10u);
    first = {};
    EXPECT_TRUE(buffer.lent());
    moved = {};
    EXPECT_FALSE(buffer.lent());

    char* kept = nullptr;
    {
        auto grown = buffer.lend(1000);
        kept = grown.data();
    }
    EXPECT_EQ(buffer.lend(buffer.kept_capacity()).data(), kept);

    EXPECT_FALSE(buffer.lend(std::size_t{1} << 42));
    EXPECT_FALSE(buffer.lent());
    EXPECT_TRUE(buffer.lend(1));
    // Nor is a request near the top of the size range met, where adding the
    // headroom would wrap around to a small buffer.
    for (const std::size_t size : {SIZE_MAX, SIZE_MAX / 4 * 3 + 12, SIZE_MAX / 5 * 4 + 8}) {
        ReusableBuffer fresh;
        EXPECT_FALSE(fresh.lend(size)) << size;
    }
}

TEST(ReadChatText, ANestedSendWithALongDraftLeavesTheOuterReadExact) {
    Host host;
    auto room = host.add_room(L"\rJo:  hi");
    const std::wstring draft(20000, L'd');
    host.windows.set_window_text(room.input, draft);
    ReadChatText(host.windows);  // the kept buffer now fits the room, not the draft
    host.windows.on_text_read(room.text, [&] { SendChatLine(host.windows, L"nested"); });
    // The host answers the outer read after the nested line has gone.
    EXPECT_EQ(ReadChatText(host.windows), std::wstring(L"\rJo:  hi\rme:  nested") + L'\0');
    EXPECT_EQ(host.windows.window_text(room.input), draft);
}
