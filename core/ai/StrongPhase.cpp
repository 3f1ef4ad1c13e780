#include "core/ai/StrongPhase.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/ai/ComputerPhase.h"
#include "core/combat/Battle.h"
#include "core/combat/BattleRound.h"
#include "core/combat/ForceRatio.h"
#include "core/game/Events.h"
#include "core/game/Game.h"
#include "core/game/Random.h"
#include "core/game/Rounding.h"
#include "core/game/Ui.h"
#include "core/rules/MoraleRecovery.h"
#include "core/rules/Movement.h"
#include "core/rules/PositionValue.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

constexpr HexPos kCapital{2, 5};       // 京: side 0's home and source, where its beaten troops return
constexpr HexPos kEastSource{19, 15};  // 吉田城: side 1's source
constexpr int kOnePointCost = 1;
constexpr int kEngagementCost = 3;
constexpr double kSingleBattleOdds = 3.0;
constexpr int kRecoveryCost = 2;
constexpr int kFortifyCost = 2;
constexpr int kMaxStandby = 3;
constexpr int kMaxActions = 8;         // moves and attacks of one commander in a phase
constexpr std::int16_t kFar = 9999;
constexpr double kHopeless = 0.8;      // below these odds no attack is worth its losses
constexpr int kThreatReach = 3;        // hexes an enemy corps may cover before it strikes

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }
int SubordinateCount(const Unit& u) { return std::clamp(u.SubordinateCount, 0, kMaxSubordinates); }
int SubordinateAt(const Unit& u, int i) { return u.Subordinates[static_cast<std::size_t>(i)]; }

template <typename Fn>
void ForCorps(Game& g, int slot, Fn fn) {
  fn(g.U(slot));
  const Unit& u = g.U(slot);
  for (int i = 0; i < SubordinateCount(u); ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s)) fn(g.U(s));
  }
}

int EffectiveStrength(const Unit& u) { return RoundHalfEven(u.CombatPower / (u.Normal == 1 ? 1.0 : 2.0)); }

int CorpsStrength(const Game& g, int slot) {
  const Unit& u = g.U(slot);
  int sum = EffectiveStrength(u);
  for (int i = 0; i < SubordinateCount(u); ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s) && g.U(s).OnMap == 1) sum += EffectiveStrength(g.U(s));
  }
  return sum;
}

bool Commander(const Game& g, int slot, int side) {
  const Unit& u = g.U(slot);
  return u.OnMap == 1 && u.Side == side && u.CommanderIndex == -1 && OnMapHex(u.HexX, u.HexY);
}

// Victory points a castle's city is worth to side 1, who counts them.
int CityPoints(const Game& g, const Castle& c) {
  const int t = g.H(c.HexX, c.HexY).Terrain;
  if (t == 8 || t == 9) return 1;
  if (t == 10 || t == 11) return 2;
  return 0;
}

// Travel cost from every hex to (x, y) over roads and ground, ignoring units: the way a corps
// would walk there with no enemy about. Sweeps relax every hex against its neighbours until
// nothing changes; the map is small and the costs are shortest paths whatever the order.
void TravelTo(const Game& g, int tx, int ty, std::array<std::array<std::int16_t, kMapSize>, kMapSize>& out) {
  for (auto& col : out) col.fill(kFar);
  out[static_cast<std::size_t>(tx)][static_cast<std::size_t>(ty)] = 0;
  for (bool changed = true; changed;) {
    changed = false;
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        const int t = g.H(x, y).Terrain;
        if (t == 5 || t == 7) continue;  // shallows and sea are never entered
        auto& at = out[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
        for (int d = 1; d <= 6; ++d) {
          const HexPos n = Neighbour(x, y, d);
          if (!OnMapHex(n.X, n.Y)) continue;
          const int beyond = out[static_cast<std::size_t>(n.X)][static_cast<std::size_t>(n.Y)];
          if (beyond >= kFar) continue;
          int road = 0;
          const int c = beyond + std::min(StepCostByDirection(g, n.X, n.Y, d, kUnitMoveRow, road), 20);
          if (c < at) {
            at = static_cast<std::int16_t>(c);
            changed = true;
          }
        }
      }
    }
  }
}

