#include "core/game/SaveImage.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "core/game/Game.h"
#include "core/game/Invariants.h"
#include "core/game/MapFile.h"
#include "core/game/Quantities.h"
#include "core/game/Scenario.h"
#include "core/game/Ui.h"

namespace milgant {
namespace {

template <typename T>
void Put(Game& g, std::size_t offset, const T& value) {
  std::memcpy(g.SaveImage.data() + offset, &value, sizeof(T));
}
template <typename T>
void Get(const Game& g, std::size_t offset, T& value) {
  std::memcpy(&value, g.SaveImage.data() + offset, sizeof(T));
}

constexpr std::size_t kReplenishment = 68912;
constexpr std::size_t kCastleCounter = 68924;
constexpr std::size_t kPhaseSide = 68928;
constexpr std::size_t kPlayerSide = 68932;
constexpr std::size_t kComputerSide = 68936;
constexpr std::size_t kTurn = 68940;
constexpr std::size_t kLegacy1 = 68944;
constexpr std::size_t kGameState = 68948;
constexpr std::size_t kDefenceFactorMode = 68952;
constexpr std::size_t kLegacy2 = 68956;
constexpr std::size_t kLegacy3 = 68960;
constexpr std::size_t kVictoryPoints = 68964;
constexpr std::size_t kDefenceFactor = 68968;

static_assert(kUnitsOffset + sizeof(Game::Units) == kReservedOffset);
static_assert(kCastlesOffset + sizeof(Game::Castles) == kMapOffset);
static_assert(kMapOffset + sizeof(MapTable) == kSaveImageSize);

const char* const kNotASave = "このファイルはセーブファイルではありません。";

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

std::string Where(const char* what, int index) { return std::string(what) + " " + std::to_string(index); }

}  // namespace

void Snapshot(Game& g) {
  Put(g, kUnitsOffset, g.Units);
  Put(g, kReplenishment, g.ReplenishmentPoints);
  Put(g, kCastleCounter, g.CastleCounter);
  Put(g, kPhaseSide, g.PhaseSide);
  Put(g, kPlayerSide, g.PlayerSide);
  Put(g, kComputerSide, g.ComputerSide);
  Put(g, kTurn, g.Turn);
  Put(g, kLegacy1, g.LegacyValues[0]);
  Put(g, kGameState, g.GameState);
  Put(g, kDefenceFactorMode, g.DefenceFactorMode);
  Put(g, kLegacy2, g.LegacyValues[1]);
  Put(g, kLegacy3, g.LegacyValues[2]);
  Put(g, kVictoryPoints, g.VictoryPoints);
  Put(g, kDefenceFactor, g.DefenceFactor);
  Put(g, kCastlesOffset, g.Castles);
  Put(g, kMapOffset, g.Map);
}

void Restore(Game& g) {
  Get(g, kUnitsOffset, g.Units);
  Get(g, kCastlesOffset, g.Castles);
  Get(g, kReplenishment, g.ReplenishmentPoints);
  Get(g, kMapOffset, g.Map);
  Get(g, kPhaseSide, g.PhaseSide);
  Get(g, kPlayerSide, g.PlayerSide);
  Get(g, kCastleCounter, g.CastleCounter);
  // Whoever loads a game may organise corps, whichever side he plays.
  g.SetButton(UnitButton::Detach, true);
  g.SetButton(UnitButton::Organise, true);
  Get(g, kComputerSide, g.ComputerSide);
  Get(g, kDefenceFactor, g.DefenceFactor);
  Get(g, kTurn, g.Turn);
  Get(g, kLegacy1, g.LegacyValues[0]);
  Get(g, kGameState, g.GameState);
  Get(g, kDefenceFactorMode, g.DefenceFactorMode);
  Get(g, kLegacy2, g.LegacyValues[1]);
  Get(g, kLegacy3, g.LegacyValues[2]);
  Get(g, kVictoryPoints, g.VictoryPoints);
}

bool ValidateState(const Game& g, std::string* reason) {
  auto fail = [&](const std::string& why) {
    if (reason) *reason = why;
    return false;
  };
  if (!InRange(g.PlayerSide, 0, 1) || !InRange(g.ComputerSide, 0, 1) || !InRange(g.PhaseSide, 0, 1)) {
    return fail("side out of range");
  }
  if (!InRange(g.GameState, 0, 30)) return fail("game state out of range");
  // The turn indexes the income table when it advances.
  if (!InRange(g.Turn, 0, kIncomeTurns - 1)) return fail("turn out of range");
  if (!InRange(g.CastleCounter, 1, kCastleSlots)) return fail("castle counter out of range");
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.HexX >= kMapSize || u.HexY >= kMapSize) return fail(Where("hex of unit", slot));
    if (u.Side > 1) return fail(Where("side of unit", slot));
    if (!InRange(u.Rank, 0, 2)) return fail(Where("rank of unit", slot));
    if (u.CommanderIndex != -1 && !InRange(u.CommanderIndex, 1, kUnitSlots - 1)) {
      return fail(Where("commander of unit", slot));
    }
    if (!InRange(u.SubordinateCount, 0, kMaxSubordinates)) return fail(Where("subordinate count of unit", slot));
    for (int i = 0; i < u.SubordinateCount; ++i) {
      if (!InRange(u.Subordinates[static_cast<std::size_t>(i)], 1, kUnitSlots - 1)) {
        return fail(Where("subordinate of unit", slot));
      }
    }
    if (u.ArmyName.Length > 40 || u.GeneralName.Length > 40 || u.Route.Length > 100) {
      return fail(Where("string length of unit", slot));
    }
    if (!InRange(u.TargetX, -1, kMapSize - 1) || !InRange(u.TargetY, -1, kMapSize - 1) ||
        !InRange(u.MoveGoalX, -1, kMapSize - 1) || !InRange(u.MoveGoalY, -1, kMapSize - 1)) {
      return fail(Where("target hex of unit", slot));
    }
  }
  for (int n = 0; n < kCastleSlots; ++n) {
    const Castle& c = g.Castles[static_cast<std::size_t>(n)];
    if (c.Name.Length > 20) return fail(Where("name length of castle", n));
    if (n == 0 || n >= g.CastleCounter) continue;
    if (!InRange(c.HexX, 0, kMapSize - 1) || !InRange(c.HexY, 0, kMapSize - 1)) return fail(Where("hex of castle", n));
    if (!InRange(c.Owner, 0, 1)) return fail(Where("owner of castle", n));
    for (std::int32_t link : c.CastleLinks) {
      if (link != kNoLink && !InRange(link, 1, g.CastleCounter - 1)) return fail(Where("link of castle", n));
    }
  }
  return ValidMapTable(g.Map, reason);
}

