#include "core/ai/ComputerPhase.h"

#include <algorithm>

#include "core/ai/ComputerMove.h"
#include "core/combat/ForceRatio.h"
#include "core/ai/Objectives.h"
#include "core/rules/PositionValue.h"
#include "core/combat/Battle.h"
#include "core/game/Game.h"
#include "core/game/Rounding.h"
#include "core/game/Ui.h"
#include "core/rules/MoraleRecovery.h"
#include "core/rules/Movement.h"

namespace milgant {
namespace {

constexpr double kOnePointOdds = 3.0;  // odds for the single battle at one point
constexpr int kOnePointCost = 1;
constexpr int kEngagementCost = 3;
constexpr int kRecoveryCost = 2;
constexpr int kFortifyCost = 2;
constexpr int kSupportersTaken = 2;
constexpr int kMaxPasses = 200;  // a commander's passes always spend points; this only guards

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

int SubordinateAt(const Unit& u, int i) { return u.Subordinates[static_cast<std::size_t>(i)]; }
int SubordinateCount(const Unit& u) { return std::clamp(u.SubordinateCount, 0, kMaxSubordinates); }

// A commander of the computer's side that is still standing on its own.
bool IndependentOnMap(const Game& g, int slot) {
  const Unit& u = g.U(slot);
  return u.OnMap == 1 && u.Side == g.ComputerSide && u.CommanderIndex == -1;
}

void MarkCorps(Game& g, int slot, int x, int y) {
  Unit& u = g.U(slot);
  u.TargetX = x;
  u.TargetY = y;
  for (int i = 0; i < SubordinateCount(u); ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s)) {
      g.U(s).TargetX = x;
      g.U(s).TargetY = y;
    }
  }
}

void ForEachCorpsMember(Game& g, int slot, void (*fn)(Unit&)) {
  Unit& u = g.U(slot);
  fn(u);
  for (int i = 0; i < SubordinateCount(u); ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s)) fn(g.U(s));
  }
}

void ClearCorpsMarks(Game& g, int slot) { MarkCorps(g, slot, -1, -1); }

int Distance(const Unit& a, int x, int y) { return HexDistance(a.HexX, a.HexY, x, y); }

// Selection by key, smallest first; among equal smallest keys the one nearest the end is taken.
template <typename Entries, typename Key>
void SelectionSortNearestEnd(Entries& e, int count, Key key) {
  for (int i = 0; i < count; ++i) {
    int best = i;
    for (int j = i; j < count; ++j) {
      if (key(e[static_cast<std::size_t>(j)]) <= key(e[static_cast<std::size_t>(best)])) best = j;
    }
    std::swap(e[static_cast<std::size_t>(i)], e[static_cast<std::size_t>(best)]);
  }
}

bool HasRoom(const Unit& m) { return m.SubordinateCount < std::min(m.Command, kMaxSubordinates); }

// u joins m's corps with m's allotment of points for the turn.
void AttachTo(Game& g, int u, int m) {
  Unit& cmd = g.U(m);
  Unit& sub = g.U(u);
  cmd.Subordinates[static_cast<std::size_t>(cmd.SubordinateCount)] = u;
  sub.ActionPoints = sub.TurnActionPoints = cmd.CorpsActionPoints;
  sub.CommanderIndex = m;
  ++cmd.SubordinateCount;
}

void RemoveFromCorps(Game& g, int commander, int sub) {
  Unit& p = g.U(commander);
  const int n = SubordinateCount(p);
  int at = -1;
  for (int i = 0; i < n && at == -1; ++i) {
    if (SubordinateAt(p, i) == sub) at = i;
  }
  if (at == -1) return;
  for (int i = at; i + 1 < n; ++i) p.Subordinates[static_cast<std::size_t>(i)] = p.Subordinates[static_cast<std::size_t>(i + 1)];
  p.Subordinates[static_cast<std::size_t>(n - 1)] = -1;
  --p.SubordinateCount;
}