int TravelAt(const StrongPicture& p, int castle, int x, int y) {
  return p.Travel[static_cast<std::size_t>(castle)][static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

bool IsCapitalOf(int side, const Castle& c) {
  const HexPos home = side == 0 ? kCapital : kEastSource;
  return c.HexX == home.X && c.HexY == home.Y;
}

// Temporarily stands the corps on `at` and marks it against `target`, then puts it back.
class TrialPlacement {
 public:
  TrialPlacement(Game& g, int slot, HexPos at, HexPos target) : g_(g), slot_(slot) {
    int i = 0;
    ForCorps(g_, slot_, [&](Unit& u) {
      saved_[static_cast<std::size_t>(i++)] = {u.HexX, u.HexY, u.TargetX, u.TargetY};
      u.HexX = static_cast<std::uint8_t>(at.X);
      u.HexY = static_cast<std::uint8_t>(at.Y);
      u.TargetX = target.X;
      u.TargetY = target.Y;
    });
  }
  ~TrialPlacement() {
    int i = 0;
    ForCorps(g_, slot_, [&](Unit& u) {
      const Saved& s = saved_[static_cast<std::size_t>(i++)];
      u.HexX = s.X;
      u.HexY = s.Y;
      u.TargetX = s.TX;
      u.TargetY = s.TY;
    });
  }
  TrialPlacement(const TrialPlacement&) = delete;
  TrialPlacement& operator=(const TrialPlacement&) = delete;

 private:
  struct Saved {
    std::uint8_t X, Y;
    std::int32_t TX, TY;
  };
  Game& g_;
  int slot_;
  std::array<Saved, kMaxSubordinates + 1> saved_{};
};

// The enemy strength that could fall on each hex next phase: every enemy corps within reach
// of it.
void ReadThreat(const Game& g, StrongPicture& p) {
  for (auto& col : p.Threat) col.fill(0);
  for (int s = 1; s < kUnitSlots; ++s) {
    if (!Commander(g, s, p.Enemy)) continue;
    const Unit& e = g.U(s);
    const int strength = CorpsStrength(g, s);
    for (int x = std::max(0, e.HexX - kThreatReach); x <= std::min(kMapSize - 1, e.HexX + kThreatReach); ++x) {
      for (int y = std::max(0, e.HexY - kThreatReach); y <= std::min(kMapSize - 1, e.HexY + kThreatReach); ++y) {
        if (HexDistance(x, y, e.HexX, e.HexY) <= kThreatReach) p.Threat[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] += strength;
      }
    }
  }
}

std::uint32_t PositionSeed(const Game& g) {
  std::uint32_t h = 2166136261u;
  auto mix = [&h](std::uint32_t v) { h = (h ^ v) * 16777619u; };
  mix(static_cast<std::uint32_t>(g.Turn));
  mix(static_cast<std::uint32_t>(g.ComputerSide));
  mix(static_cast<std::uint32_t>(g.VictoryPoints));
  for (const Unit& u : g.Units) {
    if (u.OnMap != 1) continue;
    mix(static_cast<std::uint32_t>(u.HexX * 32 + u.HexY));
    mix(static_cast<std::uint32_t>(u.Steps));
  }
  return h;
}

// The defence the corps would find on the hex: terrain, castle and works.
double HoldingFactor(const Game& g, int x, int y) {
  if (CastleAt(g, x, y) != -1) return 1.5;
  const int t = g.H(x, y).Terrain;
  return (100 + g.TerrainTypes[static_cast<std::size_t>(t)].DefenceBonus) / 100.0;
}

// How good it is for the corps to end its move on r, before any attack from there.
double PositionScore(const Game& g, const StrongPicture& p, int slot, HexPos r) {
  const int objective = p.Objective[static_cast<std::size_t>(slot)];
  double score = 0.0;
  if (objective > 0) {
    const int travel = TravelAt(p, objective, r.X, r.Y);
    score -= std::min(travel, 60);
    const Castle& c = g.Castles[static_cast<std::size_t>(objective)];
    if (p.Guard[static_cast<std::size_t>(slot)] && r.X == c.HexX && r.Y == c.HexY) score += 40.0;
  }
  // Out of supply a corps loses steps each turn, but a march on the enemy's castles leaves the
  // road net behind for a while; a light touch keeps it near when all else is equal.
  if (!p.Supplied[static_cast<std::size_t>(r.X)][static_cast<std::size_t>(r.Y)]) score -= 1.0;
  // Standing where a stronger enemy can strike invites a beating.
  const int own = std::max(1, CorpsStrength(g, slot));
  const double threat = p.Threat[static_cast<std::size_t>(r.X)][static_cast<std::size_t>(r.Y)];
  const double ratio = threat / (own * HoldingFactor(g, r.X, r.Y));
  if (ratio > 1.0) score -= 8.0 * std::min(ratio - 1.0, 3.0);
  // A city of ours with the enemy about is one he cannot walk into while we stand in it: the
  // first corps to hold it keeps its points, and more add nothing. Side 0 wins by holding what
  // it has; side 1 by taking more, and a corps left behind in every castle taken would soon
  // have none to take with.
  const int castle = CastleAt(g, r.X, r.Y);
  if (p.Side == 0 && castle != -1 && g.Castles[static_cast<std::size_t>(castle)].Owner == p.Side && threat > 0 &&
      CityPoints(g, g.Castles[static_cast<std::size_t>(castle)]) > 0) {
    const int first = FirstUnitAt(g, r.X, r.Y);
    const bool held = first != -1 && first != slot && g.U(first).CommanderIndex != slot;
    if (!held) score += 4.0 + 2.0 * p.Worth[static_cast<std::size_t>(castle)];
  }
  return score;
}

// The enemy strength in a castle and next to it, with the castle's own.
int Holders(const Game& g, const StrongPicture& p, const Castle& k) {
  int sum = k.Strength;
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    if (u.OnMap == 1 && u.Side == p.Enemy && HexDistance(u.HexX, u.HexY, k.HexX, k.HexY) <= 1) sum += EffectiveStrength(u);
  }
  return sum;
}

}  // namespace

