#include "core/combat/Reinforcement.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "core/combat/ForceRatio.h"
#include "core/combat/BattleRound.h"
#include "core/combat/Retreat.h"
#include "core/game/Game.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"
#include "core/rules/Movement.h"
#include "core/rules/Reach.h"

namespace milgant {
namespace {

constexpr int kAttackReach = 3;  // a corps further off than this cannot join an attack

// The unit's own range search: whether it reaches `to`, and with how many points. The search
// leaves the scratch tables cleared either way.
bool Reaches(Game& g, int slot, HexPos to) {
  Unit& u = g.U(slot);
  ComputeMoveRangeFor(g, u.HexX, u.HexY, kUnitMoveRow, u.ActionPoints, u.Side, true);
  const auto ix = static_cast<std::size_t>(to.X);
  const auto iy = static_cast<std::size_t>(to.Y);
  const bool reached = !g.MovePath[ix][iy].Empty();
  if (reached) u.ArrivalActionPoints = g.MoveRemaining[ix][iy];
  ClearMoveRange(g);
  return reached;
}

// The same answers for every unit of one scan, the position worked out once and no table
// written; FullSearches runs the search above instead.
class ReachScan {
 public:
  ReachScan(Game& g, int side, HexPos to) : g_(g), side_(side), to_(to) {}

  bool Reaches(int slot) {
    if (g_.FullSearches) return milgant::Reaches(g_, slot, to_);
    if (!finder_) {
      int most = 0;
      for (const Unit& u : g_.Units) {
        if (u.OnMap == 1 && u.Side == side_) most = std::max(most, u.ActionPoints);
      }
      finder_.emplace(g_, side_, kUnitMoveRow, to_, most);
      ClearMoveRange(g_);
    }
    Unit& u = g_.U(slot);
    const Reach r = finder_->From(u.HexX, u.HexY, u.ActionPoints);
    if (r.Reached) u.ArrivalActionPoints = r.Remaining;
    return r.Reached;
  }

 private:
  Game& g_;
  int side_;
  HexPos to_;
  std::optional<ReachFinder> finder_;
};

UnitList EmptyList() {
  UnitList list;
  list.Slots.fill(-1);
  return list;
}

void Append(UnitList& list, int slot) { list.Slots[static_cast<std::size_t>(list.Count++)] = slot; }

// A corps marked at (x, y) for a moment, to weigh what it would add; the marks are put back.
struct TrialMarks {
  Game& g;
  int slot;
  std::array<std::array<int, 2>, kMaxSubordinates + 1> saved{};

