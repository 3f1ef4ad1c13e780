// The readable source of the combat results table (data/map/crt.txt) and the "CRT.txt" text
// made from it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace milgant::mapgen {

constexpr int kCrtSourceColumns = 14;
constexpr int kCrtSourceDice = 6;

struct CrtSourceResult {
  bool Ok = false;
  std::string Error;  // "line N: what is wrong", when not Ok
  // [die - 1][column]: steps lost by the side fired on.
  std::array<std::array<int, kCrtSourceColumns>, kCrtSourceDice> Hits{};
};

// Reads the six "die N:" rows of fourteen numbers. A table in which a stronger column or a
// higher die hits less is refused: the battle relies on luck and strength never hurting.
CrtSourceResult ParseCrtSource(std::string_view text);

// "CRT.txt": one line per die, the fourteen values separated by single spaces, CR LF endings.
std::string CrtFileText(const CrtSourceResult& table);

}  // namespace milgant::mapgen
