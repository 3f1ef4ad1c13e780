// "Map.dat": the byte image of the 20 x 20 hex records, column by column.
#pragma once

#include <string>

#include "core/game/Header.h"

namespace milgant {

constexpr std::size_t kMapFileSize = 20800;

struct MapLoadResult {
  bool Ok = false;
  std::string Reason;  // UTF-8, for the message box
};

// Reads the map into `out`, which is written only when the whole file is good.
MapLoadResult LoadMap(MapTable& out, const std::string& path = "Map.dat");
// Checks the values the rules index with: every terrain code within 0..13.
bool ValidMapTable(const MapTable& map, std::string* reason);

}  // namespace milgant
