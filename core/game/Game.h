// The whole state of one game: the unit, castle and hex tables, the scalars, the rule tables,
// the movement and supply scratch tables, the save image and the random generator. Rules take
// a Game by reference; there is no other mutable global, so two games can live side by side.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/game/Header.h"
#include "core/game/Random.h"

namespace milgant {

constexpr std::size_t kSaveImageSize = 93856;
constexpr std::size_t kRouteCapacity = 100;

// A route of direction digits held in the movement scratch table.
struct PathString {
  std::uint8_t Length = 0;
  std::array<char, kRouteCapacity> Digits{};

  std::string_view View() const { return {Digits.data(), Length}; }
  bool Empty() const { return Length == 0; }
  void Clear() { Length = 0; }
  void Assign(std::string_view s) {
    Length = static_cast<std::uint8_t>(s.size() < kRouteCapacity ? s.size() : kRouteCapacity);
    for (std::size_t i = 0; i < Length; ++i) Digits[i] = s[i];
  }
};

// The last move of the action phase, as the game stood before it, kept while 取り消し may still
// take it back: from the move's confirmation until any other input or random draw.
struct MoveUndo {
  bool Armed = false;
  std::uint32_t Seed = 0;  // the generator when the move was confirmed
  std::array<Unit, kUnitSlots> Units{};
  std::int32_t GameState = 0;
  std::int32_t SelectedUnit = 0;
  std::int32_t ActiveUnit = 0;
  std::int32_t SavedHexX = 0;
  std::int32_t SavedHexY = 0;
  std::int32_t ScrollX = 0;
  std::int32_t ScrollY = 0;
};

// Which computer opponent plays the computer's side: the standard one, or the stronger one the
// player may choose instead. A setting of the program, not of the game: a save does not keep it.
enum class Opponent : std::uint8_t { Standard, Strong };

struct Game {
  Game();

  // --- records -----------------------------------------------------------------------------
  std::array<Unit, kUnitSlots> Units{};
  std::array<Castle, kCastleSlots> Castles{};
  MapTable Map{};

  // --- scalars -----------------------------------------------------------------------------
  std::int32_t PlayerSide = 0;
  std::int32_t ComputerSide = 0;
  std::int32_t PhaseSide = 0;
  std::int32_t GameState = 0;
  std::int32_t Turn = 0;
  std::int32_t CastleCounter = 1;
  std::array<std::int32_t, 3> ReplenishmentPoints{};
  std::int32_t VictoryPoints = 0;
  double DefenceFactor = 1.0;
  std::int32_t DefenceFactorMode = 0;
  std::uint8_t FullAttack = 0;
  std::int32_t SelectedUnit = 0;
  std::int32_t ActiveUnit = 0;
  std::int32_t ScrollX = 0;
  std::int32_t ScrollY = 0;
  std::array<std::int32_t, 3> LegacyValues{};  // saved and restored, no effect on play

  // --- interaction and computer-opponent state (not saved) ---------------------------------
  // Kept by copies, loads (which start from the running game) and new games alike.
  Opponent ComputerOpponent = Opponent::Standard;
  std::int32_t AdvanceLimit = 11;
  std::int32_t DefaultGoalX = 2;
  std::int32_t DefaultGoalY = 5;
  bool Closing = false;
  std::int32_t ScrollRedraw = 0;
  std::int32_t RangeOverlay = 0;
  std::int32_t RangeShown = 0;
  std::int32_t SavedHexX = 0;
  std::int32_t SavedHexY = 0;
  std::int32_t ClickX = 0;
  std::int32_t ClickY = 0;
  // The game before the move being made, and whether 取り消し may restore it.
  MoveUndo Undo{};
  // Unit window command buttons, indexed by UnitButton.
  std::array<bool, kUnitButtonCount> UnitButtons{};

  // --- movement and supply scratch tables, [X][Y] ------------------------------------------
  std::array<std::array<std::int32_t, kMapSize>, kMapSize> MoveRemaining{};
  std::array<std::array<std::int32_t, kMapSize + 1>, kMapSize> MoveBlocked{};
  std::array<std::array<PathString, kMapSize + 1>, kMapSize> MovePath{};
  std::array<std::array<std::int32_t, kMapSize>, kMapSize> SupplyRemaining{};

  // --- rule tables, filled once ------------------------------------------------------------
  std::array<TerrainType, kTerrainCodes> TerrainTypes{};
  std::array<MovementType, kMovementTypes> MovementTypes{};
  std::array<std::array<std::int32_t, kIncomeTurns>, 2> ReplenishmentIncome{};
  std::array<std::array<std::int32_t, kCrtRows>, kCrtColumns> CrtTable{};  // [column][row]

  // The 60 x 60 hexagon mask, [column][row] of the box: 1 inside.
  std::array<std::array<std::uint8_t, 60>, 60> HexMask{};

  // The save image keeps its contents between commands (reserved bytes of a loaded file are
  // written back unchanged).
  std::array<std::uint8_t, kSaveImageSize> SaveImage{};

  Random Rng;

  // Run the battle's searches and whole-map counts (the reinforcements' reach, the computer
  // defender's position value) step by step as the rules state them, instead of their quick
  // forms that skip what cannot change the answer. The answers are the same; the tests fight
  // battles both ways and compare.
  bool FullSearches = false;

  // Convenience views.
  Unit& U(int slot) { return Units[static_cast<std::size_t>(slot)]; }
  const Unit& U(int slot) const { return Units[static_cast<std::size_t>(slot)]; }
  Hex& H(int x, int y) { return Map[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]; }
  const Hex& H(int x, int y) const { return Map[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]; }
  bool Button(UnitButton b) const { return UnitButtons[static_cast<std::size_t>(b)]; }
  void SetButton(UnitButton b, bool on) { UnitButtons[static_cast<std::size_t>(b)] = on; }
};

inline bool OnMapHex(int x, int y) { return x >= 0 && x < kMapSize && y >= 0 && y < kMapSize; }

// Start-up initialisation: empty slots, plain map, a reset for a new game, no game running.
void InitialiseGame(Game& g);
// Reset for a new game: empty every slot 1..140 so the orders of battle can be built again.
void ResetForNewGame(Game& g);
// The slot of the first unit (0..140) whose GeneralName equals the CP932 bytes, 0 when none.
int FindUnitByName(const Game& g, std::string_view cp932Name);

// The unit window's command buttons on entering phase 2, 27 or 3; other phases change nothing.
void SetUnitButtonsForPhase(Game& g, int phase);

// Display tables (UTF-8).
extern const std::array<std::string_view, 2> SideNames;
extern const std::array<std::string_view, 2> ArmyNames;
extern const std::array<std::string_view, 3> RankNames;
extern const std::array<std::string_view, 31> PhaseNames;

}  // namespace milgant
