// "Map.dat": a file the reader takes must be exactly its first 20800 bytes, and a new game on
// that map must play a whole turn (both sides moved by the computer) with every rule holding.
// The byte after the map, which the reader ignores, picks the side the player takes.
#include <cstdio>
#include <cstring>
#include <memory>

#include "FuzzSupport.h"
#include "core/turn/SelfPlay.h"
#include "core/game/Game.h"
#include "core/game/MapFile.h"
#include "core/game/RuleTables.h"

namespace {
std::unique_ptr<milgant::Game> tables;  // rule tables and the shipped combat results
std::unique_ptr<milgant::Game> game;
std::unique_ptr<milgant::MapTable> map;
}  // namespace

using namespace milgant;
using namespace milgant::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tables = std::make_unique<Game>();
  Require(LoadCrt(*tables, DataFile("CRT.txt")).Ok, "CRT.txt of the game could not be read");
  game = std::make_unique<Game>();
  map = std::make_unique<MapTable>();
  ScratchDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteScratch("Map.dat", data, size);
  std::memset(static_cast<void*>(map.get()), 0x5A, sizeof(MapTable));
  const MapLoadResult r = LoadMap(*map, path);
  if (!r.Ok) {
    Require(!r.Reason.empty(), "a refused map gave no reason");
    return 0;
  }
  Require(size >= kMapFileSize, "a short map was accepted");
  Require(std::memcmp(map.get(), data, kMapFileSize) == 0, "the map read is not the file");

  *game = *tables;
  SelfPlayOptions o;
  const std::uint8_t pick = size > kMapFileSize ? data[kMapFileSize] : 0;
  o.HumanSide = pick & 1;
  o.Both = (pick & 2) != 0;
  o.Turns = 1;
  o.Seed = 7;
  o.MapPath = path;
  const SelfPlayResult played = PlaySelf(*game, o);
  Require(played.Started, "a map the reader took did not start a game");
  if (!played.Broken.empty()) std::fprintf(stderr, "%s\n", played.Broken.c_str());
  Require(played.Broken.empty(), "a rule broke in a game on this map");
  return 0;
}