void ReadPicture(Game& g, StrongPicture& p) {
  p.Side = g.ComputerSide;
  p.Enemy = 1 - p.Side;
  for (int c = 1; c < g.CastleCounter && c < kCastleSlots; ++c) {
    const Castle& k = g.Castles[static_cast<std::size_t>(c)];
    if (!OnMapHex(k.HexX, k.HexY)) continue;
    TravelTo(g, k.HexX, k.HexY, p.Travel[static_cast<std::size_t>(c)]);
    // A port counts no points: it is worth only the ground it holds.
    double worth = CityPoints(g, k) > 0 ? 2.0 + 6.0 * CityPoints(g, k) : 0.5;
    // The capital is side 0's source and where its beaten troops come back; the eastern
    // source feeds side 1. Each side guards its own; taking the other's is worth a little more
    // than its points.
    if (IsCapitalOf(0, k)) worth += p.Side == 1 ? 6.0 : 80.0;
    if (IsCapitalOf(1, k)) worth += p.Side == 0 ? 10.0 : 40.0;
    p.Worth[static_cast<std::size_t>(c)] = worth;
  }
  TraceSupply(g, p.Side);
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      p.Supplied[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] =
          g.SupplyRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] > 0;
    }
  }
  for (auto& col : g.SupplyRemaining) col.fill(-1);
  ClearMoveRange(g);
  ReadThreat(g, p);
}

