// Where a side-0 computer sends its units: hexes on its road net scored by distance from home,
// the enemy close by, rivers, roads, narrow ground and the reach of the enemy, sorted best
// first; a short list of objectives is drawn from them, home first when the enemy is at the gate.
#pragma once

#include <array>
#include <cstdint>

namespace milgant {

struct Game;

struct ObjectiveEntry {
  std::int32_t X = -1;
  std::int32_t Y = -1;
  std::int32_t Score = 0;
  std::int32_t Spare = 0;
};

constexpr int kObjectiveCapacity = 362;

struct ObjectiveTable {
  std::array<ObjectiveEntry, kObjectiveCapacity> Entries{};
  int Count = 0;
};

struct ObjectiveResult {
  ObjectiveTable ScoredHexes;
  ObjectiveTable ObjectiveList;
};

// The hex a side-0 computer falls back to when the enemy comes within 3 hexes of its source.
constexpr int kFallbackX = 3;
constexpr int kFallbackY = 6;

// 20 with no obstacle (mountain or sea) around the hex, 10 with one, else 6 minus their number.
// A side off the map counts as an obstacle: the map ends there as it does at the sea.
int Openness(const Game& g, int x, int y);
// Builds the scored hexes and the objective list for the side-0 computer. Leaves the movement
// tables cleared and SupplyRemaining as scratch.
void EvaluateObjectives(Game& g, ObjectiveResult& out);

}  // namespace milgant
