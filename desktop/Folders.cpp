#include "desktop/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace milgant {
namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

bool HoldsData(const fs::path& folder) { return IsFile(folder / "Map.dat") || IsFile(folder / "CRT.txt"); }

std::string Absolute(const fs::path& p) {
  std::error_code ec;
  const fs::path a = fs::absolute(p, ec);
  return (ec ? p : a).lexically_normal().string();
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  return !a.empty() && !b.empty() && fs::equivalent(a, b, ec) && !ec;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

}  // namespace

std::string ProgramFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

std::string FindDataFolder(const std::string& dataOption) {
  if (!dataOption.empty()) return Absolute(dataOption);
  if (const std::string env = Env("MILGANT_DATA"); !env.empty()) return Absolute(env);
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  if (!ec && HoldsData(here)) return here.string();
  const std::string program = ProgramFolder();
  if (!program.empty()) {
    const fs::path installed = fs::path(program) / ".." / "share" / "milgant";
    if (HoldsData(installed)) return Absolute(installed);
#if defined(MILGANT_BUILD_FOLDER) && defined(MILGANT_SOURCE_DATA)
    // Only the programs in the build folder itself may read the source tree's data; a copy of
    // them elsewhere (an install) never does.
    if (SameFolder(program, MILGANT_BUILD_FOLDER) && HoldsData(MILGANT_SOURCE_DATA)) return MILGANT_SOURCE_DATA;
#endif
  }
  return ec ? std::string(".") : here.string();
}

std::string FindSaveFolder(const std::string& savesOption) {
  if (!savesOption.empty()) return Absolute(savesOption);
  // A relative XDG_DATA_HOME is invalid and ignored.
  if (const std::string xdg = Env("XDG_DATA_HOME"); !xdg.empty() && xdg[0] == '/') return Absolute(fs::path(xdg) / "milgant");
  if (const std::string home = Env("HOME"); !home.empty()) return Absolute(fs::path(home) / ".local" / "share" / "milgant");
  return Absolute("milgant-saves");
}

bool MakeFolder(const std::string& path, std::string* why) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (fs::is_directory(path)) return true;
  if (why != nullptr) *why = ec ? ec.message() : std::string("not a folder");
  return false;
}

bool TakeFolderOptions(std::vector<std::string>& words, FolderOptions& out, std::string* why) {
  for (std::size_t i = 0; i < words.size();) {
    std::string* target = nullptr;
    std::string name;
    for (const char* option : {"--data", "--saves"}) {
      const std::string o = option;
      if (words[i] == o || words[i].rfind(o + "=", 0) == 0) {
        target = o == "--data" ? &out.Data : &out.Saves;
        name = o;
      }
    }
    if (target == nullptr) {
      ++i;
      continue;
    }
    std::string value;
    std::size_t used = 1;
    if (words[i].size() > name.size()) {
      value = words[i].substr(name.size() + 1);
    } else if (i + 1 < words.size()) {
      value = words[i + 1];
      used = 2;
    }
    if (value.empty()) {
      if (why != nullptr) *why = name + " needs a folder";
      return false;
    }
    *target = value;
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(i), words.begin() + static_cast<std::ptrdiff_t>(i + used));
  }
  return true;
}

}  // namespace milgant