namespace {

const FileWriteCalls kRealCalls = {
    [](const char* path, int flags, unsigned mode) { return ::open(path, flags, static_cast<mode_t>(mode)); },
    [](int fd, const void* data, std::size_t size) { return static_cast<long>(::write(fd, data, size)); },
    [](int fd) { return ::fsync(fd); },
    [](int fd) { return ::close(fd); },
    [](const char* from, const char* to) { return std::rename(from, to); },
};
const FileWriteCalls* calls = &kRealCalls;

}  // namespace

void SetFileWriteCallsForTest(const FileWriteCalls* c) { calls = c != nullptr ? c : &kRealCalls; }

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::string temp = path + ".tmp";
  const int fd = calls->Open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const long n = calls->Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  ok = ok && calls->Sync(fd) == 0;
  ok = (calls->Close(fd) == 0) && ok;
  ok = ok && calls->Rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

std::string SaveFileName(int slot) { return "Save" + std::to_string(slot) + ".dat"; }

std::string FindSaveFile(const std::string& folder, int slot) {
  const std::string exact = folder + "/" + SaveFileName(slot);
  if (::access(exact.c_str(), F_OK) == 0) return exact;
  // Names are matched without regard to case, as the game always has.
  const std::string wanted = "save" + std::to_string(slot) + ".dat";
  std::string found;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(dir)) {
      if (::strcasecmp(e->d_name, wanted.c_str()) == 0) {
        found = folder + "/" + e->d_name;
        break;
      }
    }
    ::closedir(dir);
  }
  return found.empty() ? exact : found;
}

