// The game's one random generator: a 32-bit linear congruential generator. A seed plus the
// player's inputs replays a game exactly, so every draw must come from here, in rule order.
#pragma once

#include <cstdint>

namespace milgant {

class Random {
 public:
  explicit Random(std::uint32_t seed = 0) : seed_(seed) {}

  void SetSeed(std::uint32_t seed) { seed_ = seed; }
  std::uint32_t Seed() const { return seed_; }

  // A uniform integer 0..n-1 (0 when n <= 0): the upper half of the 64-bit product of the
  // advanced seed and n.
  std::int32_t Next(std::int32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint32_t>(n)) >> 32);
  }
  std::int32_t Die() { return Next(6) + 1; }

  // The start-up seed: milliseconds since midnight, UTC.
  static std::uint32_t ClockSeed();

 private:
  std::uint32_t seed_;
};

}  // namespace milgant
