// The quantities a game can hold: every number of a unit, a castle and the header, with the range
// a new game and play can give it. A save whose numbers leave these ranges cannot come from play
// (only from a damaged, old or edited file) and is refused before the rules ever run on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace milgant {

struct Game;
struct Unit;
struct Castle;

// A number out of its range, or a corps that does not hang together: what, in Japanese for the
// window and in English for the command line.
struct QuantityFault {
  std::string Japanese;
  std::string English;
};

// A unit the rules will still read: on the map, or off it with its turn to enter still ahead.
// Arrivals come before the player's first phase of a turn, so an entry turn that is not ahead
// has passed; a general who fell keeps whatever his last loss left him and never comes back.
bool StillInPlay(const Game& g, const Unit& u);

// The first quantity out of range or corps tie that does not hold, or nothing.
bool CheckQuantities(const Game& g, QuantityFault* fault);

// The ranges, one row per field. A bound is either a number or, for a current value under its
// maximum, that maximum (`HiIsMax`); `From` says where the bound comes from.
struct UnitQuantity {
  std::string_view Field;   // the record's field
  std::string_view Label;   // its name in the game
  std::int32_t (*Value)(const Unit&);
  std::int32_t Lo;
  std::int32_t Hi;
  std::int32_t (*HiIsMax)(const Unit&);  // nullptr: Hi is the bound
  std::string_view From;
};
struct CastleQuantity {
  std::string_view Field;
  std::string_view Label;
  std::int32_t (*Value)(const Castle&);
  std::int32_t Lo;
  std::int32_t Hi;
  std::int32_t (*HiIsMax)(const Castle&);
  std::string_view From;
};
struct HeaderQuantity {
  std::string_view Field;
  std::string_view Label;
  std::int32_t (*Value)(const Game&);
  std::int32_t Lo;
  std::int32_t Hi;
  std::string_view From;
};

// The tables themselves, for the tests that hold them against a new game.
struct QuantityTables {
  const UnitQuantity* Units;
  int UnitCount;
  const CastleQuantity* Castles;
  int CastleCount;
  const HeaderQuantity* Header;
  int HeaderCount;
};
QuantityTables Quantities();

}  // namespace milgant
