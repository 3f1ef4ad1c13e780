#include "core/combat/BattleRound.h"

#include <algorithm>
#include <cstdlib>

#include "core/rules/UnitRemoval.h"
#include "core/game/Game.h"
#include "core/game/RuleTables.h"
#include "core/game/Rounding.h"
#include "core/game/Text.h"
#include "core/rules/UnitStrength.h"

namespace milgant {
namespace {

constexpr double kFortification = 1.2;
constexpr double kRiverDefence = 1.5;

// The defence factor helps side 0 in mode 3 and side 1 in mode 2.
double SupportFactor(const Game& g, int side) {
  if ((g.DefenceFactorMode == 3 && side == 0) || (g.DefenceFactorMode == 2 && side == 1)) return g.DefenceFactor;
  return 1.0;
}

int TerrainDefence(const Game& g, int x, int y) {
  const int t = g.H(x, y).Terrain;
  if (t < 0 || t >= kTerrainCodes) return 0;
  return g.TerrainTypes[static_cast<std::size_t>(t)].DefenceBonus;
}

void Append(UnitList& list, int slot) { list.Slots[static_cast<std::size_t>(list.Count++)] = slot; }

// The direction from (ux, uy) to the battle hex, 0 when the unit is not next to it.
int DirectionTo(int ux, int uy, int x, int y) {
  for (int d = 1; d <= 6; ++d) {
    if (Neighbour(ux, uy, d) == HexPos{x, y}) return d;
  }
  return 0;
}

std::string Names(const Unit& u) {
  return Cp932ToUtf8Lossy(u.ArmyName.View()) + " " + Cp932ToUtf8Lossy(u.GeneralName.View());
}

}  // namespace

BattleState GatherSides(const Game& g, int x, int y) {
  BattleState s;
  s.X = x;
  s.Y = y;
  s.AttackerUnits.Slots.fill(-1);
  s.AttackerLeaders.Slots.fill(-1);
  if (!OnMapHex(x, y)) return s;

  // The attackers: every unit marked at the hex; a confused one fights at half strength.
  int sum = 0;
  bool fortified = false;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.TargetX != x || u.TargetY != y) continue;
    if (s.AttackerUnits.Count == 0) s.AttackerSide = u.Side;
    Append(s.AttackerUnits, slot);
    if (u.CommanderIndex == -1) {
      Append(s.AttackerLeaders, slot);
      s.AttackerModifier = std::max(s.AttackerModifier, u.CombatModifier);
    }
    sum += RoundHalfEven(u.CombatPower / (u.Normal == 1 ? 1.0 : 2.0));
    s.AttackerSteps += u.Steps;
    fortified = fortified || u.Fortified != 0;
    const int d = DirectionTo(u.HexX, u.HexY, x, y);
    if (d != 0 && g.H(u.HexX, u.HexY).RiverSides[static_cast<std::size_t>(d - 1)] != 1) s.AcrossRiver = false;
  }
  s.AttackerSupport = SupportFactor(g, s.AttackerSide);
  s.AttackerStrength = RoundHalfEven(RoundHalfEven(sum * s.AttackerSupport) * (fortified ? kFortification : 1.0));

  // The defenders: everyone on the hex at full strength, and the castle's garrison.
  s.DefenderUnits = UnitsAt(g, x, y);
  s.BattleCastle = CastleAt(g, x, y);
  sum = 0;
  fortified = false;
  for (int i = 0; i < s.DefenderUnits.Count; ++i) {
    const Unit& u = g.U(s.DefenderUnits.Slots[static_cast<std::size_t>(i)]);
    if (u.CommanderIndex == -1) s.DefenderModifier = std::max(s.DefenderModifier, u.CombatModifier);
    sum += u.CombatPower;
    s.DefenderSteps += u.Steps;
    fortified = fortified || u.Fortified != 0;
  }
  const Castle* castle = s.BattleCastle != -1 ? &g.Castles[static_cast<std::size_t>(s.BattleCastle)] : nullptr;
  // A castle held by its garrison alone fights under its holder's colours.
  s.DefenderSide = s.DefenderUnits.Count > 0 ? g.U(s.DefenderUnits.First()).Side : castle != nullptr ? castle->Owner : 0;
  s.TerrainValue = TerrainDefence(g, x, y);
  const double terrain = castle != nullptr ? 1.0 : (100.0 + s.TerrainValue) / 100.0;
  const double river = s.AcrossRiver ? kRiverDefence : 1.0;
  s.DefenderSupport = SupportFactor(g, s.DefenderSide);
  // Terrain, support and river each add their excess over 1; they do not multiply.
  s.DefenderStrength = RoundHalfEven((terrain + s.DefenderSupport + river - 2.0) * sum);
  s.DefenderStrength = RoundHalfEven(s.DefenderStrength * (fortified ? kFortification : 1.0));
  if (castle != nullptr) {
    s.DefenderSteps += castle->Durability;
    s.DefenderStrength += castle->Strength;
  }
  return s;
}

BattleView ViewOf(const Game&, const BattleState& s) {
  BattleView v;
  v.BattleX = s.X;
  v.BattleY = s.Y;
  v.AttackerSide = s.AttackerSide;
  v.AttackerStrength = s.AttackerStrength;
  v.AttackerSteps = s.AttackerSteps;
  v.AttackerSupport = s.AttackerSupport;
  v.AttackerUnits = s.AttackerUnits;
  v.DefenderSide = s.DefenderSide;
  v.DefenderStrength = s.DefenderStrength;
  v.DefenderSteps = s.DefenderSteps;
  v.DefenderSupport = s.DefenderSupport;
  v.TerrainValue = s.TerrainValue;
  v.RiverFactor = s.AcrossRiver ? kRiverDefence : 1.0;
  v.DefenderUnits = s.DefenderUnits;
  return v;
}

