// Saved games: a 93856-byte image of the units, the scalars, the castles and the map, kept in
// five slots "Save1.dat".."Save5.dat" in the working folder.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/game/Header.h"

namespace milgant {

struct Game;
class Ui;

constexpr std::size_t kUnitsOffset = 0;
constexpr std::size_t kReservedOffset = 66552;
constexpr std::size_t kScalarsOffset = 68912;
constexpr std::size_t kCastlesOffset = 68976;
constexpr std::size_t kMapOffset = 73056;

// Live state -> g.SaveImage, and back.
void Snapshot(Game& g);
void Restore(Game& g);

// Checks every value of the live state that the rules use as an index or a code against its
// table; false with a one-line reason when one is out of bounds.
bool ValidateState(const Game& g, std::string* reason);

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over `path`,
// so a failed write leaves the old file as it was.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The system calls the writer above goes through. The game always uses the real ones; the
// save-fault tests put in calls that fail part way, as a full disk or a pulled drive would.
struct FileWriteCalls {
  int (*Open)(const char* path, int flags, unsigned mode);
  long (*Write)(int fd, const void* data, std::size_t size);
  int (*Sync)(int fd);
  int (*Close)(int fd);
  int (*Rename)(const char* from, const char* to);
};
// nullptr puts the real calls back.
void SetFileWriteCallsForTest(const FileWriteCalls* calls);

// The file of a slot in a folder ("Save3.dat"); the load also finds it under another case.
std::string SaveFileName(int slot);
std::string FindSaveFile(const std::string& folder, int slot);

// Reads a save image into a copy of the game laid over a fresh scenario, and checks it; on
// success the copy is returned through `out`. Nothing is shown. The reason is UTF-8.
struct LoadResult {
  bool Ok = false;
  bool MapFailed = false;
  std::string Reason;   // for the window
  std::string Detail;   // for the command line: what exactly was refused, in English
};
LoadResult LoadSaveFile(const Game& g, const std::string& savePath, const std::string& mapPath, Game& out);
// The same from a save image already read, over a map already read.
LoadResult LoadSaveImage(const Game& g, std::span<const std::uint8_t> image, const MapTable& map, Game& out);

// A game is saved only in the player's phases between actions (replenishment, organisation,
// action).
bool MaySave(const Game& g);

// The menu commands "セーブ" and "ロード" for slot 1..5, in `folder`.
bool SaveGame(Game& g, Ui& ui, int slot, const std::string& folder = ".");
bool LoadGame(Game& g, Ui& ui, int slot, const std::string& folder = ".", const std::string& mapPath = "Map.dat");
// The same load from any file (the autosave).
bool LoadGameFrom(Game& g, Ui& ui, const std::string& savePath, const std::string& mapPath);

}  // namespace milgant
