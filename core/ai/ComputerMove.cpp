#include "core/ai/ComputerMove.h"

#include <array>
#include <cstdint>

#include "core/ai/Board.h"
#include "core/combat/ForceRatio.h"
#include "core/rules/PositionValue.h"
#include "core/ai/SourceTrace.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Rounding.h"
#include "core/rules/Movement.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

constexpr int kTableSize = kMapSize * kMapSize;
constexpr int kCrowdedHex = 3;         // a hex with this many units is no place to plan for
constexpr double kCastleTooStrong = 7.0;  // odds above this: the castle will fall anyway

using HexTable = std::array<std::array<std::int32_t, kMapSize>, kMapSize>;

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

int Remaining(const Game& g, int x, int y) {
  return g.MoveRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

std::string_view PathAt(const Game& g, int x, int y) {
  return g.MovePath[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].View();
}

int RoadFlags(const Hex& h) {
  int n = 0;
  for (const std::int32_t f : h.RoadSides) n += f != 0 ? 1 : 0;
  return n;
}

// The odds of the unit alone added to whatever is already marked at a hex. Only the unit's own
// mark changes between two looks, so each hex is weighed once per call.
class OddsCache {
 public:
  OddsCache(Game& g, int slot) : g_(g), slot_(slot) {
    for (auto& column : known_) column.fill(false);
  }
  double At(int x, int y) {
    if (!OnMapHex(x, y)) return Weigh(x, y);
    const auto ix = static_cast<std::size_t>(x);
    const auto iy = static_cast<std::size_t>(y);
    if (!known_[ix][iy]) {
      odds_[ix][iy] = Weigh(x, y);
      known_[ix][iy] = true;
    }
    return odds_[ix][iy];
  }

 private:
  double Weigh(int x, int y) {
    Unit& u = g_.U(slot_);
    u.TargetX = x;
    u.TargetY = y;
    const double o = AttackOdds(g_, x, y, g_.PlayerSide);
    u.TargetX = u.TargetY = -1;
    return o;
  }
  Game& g_;
  int slot_;
  std::array<std::array<bool, kMapSize>, kMapSize> known_{};
  std::array<std::array<double, kMapSize>, kMapSize> odds_{};
};

struct Goal {
  int X;
  int Y;
  std::int64_t Score;
};

struct GoalList {
  std::array<Goal, kTableSize * 12 + 1> Items{};
  int Count = 0;
  std::array<std::array<bool, kMapSize>, kMapSize> Listed{};  // a hex already has an entry

  void Clear() {
    Count = 0;
    for (auto& column : Listed) column.fill(false);
  }
  void Add(int x, int y, std::int64_t score) {
    if (Count >= static_cast<int>(Items.size())) return;
    Items[static_cast<std::size_t>(Count++)] = {x, y, score};
    if (OnMapHex(x, y)) Listed[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = true;
  }
  bool Has(int x, int y) const {
    return OnMapHex(x, y) && Listed[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
  }
};

struct Candidate {
  int X = -1;
  int Y = -1;
  int Score = 0;
};

struct CandidateList {
  std::array<Candidate, kTableSize> Items{};
  int Count = 0;
};

int EnemyFirst(const Game& g, const Board& b, int x, int y) {
  const int side = FirstSideAt(g, b, x, y);
  return side != -1 && side != g.ComputerSide;
}

PositionValues ValuesOn(const Game& g, const Board& b, int slot, int x, int y) {
  PositionValues v;
  const Unit& u = g.U(slot);
  if (g.GameState != 5 && FirstSideAt(g, b, x, y) == u.Side) {
    int hosts = 0;
    for (int s = b.First(x, y); s != -1; s = b.Next[static_cast<std::size_t>(s)]) {
      const Unit& h = g.U(s);
      if (h.Rank > u.Rank && h.Command < u.Command && h.SubordinateCount - 1 < h.Command) ++hosts;
    }
    v.Joining = 10 * hosts;
  }
  v.Encirclement = EncirclementValue(g, x, y, g.ComputerSide);
  int contacts = 0;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (!EnemyFirst(g, b, n.X, n.Y)) continue;
    ++contacts;
    // Facing the enemy's home pays.
    if (g.ComputerSide == 1) {
      v.Direction += k == 1 ? 20 : (k == 2 || k == 6) ? 5 : 0;
    } else {
      v.Direction += k == 4 ? 20 : (k == 3 || k == 5) ? 5 : 0;
    }
    v.River += g.H(x, y).RiverSides[static_cast<std::size_t>(k - 1)] == 1 ? -3 : 3;
  }
  if (contacts > 0) v.Contact = 10 - 2 * contacts;
  return v;
}

// The enemy a standing-back unit steers around: the nearest independent player unit within 4.
HexPos SteeringEnemy(const Game& g, const Unit& u) {
  HexPos found{-1, -1};
  int nearest = 5;
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& e = g.U(s);
    if (e.OnMap != 1 || e.Side != g.PlayerSide || e.CommanderIndex != -1) continue;
    const int d = HexDistance(u.HexX, u.HexY, e.HexX, e.HexY);
    if (d < nearest) {
      nearest = d;
      found = {e.HexX, e.HexY};
    }
  }
  return found;
}

int SteeringTerm(const Unit& u, HexPos enemy, int x, int y) {
  if (enemy.X == -1 || HexDistance(enemy.X, enemy.Y, x, y) != 1) return 0;
  const int d = HexDistance(x, y, u.MoveGoalX, u.MoveGoalY);
  return d % 2 == 1 ? 38000 - 1000 * d : 400 * d - 15200;
}

// Walks a route from the unit's hex as far as its points reach; returns the steps taken.
int WalkRoute(const Game& g, const Unit& u, std::string_view route, int budget, HexPos& stop) {
  stop = {u.HexX, u.HexY};
  int steps = 0;
  for (const char c : route) {
    const int d = c - '0';
    if (d < 1 || d > 6) break;
    const HexPos n = Neighbour(stop.X, stop.Y, d);
    if (!OnMapHex(n.X, n.Y) || u.ActionPoints + Remaining(g, n.X, n.Y) - budget < 0) break;
    stop = n;
    ++steps;
  }
  return steps;
}

}  // namespace

