#include "core/rules/Reach.h"

#include <algorithm>
#include <functional>

#include "core/game/Game.h"
#include "core/rules/Movement.h"

namespace milgant {
namespace {

constexpr int kStartPenalty = 4;  // leaving a hex next to the enemy, as the range search charges
constexpr int kShallows = 5;

int Index(int x, int y) { return x * kMapSize + y; }
std::size_t At(int h) { return static_cast<std::size_t>(h); }

// The neighbours of every hex by direction 1..6, -1 off the map.
using NeighbourTable = ReachFinder::NeighbourTable;
const NeighbourTable& Neighbours() {
  static const NeighbourTable table = [] {
    NeighbourTable t{};
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        auto& row = t[At(Index(x, y))];
        row[0] = -1;
        for (int d = 1; d <= 6; ++d) {
          const HexPos n = Neighbour(x, y, d);
          row[static_cast<std::size_t>(d)] = static_cast<std::int16_t>(OnMapHex(n.X, n.Y) ? Index(n.X, n.Y) : -1);
        }
      }
    }
    return t;
  }();
  return table;
}

}  // namespace

// The points recorded on each hex while one unit's search runs, and what the target got.
struct ReachFinder::Walk {
  std::array<std::int32_t, kHexes> remaining;
  const std::int32_t* least = nullptr;  // the bound, or one that never stops a step
  bool reached = false;
  int left = -1;
};

ReachFinder::ReachFinder(const Game& g, int side, int row, HexPos to, int mostPoints)
    : g_(g), nb_(&Neighbours()), side_(side), row_(row), to_(to), target_(Index(to.X, to.Y)), mostPoints_(mostPoints) {
  BuildOccupancy(g, occ_);
  // A step costs 1 along a road, else the row's cost of the hex entered (or of the mountain
  // left), perhaps 1 more across a river: never less than 1 or the cheapest hex's own cost. So
  // the map's cheapest hex says whether a step can be free. A free step would let a route go on
  // from a zone of control without paying, and then the bound below does not hold.
  for (int x = 0; x < kMapSize && quick_; ++x) {
    for (int y = 0; y < kMapSize && quick_; ++y) {
      int road = 0;
      quick_ = StepCostByDirection(g, x, y, 0, row, road) >= 1;
    }
  }
  if (quick_) Bound(mostPoints);
}

void ReachFinder::Learn(int h) {
  const auto i = At(h);
  if (known_[i]) return;
  known_[i] = true;
  const int x = h / kMapSize;
  const int y = h % kMapSize;
  int cheapest = kNever;
  for (int d = 1; d <= 6; ++d) {
    int road = 0;
    const int cost = StepCostByDirection(g_, x, y, d, row_, road);
    const int extra = RiverExtraByDirection(g_, x, y, d, road);
    cost_[i][static_cast<std::size_t>(d)] = static_cast<std::int16_t>(cost);
    zoneCost_[i][static_cast<std::size_t>(d)] = static_cast<std::int16_t>(cost + extra);
    cheapest = std::min(cheapest, cost);
  }
  cheapest_[i] = static_cast<std::int16_t>(cheapest);
  zone_[i] = InEnemyZone(g_, occ_, side_, x, y) ? 1 : 0;
  shallows_[i] = g_.H(x, y).Terrain == kShallows ? 1 : 0;
  enemy_[i] = ((!occ_.Empty(x, y) && occ_.First(x, y) != side_) || occ_.CastleNotOwnedBy(x, y, side_)) ? 1 : 0;
}