void SendCorps(const Game& g, StrongPicture& p) {
  p.Objective.fill(-1);
  p.Guard.fill(false);
  std::array<int, kCastleSlots> sent{};
  // The home castle first: the corps nearest to it holds it (side 1's far source only once an
  // enemy corps is a march away).
  for (int c = 1; c < g.CastleCounter && c < kCastleSlots; ++c) {
    const Castle& k = g.Castles[static_cast<std::size_t>(c)];
    // Side 1 holding the capital keeps it: side 0's beaten troops come back there, and a corps
    // in it shuts side 0's supply at the source.
    if (k.Owner != p.Side || !(IsCapitalOf(p.Side, k) || (p.Side == 1 && IsCapitalOf(0, k)))) continue;
    int nearestEnemy = kFar;
    for (int s = 1; s < kUnitSlots; ++s) {
      if (Commander(g, s, p.Enemy)) nearestEnemy = std::min(nearestEnemy, TravelAt(p, c, g.U(s).HexX, g.U(s).HexY));
    }
    // The capital is never left to chance; the far source only once the enemy heads for it.
    if (nearestEnemy >= kFar || (p.Side == 1 && IsCapitalOf(1, k) && nearestEnemy > 6)) continue;
    int best = -1;
    int bestCost = kFar;
    for (int s = 1; s < kUnitSlots; ++s) {
      if (!Commander(g, s, p.Side)) continue;
      const int cost = TravelAt(p, c, g.U(s).HexX, g.U(s).HexY);
      if (cost < bestCost) {
        bestCost = cost;
        best = s;
      }
    }
    if (best != -1) {
      p.Objective[static_cast<std::size_t>(best)] = c;
      p.Guard[static_cast<std::size_t>(best)] = true;
      ++sent[static_cast<std::size_t>(c)];
    }
  }
  // The others go for the enemy's castles, the valuable and near ones first, a few corps to
  // each so that they arrive together.
  for (int s = 1; s < kUnitSlots; ++s) {
    if (!Commander(g, s, p.Side) || p.Objective[static_cast<std::size_t>(s)] != -1) continue;
    const Unit& u = g.U(s);
    const double own = std::max(1, CorpsStrength(g, s));
    double best = -1e9;
    int choice = -1;
    for (int c = 1; c < g.CastleCounter && c < kCastleSlots; ++c) {
      const Castle& k = g.Castles[static_cast<std::size_t>(c)];
      if (k.Owner == p.Side || !OnMapHex(k.HexX, k.HexY)) continue;
      const int cost = TravelAt(p, c, u.HexX, u.HexY);
      if (cost >= kFar) continue;
      // Each further corps sent to the same castle adds less; a castle held in strength costs
      // more than the march.
      const double crowd = 1.0 + 0.5 * sent[static_cast<std::size_t>(c)];
      const double held = static_cast<double>(Holders(g, p, k)) / own;
      const double v = p.Worth[static_cast<std::size_t>(c)] / crowd - 0.8 * cost - 10.0 * std::max(0.0, held - 0.5);
      if (v > best) {
        best = v;
        choice = c;
      }
    }
    p.Objective[static_cast<std::size_t>(s)] = choice;
    if (choice != -1) ++sent[static_cast<std::size_t>(choice)];
  }
}

double AttackWorth(Game& g, const StrongPicture& p, int slot, HexPos from, HexPos target, int pointsLeft) {
  if (!OnMapHex(target.X, target.Y) || HexDistance(from.X, from.Y, target.X, target.Y) != 1) return -1e9;
  const TrialPlacement trial(g, slot, from, target);
  const double odds = AttackOdds(g, target.X, target.Y, p.Enemy);
  const int cost = odds >= kSingleBattleOdds ? kOnePointCost : kEngagementCost;
  if (pointsLeft < cost) return -1e9;
  const int castle = CastleAt(g, target.X, target.Y);
  const double castleWorth = castle != -1 && g.Castles[static_cast<std::size_t>(castle)].Owner != p.Side
                                 ? p.Worth[static_cast<std::size_t>(castle)]
                                 : 0.0;
  const int defenders = UnitsAt(g, target.X, target.Y).Count;
  // An empty castle exchanges one round with its garrison and falls.
  if (defenders == 0) return castle != -1 ? castleWorth * 3.0 + 5.0 - cost : -1e9;
  if (odds < kHopeless) return -1e9;
  BattleState s = GatherSides(g, target.X, target.Y);
  ApplyCommandFactor(s);
  const ExpectedFire e = ExpectedHits(g, s);
  const double rounds = cost == kOnePointCost ? 1.0 : 2.0;
  double worth = (e.OnDefender - 1.2 * e.OnAttacker) * rounds;
  // Defenders who give way leave the hex, and a castle with it, to us; the better the odds,
  // the likelier they do.
  const double give = std::clamp(0.3 + 0.3 * odds, 0.0, 0.9);
  worth += give * castleWorth * 2.0;
  return worth - 0.5 * cost;
}

