// The constant rule tables (terrain, movement costs, replenishment income) and the combat
// results table read from "CRT.txt".
#pragma once

#include <string>

namespace milgant {

struct Game;

void BuildRuleTables(Game& g);

struct CrtLoadResult {
  bool Ok = false;
  std::string Reason;  // one line, naming the file and line, when not Ok
};

// The largest number of hits an entry of the combat results table may give (or, negative, take).
constexpr int kCrtEntryLimit = 999;

// Reads the combat results table. A file that cannot be read or holds a malformed line is
// refused as a whole and the table keeps what it held; nothing is written to the screen.
CrtLoadResult LoadCrt(Game& g, const std::string& path);
// The same rule over text already in memory (the file name only labels the reason).
CrtLoadResult ParseCrt(Game& g, const std::string& text, const std::string& name);

// The table column for a combat strength.
int CrtColumn(int strength);

}  // namespace milgant
