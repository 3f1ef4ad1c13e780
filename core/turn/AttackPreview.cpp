#include "core/turn/AttackPreview.h"

#include <cstdlib>
#include <memory>

#include "core/combat/Battle.h"
#include "core/combat/BattleRound.h"
#include "core/combat/ForceRatio.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Ui.h"
#include "core/rules/PositionValue.h"
#include "core/turn/CommandTexts.h"

namespace milgant {
namespace {

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

// A screen for battles nobody watches: the player holds on in every question, keeps up a siege
// and refuses every reinforcement; the battle's record is kept.
class HoldingUi : public Ui {
 public:
  FightRecord Record{};

  void Note(std::string_view, std::string_view) override {}
  bool Ask(std::string_view, std::string_view) override { return false; }
  bool AskChoice(std::string_view, std::string_view, std::string_view, std::string_view) override { return true; }
  int ChooseSide(std::string_view, std::string_view, std::string_view, std::string_view) override { return -1; }
  void MessageBox(std::string_view) override {}
  void RunUnitWindow(UnitWindow&) override {}
  int AllocateReplenishment(std::string_view, std::string_view, bool, int) override { return -1; }
  int AllocateStandby(std::string_view, std::string_view, int) override { return -1; }
  void BattleShow(int, int) override {}
  void BattleSides(const BattleView&) override {}
  void BattleAttackArrow(int, int, int) override {}
  void BattleRetreatArrow(int, int, int) override {}
  void BattleRefresh() override {}
  void BattleMessage(std::string_view) override {}
  int BattleChooseReinforcement(int, const UnitList&) override { return -1; }
  void BattleClose() override {}
  void RedrawMap() override {}
  void RedrawAround(int, int) override {}
  void MoveStep(int, int, int) override {}
  void RefreshStatusLine() override {}
  void RefreshSidePanel() override {}
  void PhaseButtonsChanged() override {}
  void MusicStart() override {}
  void MusicStop() override {}
  void EndingStory(int) override {}
  bool IsClosing() override { return false; }
  void Happened(const Event& e) override {
    if (e.Kind == EventKind::Battle) Record = e.Fight;
  }
};

// The game as it would stand when the battle starts: the corps marked, its points paid.
std::unique_ptr<Game> Committed(const Game& g, int attacker, int x, int y, double* odds) {
  auto c = std::make_unique<Game>(g);
  MarkCorps(*c, attacker, x, y);
  const int enemy = 1 - g.U(attacker).Side;
  *odds = AttackOdds(*c, x, y, enemy);
  c->FullAttack = AttackCost(*odds) == 1 ? 0 : 1;
  c->U(attacker).ActionPoints -= AttackCost(*odds);
  return c;
}

// Each simulated battle gets a generator of its own, spread far from its neighbours'.
std::uint32_t BattleSeed(std::uint32_t seed, int n) {
  std::uint32_t h = seed * 2654435761u + static_cast<std::uint32_t>(n) * 40503u + 0x9e3779b9u;
  h ^= h >> 16;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  return h;
}

}  // namespace

void MarkCorps(Game& g, int slot, int x, int y) {
  Unit& u = g.U(slot);
  u.TargetX = x;
  u.TargetY = y;
  for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
    const int s = u.Subordinates[static_cast<std::size_t>(i)];
    if (ValidSlot(s)) {
      g.U(s).TargetX = x;
      g.U(s).TargetY = y;
    }
  }
}

namespace {

// The checks that need no odds: who attacks, and where.
AttackRefusal PlaceRefusal(const Game& g, int attacker, int x, int y) {
  if (!ValidSlot(attacker) || g.U(attacker).OnMap != 1 || !OnMapHex(x, y)) return AttackRefusal::NoAttacker;
  const Unit& a = g.U(attacker);
  if (HexDistance(a.HexX, a.HexY, x, y) != 1) return AttackRefusal::NotAdjacent;
  const int first = TopUnitsAtHex(g, x, y).First();
  if (first != -1 && g.U(first).Side == a.Side) return AttackRefusal::OwnUnits;
  const int castle = CastleAt(g, x, y);
  if (UnitsAt(g, x, y).Count == 0 && castle != -1 && g.Castles[static_cast<std::size_t>(castle)].Owner == a.Side) {
    return AttackRefusal::OwnCastle;
  }
  return AttackRefusal::None;
}

// The game as the battle would start, or null with the reason when the attack is refused.
std::unique_ptr<Game> Attempt(const Game& g, int attacker, int x, int y, double* odds, AttackRefusal* why) {
  *why = PlaceRefusal(g, attacker, x, y);
  if (*why != AttackRefusal::None) return nullptr;
  auto c = Committed(g, attacker, x, y, odds);
  if (c->U(attacker).ActionPoints < 0) {
    *why = AttackRefusal::NoPoints;
    return nullptr;
  }
  return c;
}

}  // namespace

AttackRefusal CheckAttack(const Game& g, int attacker, int x, int y) {
  double odds = 0;
  AttackRefusal why = AttackRefusal::None;
  Attempt(g, attacker, x, y, &odds, &why);
  return why;
}