  TrialMarks(Game& game, int s, int x, int y) : g(game), slot(s) {
    ForCorps([&](Unit& u, std::size_t i) {
      saved[i] = {u.TargetX, u.TargetY};
      u.TargetX = x;
      u.TargetY = y;
    });
  }
  ~TrialMarks() {
    ForCorps([&](Unit& u, std::size_t i) {
      u.TargetX = saved[i][0];
      u.TargetY = saved[i][1];
    });
  }
  template <typename F>
  void ForCorps(F f) {
    Unit& c = g.U(slot);
    f(c, 0);
    for (int i = 0; i < c.SubordinateCount && i < kMaxSubordinates; ++i) {
      const int sub = c.Subordinates[static_cast<std::size_t>(i)];
      if (sub >= 1 && sub < kUnitSlots) f(g.U(sub), static_cast<std::size_t>(i + 1));
    }
  }
};

HexPos FirstAttackerHex(const Game& g, const BattleState& s) {
  if (s.AttackerUnits.Count == 0) return {-1, -1};
  const Unit& u = g.U(s.AttackerUnits.Slots[0]);
  return {u.HexX, u.HexY};
}

// The computer's side brings the candidate that raises the odds most, if any raises them.
void ComputerChooses(Game& g, Ui& ui, const BattleState& s, bool attacking, HexPos join) {
  const UnitList cands = attacking ? AttackerCandidates(g, s.X, s.Y, g.ComputerSide, join)
                                   : DefenderCandidates(g, s.X, s.Y, g.ComputerSide);
  const double start = AttackOdds(g, s.X, s.Y, g.PlayerSide);
  const int asked = attacking ? g.PlayerSide : g.ComputerSide;
  double best = start;
  int chosen = -1;
  for (int i = 0; i < cands.Count; ++i) {
    const int slot = cands.Slots[static_cast<std::size_t>(i)];
    double v = 0.0;
    {
      const TrialMarks trial(g, slot, s.X, s.Y);
      v = AttackOdds(g, s.X, s.Y, asked);
    }
    if (v > best) {
      best = v;
      chosen = slot;
    }
  }
  if (chosen != -1) JoinBattle(g, ui, chosen, s.X, s.Y, attacking, join);
}

void HumanChooses(Game& g, Ui& ui, const BattleState& s, bool attacking, HexPos join) {
  const UnitList cands = attacking ? AttackerCandidates(g, s.X, s.Y, g.PlayerSide, join)
                                   : DefenderCandidates(g, s.X, s.Y, g.PlayerSide);
  const int row = ui.BattleChooseReinforcement(attacking ? 0 : 1, cands);
  if (row >= 0 && row < cands.Count) JoinBattle(g, ui, cands.Slots[static_cast<std::size_t>(row)], s.X, s.Y, attacking, join);
}

}  // namespace

UnitList AttackerCandidates(Game& g, int x, int y, int side, HexPos join) {
  UnitList list = EmptyList();
  if (!OnMapHex(join.X, join.Y)) return list;
  ReachScan scan(g, side, join);
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.CommanderIndex != -1 || u.TargetX != -1 || u.ActionPoints != u.TurnActionPoints ||
        u.Side != side || HexDistance(u.HexX, u.HexY, x, y) > kAttackReach) {
      continue;
    }
    if (scan.Reaches(slot)) Append(list, slot);
  }
  return list;
}

UnitList DefenderCandidates(Game& g, int x, int y, int side) {
  UnitList list = EmptyList();
  if (!OnMapHex(x, y)) return list;
  ReachScan scan(g, side, {x, y});
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.CommanderIndex != -1 || u.Side != side || (u.HexX == x && u.HexY == y) ||
        u.ReinforcementWait < HexDistance(u.HexX, u.HexY, x, y)) {
      continue;
    }
    if (scan.Reaches(slot)) Append(list, slot);
  }
  return list;
}

void JoinBattle(Game& g, Ui& ui, int slot, int x, int y, bool attacking, HexPos join) {
  Unit& u = g.U(slot);
  ui.BattleMessage(Cp932ToUtf8Lossy(u.GeneralName.View()) + "指揮下の軍勢が" + "\r" + "援軍として到着しました");
  u.ActionPoints = u.ArrivalActionPoints;
  const HexPos to = attacking ? join : HexPos{x, y};
  if (attacking) {
    u.TargetX = x;
    u.TargetY = y;
  }
  PlaceOnHex(g, slot, to.X, to.Y);
  for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
    const int sub = u.Subordinates[static_cast<std::size_t>(i)];
    if (sub < 1 || sub >= kUnitSlots) continue;
    if (attacking) {
      g.U(sub).TargetX = x;
      g.U(sub).TargetY = y;
    }
    PlaceOnHex(g, sub, to.X, to.Y);
  }
}

void ReinforcementStep(Game& g, Ui& ui, const BattleState& s) {
  if (s.AttackerUnits.Count == 0) return;
  const HexPos join = FirstAttackerHex(g, s);
  const bool computerAttacks = g.U(s.AttackerUnits.Slots[0]).Side == g.ComputerSide;
  ComputerChooses(g, ui, s, computerAttacks, join);
  HumanChooses(g, ui, s, !computerAttacks, join);
}

}  // namespace milgant
