#include "core/game/Random.h"

#include <chrono>

namespace milgant {

std::uint32_t Random::ClockSeed() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto day = floor<days>(now);
  const auto ms = duration_cast<milliseconds>(now - day).count();
  // ((hour * 60 + minute) * 60 + second) * 1000 + millisecond
  return static_cast<std::uint32_t>(ms);
}

}  // namespace milgant