void MergeHex(Game& g, const UnitList& l) {
  // C: the stack's units, best placed to lead first; equal ones keep their slot order.
  std::array<int, kUnitSlots> c{};
  const int n = l.Count;
  for (int i = 0; i < n; ++i) c[static_cast<std::size_t>(i)] = l.Slots[static_cast<std::size_t>(i)];
  std::stable_sort(c.begin(), c.begin() + n, [&](int a, int b) {
    return g.U(a).Command + g.U(a).ActionPoints > g.U(b).Command + g.U(b).ActionPoints;
  });
  int ci = 0;
  for (int li = 0; li < n; ++li) {
    if (ci >= n) return;
    const int ui = l.Slots[static_cast<std::size_t>(li)];
    const int mi = c[static_cast<std::size_t>(ci)];
    Unit& u = g.U(ui);
    Unit& m = g.U(mi);
    if (m.CommanderIndex != -1) {
      ++ci;
      continue;
    }
    if (u.Side != g.ComputerSide) continue;
    if (u.CommanderIndex == -1) {
      if (u.Rank >= m.Rank || ui == mi) continue;
      if (u.SubordinateCount <= 0) {
        if (HasRoom(m)) {
          AttachTo(g, ui, mi);
        } else {
          ++ci;
        }
        continue;
      }
      if (u.SubordinateCount + m.SubordinateCount - 1 >= m.Command) continue;
      // Hand the subordinates over, the last first, as long as m has room for them.
      int moved = 0;
      for (int i = SubordinateCount(u) - 1; i >= 0 && HasRoom(m); --i) {
        const int s = SubordinateAt(u, i);
        if (!ValidSlot(s)) continue;
        m.Subordinates[static_cast<std::size_t>(m.SubordinateCount++)] = s;
        g.U(s).CommanderIndex = mi;
        u.Subordinates[static_cast<std::size_t>(i)] = -1;
        ++moved;
      }
      u.SubordinateCount -= moved;
      if (u.SubordinateCount == 0) {
        if (HasRoom(m)) {
          AttachTo(g, ui, mi);
        } else {
          ++ci;
        }
      }
      continue;
    }
    const int p = u.CommanderIndex;
    if (u.SubordinateCount > 0 || u.Rank >= m.Rank || !HasRoom(m) || ui == mi || p == mi || !ValidSlot(p)) continue;
    RemoveFromCorps(g, p, ui);
    AttachTo(g, ui, mi);
  }
}

// Shares the units out among the objectives, near ones first, then the far ones.
struct Weights {
  std::array<double, kObjectiveCapacity> W{};
  double Total = 0.0;
};

Weights ObjectiveWeights(const Game& g, const ObjectiveTable& obj) {
  Weights w;
  for (int k = 0; k < obj.Count; ++k) {
    const ObjectiveEntry& e = obj.Entries[static_cast<std::size_t>(k)];
    double v = LocalRatioWide(g, e.X, e.Y, g.ComputerSide);
    if (v == 0.0) v = 0.2;
    w.W[static_cast<std::size_t>(k)] = v;
    w.Total += v;
  }
  if (w.Total == 0.0) w.Total = obj.Count * 0.2;
  return w;
}

struct Candidates {
  std::array<std::pair<int, int>, kUnitSlots> Items{};  // (distance, slot)
  int Count = 0;
};

Candidates UnassignedNearest(const Game& g, const ObjectiveEntry& e) {
  Candidates c;
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    if (u.OnMap != 1 || u.Side != g.ComputerSide || u.ActionPoints <= 0 || u.AiUnassigned != 1) continue;
    c.Items[static_cast<std::size_t>(c.Count++)] = {Distance(u, e.X, e.Y), s};
  }
  SelectionSortNearestEnd(c.Items, c.Count, [](const std::pair<int, int>& p) { return p.first; });
  return c;
}

void Assign(Game& g, int slot, const ObjectiveEntry& e) {
  Unit& u = g.U(slot);
  u.AiObjective = {e.X, e.Y, e.Score, e.Spare};
  u.AiUnassigned = 0;
}

