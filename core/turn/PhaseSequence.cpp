#include "core/turn/PhaseSequence.h"

#include <algorithm>
#include <utility>

#include "core/ai/Opponent.h"
#include "core/combat/ForceRatio.h"
#include "core/combat/Battle.h"
#include "core/game/Events.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Scenario.h"
#include "core/game/Ui.h"
#include "core/rules/Siege.h"
#include "core/rules/Supply.h"
#include "core/rules/UnitStrength.h"
#include "core/rules/Victory.h"

namespace milgant {
namespace {

constexpr int kComputerPhaseState = 15;
constexpr int kFirstSupplyTurn = 4;  // side 1's supply is tested from here on
constexpr double kSingleBattleOdds = 3.0;  // at these odds an attack is one battle, not an engagement

// A phase of `side` begins: the chronicle notes it with both armies as they stand.
void PhaseBegins(Game& g, Ui& ui, int side) {
  Event e = MakeEvent(g, EventKind::PhaseBegins, side);
  e.Tally = {TallyArmy(g, 0), TallyArmy(g, 1)};
  ui.Happened(e);
}

void EnterPhaseTwo(Game& g, Ui& ui) {
  PhaseBegins(g, ui, g.PlayerSide);
  ui.RefreshSidePanel();
  ui.RefreshStatusLine();
  ui.BattleClose();
  ResetTargets(g);
  g.RangeOverlay = 0;
  ui.RedrawMap();
  SetUnitButtonsForPhase(g, 2);
  ui.PhaseButtonsChanged();
}

void GainIncome(Game& g, int side, bool capped) {
  int& points = g.ReplenishmentPoints[static_cast<std::size_t>(side)];
  points += IncomeForTurn(g, side);
  if (capped) points = std::min(points, kHumanPointCap);
}

// What ends every human turn, whichever side he plays: castles change hands, side 1's supply
// is tested once the opening turns are over, and the game may end. False when it has ended.
bool CloseHumanTurn(Game& g, Ui& ui) {
  OccupyCastles(g, ui);
  g.GameState = kComputerPhaseState;
  g.PhaseSide = 1;
  ResetTargets(g);
  if (g.Turn >= kFirstSupplyTurn) SupplyCheck(g, ui, 1);
  return VictoryTest(g, ui) == -1;
}

// The end of the human's turn when he plays side 0.
void EndTurnSideZero(Game& g, Ui& ui) {
  if (!CloseHumanTurn(g, ui)) return;
  g.Turn += 1;

  ReinforcementArrival(g, ui, 1);
  GainIncome(g, 1, false);
  ComputerReplenishment(g, ui);
  ui.RefreshSidePanel();

  SiegeStep(g, ui, 1);
  ActionPointRoll(g, 1);
  ui.RefreshStatusLine();
  ui.RedrawMap();
  ui.RefreshStatusLine();
  PhaseBegins(g, ui, g.ComputerSide);
  RunOpponentPhase(g, ui);
  OccupyCastles(g, ui);
  ui.RefreshStatusLine();

  GainIncome(g, 0, true);
  g.GameState = 2;
  g.PhaseSide = 0;
  g.ComputerSide = 1;
  g.PlayerSide = 0;
  SupplyCheck(g, ui, 0);
  SiegeStep(g, ui, 0);
  ReinforcementArrival(g, ui, 0);
  ActionPointRoll(g, 0);
  EnterPhaseTwo(g, ui);
}

// The end of the human's turn when he plays side 1.
void EndTurnSideOne(Game& g, Ui& ui) {
  if (!CloseHumanTurn(g, ui)) return;
  if (g.Turn == 0) g.Turn = 1;
  g.Turn += 1;

  ReinforcementArrival(g, ui, 0);
  GainIncome(g, 0, false);
  GainIncome(g, 1, true);
  ComputerReplenishment(g, ui);
  ui.RefreshSidePanel();

  SiegeStep(g, ui, 0);
  g.PhaseSide = 0;
  ActionPointRoll(g, 0);
  ui.RefreshStatusLine();
  ui.RedrawMap();
  ui.RefreshStatusLine();
  PhaseBegins(g, ui, g.ComputerSide);
  RunOpponentPhase(g, ui);
  OccupyCastles(g, ui);

  SupplyCheck(g, ui, 0);
  ui.RefreshStatusLine();

  g.GameState = 2;
  g.PhaseSide = 1;
  ReinforcementArrival(g, ui, 1);
  SiegeStep(g, ui, 1);
  ActionPointRoll(g, 1);
  EnterPhaseTwo(g, ui);
}

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

// Attacks the human's side was already marked for when the game begins are fought first, the
// best odds first, each as the attack command would fight it: a single battle at odds of 3 or
// more, an engagement below.
void FightOpeningBattles(Game& g, Ui& ui) {
  const OpeningBattleList list = OpeningBattles(g);
  for (int i = 0; i < list.Count; ++i) {
    const OpeningBattle& b = list.Hexes[static_cast<std::size_t>(i)];
    g.FullAttack = AttackOdds(g, b.X, b.Y, g.ComputerSide) >= kSingleBattleOdds ? 0 : 1;
    FightBattle(g, ui, b.X, b.Y);
    ui.BattleClose();
  }
}

}  // namespace

void PhaseEnd(Game& g, Ui& ui) {
  switch (g.GameState) {
    case 2:
      g.PhaseSide = g.PlayerSide;
      g.GameState = 27;
      PhaseBegins(g, ui, g.PlayerSide);
      SetUnitButtonsForPhase(g, 27);
      ui.PhaseButtonsChanged();
      ui.RefreshStatusLine();
      break;
    case 27:
      g.PhaseSide = g.PlayerSide;
      g.GameState = 3;
      PhaseBegins(g, ui, g.PlayerSide);
      ui.BattleClose();
      ResetTargets(g);
      ui.RefreshStatusLine();
      g.RangeOverlay = 0;
      ui.RedrawMap();
      SetUnitButtonsForPhase(g, 3);
      ui.PhaseButtonsChanged();
      ui.RefreshSidePanel();
      break;
    case 3:
      if (g.PlayerSide == 0) {
        EndTurnSideZero(g, ui);
      } else {
        EndTurnSideOne(g, ui);
      }
      break;
    default:
      break;  // a move or attack in progress is finished or cancelled first
  }
}

void ReinforcementArrival(Game& g, Ui& ui, int side) {
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    Unit& u = g.U(slot);
    if (u.OnMap != 0 || u.Side != side || u.EntryTurn != g.Turn || !OnMapHex(u.HexX, u.HexY)) continue;
    // An entry hex held by the enemy on the entry turn keeps the unit away for good.
    const int first = FirstUnitAt(g, u.HexX, u.HexY);
    if (first != -1 && g.U(first).Side != side) continue;
    u.OnMap = 1;
    u.Supplied = 1;
    u.Normal = 1;
    u.CanMove = 1;
    ui.Happened(UnitEvent(g, EventKind::Arrived, slot));
  }
}

