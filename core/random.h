#pragma once
// The run's pseudo-random generator: the classic linear congruential generator whose draws are
// 15-bit integers. Seeded once per run; tests and tools pass an explicit seed to reproduce a run.
#include <cstdint>

namespace quelna {

inline constexpr int kRandomMax = 32767;

class Random {
  public:
    explicit Random(std::uint32_t seed = 1) : state_(seed) {}
    void seed(std::uint32_t seed) { state_ = seed; }
    // Next draw in 0..32767.
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7fffu);
    }
    // An index into a list of k entries: floor(k * x / 32768).
    int index(int k) { return static_cast<int>(static_cast<long long>(k) * next() / 32768); }

  private:
    std::uint32_t state_;
};

// The one generator of the process (the random search and the test-mode generators draw from it).
Random& runRandom();

} // namespace quelna
