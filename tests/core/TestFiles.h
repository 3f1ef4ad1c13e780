// Scratch folders and data files for tests that read and write the game's files.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/game/Header.h"

namespace milgant::test {

// The sanitizer build plays half the long soaks' games: what the sanitizers look for (memory and
// undefined behaviour) shows in the first games as in all of them, and the normal build plays
// every one. Several times slower under the sanitizers, the whole set would cost minutes.
#ifdef MILGANT_SANITIZED
inline constexpr int kSoakShare = 2;
#else
inline constexpr int kSoakShare = 1;
#endif

// A fresh empty folder under the system temp folder, removed when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::string& path, const void* data, std::size_t size);
void WriteText(const std::string& path, const std::string& text);
std::vector<unsigned char> ReadBytes(const std::string& path);

// A map of plain hexes with castle terrain on every scenario castle hex.
MapTable PlainMapWithCastles();
// Writes such a map as "Map.dat" into the folder.
void WritePlainMap(const TempDir& dir);

}  // namespace milgant::test
