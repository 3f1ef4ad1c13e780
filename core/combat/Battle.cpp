#include "core/combat/Battle.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/combat/BattleRound.h"
#include "core/rules/CastleFall.h"
#include "core/combat/Reinforcement.h"
#include "core/combat/Retreat.h"
#include "core/game/Game.h"
#include "core/game/Rounding.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"
#include "core/rules/Victory.h"

namespace milgant {
namespace {

constexpr int kSiegeRounds = 4;        // a siege is given up after four rounds
constexpr int kEngagementLastRound = 2;
constexpr int kEscalatedLastRound = 5;
constexpr int kLastReinforcementRound = 4;
constexpr double kEscalationOdds = 3.0;
constexpr int kComputerRetreatTurn = 6;  // before it the computer's attackers never fall back

enum class Decision { None, Retreat, Hold };

struct Fight {
  Game& g;
  Ui& ui;
  int x;
  int y;
  BattleState s{};
  int round = 0;
  bool escalated = false;
  bool attackerRetreated = false;
  bool castleFallen = false;
  bool defenderRetreats = false;  // set too when the hex held no unit or the defenders are gone
  Decision decision = Decision::None;
  RetreatPath path{};
  int garrisonHits = 0;  // what a siege's spread leaves for the garrison
  FightRecord rec{};     // what the chronicle learns of this battle

