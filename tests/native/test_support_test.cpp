// The portable parts of the helpers the Wine tests, the benchmarks and the
// soak and monkey runs share: a fault here shows up as a flaky or a silently
// passing check somewhere else, so it is pinned down here.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/args.h"
#include "tests/support/outcome.h"
#include "tests/support/wait.h"

using namespace std::chrono_literals;
using zol::test::Args;
using zol::test::Outcome;
using zol::test::poll_step;
using zol::test::wait_until;

namespace {

TEST(ArgsTest, ReadsValuesFlagsAndFallbacks) {
    const Args args({L"--minutes", L"1.5", L"--scroll", L"--runs", L"20", L"--bin", L"C:\\b", L"--empty"});
    EXPECT_DOUBLE_EQ(args.real(L"--minutes", 10), 1.5);
    EXPECT_EQ(args.number(L"--runs", 10), 20);
    EXPECT_EQ(args.text(L"--bin"), L"C:\\b");
    EXPECT_TRUE(args.flag(L"--scroll"));
    EXPECT_EQ(args.text(L"--scroll", L"x"), L"");
    // Missing or empty: the fallback, not 0.
    EXPECT_EQ(args.number(L"--count", 7), 7);
    EXPECT_EQ(args.number(L"--empty", 7), 7);
    EXPECT_DOUBLE_EQ(args.real(L"--empty", 2.5), 2.5);
    EXPECT_FALSE(args.flag(L"--count"));
    EXPECT_EQ(args.text(L"--count", L"fallback"), L"fallback");
}

TEST(ArgsTest, NarrowAndWideCommandLinesReadAlikeFromTheFirstWordOn) {
    char prog[] = "soak_win.exe", minutes[] = "--minutes", one[] = "1", seed[] = "--seed", big[] = "3000000000";
    char* narrow[] = {prog, minutes, one, seed, big};
    wchar_t wprog[] = L"zolbench", mode[] = L"startup", runs[] = L"--runs", five[] = L"5";
    wchar_t* wide[] = {wprog, mode, runs, five};
    const Args a(5, narrow, 1);
    EXPECT_EQ(a.text(L"--minutes"), L"1");
    EXPECT_EQ(a.text(L"--seed"), L"3000000000");  // kept whole for a caller that reads it unsigned
    const Args b(4, wide, 2);
    EXPECT_EQ(b.number(L"--runs", 0), 5);
    EXPECT_FALSE(b.flag(L"startup"));
}

TEST(ArgsTest, OnlyRejectsStrayUnknownAndIncompleteWords) {
    struct Case {
        std::vector<std::wstring> words;
        bool accepted;
    } cases[] = {
        {{}, true},
        {{L"--minutes", L"2"}, true},
        {{L"--minutes", L"2", L"--seed", L"9"}, true},
        {{L"--scroll", L"--minutes", L"2"}, true},
        {{L"--minutes"}, false},                     // value missing at the end
        {{L"--minutes", L"--seed", L"9"}, false},    // value missing before the next key
        {{L"--minuets", L"2"}, false},               // misspelt
        {{L"2"}, false},                             // a stray word
        {{L"--minutes", L"2", L"extra"}, false},
        {{L"--scroll", L"yes"}, false},              // a flag takes no value
    };
    for (const Case& c : cases) {
        std::wstring line;
        for (const auto& w : c.words) line += w + L" ";
        SCOPED_TRACE(std::string(line.begin(), line.end()));
        EXPECT_EQ(Args(c.words).only({L"--minutes", L"--seed"}, {L"--scroll"}), c.accepted);
    }
}

TEST(WaitTest, PollsQuicklyWhileYoungAndAtMostEveryTwentyMilliseconds) {
    EXPECT_EQ(poll_step(0ms), 5ms);
    EXPECT_EQ(poll_step(99ms), 5ms);
    EXPECT_EQ(poll_step(200ms), 10ms);
    EXPECT_EQ(poll_step(400ms), 20ms);
    EXPECT_EQ(poll_step(10min), 20ms);
}

TEST(WaitTest, AnswersAtOnceWhenTheConditionHolds) {
    int looks = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(wait_until([&] { return ++looks > 0; }, 10s));
    EXPECT_EQ(looks, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(WaitTest, GivesUpAfterTheTimeWithALastLookAtTheDeadline) {
    const auto start = std::chrono::steady_clock::now();
    int looks = 0;
    EXPECT_FALSE(wait_until([&] { return ++looks < 0; }, 100ms));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 100ms);
    EXPECT_GT(looks, 5);  // looked while waiting, not once at each end

    // A condition that comes true only at the deadline still counts.
    const auto deadline = std::chrono::steady_clock::now() + 60ms;
    EXPECT_TRUE(wait_until([&] { return std::chrono::steady_clock::now() >= deadline; }, 60ms));
}

TEST(OutcomeTest, BecomesATestResultThatCarriesTheReason) {
    const ::testing::AssertionResult failed = Outcome::failure("the focus is on nothing");
    EXPECT_FALSE(failed);
    EXPECT_STREQ(failed.message(), "the focus is on nothing");
    const ::testing::AssertionResult passed = Outcome::success();
    EXPECT_TRUE(passed);
    EXPECT_FALSE(Outcome::failure("x"));
    EXPECT_TRUE(Outcome::success());
}

}  // namespace
