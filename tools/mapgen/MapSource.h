// The readable map source (data/map/map.txt): the terrain drawn as rows of characters, rivers
// as chains of hexsides and roads as chains of hexes. Turned here into the hex table that
// "Map.dat" holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/game/Header.h"

namespace milgant::mapgen {

struct MapSourceResult {
  bool Ok = false;
  std::string Error;  // "line N: what is wrong", when not Ok
  MapTable Map{};
};

// Reads the source. Every hexside a river or road crosses is marked in both hexes that share
// it. Refuses a source with a misdrawn row, an unknown character, a river that jumps, a road
// step between hexes that do not touch, or a road over water.
MapSourceResult ParseMapSource(std::string_view text);

// The castles as the scenario places them.
struct CastleSpot {
  int X = 0;
  int Y = 0;
  int Owner = 0;
};
std::vector<CastleSpot> ScenarioCastles();

// Checks the map against the castles: every castle on a castle hex whose code shows its first
// holder, and no castle hex without a castle. Returns an empty string when they agree.
std::string CheckCastles(const MapTable& map, const std::vector<CastleSpot>& castles);

// The bytes of "Map.dat": the hex records column by column, 32-bit little-endian fields.
std::string MapFileBytes(const MapTable& map);

}  // namespace milgant::mapgen
