// Scratch folders and data files for tests that read and write the game's files.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/game/Header.h"

namespace milgant::test {

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
