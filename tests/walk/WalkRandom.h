// SPDX-License-Identifier: Apache-2.0
// The walk's dice: SplitMix64, the same numbers for the same seed on every
// machine and library, so that a seed replays its walk.
#ifndef KELM_TESTS_WALK_WALKRANDOM_H
#define KELM_TESTS_WALK_WALKRANDOM_H

#include <cstdint>
#include <string>
#include <vector>

class WalkRandom
{
public:
    explicit WalkRandom(std::uint64_t seed = 0) : m_state(seed) {}

    // A stream of its own for each (seed, part): what one step draws does
    // not shift what the next one draws.
    static std::uint64_t Mix(std::uint64_t seed, std::uint64_t part)
    {
        WalkRandom r(seed ^ (part * 0x9E3779B97F4A7C15ull));
        r.Next();
        return r.Next();
    }

    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1.
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<unsigned>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T> const T& Pick(const std::vector<T>& from)
    {
        return from[Below(static_cast<int>(from.size()))];
    }

private:
    std::uint64_t m_state;
};

#endif