int IncomeForTurn(const Game& g, int side) {
  if ((side != 0 && side != 1) || g.Turn < 1 || g.Turn > kIncomeTurns) return 0;
  return g.ReplenishmentIncome[static_cast<std::size_t>(side)][static_cast<std::size_t>(g.Turn - 1)];
}

void ComputerReplenishment(Game& g, Ui& ui) {
  const int side = g.ComputerSide;
  if (side != 0 && side != 1) return;
  // Candidates with their priority: the farther from the enemy the sooner, class 2 first.
  std::array<std::pair<int, int>, kUnitSlots> cand{};
  int count = 0;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.Side != side) continue;
    int nearest = 50;
    for (int other = 1; other < kUnitSlots; ++other) {
      const Unit& e = g.U(other);
      if (e.OnMap == 1 && e.Side == g.PlayerSide) nearest = std::min(nearest, HexDistance(u.HexX, u.HexY, e.HexX, e.HexY));
    }
    if (nearest == 1) continue;  // in contact: no fresh troops reach it
    const int priority = -nearest + (u.MovementType == 2 ? 20 : 0);
    cand[static_cast<std::size_t>(count++)] = {slot, priority};
  }
  for (int i = 0; i < count; ++i) {
    int best = i;
    for (int j = i + 1; j < count; ++j) {
      if (cand[static_cast<std::size_t>(j)].second > cand[static_cast<std::size_t>(best)].second) best = j;
    }
    std::swap(cand[static_cast<std::size_t>(i)], cand[static_cast<std::size_t>(best)]);
  }
  int& points = g.ReplenishmentPoints[static_cast<std::size_t>(side)];
  for (int i = 0; i < count && points > 0; ++i) {
    Unit& u = g.U(cand[static_cast<std::size_t>(i)].first);
    const int missing = u.MaxSteps - u.Steps;
    if (missing <= 0) continue;
    const bool doubled = u.MovementType == 2;  // this class pays twice per step
    const int cost = doubled ? missing * 2 : missing;
    const int stepsBefore = u.Steps;
    const int pointsBefore = points;
    if (cost < points) {
      u.Steps = u.MaxSteps;
      points -= cost;
    } else {
      if (doubled) points /= 2;
      u.Steps += points;
      points = 0;
    }
    u.CombatPower = ScaledCombatPower(u);
    Event e = UnitEvent(g, EventKind::Replenished, cand[static_cast<std::size_t>(i)].first);
    e.Value = u.Steps - stepsBefore;
    e.Value2 = pointsBefore - points;
    ui.Happened(e);
  }
}

