// Whole games without a player: one side only ends its phases while the computer plays the
// other, or the computer plays both sides (each side's phase with the roles swapped). The
// state is checked after every phase; a broken rule stops the game and says where.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/game/Game.h"
#include "core/turn/ScriptedUi.h"

namespace milgant {

struct Game;

struct SelfPlayOptions {
  int HumanSide = 0;      // the side that only ends its phases (unless Both)
  bool Both = false;      // the computer plays both sides
  // The opponent that plays each side the computer plays (side 0, side 1).
  std::array<Opponent, 2> Players{Opponent::Standard, Opponent::Standard};
  int Turns = 20;         // the game is given up after this many turns
  std::uint32_t Seed = 1;
  std::string MapPath = "Map.dat";
  bool KeepEvents = false;  // keep the chronicle of the game in the result
};

struct CastleTaken {
  int Turn = 0;
  int Castle = 0;
  int NewOwner = 0;
};

struct SelfPlayResult {
  bool Started = false;   // false when the map could not be read
  int Winner = -1;        // -1: no ending within the turns given
  int Turns = 0;
  int Battles = 0;        // battle windows opened on a new fight
  std::vector<CastleTaken> CastlesTaken;
  std::array<int, 2> UnitsLost{};
  int VictoryPoints = 0;
  std::string Broken;     // the first broken rule, with the phase it followed; empty when sound
  std::vector<Event> Events;  // with KeepEvents: everything that happened, in order
};

// A ScriptedUi that counts the battles: a battle window shown after a close, or on a new hex.
class CountingUi : public ScriptedUi {
 public:
  int Battles = 0;
  void BattleShow(int x, int y) override;
  void BattleClose() override;

 private:
  bool open_ = false;
  int x_ = -1;
  int y_ = -1;
};

// Plays a new game on `g` (rule tables already loaded) to its end or the turn limit.
SelfPlayResult PlaySelf(Game& g, const SelfPlayOptions& options);

// One phase of `side` played by the computer (g.ComputerOpponent), as the turn sequence runs the
// computer's phase: the roles are swapped for the phase when `side` is the human's.
void PlayComputerPhaseFor(Game& g, Ui& ui, int side);

}  // namespace milgant