LoadResult LoadSaveFile(const Game& g, const std::string& savePath, const std::string& mapPath, Game& out) {
  auto map = std::make_unique<MapTable>();
  const MapLoadResult m = LoadMap(*map, mapPath);
  if (!m.Ok) return {false, true, m.Reason, m.Reason};

  auto image = std::make_unique<std::array<std::uint8_t, kSaveImageSize>>();
  std::ifstream in(savePath, std::ios::binary);
  if (!in) return {false, false, kNotASave, "the file cannot be opened"};
  in.read(reinterpret_cast<char*>(image->data()), static_cast<std::streamsize>(kSaveImageSize));
  if (in.gcount() != static_cast<std::streamsize>(kSaveImageSize)) {
    return {false, false, kNotASave, "the file is shorter than " + std::to_string(kSaveImageSize) + " bytes"};
  }
  return LoadSaveImage(g, *image, *map, out);
}

LoadResult LoadSaveImage(const Game& g, std::span<const std::uint8_t> image, const MapTable& map, Game& out) {
  out = g;
  // A loaded game has no move of its own to take back.
  out.Undo.Armed = false;
  DrawAdvanceLimit(out);
  BuildScenario(out, map);
  if (image.size() < kSaveImageSize) return {false, false, kNotASave, "the image is too short"};
  std::memcpy(out.SaveImage.data(), image.data(), kSaveImageSize);

  Restore(out);
  std::string why;
  if (!ValidateState(out, &why)) return {false, false, kNotASave, why};
  // Numbers no game can hold and corps that do not hang together: the file is damaged or
  // edited, and the rules must not run on it. The player is told what exactly.
  if (QuantityFault fault; !CheckQuantities(out, &fault)) {
    return {false, false, std::string(kNotASave) + "\r" + fault.Japanese, fault.English};
  }
  if (const auto broken = CheckInvariants(out, InvariantScope::Load); !broken.empty()) {
    return {false, false, kNotASave, broken.front()};
  }
  return {true, false, {}, {}};
}

bool MaySave(const Game& g) { return g.GameState == 3 || g.GameState == 2 || g.GameState == 27; }

bool SaveGame(Game& g, Ui& ui, int slot, const std::string& folder) {
  if (!MaySave(g)) {
    ui.Note("セーブフェイズエラー", "現在のフェイズを終了し\rセーブしてください。");
    return false;
  }
  Snapshot(g);
  if (!WriteFileAtomically(folder + "/" + SaveFileName(slot), g.SaveImage)) {
    ui.MessageBox("ok");
    return false;
  }
  return true;
}

bool LoadGame(Game& g, Ui& ui, int slot, const std::string& folder, const std::string& mapPath) {
  return LoadGameFrom(g, ui, FindSaveFile(folder, slot), mapPath);
}

bool LoadGameFrom(Game& g, Ui& ui, const std::string& savePath, const std::string& mapPath) {
  // Everything is read and checked on a copy; the running game changes only when all is good.
  auto next = std::make_unique<Game>();
  const LoadResult r = LoadSaveFile(g, savePath, mapPath, *next);
  if (!r.Ok) {
    ui.Note("エラー", r.Reason);
    ui.RedrawMap();
    return false;
  }
  g = *next;
  g.ScrollRedraw = 1;
  g.RangeOverlay = 0;
  ui.RedrawMap();
  ui.MusicStart();
  if (g.GameState == 3 || g.GameState == 7) SetUnitButtonsForPhase(g, 3);
  if (g.GameState == 27) SetUnitButtonsForPhase(g, 27);
  if (g.GameState == 2) SetUnitButtonsForPhase(g, 2);
  ui.PhaseButtonsChanged();
  ui.RefreshSidePanel();
  ui.RefreshStatusLine();
  ui.RedrawMap();
  return true;
}

}  // namespace milgant