// The marks of the corps and of the supporters called in are all cleared.
void ClearAllMarks(Game& g, int slot, const SupporterList& sup, int taken) {
  ClearCorpsMarks(g, slot);
  for (int i = 0; i < taken; ++i) ClearCorpsMarks(g, sup.Slots[static_cast<std::size_t>(i)]);
}

enum class AttackOutcome { NoAttack, Fought, CalledOff };

// Steps 7 to 9 of a commander's turn: supporters when the odds are short, the threshold, the
// attack at one point or three, the battle. Every path leaves no mark behind.
AttackOutcome AttackAtMark(Game& g, Ui& ui, int slot) {
  Unit& u = g.U(slot);
  const HexPos mark{u.TargetX, u.TargetY};
  SupporterList sup;
  int taken = 0;
  if (AttackOdds(g, mark.X, mark.Y, g.PlayerSide) < kOnePointOdds) {
    sup = FindSupporters(g, mark, {u.HexX, u.HexY});
    taken = std::min(sup.Count, kSupportersTaken);
    for (int i = 0; i < taken; ++i) MarkCorps(g, sup.Slots[static_cast<std::size_t>(i)], mark.X, mark.Y);
  }
  if (AttackOdds(g, mark.X, mark.Y, g.PlayerSide) <= AttackThreshold(g.Turn)) {
    ClearAllMarks(g, slot, sup, taken);
    return AttackOutcome::NoAttack;
  }
  // The supporters only showed the attack is worth making; the corps fights it alone.
  for (int i = 0; i < taken; ++i) ClearCorpsMarks(g, sup.Slots[static_cast<std::size_t>(i)]);
  const bool single = AttackOdds(g, mark.X, mark.Y, g.PlayerSide) >= kOnePointOdds;
  const int cost = single ? kOnePointCost : kEngagementCost;
  AttackOutcome outcome = AttackOutcome::CalledOff;
  if (u.ActionPoints < cost) {
    ClearCorpsMarks(g, slot);
  } else {
    u.ActionPoints -= cost;
    g.FullAttack = single ? 0 : 1;
    FightBattle(g, ui, mark.X, mark.Y);
    ui.BattleClose();
    ClearCorpsMarks(g, slot);
    outcome = AttackOutcome::Fought;
  }
  if (u.ActionPoints <= 0) ForEachCorpsMember(g, slot, [](Unit& m) { m.CanMove = 0; });
  return outcome;
}

// A computer's unit that has walked from `from` with `points` before: the chronicle's move.
void ReportMove(Game& g, Ui& ui, int slot, HexPos from, int points) {
  const Unit& u = g.U(slot);
  if (u.HexX == from.X && u.HexY == from.Y) return;
  ui.Happened(MoveEvent(g, slot, from.X, from.Y, points - u.ActionPoints));
}

// A subordinate whose own plan leads elsewhere may try on its own and leave the corps.
void SubordinateTurn(Game& g, Ui& ui, ProcessingList& list, int commander, int s, int& leavers) {
  Unit& u = g.U(commander);
  Unit& sub = g.U(s);
  const HexPos from{sub.HexX, sub.HexY};
  const int points = sub.ActionPoints;
  PlanMove(g, s);
  ExecuteComputerMove(g, s);
  const bool elsewhere = sub.MoveGoalX != u.MoveGoalX || sub.MoveGoalY != u.MoveGoalY;
  const bool notHere = sub.RouteDestX != u.HexX || sub.RouteDestY != u.HexY;
  if (sub.AiRole <= 3 && u.ActionPoints < sub.ActionPoints && elsewhere && notHere) {
    sub.ActionPoints = sub.OwnActionPoints;
    sub.TurnActionPoints = sub.ActionPoints;
    PlanMove(g, s);
    ExecuteComputerMove(g, s);
    const bool backHere = sub.RouteDestX == u.HexX && sub.RouteDestY == u.HexY;
    // With no room left in the list a leaver could never act this phase: it stays instead.
    if (backHere || sub.MoveScoreAtCommander < sub.MoveScoreChosen || list.Full()) {
      PlaceWithCommander(g, s, u.HexX, u.HexY);
      return;
    }
    sub.ActionPoints = sub.OwnActionPoints;
    sub.TurnActionPoints = sub.ActionPoints;
    sub.CommanderIndex = -1;
    sub.CanMove = 1;
    list.Add(0, s);
    ++leavers;
    ui.Happened(UnitEvent(g, EventKind::Detached, s, commander));
    ReportMove(g, ui, s, from, points);
    return;
  }
  if (sub.CommanderIndex == commander) PlaceWithCommander(g, s, u.HexX, u.HexY);
}

