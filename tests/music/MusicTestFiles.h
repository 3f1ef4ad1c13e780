// Small MIDI files and scratch folders for the music tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace milgant::test {

class MusicDir {
 public:
  MusicDir();
  ~MusicDir();
  MusicDir(const MusicDir&) = delete;
  MusicDir& operator=(const MusicDir&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

 private:
  std::filesystem::path path_;
};

// A piece of `beats` quarter notes at `bpm`, one sounding note on every beat (a koto, loud).
std::vector<std::uint8_t> ShortPiece(int beats, int bpm);

}  // namespace milgant::test
