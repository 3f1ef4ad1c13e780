// A unit's combat power follows its steps: the share of steps left times the full power,
// rounded to the nearest (halves to even).
#pragma once

#include "core/game/Header.h"
#include "core/game/Rounding.h"

namespace milgant {

inline std::int32_t ScaledCombatPower(const Unit& u) {
  if (u.MaxSteps <= 0) return 0;  // a unit without a full strength has no power to scale
  return RoundHalfEven(static_cast<double>(u.Steps) / u.MaxSteps * u.MaxCombatPower);
}

}  // namespace milgant
