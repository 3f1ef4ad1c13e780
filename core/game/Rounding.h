// Converting a real to an integer in the rules rounds halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4); integer division truncates toward zero as C++ does.
#pragma once

#include <cmath>
#include <cstdint>

namespace milgant {

inline std::int32_t RoundHalfEven(double x) {
  const double r = std::nearbyint(x);  // default rounding mode: to nearest, ties to even
  return static_cast<std::int32_t>(r);
}

}  // namespace milgant
