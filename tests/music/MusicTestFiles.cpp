#include "MusicTestFiles.h"

#include <atomic>
#include <fstream>

#include <unistd.h>

#include "tools/musicgen/MidiWriter.h"

namespace milgant::test {

MusicDir::MusicDir() {
  static std::atomic<int> serial{0};
  path_ = std::filesystem::temp_directory_path() /
          ("milgant-music-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
  std::filesystem::create_directories(path_);
}

MusicDir::~MusicDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string MusicDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  const std::string path = File(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::vector<std::uint8_t> ShortPiece(int beats, int bpm) {
  constexpr int kDivision = 96;
  musicgen::MidiTrack conductor("tempo", 0);
  conductor.Tempo(0, 60000000 / bpm);
  musicgen::MidiTrack koto("koto", 0);
  koto.Program(0, 107);
  for (int b = 0; b < beats; ++b) koto.Note(static_cast<long>(b) * kDivision, kDivision, 62 + 2 * (b % 4), 110);
  return musicgen::WriteMidi({conductor, koto}, kDivision, static_cast<long>(beats) * kDivision);
}

}  // namespace milgant::test
