// Timings of the battle rules without a screen: one whole engagement of three rounds in which
// both sides look for reinforcements after every round, the same engagement fought 200 times on
// copies of the game as a preview of the attack fights it, and the attack-odds estimate alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "core/combat/ForceRatio.h"
#include "core/combat/Battle.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/turn/ScriptedUi.h"
#include "core/game/Text.h"
#include "tests/core/EngagementSetup.h"

namespace milgant {
namespace {

using test::Engagement;
using test::kBattleHex;

void BM_Engagement(benchmark::State& state) {
  const auto start = Engagement();
  auto g = std::make_unique<Game>();
  int rounds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    *g = *start;
    g->Rng.SetSeed(7);
    ScriptedUi ui;
    state.ResumeTiming();
    rounds = FightBattle(*g, ui, kBattleHex.X, kBattleHex.Y).Rounds;
    benchmark::DoNotOptimize(rounds);
  }
  state.counters["rounds"] = rounds;
}
BENCHMARK(BM_Engagement)->Unit(benchmark::kMicrosecond);

// A preview of the attack: 200 copies of the game, each with its own seed, fight the engagement
// with nobody asked anything (the defenders have nowhere to retreat to) and every reinforcement
// the human could bring refused; the computer still chooses its own. Copies are part of the cost.
constexpr std::uint32_t kPreviewBattles = 200;

void BM_SimulatedEngagements(benchmark::State& state) {
  const auto start = Engagement();
  auto g = std::make_unique<Game>();
  int rounds = 0;
  for (auto _ : state) {
    rounds = 0;
    for (std::uint32_t seed = 1; seed <= kPreviewBattles; ++seed) {
      *g = *start;
      g->Rng.SetSeed(seed);
      ScriptedUi ui;
      rounds += FightBattle(*g, ui, kBattleHex.X, kBattleHex.Y).Rounds;
    }
    benchmark::DoNotOptimize(rounds);
  }
  state.counters["rounds"] = rounds;
}
BENCHMARK(BM_SimulatedEngagements)->Unit(benchmark::kMillisecond);

void BM_GameCopy(benchmark::State& state) {
  const auto start = Engagement();
  auto g = std::make_unique<Game>();
  for (auto _ : state) {
    *g = *start;
    benchmark::DoNotOptimize(g->Turn);
  }
}
BENCHMARK(BM_GameCopy)->Unit(benchmark::kMicrosecond);

void BM_AttackOdds(benchmark::State& state) {
  const auto g = Engagement();
  for (auto _ : state) benchmark::DoNotOptimize(AttackOdds(*g, kBattleHex.X, kBattleHex.Y, 0));
}
BENCHMARK(BM_AttackOdds);

}  // namespace
}  // namespace milgant

BENCHMARK_MAIN();
