#include "core/turn/SelfPlay.h"

#include <memory>
#include <utility>

#include "core/ai/Opponent.h"
#include "core/game/Game.h"
#include "core/game/Invariants.h"
#include "core/game/SaveImage.h"
#include "core/turn/PhaseSequence.h"

namespace milgant {
namespace {

constexpr int kComputerPhaseState = 15;

struct Watch {
  std::array<std::uint8_t, kUnitSlots> OnMap{};
  std::array<std::int32_t, kCastleSlots> Owner{};
};

Watch Look(const Game& g) {
  Watch w;
  for (int s = 0; s < kUnitSlots; ++s) w.OnMap[static_cast<std::size_t>(s)] = g.U(s).OnMap;
  for (int c = 0; c < kCastleSlots; ++c) w.Owner[static_cast<std::size_t>(c)] = g.Castles[static_cast<std::size_t>(c)].Owner;
  return w;
}

// Why a save of the game as it stands would be refused on loading; empty when it loads.
std::string SaveRefused(const Game& g) {
  auto saved = std::make_unique<Game>(g);
  Snapshot(*saved);
  auto loaded = std::make_unique<Game>();
  const LoadResult r = LoadSaveImage(g, saved->SaveImage, g.Map, *loaded);
  return r.Ok ? std::string() : r.Detail;
}

// Records what changed since the last look; false when a rule is broken.
bool AfterPhase(const Game& g, Watch& last, SelfPlayResult& r, const std::string& phase) {
  const Watch now = Look(g);
  for (int s = 1; s < kUnitSlots; ++s) {
    if (last.OnMap[static_cast<std::size_t>(s)] == 1 && now.OnMap[static_cast<std::size_t>(s)] != 1) {
      ++r.UnitsLost[g.U(s).Side == 0 ? 0 : 1];
    }
  }
  for (int c = 1; c < g.CastleCounter && c < kCastleSlots; ++c) {
    if (last.Owner[static_cast<std::size_t>(c)] != now.Owner[static_cast<std::size_t>(c)]) {
      r.CastlesTaken.push_back({g.Turn, c, now.Owner[static_cast<std::size_t>(c)]});
    }
  }
  last = now;
  const std::vector<std::string> broken = CheckInvariants(g);
  if (!broken.empty()) {
    r.Broken = "after " + phase + ": " + broken.front();
    return false;
  }
  // A save made now must load again: play never leaves a number a load would refuse.
  if (!MaySave(g)) return true;
  const std::string refused = SaveRefused(g);
  if (refused.empty()) return true;
  r.Broken = "after " + phase + ": its save is refused: " + refused;
  return false;
}

}  // namespace

void CountingUi::BattleShow(int x, int y) {
  ScriptedUi::BattleShow(x, y);
  if (!open_ || x != x_ || y != y_) ++Battles;
  open_ = true;
  x_ = x;
  y_ = y;
}

void CountingUi::BattleClose() {
  ScriptedUi::BattleClose();
  open_ = false;
}

void PlayComputerPhaseFor(Game& g, Ui& ui, int side) {
  const bool swap = side != g.ComputerSide;
  if (swap) std::swap(g.PlayerSide, g.ComputerSide);
  const int state = g.GameState;
  g.GameState = kComputerPhaseState;
  g.PhaseSide = side;
  RunOpponentPhase(g, ui);
  g.GameState = state;
  if (swap) std::swap(g.PlayerSide, g.ComputerSide);
}

SelfPlayResult PlaySelf(Game& g, const SelfPlayOptions& o) {
  SelfPlayResult r;
  g.Rng.SetSeed(o.Seed);
  CountingUi ui;
  ui.KeepEvents = o.KeepEvents;
  ui.Answers = {o.HumanSide == 0 ? 1 : 0};  // the side window: the first army is side 0
  auto playerOf = [&o](int side) { return o.Players[static_cast<std::size_t>(side == 0 ? 0 : 1)]; };
  // The computer's side may move first, inside the new game.
  g.ComputerOpponent = playerOf(1 - o.HumanSide);
  if (!NewGame(g, ui, o.MapPath)) return r;
  r.Started = true;
  Watch last = Look(g);
  if (!AfterPhase(g, last, r, "the first turn")) return r;
  while (g.GameState != 0 && g.Turn <= o.Turns) {
    const int human = g.PlayerSide;
    const std::string turn = "turn " + std::to_string(g.Turn);
    if (o.Both) {
      // The computer spends the human side's points too.
      std::swap(g.PlayerSide, g.ComputerSide);
      ComputerReplenishment(g, ui);
      std::swap(g.PlayerSide, g.ComputerSide);
    }
    PhaseEnd(g, ui);
    if (!AfterPhase(g, last, r, turn + " replenishment phase")) break;
    PhaseEnd(g, ui);
    if (!AfterPhase(g, last, r, turn + " organisation phase")) break;
    if (o.Both) {
      g.ComputerOpponent = playerOf(human);
      PlayComputerPhaseFor(g, ui, human);
      if (!AfterPhase(g, last, r, turn + " action phase of side " + std::to_string(human))) break;
    }
    g.ComputerOpponent = playerOf(g.ComputerSide);
    PhaseEnd(g, ui);
    if (!AfterPhase(g, last, r, turn + " end of turn and the computer's phase")) break;
  }
  r.Turns = g.Turn;
  r.Winner = g.GameState == 0 ? ui.EndingWinner : -1;
  r.Battles = ui.Battles;
  r.VictoryPoints = g.VictoryPoints;
  r.Events = std::move(ui.Events);
  return r;
}

}  // namespace milgant
