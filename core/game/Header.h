// The records of a game: units, castles and hexes, byte for byte as they stand in "Map.dat"
// and in the save files, plus the fixed sizes and the rule-table rows. Layout is checked at
// compile time; a record copied into a file and back must come out unchanged, pad bytes too.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace milgant {

static_assert(std::endian::native == std::endian::little,
              "records are stored as little-endian byte images");

constexpr int kMapSize = 20;          // 20 x 20 hexes
constexpr int kUnitSlots = 141;       // slots 0..140; slot 0 never holds a unit
// Side 0's units stand in slots 1..70, side 1's in 71..140.
constexpr int SideOfSlot(int slot) { return slot > 70 ? 1 : 0; }
constexpr int kCastleSlots = 51;      // records 0..50; castles are numbered from 1
constexpr int kMaxSubordinates = 21;
constexpr int kTerrainCodes = 14;
constexpr int kMovementTypes = 10;
constexpr int kIncomeTurns = 30;
constexpr int kCrtColumns = 14;
constexpr int kCrtRows = 41;          // index 0 stays 0, rows 1..40 from the file
constexpr int kNoLink = 999;          // empty entry of CastleLinks

// A length-prefixed CP932 string of fixed capacity: one length byte, then N bytes. The bytes
// after the length are whatever the file carried and are kept as they are.
template <std::size_t N>
struct ShortString {
  std::uint8_t Length;
  std::array<std::uint8_t, N> Bytes;

  static constexpr std::size_t Capacity = N;

  // The stored bytes, never more than the capacity even if the length byte claims so.
  std::string_view View() const {
    const std::size_t n = Length < N ? Length : N;
    return {reinterpret_cast<const char*>(Bytes.data()), n};
  }
  // Stores at most N bytes; the bytes after the new length are left untouched.
  void Assign(std::string_view bytes) {
    const std::size_t n = bytes.size() < N ? bytes.size() : N;
    for (std::size_t i = 0; i < n; ++i) Bytes[i] = static_cast<std::uint8_t>(bytes[i]);
    Length = static_cast<std::uint8_t>(n);
  }
  bool Equals(std::string_view bytes) const { return View() == bytes; }
};
static_assert(sizeof(ShortString<40>) == 41 && alignof(ShortString<40>) == 1);

// One general with his troops (472 bytes).
struct Unit {
  std::int32_t CombatModifier;
  std::uint8_t Fortified;
  std::uint8_t Pad1[3];
  std::int32_t ArrivalActionPoints;
  std::int32_t TurnActionPoints;
  std::int32_t OwnActionPoints;
  std::int32_t MoveScoreAtCommander;
  std::int32_t MoveScoreChosen;
  std::int32_t ReinforcementWait;
  std::uint8_t AiWorking;               // computer's working flag
  std::uint8_t Pad2[3];
  std::array<std::int32_t, 4> AiObjective;  // column, row, score, spare
  std::array<std::int32_t, 6> AiWorkValues;
  std::int32_t LastDirection;
  std::int32_t ScenarioCode;
  std::int32_t CommanderIndex;          // -1 = independent
  std::int32_t Reserved1;
  std::array<std::int32_t, kMaxSubordinates> Subordinates;
  std::int32_t SubordinateCount;
  std::int32_t CorpsActionPoints;
  std::int32_t Command;
  std::int32_t Morale;
  std::int32_t Rank;                    // 2 総大将, 1 大将, 0 others
  std::uint8_t MayAttack;
  std::uint8_t Side;
  std::uint8_t ComputerUnit;
  std::uint8_t Reserved2;
  ShortString<40> ArmyName;
  std::uint8_t ScenarioFlag;
  ShortString<40> GeneralName;
  std::uint8_t Pad3;
  std::uint8_t HexX;
  std::uint8_t HexY;
  std::uint8_t RouteDestX;
  std::uint8_t RouteDestY;
  std::int32_t MovementType;
  std::int32_t ScenarioValueA;
  std::uint8_t Normal;                  // 1 normal, 0 confused
  std::uint8_t Pad4[3];
  std::int32_t MaxSteps;
  std::int32_t Steps;
  std::int32_t MaxCombatPower;
  std::int32_t CombatPower;
  std::int32_t ActionPoints;
  std::int32_t MaxActionPoints;
  std::uint8_t OnMap;
  std::uint8_t ScenarioByte;
  std::uint8_t Supplied;
  std::uint8_t CanMove;
  std::uint8_t AiUnassigned;
  std::uint8_t Arrived;                 // set at creation, carried
  std::uint8_t Pad5[2];
  std::int32_t EntryTurn;               // -1 in an empty slot
  std::int32_t TargetX;
  std::int32_t TargetY;
  std::int32_t MoveGoalX;
  std::int32_t MoveGoalY;
  std::int32_t Reserved3;
  std::int32_t AiRole;
  std::int32_t ScenarioValueB;
  std::int32_t ScenarioValueC;
  ShortString<100> Route;
  std::uint8_t Pad6[3];
};

