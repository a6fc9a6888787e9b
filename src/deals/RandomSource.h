#pragma once
// The program's random numbers: a 32-bit linear congruential generator
// (multiplier 134775813, increment 1); a draw below `range` is the upper 32 bits
// of seed x range. The same seed always yields the same numbers, which is what
// makes a key value reproduce its deals.
#include <atomic>
#include <cstdint>

class TRandomSource {
public:
    static constexpr uint32_t Multiplier = 134775813u;  // hexadecimal 08088405
    static constexpr uint32_t Increment = 1u;

    constexpr TRandomSource() = default;
    constexpr explicit TRandomSource(uint32_t seed) : seed_(seed) {}

    // A non-zero key value becomes the seed unchanged (its two's-complement
    // bits); the key value 0 seeds from the clock (see SeedFromClock).
    void SetSeed(int32_t keyValue);
    // The milliseconds since midnight of the current UTC time, 0 to 86399999.
    void SeedFromClock();
    // Stores exactly this seed (also 0).
    void StoreSeed(uint32_t seed) { seed_.store(seed, std::memory_order_relaxed); }
    uint32_t Seed() const { return seed_.load(std::memory_order_relaxed); }

    // Advances the seed, then gives (seed x range) div 2^32: 0 to range - 1 for
    // a positive range. A range of 0 or less advances the seed and gives 0.
    // The seed is read and written whole; a draw that overlaps a reseed from
    // another thread is redone from the new seed, so a reseed is never lost.
    int32_t RandomBelow(int32_t range);

    // Pure steps of the generator, for callers that keep the seed themselves.
    static constexpr uint32_t NextSeed(uint32_t seed) { return seed * Multiplier + Increment; }
    static constexpr int32_t Scale(uint32_t seed, int32_t range) {
        if (range <= 0) return 0;
        return static_cast<int32_t>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(range)) >>
                                    32);
    }
    // The seed after `draws` draws from `seed`, in O(log draws) steps.
    static constexpr uint32_t JumpAhead(uint32_t seed, uint64_t draws) {
        // The affine step x -> a x + c composed with itself by squaring.
        uint32_t totalMul = 1, totalAdd = 0;
        uint32_t stepMul = Multiplier, stepAdd = Increment;
        while (draws != 0) {
            if (draws & 1u) {
                totalMul *= stepMul;
                totalAdd = totalAdd * stepMul + stepAdd;
            }
            stepAdd = stepAdd * stepMul + stepAdd;
            stepMul *= stepMul;
            draws >>= 1;
        }
        return seed * totalMul + totalAdd;
    }

    // Replaces the seed with `after` only if it still holds `before`: a caller
    // that drew from a copy of the seed commits its draws this way, and a
    // reseed that came in meanwhile wins. True when `after` was stored.
    bool CommitSeed(uint32_t before, uint32_t after) {
        return seed_.compare_exchange_strong(before, after, std::memory_order_relaxed);
    }

private:
    std::atomic<uint32_t> seed_{0};
};
