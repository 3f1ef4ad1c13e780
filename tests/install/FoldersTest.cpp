// Where the data and the saves are found, the folder options, and the autosave's file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/Autosave.h"
#include "desktop/Folders.h"
#include "core/game/Game.h"
#include "core/game/SaveImage.h"

namespace milgant {
namespace {

namespace fs = std::filesystem;

class Folders : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("milgant-folders-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "here");
    fs::create_directories(root / "env");
    old = fs::current_path();
    fs::current_path(root / "here");
    for (const char* v : {"MILGANT_DATA", "XDG_DATA_HOME"}) ::unsetenv(v);
    ::setenv("HOME", (root / "home").c_str(), 1);
  }
  void TearDown() override {
    fs::current_path(old);
    fs::remove_all(root);
  }
  static void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

  fs::path root, old;
};

TEST_F(Folders, DataFolderPrecedence) {
  const std::string here = (root / "here").string();
  // Nothing anywhere: the current folder (the program then reports what is missing there).
  EXPECT_EQ(FindDataFolder(""), here);
  Touch(root / "here" / "CRT.txt");
  EXPECT_EQ(FindDataFolder(""), here);
  fs::remove(root / "here" / "CRT.txt");
  Touch(root / "here" / "Map.dat");
  EXPECT_EQ(FindDataFolder(""), here);
  ::setenv("MILGANT_DATA", (root / "env").c_str(), 1);
  EXPECT_EQ(FindDataFolder(""), (root / "env").string());
  // An option wins over everything, and a relative one is made absolute.
  EXPECT_EQ(FindDataFolder("sub/../opt"), (root / "here" / "opt").string());
  ::setenv("MILGANT_DATA", "", 1);
  EXPECT_EQ(FindDataFolder(""), here);
}

TEST_F(Folders, SaveFolderPrecedence) {
  EXPECT_EQ(FindSaveFolder(""), (root / "home" / ".local" / "share" / "milgant").string());
  ::setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(FindSaveFolder(""), (root / "home" / ".local" / "share" / "milgant").string());
  ::setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
  EXPECT_EQ(FindSaveFolder(""), (root / "xdg" / "milgant").string());
  EXPECT_EQ(FindSaveFolder("mine"), (root / "here" / "mine").string());
  // Finding a folder never makes it.
  EXPECT_FALSE(fs::exists(root / "xdg"));
}

TEST_F(Folders, OptionsAreTakenWhereverTheyStand) {
  struct Case {
    std::vector<std::string> words;
    bool ok;
    std::string data, saves;
    std::vector<std::string> left;
  };
  const std::vector<Case> cases = {
      {{"inspect", "g.dat"}, true, "", "", {"inspect", "g.dat"}},
      {{"--data", "d", "new"}, true, "d", "", {"new"}},
      {{"new", "--saves=s", "--out", "x"}, true, "", "s", {"new", "--out", "x"}},
      {{"a", "--saves", "s", "--data=d", "b"}, true, "d", "s", {"a", "b"}},
      {{"--data"}, false, "", "", {}},
      {{"x", "--saves="}, false, "", "", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words = c.words;
    FolderOptions o;
    std::string why;
    ASSERT_EQ(TakeFolderOptions(words, o, &why), c.ok) << c.words.size();
    if (!c.ok) {
      EXPECT_FALSE(why.empty());
      continue;
    }
    EXPECT_EQ(o.Data, c.data);
    EXPECT_EQ(o.Saves, c.saves);
    EXPECT_EQ(words, c.left);
  }
}

TEST_F(Folders, AutosaveWritesTheGameAndLeavesItAsItWas) {
  auto g = std::make_unique<Game>();
  g->Turn = 4;
  g->GameState = 2;
  g->SaveImage.fill(0x5a);
  const auto image = g->SaveImage;
  const fs::path saves = root / "deep" / "saves";
  std::string why;
  ASSERT_TRUE(WriteAutosave(*g, saves.string(), &why)) << why;
  EXPECT_EQ(g->SaveImage, image);
  std::ifstream in(saves / kAutosaveFile, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto copy = std::make_unique<Game>(*g);
  Snapshot(*copy);
  ASSERT_EQ(bytes.size(), kSaveImageSize);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), reinterpret_cast<const char*>(copy->SaveImage.data())));
  // A save folder that cannot be made: false with the reason, nothing else touched.
  Touch(root / "file");
  EXPECT_FALSE(WriteAutosave(*g, (root / "file" / "saves").string(), &why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(MakeFolder((root / "file").string(), &why));
}

TEST_F(Folders, ATurnBeginsWhenTheReplenishmentPhaseIsReached) {
  auto game = std::make_unique<Game>();
  Game& g = *game;
  struct Case {
    int before, after;
    bool began;
  };
  for (const Case c : {Case{3, 2, true}, Case{0, 2, true}, Case{15, 2, true}, Case{2, 2, false}, Case{2, 27, false},
                       Case{27, 3, false}, Case{3, 7, false}, Case{3, 0, false}}) {
    g.GameState = c.after;
    EXPECT_EQ(TurnBegan(c.before, g), c.began) << c.before << " -> " << c.after;
  }
}

}  // namespace
}  // namespace milgant