// The bound, by Dijkstra outwards from the target: the target needs its cheapest entry, any
// other hex its cheapest entry plus the bound of its best neighbour. A hex where a route stops or
// cannot go passes nothing on. Bounds beyond the units' points are never needed and stay kNever.
void ReachFinder::Bound(int mostPoints) {
  least_.fill(kNever);
  std::array<bool, kHexes> done{};
  // (bound, hex) pairs packed into one number; a hex may stand in the heap more than once, the
  // later copies are passed over.
  std::array<std::int64_t, kHexes * 6 + 1> heap{};
  int size = 0;
  const auto push = [&](int bound, int h) {
    least_[At(h)] = bound;
    heap[static_cast<std::size_t>(size++)] = static_cast<std::int64_t>(bound) * 1024 + h;
    std::push_heap(heap.begin(), heap.begin() + size, std::greater<>());
  };
  Learn(target_);
  push(cheapest_[At(target_)], target_);
  const NeighbourTable& nb = *nb_;
  while (size > 0) {
    std::pop_heap(heap.begin(), heap.begin() + size, std::greater<>());
    const int h = static_cast<int>(heap[static_cast<std::size_t>(--size)] % 1024);
    if (done[At(h)]) continue;
    done[At(h)] = true;
    for (int d = 1; d <= 6; ++d) {
      const int n = nb[At(h)][static_cast<std::size_t>(d)];
      if (n < 0 || done[At(n)] || n == target_) continue;
      Learn(n);
      if (enemy_[At(n)] != 0 || zone_[At(n)] != 0 || shallows_[At(n)] != 0) continue;
      const int through = cheapest_[At(n)] + least_[At(h)];
      if (through <= mostPoints && through < least_[At(n)]) push(through, n);
    }
  }
}

// One step of the range search (RangeStep in Movement.cpp), in the same order, with the same
// tests, recording points only. A step arriving with fewer points than the hex's bound is not
// followed: nothing it or the steps after it record can end on the target, and the points they
// would leave behind are all below the bound, where they stop no step that could.
void ReachFinder::Step(Walk& w, int h, int from, int budget, int depth) {
  const auto i = At(h);
  if (budget < w.least[i]) return;
  if (w.remaining[i] >= budget) return;
  if (enemy_[i] != 0) return;
  const auto d = static_cast<std::size_t>(from);
  if (zone_[i] != 0) {
    const int r = budget - zoneCost_[i][d];
    if (r >= 0) {
      if (w.remaining[i] < r) {
        w.remaining[i] = r;
        if (h == target_) {
          w.reached = true;
          w.left = r;
        }
      }
      return;
    }
  }
  const int left = budget - cost_[i][d];
  if (left < 0 || shallows_[i] != 0) return;
  w.remaining[i] = left;
  if (h == target_) {
    w.reached = true;
    w.left = left;
  }
  if (depth >= static_cast<int>(kRouteCapacity)) return;
  const int back = OppositeDirection(from);
  const auto& next = (*nb_)[i];
  for (int k = 1; k <= 6; ++k) {
    if (k == back) continue;
    const int n = next[static_cast<std::size_t>(k)];
    if (n >= 0) Step(w, n, k, left, depth + 1);
  }
}

Reach ReachFinder::From(int x, int y, int actionPoints) {
  if (!OnMapHex(x, y)) return {};
  const NeighbourTable& nb = *nb_;
  const auto start = At(Index(x, y));
  int penalty = 0;
  for (int k = 1; k <= 6; ++k) {
    const int n = nb[start][static_cast<std::size_t>(k)];
    if (n >= 0 && !occ_.Empty(n / kMapSize, n % kMapSize) && occ_.First(n / kMapSize, n % kMapSize) != side_) {
      penalty = kStartPenalty;
    }
  }
  Walk w;
  w.remaining.fill(-1);
  // The bound was worked out for at most mostPoints_; a unit with more is followed everywhere.
  static const std::array<std::int32_t, kHexes> kNoBound = [] {
    std::array<std::int32_t, kHexes> none{};
    none.fill(-kNever);
    return none;
  }();
  if (quick_ && actionPoints <= mostPoints_) {
    w.least = least_.data();
  } else {
    for (int h = 0; h < kHexes; ++h) Learn(h);
    w.least = kNoBound.data();
  }
  for (int k = 1; k <= 6; ++k) {
    const int n = nb[start][static_cast<std::size_t>(k)];
    if (n >= 0) Step(w, n, k, actionPoints - penalty, 1);
  }
  if (to_.X == x && to_.Y == y) return {true, actionPoints};
  Reach result{w.reached, w.left};
  // From a port of one's own every port is open, with the points the search left there.
  const auto portCity = static_cast<int>(TerrainCode::PortCity);
  if (g_.H(x, y).Terrain == portCity && g_.H(to_.X, to_.Y).Terrain == portCity) {
    const int c = CastleAt(g_, x, y);
    if (c != -1 && g_.Castles[At(c)].Owner == side_) result.Reached = true;
  }
  return result;
}

}  // namespace milgant
