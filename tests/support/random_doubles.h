#pragma once
// Doubles for the tests that hold a number text against a former definition: values of
// many magnitudes, and values of random bit patterns (every kind of double, NaN included).
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace vt::testing {

// `count` values m x 10^e, m from -10 to 10, e from `lowExponent` to `highExponent`, then
// `bitCount` doubles of random bits; the same ones for the same seed.
inline void addRandomDoubles(std::vector<double>& out, uint64_t seed, int count, int lowExponent,
                             int highExponent, int bitCount) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(lowExponent, highExponent);
    for (int i = 0; i < count; ++i)
        out.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    for (int i = 0; i < bitCount; ++i) {
        double d;
        const uint64_t bits = random();
        std::memcpy(&d, &bits, sizeof d);
        out.push_back(d);
    }
}

} // namespace vt::testing