int PlanBudget(int actionPoints) {
  const double factor = actionPoints <= 5 ? 2.0 : actionPoints <= 7 ? 1.8 : actionPoints <= 10 ? 1.3 : 1.0;
  return RoundHalfEven(actionPoints * factor);
}

int ExecuteBudget(int actionPoints) {
  const double factor = actionPoints <= 5 ? 2.0 : actionPoints <= 7 ? 1.5 : 1.0;
  return RoundHalfEven(actionPoints * factor);
}

PositionValues PositionValuesAt(const Game& g, int slot, int x, int y) {
  Board b;
  BuildBoard(g, b);
  return ValuesOn(g, b, slot, x, y);
}

int StandBackSteering(const Game& g, int slot, int candidateX, int candidateY) {
  const Unit& u = g.U(slot);
  return SteeringTerm(u, SteeringEnemy(g, u), candidateX, candidateY);
}

void PlanMove(Game& g, int slot) {
  if (!ValidSlot(slot)) return;
  Unit& u = g.U(slot);
  if (!OnMapHex(u.HexX, u.HexY)) return;
  const int budget = PlanBudget(u.ActionPoints);
  ComputeMoveRange(g, u.HexX, u.HexY, kUnitMoveRow, budget);
  Board b;
  BuildBoard(g, b);
  static thread_local CandidateList cand;
  cand.Count = 0;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (!PathAt(g, x, y).empty() && b.CountOn(x, y) < kCrowdedHex) cand.Items[static_cast<std::size_t>(cand.Count++)] = {x, y, 0};
    }
  }
  // Side 1's road net decides which castles are worth the most.
  RoadTraceFromSource(g, 1);

  OddsCache odds(g, slot);
  static thread_local GoalList goals;
  goals.Clear();
  for (int i = 0; i < cand.Count; ++i) {
    const Candidate& c = cand.Items[static_cast<std::size_t>(i)];
    for (int k = 1; k <= 6; ++k) {
      const HexPos n = Neighbour(c.X, c.Y, k);
      const int castle = b.CastleOn(n.X, n.Y);
      if (castle == -1) continue;
      const Castle& ca = g.Castles[static_cast<std::size_t>(castle)];
      if (ca.Owner == u.Side || odds.At(n.X, n.Y) > kCastleTooStrong) continue;
      const std::int64_t m = Remaining(g, n.X, n.Y);
      std::int64_t score = 4 * m + 4LL * ca.MaxStrength;
      for (int j = 0; j <= 6; ++j) {
        const HexPos h = Neighbour(n.X, n.Y, j);
        if (OnMapHex(h.X, h.Y) && g.SupplyRemaining[static_cast<std::size_t>(h.X)][static_cast<std::size_t>(h.Y)] > 0) {
          score += 1000 * m + 1000LL * ca.MaxStrength;
        }
      }
      goals.Add(n.X, n.Y, score);
    }
  }
  for (int i = 0; i < cand.Count; ++i) {
    const Candidate& c = cand.Items[static_cast<std::size_t>(i)];
    for (int k = 1; k <= 6; ++k) {
      const HexPos n = Neighbour(c.X, c.Y, k);
      if (!EnemyFirst(g, b, n.X, n.Y) || goals.Has(n.X, n.Y)) continue;
      std::int64_t score = 20LL * Remaining(g, c.X, c.Y);
      for (int j = 0; j <= 6; ++j) {
        const HexPos h = Neighbour(n.X, n.Y, j);
        if (OnMapHex(h.X, h.Y)) score += 30 * RoadFlags(g.H(h.X, h.Y));
      }
      goals.Add(n.X, n.Y, score);
    }
  }
  if (g.ComputerSide == 0) {
    const auto& o = u.AiObjective;
    goals.Add(o[0], o[1], static_cast<std::int64_t>(o[2]) + 5000 - 100 * HexDistance(u.HexX, u.HexY, o[0], o[1]));
  }

  // Entries on one hex pool their scores.
  static thread_local std::array<std::array<std::int64_t, kMapSize>, kMapSize> pool;
  for (auto& column : pool) column.fill(0);
  for (int i = 0; i < goals.Count; ++i) {
    const Goal& e = goals.Items[static_cast<std::size_t>(i)];
    if (OnMapHex(e.X, e.Y)) pool[static_cast<std::size_t>(e.X)][static_cast<std::size_t>(e.Y)] += e.Score;
  }
  auto pooled = [&](const Goal& e) {
    return OnMapHex(e.X, e.Y) ? pool[static_cast<std::size_t>(e.X)][static_cast<std::size_t>(e.Y)] : e.Score;
  };

  // A unit standing back looks for weakly held goals, one pressing on for strong odds.
  double best = -1.0;
  HexPos goal{g.DefaultGoalX, g.DefaultGoalY};
  for (int i = 0; i < goals.Count; ++i) {
    const Goal& e = goals.Items[static_cast<std::size_t>(i)];
    const double o = odds.At(e.X, e.Y);
    const double score = static_cast<double>(pooled(e));
    const double value = u.AiRole > 3 ? -5.0 * o + score : 10.0 * o + score;
    if (value > best) {
      goal = {e.X, e.Y};
      best = 10.0 * o + score;
    }
  }
  u.MoveGoalX = goal.X;
  u.MoveGoalY = goal.Y;
}