StrongChoice ChooseStrongAction(Game& g, const StrongPicture& p, int slot) {
  Unit& u = g.U(slot);
  StrongChoice best;
  const HexPos here{u.HexX, u.HexY};
  best.MoveTo = here;
  best.Score = PositionScore(g, p, slot, here);
  ComputeMoveRange(g, u.HexX, u.HexY, kUnitMoveRow, u.ActionPoints);
  // Copy the reach: the trial battles below read the map but not these tables.
  std::array<std::array<std::int32_t, kMapSize>, kMapSize> left{};
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const bool reach = !g.MovePath[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].Empty() &&
                         g.MoveBlocked[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] == 0;
      left[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] =
          reach ? g.MoveRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] : -1;
    }
  }
  left[static_cast<std::size_t>(here.X)][static_cast<std::size_t>(here.Y)] = u.ActionPoints;
  ClearMoveRange(g);
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const int points = left[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
      if (points < 0) continue;
      const HexPos r{x, y};
      const double stay = PositionScore(g, p, slot, r);
      const bool moved = r.X != here.X || r.Y != here.Y;
      if (moved && stay > best.Score + 1e-9) best = {r, {-1, -1}, stay};
      for (int d = 1; d <= 6; ++d) {
        const HexPos t = Neighbour(x, y, d);
        if (!OnMapHex(t.X, t.Y)) continue;
        const int first = FirstUnitAt(g, t.X, t.Y);
        const int castle = CastleAt(g, t.X, t.Y);
        const bool enemyUnit = first != -1 && g.U(first).Side == p.Enemy;
        const bool enemyCastle = first == -1 && castle != -1 && g.Castles[static_cast<std::size_t>(castle)].Owner == p.Enemy;
        if (!enemyUnit && !enemyCastle) continue;
        const double worth = AttackWorth(g, p, slot, r, t, points);
        if (worth <= 0.0) continue;
        const double total = stay + worth;
        if (total > best.Score + 1e-9) best = {r, t, total};
      }
    }
  }
  return best;
}

