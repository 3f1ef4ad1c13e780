// A save cut off at any point (the disk full after any block, a failed flush, close or rename)
// keeps the previous save of the slot as it was and loadable, and leaves no stray file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "TestFiles.h"
#include "core/game/Game.h"
#include "core/game/SaveImage.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"

namespace milgant {
namespace {

// The fault the fake calls put in: which call fails, and after how many bytes for a write.
enum class Fails { Open, Write, WriteReturnsZero, Sync, Close, Rename, Nothing };
struct Fault {
  Fails Where = Fails::Nothing;
  std::size_t AfterBytes = 0;  // a write: bytes that still reach the disk
  std::size_t Block = 4096;    // the most one write call takes
};
Fault fault;
std::size_t written = 0;

const FileWriteCalls kFaultyCalls = {
    [](const char* path, int flags, unsigned mode) {
      written = 0;
      if (fault.Where == Fails::Open) return errno = ENOSPC, -1;
      return ::open(path, flags, static_cast<mode_t>(mode));
    },
    [](int fd, const void* data, std::size_t size) -> long {
      const bool failing = fault.Where == Fails::Write || fault.Where == Fails::WriteReturnsZero;
      std::size_t n = std::min(size, fault.Block);
      if (failing) {
        if (written >= fault.AfterBytes) {
          if (fault.Where == Fails::WriteReturnsZero) return 0;
          errno = ENOSPC;
          return -1;
        }
        n = std::min(n, fault.AfterBytes - written);
      }
      const long done = static_cast<long>(::write(fd, data, n));
      if (done > 0) written += static_cast<std::size_t>(done);
      return done;
    },
    [](int fd) { return fault.Where == Fails::Sync ? (errno = EIO, -1) : ::fsync(fd); },
    [](int fd) {
      const int rc = ::close(fd);
      return fault.Where == Fails::Close ? (errno = EIO, -1) : rc;
    },
    [](const char* from, const char* to) { return fault.Where == Fails::Rename ? (errno = EXDEV, -1) : std::rename(from, to); },
};

class SaveFault : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WritePlainMap(dir_);
    game_ = std::make_unique<Game>();
    game_->Rng.SetSeed(5);
    ui_.Answers = {1};
    ASSERT_TRUE(SetUpNewGame(*game_, ui_, dir_.File("Map.dat")));
    game_->GameState = 3;
    game_->Turn = 4;
    ASSERT_TRUE(SaveGame(*game_, ui_, 2, Folder()));
    previous_ = test::ReadBytes(Slot());
    game_->Turn = 5;  // the game moves on; the next save fails
  }
  void TearDown() override { SetFileWriteCallsForTest(nullptr); }

  std::string Folder() const { return dir_.Path().string(); }
  std::string Slot() const { return dir_.File(SaveFileName(2)); }

  // The failed save said so, the running game is as it was, the slot holds the previous save
  // and only the slot file and the map are in the folder.
  void ExpectPreviousSaveKept(const std::string& what) {
    EXPECT_EQ(ui_.Log.back().Kind, "message") << what;
    EXPECT_EQ(ui_.Log.back().Text, "ok") << what;
    EXPECT_EQ(game_->Turn, 5) << what;
    EXPECT_EQ(test::ReadBytes(Slot()), previous_) << what;
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir_.Path())) {
      ++files;
      EXPECT_TRUE(e.path().filename() == "Map.dat" || e.path().filename() == SaveFileName(2)) << what << ": " << e.path();
    }
    EXPECT_EQ(files, 2) << what;
    auto loaded = std::make_unique<Game>();
    ScriptedUi ui;
    ASSERT_TRUE(LoadGame(*loaded, ui, 2, Folder(), dir_.File("Map.dat"))) << what;
    EXPECT_EQ(loaded->Turn, 4) << what;
  }

  test::TempDir dir_;
  std::unique_ptr<Game> game_;
  ScriptedUi ui_;
  std::vector<unsigned char> previous_;
};

TEST_F(SaveFault, ACallFailingAnywhereKeepsThePreviousSave) {
  std::vector<std::pair<std::string, Fault>> faults = {
      {"open", {Fails::Open}}, {"flush", {Fails::Sync}}, {"close", {Fails::Close}}, {"rename", {Fails::Rename}}};
  // The disk fills after every 4096-byte block of the image, and after its last byte but one.
  for (std::size_t after = 0; after < kSaveImageSize; after += 4096) {
    faults.push_back({"disk full after " + std::to_string(after), {Fails::Write, after}});
    faults.push_back({"nothing written after " + std::to_string(after), {Fails::WriteReturnsZero, after}});
  }
  faults.push_back({"disk full before the last byte", {Fails::Write, kSaveImageSize - 1}});
  SetFileWriteCallsForTest(&kFaultyCalls);
  for (const auto& [what, f] : faults) {
    fault = f;
    EXPECT_FALSE(SaveGame(*game_, ui_, 2, Folder())) << what;
    ExpectPreviousSaveKept(what);
  }
}

TEST_F(SaveFault, WritesThatTakeOnlyPartOfTheImageStillSaveItWhole) {
  SetFileWriteCallsForTest(&kFaultyCalls);
  fault = {Fails::Nothing, 0, 1000};
  ASSERT_TRUE(SaveGame(*game_, ui_, 2, Folder()));
  SetFileWriteCallsForTest(nullptr);
  const auto piecewise = test::ReadBytes(Slot());
  ASSERT_TRUE(SaveGame(*game_, ui_, 3, Folder()));
  EXPECT_EQ(piecewise, test::ReadBytes(dir_.File(SaveFileName(3))));
  EXPECT_NE(piecewise, previous_);
}

// The real writer against the system's own limit on file size: every write past it fails as
// on a full disk. The limits tried are the borders of the image's parts.
TEST_F(SaveFault, TheRealWriterOnAFullDiskKeepsThePreviousSave) {
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  const std::size_t limits[] = {0, 1, kReservedOffset, kScalarsOffset, kCastlesOffset, kMapOffset, kSaveImageSize - 1};
  for (const std::size_t limit : limits) {
    if (old.rlim_max != RLIM_INFINITY && old.rlim_max < limit) continue;
    rlimit small = old;
    small.rlim_cur = limit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveGame(*game_, ui_, 2, Folder());
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
    EXPECT_FALSE(saved) << limit;
    ExpectPreviousSaveKept("file size limit " + std::to_string(limit));
  }
  std::signal(SIGXFSZ, oldSignal);
}

TEST_F(SaveFault, AFirstSaveThatFailsLeavesNoFileToLoad) {
  SetFileWriteCallsForTest(&kFaultyCalls);
  fault = {Fails::Write, 50000};
  EXPECT_FALSE(SaveGame(*game_, ui_, 4, Folder()));
  EXPECT_FALSE(std::filesystem::exists(dir_.File(SaveFileName(4))));
  EXPECT_FALSE(std::filesystem::exists(dir_.File(SaveFileName(4)) + ".tmp"));
  ScriptedUi ui;
  auto loaded = std::make_unique<Game>();
  EXPECT_FALSE(LoadGame(*loaded, ui, 4, Folder(), dir_.File("Map.dat")));
  EXPECT_EQ(ui.Log[0].Text, "このファイルはセーブファイルではありません。");
}

}  // namespace
}  // namespace milgant
