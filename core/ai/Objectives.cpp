#include "core/ai/Objectives.h"

#include <algorithm>
#include <array>
#include <limits>

#include "core/ai/Board.h"
#include "core/combat/ForceRatio.h"
#include "core/ai/SourceTrace.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/rules/Movement.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

constexpr HexPos kSource = kSupplySource[0];
constexpr int kShortBudget = 5;
constexpr int kReachRadius = 7;
constexpr int kFlankPenalty = 30000;

using Reach = std::array<std::array<bool, kMapSize>, kMapSize>;

bool IsObstacle(int terrain) { return terrain == 3 || terrain == 7; }

// Rough ground and mountains make a good place to stand, open plain a poor one.
int TerrainAdjustment(int terrain, int plain) {
  switch (terrain) {
    case 1: return plain;
    case 2: return 10;
    case 3: return 20;
    case 4:
    case 7: return 5;
    default: return 0;
  }
}

int SetFlags(const std::array<std::int32_t, 6>& sides) {
  return static_cast<int>(std::count_if(sides.begin(), sides.end(), [](std::int32_t f) { return f != 0; }));
}

int SupplyAt(const Game& g, int x, int y) {
  return g.SupplyRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

// Scores are worked in 64 bits: the doubling for every enemy close by would overflow 32.
struct Working {
  int X;
  int Y;
  std::int64_t Score;
  bool Fallback = false;  // the hex before home, added when the enemy is at the gate
};

std::int64_t ScoreHex(const Game& g, const Board& b, int x, int y, int riverPoints, bool anyColumn) {
  std::int64_t score = 1000LL * HexDistance(x, y, kSource.X, kSource.Y);
  if (anyColumn || x <= g.AdvanceLimit) {
    for (int c = x - 2; c <= x + 4; ++c) {
      for (int r = y - 4; r <= y + 4; ++r) {
        for (int s = b.First(c, r); s != -1; s = b.Next[static_cast<std::size_t>(s)]) {
          const Unit& u = g.U(s);
          if (u.Side != g.PlayerSide) continue;
          const int d = HexDistance(c, r, x, y);
          score += 100LL * u.CombatPower;
          score += 1000LL * (50 - d);
          if (d <= 2) score *= 2;  // an enemy at hand makes the place count twice
        }
      }
    }
  }
  const Hex& h = g.H(x, y);
  score += TerrainAdjustment(h.Terrain, -150);
  score += static_cast<std::int64_t>(riverPoints) * SetFlags(h.RiverSides);
  score += 300LL * (50 - Openness(g, x, y));
  const int roads = SetFlags(h.RoadSides);
  if (roads >= 3) score += 500LL * roads;
  for (int c = x - 2; c <= x + 2; ++c) {
    for (int r = y - 2; r <= y + 2; ++r) {
      if (!OnMapHex(c, r)) continue;
      score += 6LL * (50 - SupplyAt(g, c, r));
      score += TerrainAdjustment(g.H(c, r).Terrain, -100);
    }
  }
  const int castle = b.CastleOn(x, y);
  if (castle != -1) {
    const Castle& ca = g.Castles[static_cast<std::size_t>(castle)];
    if (ca.Owner == g.ComputerSide) score += ca.Durability - 3;
  }
  return score;
}

// The hexes the enemy's units within reach of the entry can get to, laid over one another.
void EnemyReach(const Game& g, const std::array<Reach, kUnitSlots>& reach, const std::array<bool, kUnitSlots>& has,
                int x, int y, Reach& out) {
  for (auto& column : out) column.fill(false);
  for (int s = 1; s < kUnitSlots; ++s) {
    if (!has[static_cast<std::size_t>(s)]) continue;
    const Unit& u = g.U(s);
    if (HexDistance(u.HexX, u.HexY, x, y) > kReachRadius) continue;
    for (int c = 0; c < kMapSize; ++c) {
      for (int r = 0; r < kMapSize; ++r) out[c][r] = out[c][r] || reach[static_cast<std::size_t>(s)][c][r];
    }
  }
}

// The flank test: the enemy can reach the hexes on two opposite sides of the entry.
bool Flanked(const Reach& reach, int x, int y) {
  for (int k = 1; k <= 3; ++k) {
    const HexPos a = Neighbour(x, y, k);
    const HexPos b = Neighbour(x, y, k + 3);
    if (OnMapHex(a.X, a.Y) && OnMapHex(b.X, b.Y) && reach[static_cast<std::size_t>(a.X)][static_cast<std::size_t>(a.Y)] &&
        reach[static_cast<std::size_t>(b.X)][static_cast<std::size_t>(b.Y)]) {
      return true;
    }
  }
  return false;
}

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

bool InList(const ObjectiveTable& list, int x, int y, int within) {
  for (int i = 0; i < list.Count; ++i) {
    const ObjectiveEntry& e = list.Entries[static_cast<std::size_t>(i)];
    if (HexDistance(e.X, e.Y, x, y) <= within) return true;
  }
  return false;
}

void Append(ObjectiveTable& list, int x, int y, std::int32_t score) {
  if (list.Count >= kObjectiveCapacity) return;
  list.Entries[static_cast<std::size_t>(list.Count++)] = {x, y, score, 0};
}

}  // namespace

int Openness(const Game& g, int x, int y) {
  int obstacles = 0;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (!OnMapHex(n.X, n.Y) || IsObstacle(g.H(n.X, n.Y).Terrain)) ++obstacles;
  }
  if (obstacles == 0) return 20;
  if (obstacles == 1) return 10;
  return 6 - obstacles;
}