void ActionPointRoll(Game& g, int side) {
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.Side != side || u.CommanderIndex != -1) continue;
    const int c = u.CorpsActionPoints;
    const int h = c / 2;
    u.ActionPoints = u.TurnActionPoints = h + g.Rng.Next(c - h);
    u.MaxActionPoints = c;
    u.CanMove = 1;
    u.ReinforcementWait = 0;
    for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
      const int sub = u.Subordinates[static_cast<std::size_t>(i)];
      if (!ValidSlot(sub)) continue;
      Unit& s = g.U(sub);
      s.ActionPoints = s.TurnActionPoints = h + g.Rng.Next(c - h + 1);
      s.MaxActionPoints = c;
      s.CanMove = 1;
      const int own = s.CorpsActionPoints;
      s.OwnActionPoints = own / 2 + g.Rng.Next(own - own / 2);
      s.ReinforcementWait = 0;
    }
  }
}

void ResetTargets(Game& g) {
  for (Unit& u : g.Units) u.TargetX = u.TargetY = -1;
}

OpeningBattleList OpeningBattles(const Game& g) {
  OpeningBattleList list;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const int first = FirstUnitAt(g, x, y);
      const int castle = CastleAt(g, x, y);
      const bool held = first != -1 ? g.U(first).Side == g.ComputerSide
                                     : castle != -1 && g.Castles[static_cast<std::size_t>(castle)].Owner == g.ComputerSide;
      if (!held) continue;
      list.Hexes[static_cast<std::size_t>(list.Count++)] = {x, y, AttackOdds(g, x, y, g.ComputerSide)};
    }
  }
  // Strongest odds first (selection sort), then cut at the first hex nobody attacks.
  for (int i = 0; i < list.Count; ++i) {
    int best = i;
    for (int j = i + 1; j < list.Count; ++j) {
      if (list.Hexes[static_cast<std::size_t>(j)].Odds > list.Hexes[static_cast<std::size_t>(best)].Odds) best = j;
    }
    std::swap(list.Hexes[static_cast<std::size_t>(i)], list.Hexes[static_cast<std::size_t>(best)]);
  }
  int kept = 0;
  while (kept < list.Count && list.Hexes[static_cast<std::size_t>(kept)].Odds > 0.0) ++kept;
  list.Count = kept;
  return list;
}

void StartFirstTurn(Game& g, Ui& ui) {
  if (g.PlayerSide == 1) {
    g.Turn = 1;
    GainIncome(g, 1, true);
    ReinforcementArrival(g, ui, 1);
    g.GameState = 2;
    g.PhaseSide = 1;
    return;
  }
  for (Unit& u : g.Units) {
    if (u.OnMap == 1) u.MayAttack = 1;
  }
  FightOpeningBattles(g, ui);
  // Side 0's supply is traced in its own phase's terms.
  g.PhaseSide = 0;
  SupplyCheck(g, ui, 0);
  g.GameState = kComputerPhaseState;
  g.Turn = 1;
  ComputerReplenishment(g, ui);
  g.PhaseSide = 1;
  ActionPointRoll(g, 1);
  PhaseBegins(g, ui, g.ComputerSide);
  RunOpponentPhase(g, ui);
  GainIncome(g, 0, true);
  ReinforcementArrival(g, ui, 0);
  g.GameState = 2;
  g.PhaseSide = 0;
}

void BeginNewGame(Game& g, Ui& ui) {
  StartFirstTurn(g, ui);
  ActionPointRoll(g, g.PlayerSide);
  PhaseBegins(g, ui, g.PlayerSide);
  // The game opens in the replenishment phase, and the unit window's buttons say so.
  SetUnitButtonsForPhase(g, 2);
  ui.PhaseButtonsChanged();
  ui.RefreshSidePanel();
  ui.RefreshStatusLine();
  ui.RedrawMap();
}

bool NewGame(Game& g, Ui& ui, const std::string& mapPath) {
  if (!SetUpNewGame(g, ui, mapPath)) return false;
  BeginNewGame(g, ui);
  return true;
}

}  // namespace milgant