void DropLeavers(Game& g, int commander, int leavers) {
  Unit& u = g.U(commander);
  const int n = SubordinateCount(u);
  int kept = 0;
  for (int i = 0; i < n; ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s) && g.U(s).CommanderIndex == -1) continue;
    u.Subordinates[static_cast<std::size_t>(kept++)] = s;
  }
  for (int i = kept; i < n; ++i) u.Subordinates[static_cast<std::size_t>(i)] = -1;
  u.SubordinateCount -= leavers;
}

void PlaceCorps(Game& g, int commander) {
  const Unit& u = g.U(commander);
  for (int i = 0; i < SubordinateCount(u); ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s)) PlaceWithCommander(g, s, u.HexX, u.HexY);
  }
}

// Plans, chooses and walks the commander's move. A move that finds no better hex keeps the
// unit's old route, which is no longer its way from where it stands: it walks nothing then.
void MoveCommander(Game& g, Ui& ui, int slot) {
  const HexPos from{g.U(slot).HexX, g.U(slot).HexY};
  const int points = g.U(slot).ActionPoints;
  g.U(slot).Route.Assign("0");
  PlanMove(g, slot);
  ExecuteComputerMove(g, slot);
  MoveAlongRoute(g, ui, slot);
  ReportMove(g, ui, slot, from, points);
}

void Recover(Game& g, Ui& ui, int slot) {
  Unit& u = g.U(slot);
  if (CorpsConfused(g, slot) && u.ActionPoints >= kRecoveryCost) {
    MoraleRecovery(g, ui, slot);
    u.ActionPoints -= kRecoveryCost;
  }
}

}  // namespace

double AttackThreshold(int turn) { return turn <= 7 ? 1.5 : 0.7; }

// Points left at the end: standby for nearby battles first, then field works.
void UseLeftOverPoints(Game& g, int slot) {
  Unit& u = g.U(slot);
  if (IndependentOnMap(g, slot) && u.ActionPoints > 0) {
    if (u.ActionPoints >= 6) {
      u.ActionPoints -= 3;
      u.ReinforcementWait = 3;
    } else {
      const int half = u.ActionPoints / 2;
      u.ActionPoints -= half;
      u.ReinforcementWait += half;
      if (u.ReinforcementWait <= 0) u.ReinforcementWait = 0;
    }
  }
  if (u.OnMap != 1 || u.Fortified != 0 || u.ActionPoints < kFortifyCost) return;
  const UnitList top = TopUnitsAtHex(g, u.HexX, u.HexY);
  for (int i = 0; i < top.Count; ++i) {
    const Unit& o = g.U(top.Slots[static_cast<std::size_t>(i)]);
    if (o.Side == g.ComputerSide && o.Fortified != 0) return;
  }
  u.Fortified = 1;
  u.ActionPoints -= kFortifyCost;
}

