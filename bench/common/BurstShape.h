// SPDX-License-Identifier: Apache-2.0
// What both sides of the event-burst comparison share: how many events, when
// the operator's click arrives, and how that arrival is announced to the
// window thread.
#ifndef KELM_BENCH_COMMON_BURSTSHAPE_H
#define KELM_BENCH_COMMON_BURSTSHAPE_H

#include <atomic>
#include <chrono>
#include <cstdint>

namespace BurstShape
{
constexpr long kEvents = 100000;
// The click arrives once the sender has sent this many events.
constexpr long kClickAfter = kEvents / 2;
// Generous: a burst that takes longer than this is reported as an error.
constexpr int kTimeoutMs = 120000;

using Clock = std::chrono::steady_clock;

inline std::int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// The operator's click, raised on the sending thread in the middle of the
// burst and taken up by the window thread the next time it returns to its
// event loop, as input from the window system would be.
class ClickArrival
{
public:
    void Arrive() { m_arrivedNs.store(NowNs(), std::memory_order_release); }
    bool Arrived() const { return m_arrivedNs.load(std::memory_order_acquire) != 0; }
    std::int64_t ArrivedNs() const { return m_arrivedNs.load(std::memory_order_acquire); }

private:
    std::atomic<std::int64_t> m_arrivedNs{0};
};
} // namespace BurstShape

#endif
