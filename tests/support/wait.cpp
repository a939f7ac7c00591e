#include "tests/support/wait.h"

#include <algorithm>
#include <thread>

namespace zol::test {

using namespace std::chrono_literals;

std::chrono::milliseconds poll_step(std::chrono::steady_clock::duration waited) {
    const auto step = std::chrono::duration_cast<std::chrono::milliseconds>(waited) / 20;
    return std::clamp<std::chrono::milliseconds>(step, 5ms, 20ms);
}

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + timeout;
    for (;;) {
        if (condition()) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(poll_step(now - start),
                                                                                  deadline - now));
    }
}

}  // namespace zol::test
