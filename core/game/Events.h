// What happened in the war, as typed records: the rules report every deed of either side
// (moves, battles with their numbers, castles changing hands, losses, the phases) through
// Ui::Happened, and the chronicle, the windows and milgant-cli read these, never the texts of
// the messages. One flat record serves every kind; each kind says which fields it uses.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace milgant {

enum class EventKind : std::uint8_t {
  PhaseBegins,    // Side, Phase; Tally of both armies at the start of the phase
  Replenished,    // Unit; Value steps added, Value2 replenishment points spent
  Attached,       // Unit joins the corps of Other
  Detached,       // Unit leaves the corps of Other and stands on its own
  Moved,          // Unit (with its corps) from X, Y to ToX, ToY; Value action points paid
  Battle,         // X, Y; Side the attacker's; Fight the numbers
  OutOfSupply,    // Unit at X, Y destroyed for want of supply
  GeneralKilled,  // Unit's general fell: the unit never returns
  WillReturn,     // Unit destroyed, its troops back on turn Value
  Arrived,        // Unit came onto the map at X, Y
  CastleChanged,  // castle Other at X, Y now held by Side; Value the cause (CastleCause)
  VictoryPoints,  // ソルカ軍's points went from Value to Value2
  GameEnds,       // Side won
  MoveTakenBack,  // 取り消し: the move just reported never happened (Unit)
};
constexpr int kEventKinds = 14;

enum class CastleCause : std::int32_t { Occupied = 0, Stormed = 1, Surrendered = 2 };

// One army at a moment: what the history chart draws.
struct ArmyTally {
  std::int32_t Units = 0;        // on the map
  std::int32_t Steps = 0;
  std::int32_t CombatPower = 0;
  std::int32_t Castles = 0;      // held
};

// The slots of one side of a battle (at most the 70 units of a side).
struct SlotList {
  std::uint8_t Count = 0;
  std::array<std::uint8_t, 70> Slots{};
  bool Has(int slot) const {
    for (int i = 0; i < Count; ++i) {
      if (Slots[static_cast<std::size_t>(i)] == slot) return true;
    }
    return false;
  }
  void Add(int slot) {
    if (slot >= 1 && slot < 256 && Count < Slots.size() && !Has(slot)) Slots[Count++] = static_cast<std::uint8_t>(slot);
  }
};

// The numbers of one battle; index 0 is the attacker, 1 the defender.
struct FightRecord {
  std::int32_t Castle = -1;                 // castle on the hex, -1 in the field
  std::int32_t Rounds = 0;
  SlotList Attackers, Defenders;            // everyone who fought, reinforcements included
  std::array<std::int32_t, 2> StepsLost{};  // steps the units lost (never more than they had)
  std::int32_t GarrisonLost = 0;            // durability the castle's garrison lost
  std::array<std::int32_t, 2> HitsDealt{};  // table results fired, before a retreat halved them
  // What the table gives on average for the strengths of each round, in hundredths of a hit.
  std::array<std::int32_t, 2> HitsExpected100{};
  std::array<std::int32_t, 2> Annihilated{};
  bool Escalated = false;
  bool AttackerRetreated = false;
  bool DefenderRetreated = false;
  bool CastleFell = false;
  std::int32_t Advanced = -1;               // the attacking leader who moved in
  // 1 the attacker won ground, -1 the attacker fell back, 0 undecided.
  std::int32_t Outcome = 0;
};

struct Event {
  EventKind Kind = EventKind::PhaseBegins;
  std::int32_t Turn = 0;
  std::int32_t Side = -1;
  std::int32_t Phase = 0;     // the game state when it happened
  std::int32_t Unit = -1;
  std::int32_t Other = -1;
  std::int32_t X = -1, Y = -1, ToX = -1, ToY = -1;
  std::int32_t Value = 0, Value2 = 0;
  FightRecord Fight;                   // Battle
  std::array<ArmyTally, 2> Tally{};    // PhaseBegins
};

struct Game;

// An event of the game as it stands (turn, phase) by `side`.
Event MakeEvent(const Game& g, EventKind kind, int side);
// An event of a unit: its side, its slot and the hex it stands on; `other` a second unit or a
// castle as the kind says.
Event UnitEvent(const Game& g, EventKind kind, int slot, int other = -1);
// A unit that has walked from (fromX, fromY) to where it stands, paying `points`.
Event MoveEvent(const Game& g, int slot, int fromX, int fromY, int points);
// An army as it stands.
ArmyTally TallyArmy(const Game& g, int side);

// The kind's name in files and in milgant-cli's JSON ("Moved", "Battle", ...), and back.
std::string_view EventKindName(EventKind k);
bool EventKindFromName(std::string_view name, EventKind& out);

}  // namespace milgant
