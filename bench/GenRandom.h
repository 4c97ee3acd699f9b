// Random numbers and calendar arithmetic for ekview-gen. Everything here is written out by
// hand so that one seed gives the same mailbox with every compiler and standard library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ek::gen {

// One splitmix64 step: turns any 64-bit value into a well-mixed one.
constexpr std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// xoshiro256**. Below() maps by multiply and shift instead of a standard distribution,
// whose results differ between library implementations.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) {
        for (auto& s : s_) {
            seed = Mix(seed);
            s = seed;
        }
    }

    std::uint64_t Next() {
        const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

    // A number in [0, n); n must be below 2^32.
    std::uint32_t Below(std::uint64_t n) {
        return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
    }
    std::uint32_t Between(std::uint32_t lo, std::uint32_t hi) { return lo + Below(hi - lo + 1); }
    bool PerMille(std::uint32_t p) { return Below(1000) < p; }
    bool Percent(std::uint32_t p) { return Below(100) < p; }

    template <class T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(N)];
    }

  private:
    static constexpr std::uint64_t Rotl(std::uint64_t x, int k) {
        return (x << k) | (x >> (64 - k));
    }

    std::uint64_t s_[4] = {};
};

struct CivilTime {
    int year;
    int month;  // 1 to 12
    int day;
    int hour;
    int minute;
    int second;
    int weekday;  // 0 = Sunday
};

// Seconds since 1970-01-01 00:00:00 (not negative) to the calendar, proleptic Gregorian.
constexpr CivilTime ToCivil(std::int64_t t) {
    std::int64_t days = t / 86400;
    const std::int64_t secs = t % 86400;
    const int weekday = static_cast<int>((days + 4) % 7);  // 1970-01-01 was a Thursday
    days += 719468;
    const std::int64_t era = days / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year,
            month,
            day,
            static_cast<int>(secs / 3600),
            static_cast<int>(secs / 60 % 60),
            static_cast<int>(secs % 60),
            weekday};
}

}  // namespace ek::gen
