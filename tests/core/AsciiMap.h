// Small test maps drawn as text, and units placed on them by hand.
//
// One line per map row from row 0, one character per hex separated by spaces; odd rows may be
// indented by one space, as they are shifted on the map. Hexes the drawing leaves out are plain.
//   .  plain (1)     =  road terrain (0)   ,  rough (2)   ^  mountain (3)
//   d  desert (4)    ~  shallows (5)       w  river (6)   #  sea (7)
//   C  city (8)      L  large city (10)    P  port city (12)
// Roads and rivers run along hexsides and are laid with LayRoad / MarkRiver.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"

namespace milgant::test {

// A game as the program has it after start-up, on the heap (it is large).
std::unique_ptr<Game> FreshGame();

// Replaces the whole map by the drawing: terrain from the characters, no roads, no rivers.
void DrawMap(Game& g, std::string_view picture);
// A road along a route of direction digits from (x, y), usable both ways.
void LayRoad(Game& g, int x, int y, std::string_view route);
// A road flag on one hex only: leaving (x, y) in direction d is cheap, coming back is not.
void MarkRoadSide(Game& g, int x, int y, int d);
// A river along the hexside of (x, y) in direction d, marked on both hexes.
void MarkRiver(Game& g, int x, int y, int d);
// Roads across every hexside of the map.
void RoadsEverywhere(Game& g);

struct PieceStats {
  int Steps = 10;
  int CombatPower = 10;
  int CorpsActionPoints = 8;
  int ActionPoints = 8;
  int Rank = 0;
  int Morale = 3;
  int Command = 3;
  int MovementType = 0;
};
// Puts a unit into `slot` on the map at (x, y) for `side`, independent, with a name of its own.
int PlaceUnit(Game& g, int slot, int side, int x, int y, const PieceStats& stats = {});
// Makes `sub` a subordinate of `commander` and puts it on the commander's hex.
void Attach(Game& g, int commander, int sub);

// Every invariant that fails, joined for a test message.
std::string BrokenInvariants(const Game& g);

}  // namespace milgant::test
