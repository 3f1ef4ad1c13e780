#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace milgant::fuzz {
namespace {

std::string MakeScratch() {
  const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
  const std::filesystem::path dir = base / ("milgant-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir.string();
}

}  // namespace

const std::string& ScratchDir() {
  // Never freed: the clean-up at exit still needs the name.
  static const std::string* const dir = [] {
    auto* d = new std::string(MakeScratch());
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchDir(), ec);
    });
    return d;
  }();
  return *dir;
}

std::string WriteScratch(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchDir() + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  Require(static_cast<bool>(out), "the scratch file could not be written");
  return path;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string DataFile(const std::string& name) { return std::string(MILGANT_DATA_DIR) + "/" + name; }

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace milgant::fuzz
