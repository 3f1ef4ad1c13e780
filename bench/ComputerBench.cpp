// The computer's whole phase, headless (no animation, no waits): on the opening position of a
// new game for either side, and on crowded positions a few turns into a game the computer
// plays against itself; the stronger opponent's phase on the positions of a whole game.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/ai/ComputerPhase.h"
#include "core/turn/SelfPlay.h"
#include "core/game/Game.h"
#include "core/game/RuleTables.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/PhaseSequence.h"

namespace milgant {
namespace {

const std::string kData = MILGANT_DATA_DIR;

std::unique_ptr<Game> Opening(int human) {
  auto g = std::make_unique<Game>();
  LoadCrt(*g, kData + "/CRT.txt");
  g->Rng.SetSeed(2024);
  ScriptedUi ui;
  ui.Answers = {human == 0 ? 1 : 0};
  ui.Closing = true;  // set up without the computer's first phase
  NewGame(*g, ui, kData + "/Map.dat");
  return g;
}

// A game the computer has played against itself for some turns.
std::unique_ptr<Game> MidGame(int turns) {
  auto g = std::make_unique<Game>();
  LoadCrt(*g, kData + "/CRT.txt");
  SelfPlayOptions o;
  o.Both = true;
  o.Seed = 77;
  o.Turns = turns;
  o.MapPath = kData + "/Map.dat";
  PlaySelf(*g, o);
  return g;
}

void RunPhase(benchmark::State& state, const Game& start, int side) {
  auto g = std::make_unique<Game>(start);
  for (auto _ : state) {
    state.PauseTiming();
    *g = start;
    ScriptedUi ui;
    state.ResumeTiming();
    PlayComputerPhaseFor(*g, ui, side);
    benchmark::DoNotOptimize(g->Units[1].HexX);
  }
}

void BM_ComputerPhaseOpening(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  static const auto zero = Opening(1);
  static const auto one = Opening(0);
  RunPhase(state, side == 0 ? *zero : *one, side);
}
BENCHMARK(BM_ComputerPhaseOpening)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ComputerPhaseMidGame(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  static const auto mid = MidGame(5);
  RunPhase(state, *mid, side);
}
BENCHMARK(BM_ComputerPhaseMidGame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A whole self-played game, with the chronicle kept (1) or not (0): keeping it must cost little.
void BM_SelfPlayGame(benchmark::State& state) {
  auto g = std::make_unique<Game>();
  LoadCrt(*g, kData + "/CRT.txt");
  const auto start = std::make_unique<Game>(*g);
  SelfPlayOptions o;
  o.Both = true;
  o.Seed = 5;
  o.MapPath = kData + "/Map.dat";
  o.KeepEvents = state.range(0) == 1;
  std::size_t events = 0;
  for (auto _ : state) {
    *g = *start;
    const SelfPlayResult r = PlaySelf(*g, o);
    events = r.Events.size();
    benchmark::DoNotOptimize(r.Winner);
  }
  state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_SelfPlayGame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The stronger opponent's phase for either side on the position after `turns` turns of a game
// it plays against the standard one (side 0 standard, side 1 strong). A phase must stay well
// under 200 ms at the median over the turns of a game, or the window seems to hang.
void BM_StrongPhase(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const int turns = static_cast<int>(state.range(1));
  auto g = std::make_unique<Game>();
  LoadCrt(*g, kData + "/CRT.txt");
  SelfPlayOptions o;
  o.Both = true;
  o.Players = {Opponent::Standard, Opponent::Strong};
  o.Seed = 77;
  o.Turns = turns;
  o.MapPath = kData + "/Map.dat";
  PlaySelf(*g, o);
  g->ComputerOpponent = Opponent::Strong;
  RunPhase(state, *g, side);
}
BENCHMARK(BM_StrongPhase)
    ->ArgsProduct({{0, 1}, {1, 3, 5, 7, 9}})
    ->ArgNames({"side", "turn"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace milgant

BENCHMARK_MAIN();
