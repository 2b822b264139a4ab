// The simulator's one source of chance: xoshiro256** seeded through
// splitmix64. Every draw is integer arithmetic, so a seed gives the same
// numbers with every compiler and on every platform (the standard library's
// distributions do not promise that).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace zul00500::sim {

class Random {
public:
  explicit Random(std::uint64_t seed) {
    for (std::uint64_t& word : state_) {
      seed += 0x9E3779B97F4A7C15ULL;
      std::uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
      word = z ^ (z >> 31);
    }
  }

  std::uint64_t Next() {
    const std::uint64_t result = Rotate(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotate(state_[3], 45);
    return result;
  }

  // 0 <= result < bound (bound > 0); the slight bias of the modulo is of no
  // account for a simulator.
  std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }
  // lo <= result <= hi.
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<std::uint32_t>(hi - lo + 1)));
  }
  // True `per_mille` times in a thousand.
  bool Chance(int per_mille) { return static_cast<int>(Below(1000)) < per_mille; }
  // An index drawn by weight.
  int Weighted(std::initializer_list<int> weights) {
    int total = 0;
    for (const int weight : weights) total += weight;
    int draw = static_cast<int>(Below(static_cast<std::uint32_t>(total)));
    int index = 0;
    for (const int weight : weights) {
      if (draw < weight) return index;
      draw -= weight;
      ++index;
    }
    return index - 1;
  }

private:
  static std::uint64_t Rotate(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t state_[4];
};

} // namespace zul00500::sim
