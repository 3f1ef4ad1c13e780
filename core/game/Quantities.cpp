#include "core/game/Quantities.h"

#include <array>
#include <cstddef>

#include "core/game/Game.h"

namespace milgant {
namespace {

// The order of battle's extremes: these numbers are set once by a new game and never changed by
// play, so no game can hold others (a test holds them against a new game of each side).
constexpr std::int32_t kMinMaxSteps = 8, kMaxMaxSteps = 20;
constexpr std::int32_t kMinMaxCombatPower = 4, kMaxMaxCombatPower = 13;
constexpr std::int32_t kMinMorale = 2, kMaxMorale = 5;
constexpr std::int32_t kMinCommand = 0, kMaxCommand = 8;
constexpr std::int32_t kMinCombatModifier = 2, kMaxCombatModifier = 5;
constexpr std::int32_t kMinCorpsPoints = 9, kMaxCorpsPoints = 12;
constexpr std::int32_t kMinCastleValue = 30, kMaxCastleValue = 80;
constexpr std::int32_t kMaxMaxDurability = 15, kMaxMaxStrength = 5;

// The last turn the income table has, and the furthest a fallen unit's return lies ahead of it
// (a die of up to 6 turns).
constexpr std::int32_t kMaxTurn = kIncomeTurns - 1;
constexpr std::int32_t kMaxEntryTurn = kMaxTurn + 6;

std::int32_t Flag(std::uint8_t b) { return b; }

constexpr UnitQuantity kUnitQuantities[] = {
    {"MaxSteps", "最大ステップ", [](const Unit& u) { return u.MaxSteps; }, kMinMaxSteps, kMaxMaxSteps, nullptr,
     "order of battle; never changes"},
    {"Steps", "ステップ", [](const Unit& u) { return u.Steps; }, 0, 0, [](const Unit& u) { return u.MaxSteps; },
     "losses take steps down to 0, replenishment fills them up to the maximum"},
    {"MaxCombatPower", "最大戦闘力", [](const Unit& u) { return u.MaxCombatPower; }, kMinMaxCombatPower,
     kMaxMaxCombatPower, nullptr, "order of battle; never changes"},
    {"CombatPower", "戦闘力", [](const Unit& u) { return u.CombatPower; }, 0, 0,
     [](const Unit& u) { return u.MaxCombatPower; }, "the maximum scaled by steps over maximum steps"},
    {"Morale", "士気", [](const Unit& u) { return u.Morale; }, kMinMorale, kMaxMorale, nullptr,
     "order of battle; never changes"},
    {"Command", "采配", [](const Unit& u) { return u.Command; }, kMinCommand, kMaxCommand, nullptr,
     "order of battle; never changes"},
    {"Rank", "階級", [](const Unit& u) { return u.Rank; }, 0, 2, nullptr, "武将, 大将, 総大将"},
    {"CombatModifier", "戦闘修正", [](const Unit& u) { return u.CombatModifier; }, kMinCombatModifier,
     kMaxCombatModifier, nullptr, "order of battle; never changes"},
    {"CorpsActionPoints", "軍団行動ポイント", [](const Unit& u) { return u.CorpsActionPoints; }, kMinCorpsPoints,
     kMaxCorpsPoints, nullptr, "order of battle; never changes"},
    // Every allotment of action points is drawn at or below a commander's corps points, and
    // every spending is checked against what is left.
    {"ActionPoints", "行動ポイント", [](const Unit& u) { return u.ActionPoints; }, 0, kMaxCorpsPoints, nullptr,
     "at most the largest corps points, never spent below 0"},
    {"MaxActionPoints", "最大行動ポイント", [](const Unit& u) { return u.MaxActionPoints; }, 0, kMaxCorpsPoints,
     nullptr, "order of battle, then the corps points of the turn's roll"},
    {"TurnActionPoints", "今ターンの行動ポイント", [](const Unit& u) { return u.TurnActionPoints; }, 0,
     kMaxCorpsPoints, nullptr, "the turn's roll, at most the corps points"},
    {"OwnActionPoints", "単独の行動ポイント", [](const Unit& u) { return u.OwnActionPoints; }, 0, kMaxCorpsPoints,
     nullptr, "the turn's roll, at most the unit's own corps points"},
    {"ArrivalActionPoints", "到着時の行動ポイント", [](const Unit& u) { return u.ArrivalActionPoints; }, 0,
     kMaxCorpsPoints, nullptr, "what is left of the action points at the battle's hex"},
    {"ReinforcementWait", "援軍待機", [](const Unit& u) { return u.ReinforcementWait; }, 0, kMaxCorpsPoints,
     nullptr, "points put into stand-by, never more than the action points of a turn"},
    {"MovementType", "移動タイプ", [](const Unit& u) { return u.MovementType; }, 0, 2, nullptr,
     "order of battle: 0 for ヴァルネ軍, 2 for ソルカ軍"},
    {"EntryTurn", "登場ターン", [](const Unit& u) { return u.EntryTurn; }, -1, kMaxEntryTurn, nullptr,
     "order of battle, or the turn a fallen unit returns: at most six turns after the last"},
    {"AiRole", "思考の役割", [](const Unit& u) { return u.AiRole; }, 0, 4, nullptr,
     "0 or 1 at set-up, 0 or 4 from the computer's posture"},
    {"OnMap", "配置", [](const Unit& u) { return Flag(u.OnMap); }, 0, 1, nullptr, "a flag"},
    {"Normal", "状態", [](const Unit& u) { return Flag(u.Normal); }, 0, 1, nullptr, "a flag"},
    {"Fortified", "野戦築城", [](const Unit& u) { return Flag(u.Fortified); }, 0, 1, nullptr, "a flag"},
    {"Supplied", "補給", [](const Unit& u) { return Flag(u.Supplied); }, 0, 1, nullptr, "a flag"},
    {"CanMove", "移動", [](const Unit& u) { return Flag(u.CanMove); }, 0, 1, nullptr, "a flag"},
    {"MayAttack", "攻撃", [](const Unit& u) { return Flag(u.MayAttack); }, 0, 1, nullptr, "a flag"},
    {"AiUnassigned", "思考の割り当て", [](const Unit& u) { return Flag(u.AiUnassigned); }, 0, 1, nullptr,
     "a flag"},
};

constexpr CastleQuantity kCastleQuantities[] = {
    {"MaxDurability", "最大耐久力", [](const Castle& c) { return c.MaxDurability; }, 1, kMaxMaxDurability, nullptr,
     "the castle table; never changes"},
    // A castle whose durability reaches 0 falls at once and is rebuilt to its maximum.
    {"Durability", "耐久力", [](const Castle& c) { return c.Durability; }, 1, 0,
     [](const Castle& c) { return c.MaxDurability; }, "damage below 1 makes the castle fall and be rebuilt"},
    {"MaxStrength", "最大強さ", [](const Castle& c) { return c.MaxStrength; }, 1, kMaxMaxStrength, nullptr,
     "the castle table; never changes"},
    {"Strength", "強さ", [](const Castle& c) { return c.Strength; }, 0, 0,
     [](const Castle& c) { return c.MaxStrength; }, "the maximum scaled by durability"},
    // A siege step adds at most 3, and a morale above the die's 6 always surrenders the castle,
    // which sets it back to 0; so a castle that stands holds at most 6.
    {"CastleMorale", "士気", [](const Castle& c) { return c.CastleMorale; }, 0, 6, nullptr,
     "a surrender happens whenever the die is below it"},
    {"CastleValue", "価値", [](const Castle& c) { return c.CastleValue; }, kMinCastleValue, kMaxCastleValue,
     nullptr, "the castle table; never changes"},
};

constexpr HeaderQuantity kHeaderQuantities[] = {
    {"Turn", "ターン", [](const Game& g) { return g.Turn; }, 0, kMaxTurn, "the income table has 30 turns"},
    // Each of the 22 castles moves the points by at most 2, one way when taken and back when
    // retaken.
    {"VictoryPoints", "勝利得点", [](const Game& g) { return g.VictoryPoints; }, -44, 44,
     "22 castles, each worth at most 2"},
    // Income is 10 a turn (20 once); a side never banks more than the income of all turns.
    {"ReplenishmentPoints[0]", "補充ポイント", [](const Game& g) { return g.ReplenishmentPoints[0]; }, 0, 10 * kIncomeTurns + 10,
     "the sum of every turn's income"},
    {"ReplenishmentPoints[1]", "補充ポイント", [](const Game& g) { return g.ReplenishmentPoints[1]; }, 0, 10 * kIncomeTurns + 10,
     "the sum of every turn's income"},
    {"ReplenishmentPoints[2]", "補充ポイント", [](const Game& g) { return g.ReplenishmentPoints[2]; }, 0, 0,
     "always 0"},
    {"DefenceFactorMode", "防御係数の対象", [](const Game& g) { return g.DefenceFactorMode; }, 0, 0, "always 0"},
};

std::string Range(std::int32_t lo, std::int32_t hi) { return std::to_string(lo) + ".." + std::to_string(hi); }
std::string RangeJ(std::int32_t lo, std::int32_t hi) { return std::to_string(lo) + "～" + std::to_string(hi); }

bool Fail(QuantityFault* fault, std::string japanese, std::string english) {
  if (fault) *fault = {std::move(japanese), std::move(english)};
  return false;
}

template <typename Row, typename Record>
bool CheckRow(const Row& row, const Record& r, const std::string& whoJ, const std::string& whoE,
              QuantityFault* fault) {
  const std::int32_t v = row.Value(r);
  const std::int32_t hi = row.HiIsMax ? row.HiIsMax(r) : row.Hi;
  if (v >= row.Lo && v <= hi) return true;
  return Fail(fault,
              whoJ + "の" + std::string(row.Label) + " " + std::to_string(v) + " が範囲外です（" + RangeJ(row.Lo, hi) + "）。",
              whoE + ": " + std::string(row.Field) + " " + std::to_string(v) + " is outside " + Range(row.Lo, hi));
}

std::string UnitJ(int slot) { return "ユニット " + std::to_string(slot) + " "; }
std::string UnitE(int slot) { return "unit " + std::to_string(slot); }

// The corps of a saved game hang together: a commander is nobody's subordinate, lists only
// other units of his side, each of which names him as its commander; and a subordinate's
// commander lists it exactly once.
bool CheckCorps(const Game& g, QuantityFault* fault) {
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.SubordinateCount < 0 || u.SubordinateCount > kMaxSubordinates) {
      return Fail(fault,
                  UnitJ(slot) + "の配下武将数 " + std::to_string(u.SubordinateCount) + " が範囲外です（0～21）。",
                  UnitE(slot) + ": SubordinateCount " + std::to_string(u.SubordinateCount) + " is outside 0..21");
    }
    if (u.SubordinateCount > 0 && u.CommanderIndex != -1) {
      return Fail(fault, UnitJ(slot) + "は配下武将を持ちながら、ほかの武将の配下です。",
                  UnitE(slot) + " leads a corps and is a subordinate of unit " + std::to_string(u.CommanderIndex));
    }
    for (int i = 0; i < u.SubordinateCount; ++i) {
      const int s = u.Subordinates[static_cast<std::size_t>(i)];
      if (s < 1 || s >= kUnitSlots || s == slot || g.U(s).Side != u.Side) {
        return Fail(fault, UnitJ(slot) + "の配下武将 " + std::to_string(s) + " は味方のほかのユニットではありません。",
                    UnitE(slot) + ": subordinate " + std::to_string(s) + " is no other unit of its side");
      }
      if (g.U(s).CommanderIndex != slot) {
        return Fail(fault,
                    UnitJ(slot) + "の配下武将 " + std::to_string(s) + " の軍団武将は " +
                        std::to_string(g.U(s).CommanderIndex) + " です。",
                    UnitE(slot) + " lists unit " + std::to_string(s) + ", whose commander is " +
                        std::to_string(g.U(s).CommanderIndex));
      }
    }
    const int c = u.CommanderIndex;
    if (c == -1) continue;
    int listed = 0;
    if (c >= 1 && c < kUnitSlots) {
      const Unit& cmd = g.U(c);
      for (int i = 0; i < cmd.SubordinateCount && i < kMaxSubordinates; ++i) {
        listed += cmd.Subordinates[static_cast<std::size_t>(i)] == slot ? 1 : 0;
      }
    }
    if (listed != 1) {
      return Fail(fault,
                  UnitJ(slot) + "は軍団武将 " + std::to_string(c) + " の配下武将に " + std::to_string(listed) +
                      " 回載っています（1 回のはずです）。",
                  UnitE(slot) + ": its commander " + std::to_string(c) + " lists it " + std::to_string(listed) +
                      " times, not once");
    }
  }
  return true;
}

}  // namespace