namespace {

void ReportMove(Game& g, Ui& ui, int slot, HexPos from, int points) {
  const Unit& u = g.U(slot);
  if (u.HexX == from.X && u.HexY == from.Y) return;
  ui.Happened(MoveEvent(g, slot, from.X, from.Y, points - u.ActionPoints));
}

// Walks the corps to `to` along the route the range search finds, paying what it costs.
void MoveCorps(Game& g, Ui& ui, int slot, HexPos to) {
  Unit& u = g.U(slot);
  const HexPos from{u.HexX, u.HexY};
  if (from.X == to.X && from.Y == to.Y) return;
  const int points = u.ActionPoints;
  ComputeMoveRange(g, u.HexX, u.HexY, kUnitMoveRow, u.ActionPoints);
  const PathString route = g.MovePath[static_cast<std::size_t>(to.X)][static_cast<std::size_t>(to.Y)];
  const int remaining = g.MoveRemaining[static_cast<std::size_t>(to.X)][static_cast<std::size_t>(to.Y)];
  ClearMoveRange(g);
  if (route.Empty() || remaining < 0) return;
  u.Route.Assign(route.View());
  u.RouteDestX = static_cast<std::uint8_t>(to.X);
  u.RouteDestY = static_cast<std::uint8_t>(to.Y);
  MoveAlongRoute(g, ui, slot);
  u.ActionPoints = remaining;
  u.Route.Assign("");
  for (int i = 0; i < SubordinateCount(u); ++i) {
    const int s = SubordinateAt(u, i);
    if (ValidSlot(s)) PlaceWithCommander(g, s, u.HexX, u.HexY);
  }
  ReportMove(g, ui, slot, from, points);
}

void MarkCorpsAt(Game& g, int slot, HexPos t) {
  ForCorps(g, slot, [&](Unit& m) {
    m.TargetX = t.X;
    m.TargetY = t.Y;
  });
}

// The attack as the attack command makes it: the odds decide a single battle for a point or an
// engagement for three.
bool AttackWith(Game& g, Ui& ui, int slot, HexPos t) {
  Unit& u = g.U(slot);
  MarkCorpsAt(g, slot, t);
  const double odds = AttackOdds(g, t.X, t.Y, g.PlayerSide);
  const bool single = odds >= kSingleBattleOdds;
  const int cost = single ? kOnePointCost : kEngagementCost;
  if (u.ActionPoints < cost) {
    MarkCorpsAt(g, slot, {-1, -1});
    return false;
  }
  u.ActionPoints -= cost;
  g.FullAttack = single ? 0 : 1;
  FightBattle(g, ui, t.X, t.Y);
  ui.BattleClose();
  if (g.U(slot).OnMap == 1) MarkCorpsAt(g, slot, {-1, -1});
  return true;
}

void Recover(Game& g, Ui& ui, int slot) {
  Unit& u = g.U(slot);
  if (CorpsConfused(g, slot) && u.ActionPoints >= kRecoveryCost) {
    MoraleRecovery(g, ui, slot);
    u.ActionPoints -= kRecoveryCost;
  }
}

// Points left at the end: works where the enemy is near, standby for the battles to come.
void SpendLeftOver(Game& g, const StrongPicture& p, int slot) {
  Unit& u = g.U(slot);
  if (u.OnMap != 1 || u.CommanderIndex != -1) return;
  const bool threatened = p.Threat[static_cast<std::size_t>(u.HexX)][static_cast<std::size_t>(u.HexY)] > 0;
  if (threatened && u.Fortified == 0 && u.ActionPoints >= kFortifyCost) {
    const UnitList top = TopUnitsAtHex(g, u.HexX, u.HexY);
    bool works = false;
    for (int i = 0; i < top.Count; ++i) {
      const Unit& o = g.U(top.Slots[static_cast<std::size_t>(i)]);
      works = works || (o.Side == p.Side && o.Fortified != 0);
    }
    if (!works) {
      u.Fortified = 1;
      u.ActionPoints -= kFortifyCost;
    }
  }
  if (u.ActionPoints > 0) {
    const int m = std::min(u.ActionPoints, kMaxStandby);
    u.ReinforcementWait = m;
    u.ActionPoints -= m;
  }
}

void PlayCommander(Game& g, Ui& ui, const StrongPicture& p, int slot) {
  for (int action = 0; action < kMaxActions; ++action) {
    if (ui.IsClosing() || !Commander(g, slot, p.Side) || g.U(slot).ActionPoints <= 0) break;
    Recover(g, ui, slot);
    const StrongChoice c = ChooseStrongAction(g, p, slot);
    const Unit& u = g.U(slot);
    const bool moves = c.MoveTo.X != u.HexX || c.MoveTo.Y != u.HexY;
    if (!moves && c.Attack.X == -1) break;
    MoveCorps(g, ui, slot, c.MoveTo);
    if (c.Attack.X != -1 && Commander(g, slot, p.Side)) {
      if (!AttackWith(g, ui, slot, c.Attack)) break;
    } else if (!moves) {
      break;
    }
  }
  if (Commander(g, slot, p.Side)) SpendLeftOver(g, p, slot);
}


}  // namespace

namespace {

// A subordinate leaves its corps as the standard opponent's leavers do: on its own points.
void Detach(Game& g, Ui& ui, int commander, int sub) {
  Unit& c = g.U(commander);
  Unit& s = g.U(sub);
  const int n = SubordinateCount(c);
  int kept = 0;
  for (int i = 0; i < n; ++i) {
    const int x = SubordinateAt(c, i);
    if (x != sub) c.Subordinates[static_cast<std::size_t>(kept++)] = x;
  }
  for (int i = kept; i < kMaxSubordinates; ++i) c.Subordinates[static_cast<std::size_t>(i)] = -1;
  c.SubordinateCount = kept;
  s.CommanderIndex = -1;
  s.ActionPoints = s.OwnActionPoints;
  s.TurnActionPoints = s.ActionPoints;
  s.CanMove = 1;
  ui.Happened(UnitEvent(g, EventKind::Detached, sub, commander));
}

// Whether the unit alone, from where it stands with its own points, can reach a hex next to
// the castle and still pay for the attack on it.
bool CanRaid(Game& g, int sub, const Castle& k) {
  const Unit& s = g.U(sub);
  ComputeMoveRange(g, s.HexX, s.HexY, kUnitMoveRow, s.OwnActionPoints);
  // An empty castle fires back with its garrison only; a single battle needs three to one.
  const int cost = EffectiveStrength(s) >= 3 * std::max(1, k.Strength) ? kOnePointCost : kEngagementCost;
  bool can = false;
  for (int d = 1; d <= 6 && !can; ++d) {
    const HexPos n = Neighbour(k.HexX, k.HexY, d);
    if (!OnMapHex(n.X, n.Y)) continue;
    const auto ix = static_cast<std::size_t>(n.X);
    const auto iy = static_cast<std::size_t>(n.Y);
    can = !g.MovePath[ix][iy].Empty() && g.MoveBlocked[ix][iy] == 0 && g.MoveRemaining[ix][iy] >= cost;
  }
  ClearMoveRange(g);
  return can;
}

}  // namespace

