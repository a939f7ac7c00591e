// Waiting for something another program does. Every wait of the tests, the
// benchmarks and the soak and monkey runs goes through wait_until, so they
// all poll by one rule.
#pragma once

#include <chrono>
#include <functional>

namespace zol::test {

// The pause between two looks at a condition that has waited `waited` so
// far: a twentieth of it, at least 5 ms and at most 20 ms. A short wait is
// seen to end within a few milliseconds (start-up and latency figures rest
// on that, within 5%), a long one costs the machine a look every 20 ms. Not
// finer: under Wine, tests that went on within a millisecond of a window
// coming to the front now and then lost the click or key that followed.
std::chrono::milliseconds poll_step(std::chrono::steady_clock::duration waited);

// Looks at the condition until it holds (true) or the time is up (false).
// The condition is looked at once more at the deadline, so a wait never
// fails without a last look.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

}  // namespace zol::test