void SetPostures(Game& g) {
  int own = 0;
  int other = 0;
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    if (u.OnMap != 1) continue;
    const int strength = u.CombatPower / (u.Normal == 1 ? 1 : 2);
    (u.Side == g.ComputerSide ? own : other) += strength;
  }
  if (other == 0) return;  // nobody to measure against
  const bool stronger = static_cast<double>(own) / other > 1.0;
  if (!stronger && g.ComputerSide != 0) return;  // side 1 keeps the posture it was given
  // Stronger: press on (0). A weaker side 0 stands back and holds (4).
  const int role = stronger ? 0 : 4;
  for (Unit& u : g.Units) {
    if (u.OnMap == 1 && u.Side == g.ComputerSide) u.AiRole = role;
  }
}

void BuildProcessingList(const Game& g, ProcessingList& list) {
  list.Count = 0;
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    if (u.Side != g.ComputerSide || u.OnMap != 1 || u.ActionPoints <= 0 || u.CanMove == 0) continue;
    int key = 300 + 2 * u.CorpsActionPoints;
    for (int e = 1; e < kUnitSlots; ++e) {
      const Unit& p = g.U(e);
      if (p.OnMap == 1 && p.Side == g.PlayerSide) key = std::min(key, Distance(u, p.HexX, p.HexY));
    }
    list.Add(key, s);
  }
  SelectionSortNearestEnd(list.Entries, list.Count, [](const ProcessingList::Entry& e) { return e.Key; });
}

void MergeStacksIntoCorps(Game& g) {
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const UnitList l = UnitsAt(g, x, y);
      if (l.Count > 0 && g.U(l.First()).Side == g.ComputerSide) MergeHex(g, l);
    }
  }
}

void AssignObjectives(Game& g, const ObjectiveTable& obj) {
  const Weights w = ObjectiveWeights(g, obj);
  int n = 0;
  for (Unit& u : g.Units) {
    if (u.OnMap == 1 && u.Side == g.ComputerSide) {
      u.AiUnassigned = 1;
      ++n;
    }
  }
  int near = 0;
  int far = 0;
  for (int k = 0; k < obj.Count; ++k) {
    const ObjectiveEntry& e = obj.Entries[static_cast<std::size_t>(k)];
    const double share = w.W[static_cast<std::size_t>(k)] / w.Total;
    const Candidates c = UnassignedNearest(g, e);
    const int q1 = RoundHalfEven(share * n);
    for (int i = 0; i <= q1 && i < c.Count; ++i) {
      if (c.Items[static_cast<std::size_t>(i)].first <= 8) {
        ++near;
        ++far;
      }
    }
    const int q2 = RoundHalfEven(share * (near - 1));
    for (int i = 0; i <= q2 && i < c.Count; ++i) {
      if (c.Items[static_cast<std::size_t>(i)].first <= 8) Assign(g, c.Items[static_cast<std::size_t>(i)].second, e);
    }
  }
  for (int k = 0; k < obj.Count; ++k) {
    const ObjectiveEntry& e = obj.Entries[static_cast<std::size_t>(k)];
    const double share = w.W[static_cast<std::size_t>(k)] / w.Total;
    const Candidates c = UnassignedNearest(g, e);
    const int q3 = RoundHalfEven(share * far);
    for (int i = 0; i <= q3 && i < c.Count; ++i) {
      if (c.Items[static_cast<std::size_t>(i)].first > 9) Assign(g, c.Items[static_cast<std::size_t>(i)].second, e);
    }
  }
}

bool ActivateCommander(Game& g, Ui& ui, ProcessingList& list, int index) {
  const int slot = list.Entries[static_cast<std::size_t>(index)].Slot;
  if (!ValidSlot(slot) || !IndependentOnMap(g, slot) || g.U(slot).CorpsActionPoints <= 0) return true;
  Unit& u = g.U(slot);
  MoveCommander(g, ui, slot);

  int leavers = 0;
  const int n = SubordinateCount(u);
  const std::array<std::int32_t, kMaxSubordinates> subs = u.Subordinates;
  for (int i = 0; i < n; ++i) {
    const int s = subs[static_cast<std::size_t>(i)];
    if (ValidSlot(s)) SubordinateTurn(g, ui, list, slot, s, leavers);
  }
  if (leavers > 0) DropLeavers(g, slot, leavers);
  PlaceCorps(g, slot);
  Recover(g, ui, slot);

  const HexPos target = ChooseAttackTarget(g, slot);
  MarkCorps(g, slot, target.X, target.Y);
  if (target.X != -1) AttackAtMark(g, ui, slot);
  return true;
}

