// The scenario: the 22 castles and both orders of battle, and the set-up of a new game from
// them (also run, without the side question, before a saved game is laid over it).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/game/Header.h"

namespace milgant {

struct Game;
class Ui;

// "総大将" -> 2, "大将" -> 1, anything else -> 0. The text is UTF-8.
std::int32_t RankFromName(std::string_view rankName);

void AddCastle(Game& g, int number, std::string_view name, int x, int y, int owner, int durability,
               int strength, int value, const std::array<std::int32_t, 5>& links);

// The numeric columns of one order-of-battle row, in table order.
struct UnitStats {
  int X, Y, EntryTurn, MovementType, ActionPoints, CombatPower, Steps, CorpsActionPoints, Morale,
      Command, CombatModifier, ScenarioCode, ScenarioFlag, ScenarioValueA, ScenarioByte,
      ScenarioValueB, ScenarioValueC;
};

// Names are UTF-8 and stored as CP932. An empty commander name means an independent general.
void AddUnit(Game& g, std::string_view armyName, std::string_view generalName, std::string_view rankName,
             std::string_view commanderName, int side, int serial, const UnitStats& stats);

// The invented general of an order-of-battle row ("A01".."A26", "B01".."B18"), UTF-8.
std::string_view GeneralNameOfRow(std::string_view row);

// Draws the computer's advance limit: 15 on a draw 0..100 above 79, else 11.
void DrawAdvanceLimit(Game& g);

// Reset, lay the given map, build the castles and both orders of battle. No draw, no screen.
void BuildScenario(Game& g, const MapTable& map);

// Draw the advance limit, build the scenario, and open play in state 3 with the map redrawn
// and the music on. Runs before a saved game is laid over the state.
void PrepareScenario(Game& g, Ui& ui, const MapTable& map);

// The set-up of "新規" up to its first turn: reads the map (a missing, short or corrupt map is
// reported and leaves the running game as it was), draws the advance limit, asks the side and
// builds the scenario. Returns false when no game was set up.
bool SetUpNewGame(Game& g, Ui& ui, const std::string& mapPath = "Map.dat");

}  // namespace milgant
