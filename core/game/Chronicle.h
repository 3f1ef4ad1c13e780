// The chronicle of a war: every event of the game in the order it happened, kept beside each
// save ("Save3.dat" has "Save3.chronicle") because the save image itself is fixed. A text file,
// one event a line, versioned; a damaged one is never trusted and never blocks a load.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/Events.h"

namespace milgant {

struct Game;

struct Chronicle {
  static constexpr int kVersion = 1;
  int StartTurn = 0;   // the turn it begins at: 0 for a whole game, later for one begun at a load
  std::vector<Event> Events;
};

// Adds what happened; a move taken back takes its move out again, as if it had never been made.
void Record(Chronicle& c, const Event& e);

// The file of the chronicle that goes with a save: its name with ".chronicle" in place of
// ".dat" (or added, for a name without it).
std::string ChronicleFileFor(const std::string& savePath);

std::string ChronicleText(const Chronicle& c);
// False with a one-line reason (English) when the text is not a chronicle this game wrote.
bool ParseChronicle(std::string_view text, Chronicle& out, std::string* reason);

// Written as saves are: to a temporary file, then renamed over the old one.
bool WriteChronicle(const Chronicle& c, const std::string& path);

enum class ChronicleRead { Read, Missing, Damaged };
// A missing or damaged chronicle gives an empty one starting at `turn`.
ChronicleRead ReadChronicle(const std::string& path, int turn, Chronicle& out, std::string* reason);

// One side's war in numbers.
struct WarSummary {
  int BattlesAttacked = 0;
  int BattlesDefended = 0;
  int BattlesWon = 0;       // attacks that won ground, defences the attacker fell back from
  int StepsLost = 0;        // in battle
  int StepsInflicted = 0;   // on the enemy's units and garrisons in battle
  int UnitsLost = 0;        // destroyed, in battle, out of supply or in a surrender
  int GeneralsKilled = 0;   // enemy generals who fell
  int CastlesTaken = 0;
  int CastlesLost = 0;
  int HitsDealt = 0;
  int HitsExpected100 = 0;  // what the table gave on average, in hundredths
};
std::array<WarSummary, 2> Summarise(const Chronicle& c);

// An event as one line of the war's log, in Japanese: names from the game (its units and
// castles), hexes as (X, Y). PhaseBegins gives the heading of the phase.
std::string EventLine(const Game& g, const Event& e);
// Which of the log's kinds an event is: 0 moves and corps, 1 battles, 2 castles and points,
// 3 losses and returns, 4 the phases and the end.
int EventGroup(const Event& e);

}  // namespace milgant
