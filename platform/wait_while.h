#pragma once

#include <algorithm>
#include <chrono>
#include <thread>

namespace inkrun::platform::detail {

using Clock = std::chrono::steady_clock;
constexpr auto pollInterval = std::chrono::milliseconds(20);

// Polls `remains` until it turns false or the time is up.
template <typename Predicate>
void waitWhile(Predicate remains, int waitMilliseconds) {
    if (waitMilliseconds <= 0) return;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
    while (remains()) {
        const auto now = Clock::now();
        if (now >= deadline) return;
        std::this_thread::sleep_for(std::min<Clock::duration>(pollInterval, deadline - now));
    }
}

}  // namespace inkrun::platform::detail
