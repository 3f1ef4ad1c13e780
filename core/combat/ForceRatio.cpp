#include "core/combat/ForceRatio.h"

#include <algorithm>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Rounding.h"

namespace milgant {
namespace {

// A confused unit fights at half strength.
int EffectiveStrength(const Unit& u) {
  return RoundHalfEven(static_cast<double>(u.CombatPower) / (u.Normal == 1 ? 1.0 : 2.0));
}

struct Group {
  int Sum = 0;
  int BestModifier = 0;  // of the units without a commander
  bool Fortified = false;
};

void Add(Group& gr, const Unit& u) {
  gr.Sum += EffectiveStrength(u);
  if (u.CommanderIndex == -1) gr.BestModifier = std::max(gr.BestModifier, u.CombatModifier);
  gr.Fortified = gr.Fortified || u.Fortified != 0;
}

// Whether a pressing unit on (ux, uy) next to (x, y) faces it without a river between.
bool FacesWithoutRiver(const Game& g, int ux, int uy, int x, int y) {
  if (!OnMapHex(ux, uy)) return false;
  for (int k = 1; k <= 6; ++k) {
    if (Neighbour(ux, uy, k) == HexPos{x, y}) return g.H(ux, uy).RiverSides[static_cast<std::size_t>(k - 1)] != 1;
  }
  return false;
}

double Ratio(const Game& g, int x, int y, const Group& holding, const Group& pressing, bool riverOk) {
  int h = holding.Sum;
  const int castle = CastleAt(g, x, y);
  if (castle != -1) h += g.Castles[static_cast<std::size_t>(castle)].Strength;
  const double r = riverOk ? 1.0 : 1.5;
  double t = 1.0;
  if (castle == -1 && OnMapHex(x, y)) {
    const int terrain = g.H(x, y).Terrain;
    if (terrain >= 0 && terrain < kTerrainCodes) {
      t = (100.0 + g.TerrainTypes[static_cast<std::size_t>(terrain)].DefenceBonus) / 100.0;
    }
  }
  int d = RoundHalfEven((t + g.DefenceFactor + r - 2.0) * h);
  const double lead = (pressing.BestModifier - holding.BestModifier + 10) / 10.0;
  const int p = RoundHalfEven(pressing.Sum * lead);
  d = RoundHalfEven(d * lead);
  d = RoundHalfEven(d * (holding.Fortified ? 1.2 : 1.0));
  if (d == 0 && p == 0) return 0.0;
  if (d != 0) return static_cast<double>(p) / d;
  return p;
}

double LocalRatio(const Game& g, int x, int y, int s, int holdingReach) {
  Group holding;
  Group pressing;
  bool riverOk = false;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1) continue;
    const int dist = HexDistance(u.HexX, u.HexY, x, y);
    if (u.Side != s && dist <= holdingReach) Add(holding, u);
    if (u.Side == s && dist <= 2) {
      Add(pressing, u);
      if (dist == 1 && FacesWithoutRiver(g, u.HexX, u.HexY, x, y)) riverOk = true;
    }
  }
  return Ratio(g, x, y, holding, pressing, riverOk);
}

}  // namespace

double AttackOdds(const Game& g, int x, int y, int s) {
  Group holding;
  const UnitList on = UnitsAt(g, x, y);
  for (int i = 0; i < on.Count; ++i) Add(holding, g.U(on.Slots[static_cast<std::size_t>(i)]));
  Group pressing;
  bool riverOk = false;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.Side == s || u.TargetX != x || u.TargetY != y) continue;
    Add(pressing, u);
    if (HexDistance(u.HexX, u.HexY, x, y) == 1 && FacesWithoutRiver(g, u.HexX, u.HexY, x, y)) riverOk = true;
  }
  return Ratio(g, x, y, holding, pressing, riverOk);
}

double LocalRatioWide(const Game& g, int x, int y, int s) { return LocalRatio(g, x, y, s, 4); }
double LocalRatioNear(const Game& g, int x, int y, int s) { return LocalRatio(g, x, y, s, 2); }

}  // namespace milgant