static_assert(sizeof(Unit) == 472);
static_assert(offsetof(Unit, Fortified) == 4);
static_assert(offsetof(Unit, ArrivalActionPoints) == 8);
static_assert(offsetof(Unit, ReinforcementWait) == 28);
static_assert(offsetof(Unit, AiWorking) == 32);
static_assert(offsetof(Unit, AiObjective) == 36);
static_assert(offsetof(Unit, AiWorkValues) == 52);
static_assert(offsetof(Unit, LastDirection) == 76);
static_assert(offsetof(Unit, ScenarioCode) == 80);
static_assert(offsetof(Unit, CommanderIndex) == 84);
static_assert(offsetof(Unit, Subordinates) == 92);
static_assert(offsetof(Unit, SubordinateCount) == 176);
static_assert(offsetof(Unit, CorpsActionPoints) == 180);
static_assert(offsetof(Unit, Rank) == 192);
static_assert(offsetof(Unit, MayAttack) == 196);
static_assert(offsetof(Unit, ArmyName) == 200);
static_assert(offsetof(Unit, ScenarioFlag) == 241);
static_assert(offsetof(Unit, GeneralName) == 242);
static_assert(offsetof(Unit, HexX) == 284);
static_assert(offsetof(Unit, RouteDestY) == 287);
static_assert(offsetof(Unit, MovementType) == 288);
static_assert(offsetof(Unit, Normal) == 296);
static_assert(offsetof(Unit, MaxSteps) == 300);
static_assert(offsetof(Unit, MaxActionPoints) == 320);
static_assert(offsetof(Unit, OnMap) == 324);
static_assert(offsetof(Unit, Arrived) == 329);
static_assert(offsetof(Unit, EntryTurn) == 332);
static_assert(offsetof(Unit, TargetX) == 336);
static_assert(offsetof(Unit, MoveGoalX) == 344);
static_assert(offsetof(Unit, AiRole) == 356);
static_assert(offsetof(Unit, ScenarioValueC) == 364);
static_assert(offsetof(Unit, Route) == 368);

// A castle or city that can be held and besieged (80 bytes).
struct Castle {
  ShortString<20> Name;
  std::uint8_t Pad[3];
  std::int32_t HexX;
  std::int32_t HexY;
  std::int32_t CastleValue;
  std::int32_t Owner;
  std::int32_t Durability;
  std::int32_t Strength;
  std::int32_t MaxDurability;
  std::int32_t MaxStrength;
  std::int32_t CastleMorale;
  std::array<std::int32_t, 5> CastleLinks;  // castle numbers, 999 = none
};
static_assert(sizeof(Castle) == 80);
static_assert(offsetof(Castle, HexX) == 24);
static_assert(offsetof(Castle, CastleMorale) == 56);
static_assert(offsetof(Castle, CastleLinks) == 60);

// One hex of the map (52 bytes): hexside flags for directions 1..6 at index d-1, and terrain.
struct Hex {
  std::array<std::int32_t, 6> RiverSides;
  std::array<std::int32_t, 6> RoadSides;
  std::int32_t Terrain;
};
static_assert(sizeof(Hex) == 52);
static_assert(offsetof(Hex, RoadSides) == 24 && offsetof(Hex, Terrain) == 48);

using MapTable = std::array<std::array<Hex, kMapSize>, kMapSize>;  // [X][Y], column by column
static_assert(sizeof(MapTable) == 20800);

struct TerrainType {
  ShortString<20> Name;
  std::uint8_t Pad[3];
  std::int32_t DefenceBonus;  // percent
};
static_assert(sizeof(TerrainType) == 28);

struct MovementType {
  ShortString<20> Name;
  std::uint8_t Pad[3];
  std::array<std::int32_t, 21> Cost;  // per terrain code 0..13, then a fifteenth value
};
static_assert(sizeof(MovementType) == 108);

// Terrain codes with a name in the game.
enum class TerrainCode : std::int32_t {
  Road = 0, Plain = 1, Rough = 2, Mountain = 3, Desert = 4, Shallows = 5, River = 6, Sea = 7,
  City = 8, LargeCity = 10, PortCity = 12,
};
constexpr bool IsCastleTerrain(std::int32_t t) { return t >= 8 && t <= 13; }

// Ranks as stored in Unit::Rank.
enum class RankCode : std::int32_t { General = 0, Taisho = 1, Commander = 2 };

// Buttons of the unit window, in the order of the phase table.
enum class UnitButton { Move, Battle, Detach, Organise, Recover, EndAction, Fortify, Standby, Replenish };
constexpr int kUnitButtonCount = 9;

}  // namespace milgant