bool ContinueCommander(Game& g, Ui& ui, ProcessingList& list, int index) {
  const int slot = list.Entries[static_cast<std::size_t>(index)].Slot;
  if (!ValidSlot(slot)) return true;
  Unit& u = g.U(slot);
  if (IndependentOnMap(g, slot) && u.ActionPoints > 0) {
    bool goOn = true;
    for (int pass = 0; goOn && pass < kMaxPasses; ++pass) {
      if (ui.IsClosing()) return false;
      const int pointsBefore = u.ActionPoints;
      if (u.ActionPoints < 1) {
        goOn = false;
        ForEachCorpsMember(g, slot, [](Unit& m) { m.CanMove = 0; });
      }
      Recover(g, ui, slot);
      MoveCommander(g, ui, slot);
      u.Route.Assign("");
      for (int i = 0; i < SubordinateCount(u); ++i) {
        const int s = SubordinateAt(u, i);
        if (!ValidSlot(s)) continue;
        PlaceWithCommander(g, s, u.HexX, u.HexY);
        g.U(s).Route.Assign("");
      }
      const HexPos target = ChooseAttackTarget(g, slot);
      u.TargetX = target.X;
      u.TargetY = target.Y;
      if (target.X == -1) {
        ClearCorpsMarks(g, slot);
        break;
      }
      MarkCorps(g, slot, target.X, target.Y);
      const AttackOutcome outcome = AttackAtMark(g, ui, slot);
      if (outcome == AttackOutcome::CalledOff) goOn = false;
      // A pass that neither moved, recovered nor fought would repeat itself for ever.
      if (outcome != AttackOutcome::Fought && u.ActionPoints == pointsBefore) goOn = false;
      if (!IndependentOnMap(g, slot)) goOn = false;
    }
  }
  UseLeftOverPoints(g, slot);
  return true;
}

void ReportCorpsChanges(Game& g, Ui& ui, const std::array<std::int32_t, kUnitSlots>& before) {
  for (int s = 1; s < kUnitSlots; ++s) {
    const int was = before[static_cast<std::size_t>(s)];
    const int now = g.U(s).CommanderIndex;
    if (was == now) continue;
    if (was != -1) ui.Happened(UnitEvent(g, EventKind::Detached, s, was));
    if (now != -1) ui.Happened(UnitEvent(g, EventKind::Attached, s, now));
  }
}

void RunComputerPhase(Game& g, Ui& ui) {
  if (ui.IsClosing()) return;  // a closing program starts no phase
  SetPostures(g);
  static thread_local ProcessingList list;
  BuildProcessingList(g, list);
  // Corps are formed here on the stacks as they stand; the chronicle gets who joined whom.
  std::array<std::int32_t, kUnitSlots> commanders{};
  for (int s = 0; s < kUnitSlots; ++s) commanders[static_cast<std::size_t>(s)] = g.U(s).CommanderIndex;
  MergeStacksIntoCorps(g);
  ReportCorpsChanges(g, ui, commanders);
  if (g.ComputerSide == 0) {
    static thread_local ObjectiveResult objectives;
    EvaluateObjectives(g, objectives);
    AssignObjectives(g, objectives.ObjectiveList);
  }
  for (int i = 0; i < list.Count; ++i) {
    if (ui.IsClosing()) return;
    if (!ActivateCommander(g, ui, list, i)) return;
    if (!ContinueCommander(g, ui, list, i)) return;
  }
}

