// The attack preview the player sees while choosing a hex to attack: the odds and the exact
// chances of one round, and the whole preview of an engagement with its estimate from 200
// battles fought on copies of the game. Positions come from games played by the computer.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/RuleTables.h"
#include "core/turn/AttackPreview.h"
#include "core/turn/SelfPlay.h"

namespace milgant {
namespace {

const std::string kData = MILGANT_DATA_DIR;

struct Contact {
  std::unique_ptr<Game> G;
  int Slot = -1;
  HexPos Target{-1, -1};
};

// The first corps of the side without the computer that stands next to an enemy hex and could
// attack it, a few turns into a game; with `engagement` only where the odds call for one.
Contact FindContact(bool engagement) {
  for (std::uint32_t seed = 1; seed < 60; ++seed) {
    for (const int turns : {4, 6, 8}) {
      Contact c;
      c.G = std::make_unique<Game>();
      LoadCrt(*c.G, kData + "/CRT.txt");
      SelfPlayOptions o;
      o.HumanSide = 0;
      o.Turns = turns;
      o.Seed = seed;
      o.MapPath = kData + "/Map.dat";
      PlaySelf(*c.G, o);
      Game& g = *c.G;
      for (int slot = 1; slot < kUnitSlots; ++slot) {
        Unit& u = g.U(slot);
        if (u.OnMap != 1 || u.Side != g.PlayerSide || u.CommanderIndex != -1) continue;
        u.ActionPoints = 8;
        for (int d = 1; d <= 6; ++d) {
          const HexPos n = Neighbour(u.HexX, u.HexY, d);
          if (!OnMapHex(n.X, n.Y) || UnitsAt(g, n.X, n.Y).Count == 0) continue;
          const AttackPreview p = PreviewAttack(g, slot, n.X, n.Y);
          if (p.Refusal != AttackRefusal::None || p.SingleRound == engagement) continue;
          c.Slot = slot;
          c.Target = n;
          return c;
        }
      }
    }
  }
  return {};
}

void BM_PreviewRound(benchmark::State& state) {
  static const Contact c = FindContact(true);
  if (c.Slot < 0) return state.SkipWithError("no position");
  for (auto _ : state) benchmark::DoNotOptimize(PreviewAttack(*c.G, c.Slot, c.Target.X, c.Target.Y).Odds);
}
BENCHMARK(BM_PreviewRound)->Unit(benchmark::kMicrosecond);

// What the window works out for one hex of an engagement: the preview and 200 battles.
void BM_PreviewEngagement(benchmark::State& state) {
  static const Contact c = FindContact(true);
  if (c.Slot < 0) return state.SkipWithError("no position");
  AttackEstimate e;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PreviewAttack(*c.G, c.Slot, c.Target.X, c.Target.Y).Odds);
    e = SimulateAttack(*c.G, c.Slot, c.Target.X, c.Target.Y, 200, 1);
    benchmark::DoNotOptimize(e.DefenderLoss);
  }
  state.counters["defender_out"] = e.DefenderOut;
  state.counters["attacker_loss"] = e.AttackerLoss;
}
BENCHMARK(BM_PreviewEngagement)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace milgant

BENCHMARK_MAIN();
