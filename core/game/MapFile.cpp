#include "core/game/MapFile.h"

#include <cstring>
#include <fstream>
#include <memory>


namespace milgant {

bool ValidMapTable(const MapTable& map, std::string* reason) {
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const Hex& h = map[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
      if (h.Terrain < 0 || h.Terrain >= kTerrainCodes) {
        if (reason) {
          *reason = "hex (" + std::to_string(x) + ", " + std::to_string(y) + ") has terrain code " +
                    std::to_string(h.Terrain) + ", outside 0..13";
        }
        return false;
      }
    }
  }
  return true;
}

MapLoadResult LoadMap(MapTable& out, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, path + " を開けません。"};
  auto scratchTable = std::make_unique<MapTable>();
  MapTable& scratch = *scratchTable;
  in.read(reinterpret_cast<char*>(&scratch), static_cast<std::streamsize>(kMapFileSize));
  if (in.gcount() != static_cast<std::streamsize>(kMapFileSize)) {
    return {false, path + " が短すぎます（" + std::to_string(in.gcount()) + " バイト、20800 バイト必要）。"};
  }
  std::string why;
  if (!ValidMapTable(scratch, &why)) return {false, path + " が壊れています: " + why};
  out = scratch;
  return {true, {}};
}

}  // namespace milgant