bool StillInPlay(const Game& g, const Unit& u) { return u.OnMap == 1 || u.EntryTurn > g.Turn; }

QuantityTables Quantities() {
  return {kUnitQuantities, static_cast<int>(std::size(kUnitQuantities)), kCastleQuantities,
          static_cast<int>(std::size(kCastleQuantities)), kHeaderQuantities,
          static_cast<int>(std::size(kHeaderQuantities))};
}

bool CheckQuantities(const Game& g, QuantityFault* fault) {
  // Saves are written only while the player may act; a game loaded in any other state would
  // wait for a phase end that never comes. 7 is the action phase with a corps chosen.
  const int s = g.GameState;
  if (s != 2 && s != 3 && s != 7 && s != 27) {
    return Fail(fault, "フェイズ " + std::to_string(s) + " はセーブできるフェイズではありません。",
                "GameState " + std::to_string(s) + " is no phase a game is saved in (2, 3, 7, 27)");
  }
  if (g.PlayerSide + g.ComputerSide != 1) {
    return Fail(fault, "プレイヤーとコンピュータが同じ軍です。",
                "PlayerSide " + std::to_string(g.PlayerSide) + " and ComputerSide " + std::to_string(g.ComputerSide) +
                    " are the same side");
  }
  // Strengths are multiplied by the support factor; the game always keeps it at 1.
  if (!(g.DefenceFactor == 1.0)) {
    return Fail(fault, "防御係数が 1 ではありません。", "DefenceFactor is not 1.0");
  }
  for (const HeaderQuantity& row : kHeaderQuantities) {
    const std::int32_t v = row.Value(g);
    if (v < row.Lo || v > row.Hi) {
      return Fail(fault,
                  std::string(row.Label) + " " + std::to_string(v) + " が範囲外です（" + RangeJ(row.Lo, row.Hi) + "）。",
                  std::string(row.Field) + " " + std::to_string(v) + " is outside " + Range(row.Lo, row.Hi));
    }
  }
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (!StillInPlay(g, u)) continue;
    if (u.Side != SideOfSlot(slot)) {
      return Fail(fault, UnitJ(slot) + "の軍 " + std::to_string(u.Side) + " がスロットと合いません。",
                  UnitE(slot) + ": Side " + std::to_string(u.Side) + " does not match its slot");
    }
    for (const UnitQuantity& row : kUnitQuantities) {
      if (!CheckRow(row, u, UnitJ(slot), UnitE(slot), fault)) return false;
    }
  }
  const int last = g.CastleCounter < kCastleSlots ? g.CastleCounter : kCastleSlots;
  for (int n = 1; n < last; ++n) {
    const Castle& c = g.Castles[static_cast<std::size_t>(n)];
    const std::string whoJ = "城 " + std::to_string(n) + " ";
    const std::string whoE = "castle " + std::to_string(n);
    for (const CastleQuantity& row : kCastleQuantities) {
      if (!CheckRow(row, c, whoJ, whoE, fault)) return false;
    }
  }
  return CheckCorps(g, fault);
}

}  // namespace milgant