void ExecuteComputerMove(Game& g, int slot) {
  if (!ValidSlot(slot)) return;
  Unit& u = g.U(slot);
  if (!OnMapHex(u.HexX, u.HexY)) return;
  const int budget = ExecuteBudget(u.ActionPoints);
  ComputerSourceTrace(g, g.ComputerSide);
  const HexTable supplied = g.SupplyRemaining;
  ComputeMoveRange(g, u.HexX, u.HexY, kUnitMoveRow, budget);
  Board b;
  BuildBoard(g, b);

  static thread_local CandidateList cand;
  cand.Count = 0;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (!PathAt(g, x, y).empty()) cand.Items[static_cast<std::size_t>(cand.Count++)] = {x, y, u.ActionPoints - Remaining(g, x, y)};
    }
  }

  const bool pressing = u.AiRole <= 3;
  const bool standingBack = u.AiRole == 4;
  int best = standingBack ? 30000 : 600;
  const HexPos enemy = standingBack ? SteeringEnemy(g, u) : HexPos{-1, -1};
  for (int i = 0; i < cand.Count && (pressing || standingBack); ++i) {
    Candidate& c = cand.Items[static_cast<std::size_t>(i)];
    HexPos stop;
    WalkRoute(g, u, PathAt(g, c.X, c.Y), budget, stop);
    if (u.ActionPoints + Remaining(g, stop.X, stop.Y) - budget < 0) continue;
    const PositionValues here = ValuesOn(g, b, slot, c.X, c.Y);
    const PositionValues there = ValuesOn(g, b, slot, stop.X, stop.Y);
    const int d = HexDistance(c.X, c.Y, u.MoveGoalX, u.MoveGoalY);
    if (pressing) {
      c.Score += 50 * d - 5000 - here.Sum() - there.Sum();
    } else {
      c.Score += 400 * d - 40000;
      if (c.X != u.HexX && c.Y != u.HexY) {
        // Do not pile onto units that have already stopped for the same goal.
        for (int s = b.First(c.X, c.Y); s != -1; s = b.Next[static_cast<std::size_t>(s)]) {
          const Unit& o = g.U(s);
          if (o.CanMove == 0 && o.MoveGoalX == u.MoveGoalX && o.MoveGoalY == u.MoveGoalY) c.Score -= 2000;
        }
      }
      if (supplied[static_cast<std::size_t>(c.X)][static_cast<std::size_t>(c.Y)] > 0) c.Score -= 10000;
      if (LocalRatioNear(g, c.X, c.Y, g.PlayerSide) > 1.5) c.Score += 1000;
      c.Score += SteeringTerm(u, enemy, c.X, c.Y);
      c.Score -= here.Sum() + there.Sum() + 2 * here.Encirclement;
    }
    if (c.Score < best) best = c.Score;
  }

  for (int i = 0; i < cand.Count; ++i) {
    const Candidate& c = cand.Items[static_cast<std::size_t>(i)];
    if (c.Score != best) continue;
    HexPos stop;
    const std::string_view route = PathAt(g, c.X, c.Y);
    const int steps = WalkRoute(g, u, route, budget, stop);
    // The unit keeps the part of the route its points pay for now.
    u.Route.Assign(steps > 0 ? route.substr(0, static_cast<std::size_t>(steps)) : std::string_view("0"));
    u.MaxActionPoints = u.ActionPoints;
    u.ActionPoints -= budget - Remaining(g, stop.X, stop.Y);
    u.RouteDestX = static_cast<std::uint8_t>(stop.X);
    u.RouteDestY = static_cast<std::uint8_t>(stop.Y);
    u.MoveScoreChosen = best;
    break;
  }

  if (ValidSlot(u.CommanderIndex)) {
    const Unit& cmd = g.U(u.CommanderIndex);
    for (int i = 0; i < cand.Count; ++i) {
      const Candidate& c = cand.Items[static_cast<std::size_t>(i)];
      if (c.X == cmd.HexX && c.Y == cmd.HexY) {
        u.MoveScoreAtCommander = c.Score;
        break;
      }
    }
  }
}

}  // namespace milgant
