// Movement: what a step costs, how far a corps can go (roads, rivers, mountains and the enemy's
// zones of control), and the move itself with its confirmation or take-back. The range search
// fills the shared MoveRemaining / MoveBlocked / MovePath tables of the game.
#pragma once

#include <array>
#include <string_view>

#include "core/game/Header.h"

namespace milgant {

struct Game;
class Ui;

// Cost rows of the movement table that the rules use.
constexpr int kUnitMoveRow = 0;      // every unit move
constexpr int kZoneRow = 8;          // zone-of-control test, short supply trace
constexpr int kRoadOnlyRow = 9;      // long supply trace: only road steps are affordable

// Cost of entering (x, y) by the last step of `path` (direction digits, "0" = no step). A road
// across that hexside costs 1 and sets `roadFlag`; leaving a mountain other than by road costs
// the row's mountain entry; otherwise the row's entry for the terrain entered, plus 1 across a
// river while `roadFlag` is 0. A hex off the map costs 100.
int StepCost(const Game& g, int x, int y, std::string_view path, int row, int& roadFlag);
// 1 when the last step of `path` crosses a river without a road (`roadFlag` 0), else 0.
int RiverExtra(const Game& g, int x, int y, std::string_view path, int roadFlag);
// The same two by the direction d (0..6) of the last step instead of a route.
int StepCostByDirection(const Game& g, int x, int y, int d, int row, int& roadFlag);
int RiverExtraByDirection(const Game& g, int x, int y, int d, int roadFlag);
// Zone of control of the side other than PhaseSide: true when (x, y) lies next to an enemy
// unit or enemy castle that can be stepped into, in which case the hex is recorded as a place
// where the move must stop (if it is affordable).
bool EnemyZoneStop(Game& g, int x, int y, std::string_view path, int row, int budget);

// Hexes next to an enemy unit or enemy castle that could be stepped into from there: the zone of
// control of the side that is not `own`. Fixed for one search, so it is worked out once.
struct Occupancy;
using ZoneTable = std::array<std::array<bool, kMapSize>, kMapSize>;
void BuildZones(const Game& g, const Occupancy& occ, int own, ZoneTable& zone);
// The same for one hex.
bool InEnemyZone(const Game& g, const Occupancy& occ, int own, int x, int y);

// Clears the tables: everything blocked, no routes, no points recorded.
void ClearMoveRange(Game& g);
// Clears the tables and fills them for a corps of PhaseSide standing on (x, y).
void ComputeMoveRange(Game& g, int x, int y, int row, int actionPoints);
// The same for a corps of the side that is not PhaseSide (own and enemy swapped).
void ComputeMoveRangeMirrored(Game& g, int x, int y, int row, int actionPoints);
// The PhaseSide search laid over the tables as they are, without clearing them first.
void ExtendMoveRange(Game& g, int x, int y, int row, int actionPoints);
// The common form: `side` is the moving side; `clearFirst` false keeps earlier results.
void ComputeMoveRangeFor(Game& g, int x, int y, int row, int actionPoints, int side, bool clearFirst);

// The range of a unit standing on the clicked hex, shown on the map; the phase becomes 4.
void ShowMoveRange(Game& g, Ui& ui, int slot);
// Walks the unit along its stored Route one hex at a time (each step shown), loses its field
// fortification, and in the human's phase brings its subordinates along.
void MoveAlongRoute(Game& g, Ui& ui, int slot);

// A click on (x, y) while a range is shown (phase 4): an unreachable hex gives the move up
// (phase 7); a reachable one moves the unit there tentatively (phase 24).
void ClickMoveDestination(Game& g, Ui& ui, int slot, int x, int y);
// A click while the tentative move is shown (phase 24): on the unit's new hex the move is
// confirmed and the unit keeps the points left there; anywhere else the corps goes back.
void ClickMoveConfirmation(Game& g, Ui& ui, int slot, int x, int y);
// The right button while the tentative move is shown: the corps goes back and may move again.
void TakeBackMove(Game& g, Ui& ui, int slot);
// The right button while a range is shown: the range is dropped without moving.
void CancelMoveRange(Game& g, Ui& ui);

}  // namespace milgant