void EvaluateObjectives(Game& g, ObjectiveResult& out) {
  out = ObjectiveResult{};
  Board b;
  BuildBoard(g, b);
  std::array<Working, kObjectiveCapacity> work{};
  int count = 0;

  // Hexes on the road net from home, except those a single road side only touches.
  ComputerSourceTrace(g, 0);
  for (int y = 0; y < kMapSize; ++y) {
    for (int x = 0; x < kMapSize && count < kObjectiveCapacity - 1; ++x) {
      if (SupplyAt(g, x, y) <= 0 || SetFlags(g.H(x, y).RoadSides) == 1) continue;
      work[static_cast<std::size_t>(count++)] = {x, y, ScoreHex(g, b, x, y, 700, false)};
    }
  }

  // The enemy at the gate: the hex before home comes first and everything is pulled home.
  ClearMoveRange(g);
  int intruder = -1;
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    if (u.OnMap == 1 && u.Side == g.PlayerSide && HexDistance(u.HexX, u.HexY, kSource.X, kSource.Y) <= 3) intruder = s;
  }
  if (intruder != -1) {
    work[static_cast<std::size_t>(count++)] = {kFallbackX, kFallbackY, ScoreHex(g, b, kFallbackX, kFallbackY, 500, true), true};
    const Unit& e = g.U(intruder);
    for (int i = 0; i < count; ++i) {
      Working& w = work[static_cast<std::size_t>(i)];
      w.Score -= 100000LL * HexDistance(w.X, w.Y, kSource.X, kSource.Y);
      w.Score -= 1000000LL * HexDistance(w.X, w.Y, e.HexX, e.HexY);
    }
  }

  // Ground the entry's own supply does not reach around it counts for it.
  ShortTraces traces(g);
  for (int i = 0; i < count; ++i) {
    Working& w = work[static_cast<std::size_t>(i)];
    for (auto& column : g.SupplyRemaining) column.fill(-1);
    if (SetFlags(g.H(w.X, w.Y).RoadSides) > 0) traces.From(g.ComputerSide, {w.X, w.Y}, kZoneRow, kShortBudget);
    for (int c = w.X - 2; c <= w.X + 2; ++c) {
      for (int r = w.Y - 2; r <= w.Y + 2; ++r) {
        if (OnMapHex(c, r)) w.Score += 600 - 30 * SupplyAt(g, c, r);
      }
    }
  }

  // Places the enemy can close on from two opposite sides are poor places to hold.
  static thread_local std::array<Reach, kUnitSlots> reach;
  std::array<bool, kUnitSlots> has{};
  for (int s = 1; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    if (u.OnMap != 1 || u.Side != g.PlayerSide || !OnMapHex(u.HexX, u.HexY)) continue;
    ComputeMoveRangeFor(g, u.HexX, u.HexY, kUnitMoveRow, u.ActionPoints, g.PlayerSide, true);
    for (int c = 0; c < kMapSize; ++c) {
      for (int r = 0; r < kMapSize; ++r) reach[static_cast<std::size_t>(s)][c][r] = !g.MovePath[c][r].Empty();
    }
    has[static_cast<std::size_t>(s)] = true;
  }
  ClearMoveRange(g);
  Reach around{};
  for (int i = 0; i < count; ++i) {
    Working& w = work[static_cast<std::size_t>(i)];
    EnemyReach(g, reach, has, w.X, w.Y, around);
    if (Flanked(around, w.X, w.Y)) w.Score -= kFlankPenalty;
  }

  for (int i = 0; i < count; ++i) {
    Working& w = work[static_cast<std::size_t>(i)];
    if (LocalRatioNear(g, w.X, w.Y, g.PlayerSide) > 1.2) w.Score /= 1000;
    if (w.X > g.AdvanceLimit) w.Score /= 100000;
  }

  // Best first; equal scores keep their order.
  for (int i = 0; i < count; ++i) {
    int best = i;
    for (int j = i + 1; j < count; ++j) {
      if (work[static_cast<std::size_t>(j)].Score > work[static_cast<std::size_t>(best)].Score) best = j;
    }
    std::swap(work[static_cast<std::size_t>(i)], work[static_cast<std::size_t>(best)]);
  }
  ObjectiveTable& list = out.ObjectiveList;
  for (int i = 0; i < count; ++i) {
    const Working& w = work[static_cast<std::size_t>(i)];
    Append(out.ScoredHexes, w.X, w.Y, Clamp32(w.Score));
    if (w.Fallback) Append(list, w.X, w.Y, Clamp32(w.Score));
  }
  for (int i = 0; i < count && i < 6; ++i) {
    const ObjectiveEntry& e = out.ScoredHexes.Entries[static_cast<std::size_t>(i)];
    if (e.X > g.AdvanceLimit || InList(list, e.X, e.Y, 4)) continue;
    Append(list, e.X, e.Y, e.Score);
  }
  for (int i = 0; i < count; ++i) {
    const ObjectiveEntry& e = out.ScoredHexes.Entries[static_cast<std::size_t>(i)];
    for (int s = 1; s < kUnitSlots; ++s) {
      const Unit& u = g.U(s);
      if (u.OnMap != 1 || u.Side != g.PlayerSide || HexDistance(u.HexX, u.HexY, e.X, e.Y) > 3) continue;
      if (e.X > g.AdvanceLimit || InList(list, e.X, e.Y, 3)) continue;
      Append(list, e.X, e.Y, e.Score);
    }
  }
  for (auto& column : g.SupplyRemaining) column.fill(-1);
}

}  // namespace milgant