HexPos ChooseAttackTarget(Game& g, int slot) {
  Unit& u = g.U(slot);
  double best = -1.0;
  HexPos result{-1, -1};
  auto weigh = [&](HexPos n) {
    u.TargetX = n.X;
    u.TargetY = n.Y;
    const double odds = AttackOdds(g, n.X, n.Y, g.PlayerSide);
    u.TargetX = u.TargetY = -1;
    if (odds > best) {
      best = odds;
      result = n;
    }
  };
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(u.HexX, u.HexY, k);
    if (!OnMapHex(n.X, n.Y)) continue;
    const int first = FirstUnitAt(g, n.X, n.Y);
    if (first == -1 || g.U(first).Side == g.ComputerSide) continue;
    int road = 0;
    if (StepCostByDirection(g, n.X, n.Y, k, kZoneRow, road) >= 20) continue;
    weigh(n);
  }
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(u.HexX, u.HexY, k);
    if (!OnMapHex(n.X, n.Y)) continue;
    const int castle = CastleAt(g, n.X, n.Y);
    if (castle == -1 || g.Castles[static_cast<std::size_t>(castle)].Owner == u.Side) continue;
    // A castle our own units already stand in is taken by occupation, not stormed.
    const int first = FirstUnitAt(g, n.X, n.Y);
    if (first != -1 && g.U(first).Side == g.ComputerSide) continue;
    weigh(n);
  }
  return result;
}

SupporterList FindSupporters(Game& g, HexPos target, HexPos commanderHex) {
  SupporterList out;
  for (int s = 0; s < kUnitSlots; ++s) {
    Unit& u = g.U(s);
    if (u.OnMap != 1 || u.CommanderIndex != -1 || u.TargetX != -1 || u.TargetY != -1) continue;
    if (u.ActionPoints != u.TurnActionPoints || u.Side != g.ComputerSide) continue;
    if (Distance(u, target.X, target.Y) > 3) continue;
    ComputeMoveRange(g, u.HexX, u.HexY, kUnitMoveRow, u.ActionPoints);
    if (!OnMapHex(commanderHex.X, commanderHex.Y) ||
        g.MovePath[static_cast<std::size_t>(commanderHex.X)][static_cast<std::size_t>(commanderHex.Y)].Empty()) {
      continue;
    }
    u.ArrivalActionPoints = g.MoveRemaining[static_cast<std::size_t>(commanderHex.X)][static_cast<std::size_t>(commanderHex.Y)];
    MarkCorps(g, s, target.X, target.Y);
    const double odds = AttackOdds(g, target.X, target.Y, g.PlayerSide);
    if (odds > 0.0) {
      out.Slots[static_cast<std::size_t>(out.Count)] = s;
      out.Odds[static_cast<std::size_t>(out.Count)] = odds;
      ++out.Count;
    }
    ClearCorpsMarks(g, s);
  }
  ClearMoveRange(g);
  // Strongest first; equal ones keep their order.
  for (int i = 0; i < out.Count; ++i) {
    int best = i;
    for (int j = i + 1; j < out.Count; ++j) {
      if (out.Odds[static_cast<std::size_t>(j)] > out.Odds[static_cast<std::size_t>(best)]) best = j;
    }
    std::swap(out.Slots[static_cast<std::size_t>(i)], out.Slots[static_cast<std::size_t>(best)]);
    std::swap(out.Odds[static_cast<std::size_t>(i)], out.Odds[static_cast<std::size_t>(best)]);
  }
  return out;
}

bool CorpsConfused(const Game& g, int slot) {
  const Unit& u = g.U(slot);
  int confused = u.Normal == 0 ? 1 : 0;
  for (int i = 0; i < SubordinateCount(u); ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s) && g.U(s).Normal == 0) ++confused;
  }
  return confused > u.SubordinateCount / 2;
}

void PlaceWithCommander(Game& g, int slot, int x, int y) {
  Unit& u = g.U(slot);
  if (u.CommanderIndex == -1) return;
  if (u.HexX != x || u.HexY != y) u.Fortified = 0;
  u.HexX = static_cast<std::uint8_t>(x);
  u.HexY = static_cast<std::uint8_t>(y);
}

}  // namespace milgant
