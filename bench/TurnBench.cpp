// Timings of the turn rules on the shipped map: movement ranges for a small and a large
// budget, both sides' supply traces, and a whole end of turn from the action phase.
// Without data/Map.dat a generated map of plain, rough and mountain hexes with a road net is
// used instead.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/MapFile.h"
#include "core/game/Random.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "core/rules/Movement.h"
#include "core/turn/PhaseSequence.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

void Road(MapTable& map, int x, int y, const std::string& route) {
  for (const char c : route) {
    const int d = c - '0';
    const HexPos n = Neighbour(x, y, d);
    map[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].RoadSides[static_cast<std::size_t>(d - 1)] = 1;
    map[static_cast<std::size_t>(n.X)][static_cast<std::size_t>(n.Y)].RoadSides[static_cast<std::size_t>(OppositeDirection(d) - 1)] = 1;
    x = n.X;
    y = n.Y;
  }
}

std::unique_ptr<MapTable> GeneratedMap() {
  auto map = std::make_unique<MapTable>();
  Random r(1234);
  for (auto& column : *map) {
    for (Hex& h : column) {
      const int roll = r.Next(10);
      h.Terrain = roll < 6 ? 1 : roll < 9 ? 2 : 3;
    }
  }
  Road(*map, 0, 5, std::string(19, '2'));
  Road(*map, 0, 11, std::string(19, '2'));
  Road(*map, 0, 15, std::string(19, '2'));
  Road(*map, 2, 5, "4343434343");
  Road(*map, 10, 5, "4343434343");
  Road(*map, 19, 5, "4343434343");
  return map;
}

std::unique_ptr<MapTable> BenchMap() {
  auto map = std::make_unique<MapTable>();
  if (LoadMap(*map, std::string(MILGANT_DATA_DIR) + "/Map.dat").Ok) return map;
  return GeneratedMap();
}

// A game in its first action phase for a human playing side 0.
std::unique_ptr<Game> ActionPhaseGame() {
  auto g = std::make_unique<Game>();
  g->PlayerSide = 0;
  g->ComputerSide = 1;
  BuildScenario(*g, *BenchMap());
  g->Rng.SetSeed(2024);
  ScriptedUi ui;
  BeginNewGame(*g, ui);
  PhaseEnd(*g, ui);
  PhaseEnd(*g, ui);
  return g;
}

void MoveRange(benchmark::State& state) {
  auto g = ActionPhaseGame();
  const int budget = static_cast<int>(state.range(0));
  for (auto _ : state) {
    ComputeMoveRange(*g, 2, 5, kUnitMoveRow, budget);
    benchmark::DoNotOptimize(g->MoveRemaining);
  }
}
BENCHMARK(MoveRange)->Arg(12)->Arg(24)->Unit(benchmark::kMicrosecond);

void SupplyTrace(benchmark::State& state) {
  auto g = ActionPhaseGame();
  const int side = static_cast<int>(state.range(0));
  g->PhaseSide = side;
  for (auto _ : state) {
    TraceSupply(*g, side);
    benchmark::DoNotOptimize(g->SupplyRemaining);
  }
}
BENCHMARK(SupplyTrace)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void WholeEndOfTurn(benchmark::State& state) {
  const auto start = ActionPhaseGame();
  auto g = std::make_unique<Game>();
  for (auto _ : state) {
    state.PauseTiming();
    *g = *start;
    ScriptedUi ui;
    state.ResumeTiming();
    PhaseEnd(*g, ui);
    benchmark::DoNotOptimize(g->Turn);
  }
}
BENCHMARK(WholeEndOfTurn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace milgant

BENCHMARK_MAIN();
