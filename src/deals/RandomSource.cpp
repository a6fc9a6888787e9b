#include "deals/RandomSource.h"

#include <chrono>

void TRandomSource::SetSeed(int32_t keyValue) {
    if (keyValue == 0) {
        SeedFromClock();
    } else {
        StoreSeed(static_cast<uint32_t>(keyValue));
    }
}

void TRandomSource::SeedFromClock() {
    using namespace std::chrono;
    // System time counts days of exactly 86400 seconds, so the remainder is
    // the time of day in UTC.
    auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    constexpr int64_t msPerDay = 86400000;
    int64_t ofDay = ((sinceEpoch % msPerDay) + msPerDay) % msPerDay;
    StoreSeed(static_cast<uint32_t>(ofDay));
}

int32_t TRandomSource::RandomBelow(int32_t range) {
    uint32_t before = seed_.load(std::memory_order_relaxed);
    uint32_t after = NextSeed(before);
    while (!seed_.compare_exchange_weak(before, after, std::memory_order_relaxed))
        after = NextSeed(before);
    return Scale(after, range);
}