void ShowSides(const Game& g, Ui& ui, const BattleState& s, bool arrows) {
  ui.BattleSides(ViewOf(g, s));
  if (!arrows) return;
  for (int i = 0; i < s.AttackerUnits.Count; ++i) {
    const Unit& u = g.U(s.AttackerUnits.Slots[static_cast<std::size_t>(i)]);
    const int d = DirectionTo(u.HexX, u.HexY, s.X, s.Y);
    if (d != 0) ui.BattleAttackArrow(d, u.HexX, u.HexY);
  }
}

void ApplyCommandFactor(BattleState& s) {
  const double f = (s.AttackerModifier - s.DefenderModifier + 10) / 10.0;
  s.AttackerStrength = RoundHalfEven(s.AttackerStrength * f);
  s.DefenderStrength = RoundHalfEven(s.DefenderStrength * f);
}

double OddsRatio(const BattleState& s) {
  if (s.DefenderStrength < s.AttackerStrength) {
    if (s.DefenderStrength == 0) return s.AttackerStrength;
    return s.AttackerStrength / s.DefenderStrength;  // whole odds
  }
  if (s.AttackerStrength == 0) return 0.0;
  return -(static_cast<double>(s.DefenderStrength) / s.AttackerStrength);
}

FireResult FireFor(const Game& g, const BattleState& s, int defenderDie, int attackerDie) {
  const int n = std::max(s.DefenderSteps, 1);
  FireResult r;
  r.HitsOnDefender = g.CrtTable[static_cast<std::size_t>(CrtColumn(s.AttackerStrength))][static_cast<std::size_t>(attackerDie)];
  // The defender fires back with what this round's hits have left of it.
  const int returnFire = RoundHalfEven(static_cast<double>(n - r.HitsOnDefender) / n * s.DefenderStrength);
  r.HitsOnAttacker = g.CrtTable[static_cast<std::size_t>(CrtColumn(returnFire))][static_cast<std::size_t>(defenderDie)];
  return r;
}

void ExchangeFire(Game& g, BattleState& s) {
  const int defenderDie = g.Rng.Die();
  const int attackerDie = g.Rng.Die();
  const FireResult r = FireFor(g, s, defenderDie, attackerDie);
  s.HitsOnDefender = r.HitsOnDefender;
  s.HitsOnAttacker = r.HitsOnAttacker;
}

ExpectedFire ExpectedHits(const Game& g, const BattleState& s) {
  // Every pair of dice is as likely as any other: the mean over the 36 of them.
  ExpectedFire e;
  for (int dd = 1; dd <= 6; ++dd) {
    for (int da = 1; da <= 6; ++da) {
      const FireResult r = FireFor(g, s, dd, da);
      e.OnDefender += std::abs(r.HitsOnDefender) / 36.0;
      e.OnAttacker += std::abs(r.HitsOnAttacker) / 36.0;
    }
  }
  return e;
}

int SpreadHits(const Game& g, const UnitList& units, int total, int hits, bool lastTakesRest, LossTable& loss) {
  int given = 0;
  for (int i = 0; i < units.Count; ++i) {
    const Unit& u = g.U(units.Slots[static_cast<std::size_t>(i)]);
    int share = 0;
    if (i + 1 == units.Count && lastTakesRest) {
      share = std::max(hits - given, 0);
    } else if (total != 0) {
      share = RoundHalfEven(static_cast<double>(u.Steps) / total * hits);
      if (share < 1) share = 0;
    }
    loss[static_cast<std::size_t>(i)] = share;
    given += share;
  }
  return given;
}

std::string LossMessage(const Game& g, int slot, int loss, LossText text) {
  const std::string n = std::to_string(loss);
  const std::string who = Names(g.U(slot));
  switch (text) {
    case LossText::Attacker: return who + "に" + n + "のダメージ";
    case LossText::AttackerRetreating: return who + "が後退し" + n + "のダメージ";
    case LossText::Defender: break;
  }
  return who + "が" + n + "ポイントのダメージを受けました";
}

void Annihilate(Game& g, Ui& ui, int slot) {
  Unit& u = g.U(slot);
  u.OnMap = 0;
  ui.BattleMessage(Names(u) + "が全滅しました");
  RemoveUnit(g, ui, slot);
}

void ApplyLoss(Game& g, Ui& ui, int slot, int loss, LossText text, bool confusionTest, ConfusionText confusion) {
  Unit& u = g.U(slot);
  u.Steps -= loss;
  ui.BattleMessage(LossMessage(g, slot, loss, text));
  if (confusionTest && loss >= 1) {
    const int c = u.CommanderIndex;
    const int morale = c >= 1 && c < kUnitSlots ? g.U(c).Morale : u.Morale;
    if (g.Rng.Die() >= morale) {
      u.Normal = 0;
      ui.BattleMessage(Names(u) + (confusion == ConfusionText::Unit ? "が混乱しました。" : "指揮下の軍勢が混乱しました"));
    }
  }
  if (u.Steps >= 1) {
    u.CombatPower = ScaledCombatPower(u);
  } else {
    Annihilate(g, ui, slot);
  }
}

}  // namespace milgant