std::string_view RefusalText(AttackRefusal r) {
  switch (r) {
    case AttackRefusal::None: return "";
    case AttackRefusal::NoAttacker: return "攻撃する部隊がいません";
    case AttackRefusal::NotAdjacent: return texts::kAttackAdjacentText;
    case AttackRefusal::OwnUnits: return texts::kAttackEnemyText;
    case AttackRefusal::OwnCastle: return texts::kAttackCastleText;
    case AttackRefusal::NoPoints: return "行動ポイントが足りません";
  }
  return "";
}

AttackPreview PreviewAttack(const Game& g, int attacker, int x, int y) {
  AttackPreview p;
  const auto c = Attempt(g, attacker, x, y, &p.Odds, &p.Refusal);
  if (!c) return p;
  p.SingleRound = c->FullAttack == 0;
  p.Cost = AttackCost(p.Odds);

  // The first round's sides exactly as the battle gathers them.
  BattleState s = GatherSides(*c, x, y);
  ApplyCommandFactor(s);
  p.AttackerStrength = s.AttackerStrength;
  p.DefenderStrength = s.DefenderStrength;
  p.AttackerSteps = s.AttackerSteps;
  p.DefenderSteps = s.DefenderSteps;
  p.TerrainValue = s.TerrainValue;
  p.AcrossRiver = s.AcrossRiver;
  p.Castle = s.BattleCastle;
  p.CommandFactor = (s.AttackerModifier - s.DefenderModifier + 10) / 10.0;
  for (int i = 0; i < s.AttackerUnits.Count; ++i) {
    p.AttackerFortified = p.AttackerFortified || c->U(s.AttackerUnits.Slots[static_cast<std::size_t>(i)]).Fortified != 0;
  }
  for (int i = 0; i < s.DefenderUnits.Count; ++i) {
    p.DefenderFortified = p.DefenderFortified || c->U(s.DefenderUnits.Slots[static_cast<std::size_t>(i)]).Fortified != 0;
  }

  // Every pair of dice is equally likely; a negative entry hurts as much as its value.
  std::vector<int> onDefender;
  std::vector<int> onAttacker;
  auto count = [](std::vector<int>& counts, int hits) {
    const auto n = static_cast<std::size_t>(std::abs(hits));
    if (counts.size() <= n) counts.resize(n + 1, 0);
    ++counts[n];
  };
  for (int dd = 1; dd <= 6; ++dd) {
    for (int da = 1; da <= 6; ++da) {
      const FireResult r = FireFor(*c, s, dd, da);
      count(onDefender, r.HitsOnDefender);
      count(onAttacker, r.HitsOnAttacker);
    }
  }
  for (const int n : onDefender) p.HitsOnDefender.push_back(n / 36.0);
  for (const int n : onAttacker) p.HitsOnAttacker.push_back(n / 36.0);
  return p;
}

AttackEstimate SimulateAttack(const Game& g, int attacker, int x, int y, int battles, std::uint32_t seed) {
  AttackEstimate e;
  double odds = 0;
  AttackRefusal why = AttackRefusal::None;
  const auto start = battles > 0 ? Attempt(g, attacker, x, y, &odds, &why) : nullptr;
  if (!start) return e;
  const BattleState sides = GatherSides(*start, x, y);
  auto c = std::make_unique<Game>();
  int defenderOut = 0;
  int attackerOut = 0;
  long long attackerLoss = 0;
  long long defenderLoss = 0;
  for (int n = 0; n < battles; ++n) {
    *c = *start;
    c->Rng.SetSeed(BattleSeed(seed, n));
    HoldingUi ui;
    const BattleResult r = FightBattle(*c, ui, x, y);
    attackerLoss += ui.Record.StepsLost[0];
    defenderLoss += ui.Record.StepsLost[1];
    bool defendersHere = false;
    for (int i = 0; i < sides.DefenderUnits.Count; ++i) {
      const Unit& u = c->U(sides.DefenderUnits.Slots[static_cast<std::size_t>(i)]);
      defendersHere = defendersHere || (u.OnMap == 1 && u.HexX == x && u.HexY == y);
    }
    bool attackersLeft = false;
    for (int i = 0; i < sides.AttackerUnits.Count; ++i) {
      attackersLeft = attackersLeft || c->U(sides.AttackerUnits.Slots[static_cast<std::size_t>(i)]).OnMap == 1;
    }
    if (r.CastleFallen || r.AdvancedUnit != -1 || (sides.BattleCastle == -1 && !defendersHere)) {
      ++defenderOut;
    } else if (r.AttackerRetreated || !attackersLeft) {
      ++attackerOut;
    }
  }
  e.Battles = battles;
  e.DefenderOut = static_cast<double>(defenderOut) / battles;
  e.AttackerOut = static_cast<double>(attackerOut) / battles;
  e.Undecided = static_cast<double>(battles - defenderOut - attackerOut) / battles;
  e.AttackerLoss = static_cast<double>(attackerLoss) / battles;
  e.DefenderLoss = static_cast<double>(defenderLoss) / battles;
  return e;
}

}  // namespace milgant