  const Unit& U(const UnitList& list, int i) const { return g.U(list.Slots[static_cast<std::size_t>(i)]); }
  int Slot(const UnitList& list, int i) const { return list.Slots[static_cast<std::size_t>(i)]; }
  bool Siege() const { return s.BattleCastle != -1; }
  Castle& TheCastle() { return g.Castles[static_cast<std::size_t>(s.BattleCastle)]; }
  std::string CastleName() { return Cp932ToUtf8Lossy(TheCastle().Name.View()); }
  void Say(const std::string& text) { ui.BattleMessage(text); }
  // The last message of the battle; the window hears the outcome just before it.
  void SayLast(const BattleResult& r, const std::string& text) {
    ui.BattleOver({.Rounds = r.Rounds, .CastleFallen = r.CastleFallen, .AttackerRetreated = r.AttackerRetreated,
                   .DefenderRetreated = r.DefenderRetreated, .AdvancedUnit = r.AdvancedUnit});
    ui.BattleMessage(text);
  }
};

void ClearMarks(Game& g, int x, int y) {
  for (Unit& u : g.Units) {
    if (u.TargetX == x && u.TargetY == y) u.TargetX = u.TargetY = -1;
  }
}

// A loss as ApplyLoss takes it, counted for the chronicle: never more steps than the unit had.
void Lose(Fight& f, int slot, int loss, LossText text, bool confusionTest, ConfusionText confusion) {
  const Unit& u = f.g.U(slot);
  const int side = u.Side == f.s.AttackerSide ? 0 : 1;
  const int before = u.Steps;
  ApplyLoss(f.g, f.ui, slot, loss, text, confusionTest, confusion);
  f.rec.StepsLost[static_cast<std::size_t>(side)] += std::clamp(loss, 0, std::max(before, 0));
  if (u.OnMap != 1) ++f.rec.Annihilated[static_cast<std::size_t>(side)];
}

std::string DamageQuestion(int hits) { return std::to_string(hits) + "ステップの損害" + " " + "後退しますか？"; }

// Every attacker takes its whole loss, with the confusion test.
void AttackersTakeFullLosses(Fight& f, const LossTable& loss, ConfusionText confusion) {
  for (int i = 0; i < f.s.AttackerUnits.Count; ++i) {
    Lose(f, f.Slot(f.s.AttackerUnits, i), loss[static_cast<std::size_t>(i)], LossText::Attacker, true, confusion);
  }
}

void AttackerRetreatDecision(Fight& f, const LossTable& loss, bool computer) {
  Game& g = f.g;
  if (f.escalated) {
    AttackersTakeFullLosses(f, loss, ConfusionText::Corps);
    return;
  }
  bool retreat = true;
  if (!computer) {
    const bool asked = f.ui.Ask("攻撃側後退判定", DamageQuestion(f.s.HitsOnAttacker));
    retreat = asked || SideBroken(g, f.s.AttackerUnits);
  }
  if (!retreat) {
    AttackersTakeFullLosses(f, loss, ConfusionText::Corps);
    return;
  }
  for (int i = 0; i < f.s.AttackerUnits.Count; ++i) {
    const int slot = f.Slot(f.s.AttackerUnits, i);
    const Unit& u = g.U(slot);
    const int full = loss[static_cast<std::size_t>(i)];
    const RetreatPath p = FindRetreat(g, f.ui, u.HexX, u.HexY, u.Side);
    if (!p.Found) {
      Lose(f, slot, full, LossText::Attacker, true, ConfusionText::Corps);
      continue;
    }
    // The computer moves its corps by their commanders; the rest follow below.
    if (!computer || u.CommanderIndex == -1) PlaceOnHex(g, slot, p.Final.X, p.Final.Y);
    f.attackerRetreated = true;
    Lose(f, slot, full / 2, computer ? LossText::AttackerRetreating : LossText::Attacker, false, ConfusionText::Corps);
  }
  for (int i = 0; i < f.s.AttackerUnits.Count; ++i) {
    Unit& u = g.U(f.Slot(f.s.AttackerUnits, i));
    if (u.OnMap != 1 || u.CommanderIndex < 1 || u.CommanderIndex >= kUnitSlots) continue;
    u.HexX = g.U(u.CommanderIndex).HexX;
    u.HexY = g.U(u.CommanderIndex).HexY;
  }
}

void AttackerLosses(Fight& f) {
  Game& g = f.g;
  LossTable loss{};
  SpreadHits(g, f.s.AttackerUnits, f.s.AttackerSteps, f.s.HitsOnAttacker, true, loss);
  const bool computer = f.s.AttackerSide == g.ComputerSide;
  if (!computer) {
    for (int i = 0; i < f.s.AttackerUnits.Count; ++i) {
      f.Say(LossMessage(g, f.Slot(f.s.AttackerUnits, i), loss[static_cast<std::size_t>(i)], LossText::Attacker));
    }
    AttackerRetreatDecision(f, loss, false);
    return;
  }
  // Heavy losses or a broken side make the computer fall back, but never in the opening turns:
  // the turn limit holds for both.
  const bool heavy = f.s.HitsOnAttacker >= f.s.AttackerSteps / 2;
  if (g.Turn >= kComputerRetreatTurn && (heavy || SideBroken(g, f.s.AttackerUnits))) {
    AttackerRetreatDecision(f, loss, true);
    return;
  }
  AttackersTakeFullLosses(f, loss, ConfusionText::Unit);
}

void DefenderRetreatDecision(Fight& f) {
  Game& g = f.g;
  if (f.s.DefenderUnits.Count == 0) {
    f.defenderRetreats = true;  // a garrison alone has nowhere to go
    return;
  }
  // Once the battle has escalated nobody may leave: no way back is even looked for.
  if (!f.escalated) f.path = FindRetreat(g, f.ui, f.x, f.y, f.s.DefenderSide);
  bool retreat = false;
  if (f.path.Found) {
    if (f.s.DefenderSide == g.ComputerSide) {
      retreat = f.s.DefenderSteps < f.s.HitsOnDefender || TrialRetreatImproves(g, f.s.DefenderUnits, f.path.Final) ||
                SideBroken(g, f.s.DefenderUnits);
    } else {
      const bool asked = f.ui.Ask("後退判定", DamageQuestion(f.s.HitsOnDefender));
      retreat = asked || SideBroken(g, f.s.DefenderUnits);
    }
  }
  if (retreat) {
    f.decision = Decision::Retreat;
    f.defenderRetreats = true;
    f.s.HitsOnDefender = RoundHalfEven(f.s.HitsOnDefender / 2.0);
  } else {
    f.decision = Decision::Hold;
  }
}

void DefenderLosses(Fight& f) {
  Game& g = f.g;
  LossTable loss{};
  const int given = SpreadHits(g, f.s.DefenderUnits, f.s.DefenderSteps, f.s.HitsOnDefender, !f.Siege(), loss);
  f.garrisonHits = f.s.HitsOnDefender - given;
  const bool retreating = f.decision == Decision::Retreat;
  for (int i = 0; i < f.s.DefenderUnits.Count; ++i) {
    const int slot = f.Slot(f.s.DefenderUnits, i);
    if (retreating) PlaceOnHex(g, slot, f.path.Final.X, f.path.Final.Y);
    Lose(f, slot, loss[static_cast<std::size_t>(i)], LossText::Defender, !retreating, ConfusionText::Corps);
  }
}

void CastleFallsInBattle(Fight& f) {
  CastleFalls(f.g, f.ui, f.s.BattleCastle);
  f.castleFallen = true;
}

void Garrison(Fight& f) {
  if (!f.Siege()) return;
  if (f.defenderRetreats) {
    CastleFallsInBattle(f);
    return;
  }
  Castle& c = f.TheCastle();
  const int hits = f.garrisonHits > 0 ? f.garrisonHits : 0;
  f.rec.GarrisonLost += std::clamp(hits, 0, std::max(c.Durability, 0));
  c.Durability -= hits;
  f.Say(f.CastleName() + "が" + std::to_string(hits) + "ポイントのダメージを受けました");
  if (c.Durability >= 1) {
    if (c.MaxDurability > 0) c.Strength = RoundHalfEven(static_cast<double>(c.Durability) / c.MaxDurability * c.MaxStrength);
    return;
  }
  // The walls are breached: the castle changes hands whole and nobody inside gets out.
  c.Durability = c.MaxDurability;
  CastleFallsInBattle(f);
  for (int i = 0; i < f.s.DefenderUnits.Count; ++i) {
    const int slot = f.Slot(f.s.DefenderUnits, i);
    if (f.g.U(slot).OnMap != 1) continue;
    f.rec.StepsLost[1] += std::max(f.g.U(slot).Steps, 0);
    ++f.rec.Annihilated[1];
    Annihilate(f.g, f.ui, slot);
  }
}

bool DefenderGone(const Fight& f) {
  bool anyLeft = false;
  for (int i = 0; i < f.s.DefenderUnits.Count; ++i) anyLeft = anyLeft || f.U(f.s.DefenderUnits, i).OnMap == 1;
  if (f.Siege()) return f.s.DefenderUnits.Count == 0 && !anyLeft;
  return !anyLeft;
}

// The sides as they stand after a round, shown without arrows.
BattleState Refresh(Fight& f) {
  BattleState now = GatherSides(f.g, f.x, f.y);
  ShowSides(f.g, f.ui, now, false);
  f.ui.BattleRefresh();
  return now;
}

// One attacking leader follows into the ground won; his corps comes with him.
int Advance(Fight& f, bool gone, BattleResult& result) {
  Game& g = f.g;
  HexPos to{f.x, f.y};
  if (f.decision == Decision::Retreat) to = f.path.First;
  if (f.castleFallen && (f.s.DefenderUnits.Count == 0 || gone)) to = {f.x, f.y};
  // Only leaders still standing can be drawn (one wiped out in this round's fire stays home).
  UnitList alive;
  for (int i = 0; i < f.s.AttackerLeaders.Count; ++i) {
    const int slot = f.Slot(f.s.AttackerLeaders, i);
    if (g.U(slot).OnMap == 1) alive.Slots[static_cast<std::size_t>(alive.Count++)] = slot;
  }
  int leader = -1;
  if (alive.Count > 0) {
    leader = alive.Slots[static_cast<std::size_t>(g.Rng.Next(alive.Count))];
    PlaceOnHex(g, leader, to.X, to.Y);
    GatherCorps(g, leader);
  }
  OccupyCastles(g, f.ui);
  Refresh(f);
  result.AdvancedUnit = leader;
  f.SayLast(result, "戦闘終了");
  return leader;
}

enum class RoundEnd { Continue, End };

RoundEnd EndOfRound(Fight& f, bool gone, BattleResult& result) {
  Game& g = f.g;
  if (!((!f.defenderRetreats && !f.castleFallen) || f.attackerRetreated)) {
    result.AdvancedUnit = Advance(f, gone, result);
    return RoundEnd::End;
  }
  if (!f.Siege() && f.round == 0 && g.FullAttack == 0) {
    f.SayLast(result, "戦闘終了");
    return RoundEnd::End;
  }
  const BattleState now = Refresh(f);
  if (f.attackerRetreated || gone || now.AttackerUnits.Count == 0) {
    f.SayLast(result, "戦闘終了");
    return RoundEnd::End;
  }
  if (f.round == kEngagementLastRound && g.FullAttack != 0 && !f.escalated) {
    f.SayLast(result, "合戦終了");
    return RoundEnd::End;
  }
  if (f.Siege()) {
    const int a = g.Rng.Next(7);
    const int b = g.Rng.Next(7);
    if (a == b) {
      f.SayLast(result, f.CastleName() + "攻防戦終了");
      return RoundEnd::End;
    }
  }
  if (f.round == kEscalatedLastRound) {
    f.SayLast(result, "合戦終了");
    return RoundEnd::End;
  }
  if (g.FullAttack != 0 && f.round <= kLastReinforcementRound) ReinforcementStep(g, f.ui, now);
  return RoundEnd::Continue;
}

// One round; End when the battle is over.
RoundEnd PlayRound(Fight& f, BattleResult& result) {
  Game& g = f.g;
  f.attackerRetreated = false;
  f.defenderRetreats = false;
  f.decision = Decision::None;
  f.path = RetreatPath{};
  f.garrisonHits = 0;
  f.s = GatherSides(g, f.x, f.y);
  ShowSides(g, f.ui, f.s, true);
  ApplyCommandFactor(f.s);

  if (f.Siege() && f.round >= kSiegeRounds) {
    f.SayLast(result, f.CastleName() + "攻防戦終了");
    return RoundEnd::End;
  }
  if (f.Siege() && f.round > 0 && f.s.AttackerSide == g.PlayerSide &&
      !f.ui.AskChoice("攻城戦続行", "攻城戦を続行しますか。", "続行", "中止")) {
    f.SayLast(result, f.CastleName() + "攻防戦終了");
    return RoundEnd::End;
  }
  result.Rounds = f.round + 1;
  f.Say(std::string(SideNames[f.s.AttackerSide == 1 ? 1 : 0]) + (f.Siege() ? "攻城戦第" : "野戦第") +
        std::to_string(f.round + 1) + "ラウンド");

  for (int i = 0; i < f.s.AttackerUnits.Count; ++i) f.rec.Attackers.Add(f.Slot(f.s.AttackerUnits, i));
  for (int i = 0; i < f.s.DefenderUnits.Count; ++i) f.rec.Defenders.Add(f.Slot(f.s.DefenderUnits, i));
  const ExpectedFire expected = ExpectedHits(g, f.s);
  f.rec.HitsExpected100[0] += RoundHalfEven(expected.OnDefender * 100);
  f.rec.HitsExpected100[1] += RoundHalfEven(expected.OnAttacker * 100);
  ExchangeFire(g, f.s);
  f.rec.HitsDealt[0] += std::abs(f.s.HitsOnDefender);
  f.rec.HitsDealt[1] += std::abs(f.s.HitsOnAttacker);
  if (!f.Siege() && g.FullAttack != 0 && f.s.HitsOnDefender == f.s.HitsOnAttacker && OddsRatio(f.s) <= kEscalationOdds) {
    f.Say("合戦がエスカレートしました。6ラウンドまで延長します。");
    f.Say("双方後退はできません");
    f.escalated = true;
  }
  // A negative entry of the table hurts as much as its positive value.
  if (f.s.HitsOnDefender < 0) f.s.HitsOnDefender = -f.s.HitsOnDefender;
  if (f.s.HitsOnAttacker < 0) f.s.HitsOnAttacker = -f.s.HitsOnAttacker;

  AttackerLosses(f);
  DefenderRetreatDecision(f);
  DefenderLosses(f);
  Garrison(f);
  const bool gone = DefenderGone(f);
  if (gone) f.defenderRetreats = true;
  result.CastleFallen = f.castleFallen;
  result.AttackerRetreated = f.attackerRetreated;
  result.DefenderRetreated = f.decision == Decision::Retreat;
  f.rec.AttackerRetreated = f.rec.AttackerRetreated || f.attackerRetreated;
  f.rec.DefenderRetreated = f.rec.DefenderRetreated || result.DefenderRetreated;
  return EndOfRound(f, gone, result);
}

void Report(Fight& f, const BattleResult& result, int attackerSide) {
  f.rec.Rounds = result.Rounds;
  f.rec.Escalated = f.escalated;
  f.rec.CastleFell = result.CastleFallen;
  f.rec.Advanced = result.AdvancedUnit;
  f.rec.Outcome = result.AdvancedUnit != -1 ? 1 : result.AttackerRetreated ? -1 : 0;
  Event e = MakeEvent(f.g, EventKind::Battle, attackerSide);
  e.X = f.x;
  e.Y = f.y;
  e.Other = f.rec.Castle;
  e.Fight = f.rec;
  f.ui.Happened(e);
}

}  // namespace

BattleResult FightBattle(Game& g, Ui& ui, int x, int y) {
  BattleResult result;
  if (!OnMapHex(x, y)) return result;
  Fight f{.g = g, .ui = ui, .x = x, .y = y};
  f.s = GatherSides(g, x, y);
  // Nobody marked at the hex: there is no battle to fight.
  if (f.s.AttackerUnits.Count == 0) return result;
  ui.BattleShow(x, y);
  ShowSides(g, ui, f.s, true);
  const int attackerSide = f.s.AttackerSide;
  f.rec.Castle = f.s.BattleCastle;
  for (f.round = 0;; ++f.round) {
    if (PlayRound(f, result) == RoundEnd::End) break;
  }
  ClearMarks(g, x, y);
  Report(f, result, attackerSide);
  return result;
}

}  // namespace milgant
