#include "TestFiles.h"

#include <atomic>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace milgant::test {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("milgant-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::string& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void WriteText(const std::string& path, const std::string& text) { WriteBytes(path, text.data(), text.size()); }

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

MapTable PlainMapWithCastles() {
  MapTable map{};
  for (auto& column : map) {
    for (Hex& h : column) h.Terrain = 1;
  }
  const int castles[][2] = {{19, 15}, {18, 11}, {16, 11}, {16, 5}, {17, 3}, {15, 6}, {15, 2}, {13, 2},
                            {13, 6},  {9, 9},   {10, 11}, {7, 10}, {10, 0}, {8, 3},  {9, 6},  {5, 6},
                            {3, 7},   {2, 5},   {1, 8},   {0, 9},  {0, 11}, {2, 13}};
  for (const auto& c : castles) map[static_cast<std::size_t>(c[0])][static_cast<std::size_t>(c[1])].Terrain = 8;
  return map;
}

void WritePlainMap(const TempDir& dir) {
  auto map = std::make_unique<MapTable>(PlainMapWithCastles());
  WriteBytes(dir.File("Map.dat"), map.get(), sizeof(MapTable));
}

}  // namespace milgant::test