// Empty enemy cities that no corps is sent to are taken by a general sent off on his own: the
// weakest subordinate of a corps with others left that can reach one and attack it.
void SendRaiders(Game& g, Ui& ui, StrongPicture& p) {
  for (int c = 1; c < g.CastleCounter && c < kCastleSlots; ++c) {
    const Castle& k = g.Castles[static_cast<std::size_t>(c)];
    if (k.Owner != p.Enemy || CityPoints(g, k) == 0 || UnitsAt(g, k.HexX, k.HexY).Count > 0) continue;
    bool taken = false;
    for (int s = 1; s < kUnitSlots && !taken; ++s) {
      taken = Commander(g, s, p.Side) && p.Objective[static_cast<std::size_t>(s)] == c &&
              TravelAt(p, c, g.U(s).HexX, g.U(s).HexY) <= g.U(s).ActionPoints;
    }
    if (taken) continue;
    int best = -1;
    for (int s = 1; s < kUnitSlots; ++s) {
      const Unit& u = g.U(s);
      if (u.OnMap != 1 || u.Side != p.Side || !ValidSlot(u.CommanderIndex)) continue;
      if (SubordinateCount(g.U(u.CommanderIndex)) < 2 || p.Guard[static_cast<std::size_t>(u.CommanderIndex)]) continue;
      if (HexDistance(u.HexX, u.HexY, k.HexX, k.HexY) > 12 || !CanRaid(g, s, k)) continue;
      if (best == -1 || EffectiveStrength(u) < EffectiveStrength(g.U(best))) best = s;
    }
    if (best == -1) continue;
    Detach(g, ui, g.U(best).CommanderIndex, best);
    p.Objective[static_cast<std::size_t>(best)] = c;
  }
}


void RunStrongPhase(Game& g, Ui& ui) {
  if (ui.IsClosing()) return;
  std::array<std::int32_t, kUnitSlots> commanders{};
  for (int s = 0; s < kUnitSlots; ++s) commanders[static_cast<std::size_t>(s)] = g.U(s).CommanderIndex;
  MergeStacksIntoCorps(g);
  ReportCorpsChanges(g, ui, commanders);

  // Large, and kept between phases so that a phase allocates nothing.
  static thread_local StrongPicture p;
  ReadPicture(g, p);
  SendCorps(g, p);
  SendRaiders(g, ui, p);
  Random rng(PositionSeed(g));

  // Guards first, then the corps nearest the enemy; equal ones in an order of our own.
  struct Entry {
    int Key;
    int Slot;
  };
  std::array<Entry, kUnitSlots> order{};
  int count = 0;
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    if (!Commander(g, s, p.Side) || u.ActionPoints <= 0 || u.CanMove == 0) continue;
    int near = 99;
    for (int e = 1; e < kUnitSlots; ++e) {
      const Unit& o = g.U(e);
      if (o.OnMap == 1 && o.Side == p.Enemy) near = std::min(near, HexDistance(u.HexX, u.HexY, o.HexX, o.HexY));
    }
    const int key = (p.Guard[static_cast<std::size_t>(s)] ? 0 : 1000) + near * 16 + rng.Next(16);
    order[static_cast<std::size_t>(count++)] = {key, s};
  }
  // Insertion keeps equal keys in slot order.
  for (int i = 1; i < count; ++i) {
    for (int j = i; j > 0 && order[static_cast<std::size_t>(j)].Key < order[static_cast<std::size_t>(j - 1)].Key; --j) {
      std::swap(order[static_cast<std::size_t>(j)], order[static_cast<std::size_t>(j - 1)]);
    }
  }
  for (int i = 0; i < count; ++i) {
    if (ui.IsClosing()) return;
    PlayCommander(g, ui, p, order[static_cast<std::size_t>(i)].Slot);
    ReadThreat(g, p);
  }
}

}  // namespace milgant
