// A new size chosen in 表示 during a game: the program ends its application, makes it and the
// windows again at that size, and the game goes on where it stood, with the window showing
// what it showed. Runs the program's own loop, so no application exists before the test.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../GuiFixture.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/SaveImage.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/Program.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/TImage.h"

namespace milgant {
namespace {

// What the player sees of the game and what the rules hold of it.
struct Seen {
  std::vector<unsigned char> Image;
  std::uint32_t RngState = 0;
  int GameState = -1, SelectedUnit = -1, ScrollX = -1, ScrollY = -1;
  std::size_t Events = 0;
  QStringList Panel;
  QString Status;
  int ListCount = -1, ListRow = -1;
  bool TitleShown = true;
  bool operator==(const Seen&) const = default;
};

Seen Look(TForm1& f) {
  Seen s;
  Game& g = f.game();
  Snapshot(g);
  s.Image.assign(g.SaveImage.begin(), g.SaveImage.end());
  s.RngState = g.Rng.Seed();
  s.GameState = g.GameState;
  s.SelectedUnit = g.SelectedUnit;
  s.ScrollX = g.ScrollX;
  s.ScrollY = g.ScrollY;
  s.Events = f.War().Events.size();
  for (int n = 1; n <= 38; ++n) s.Panel << f.Label[static_cast<std::size_t>(n)]->text();
  s.Status = f.Panel1->text();
  s.ListCount = f.ListBox1->count();
  s.ListRow = f.ListBox1->currentRow();
  s.TitleShown = f.CompressedImage1->isVisible();
  return s;
}

TEST(Remake, ANewSizeRemakesTheWindowsAroundTheGameAsItStood) {
  QTemporaryDir data, saves, config;
  ASSERT_TRUE(data.isValid() && saves.isValid() && config.isValid());
  test::CopyGameData(data.path());
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  std::vector<std::string> words = {"milgant", "--data", data.path().toStdString(), "--saves", saves.path().toStdString()};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  ProgramStart start;
  start.Argc = static_cast<int>(words.size());
  start.Argv = argv.data();
  start.SettingsFile = SettingsFile();
  std::unique_ptr<test::ModalHand> hand;
  Seen before;
  std::vector<QString> notes;
  int rounds = 0;
  start.OnWindowsMade = [&](Forms& forms, int round) {
    rounds = round + 1;
    TForm1& f = *forms.Form1;
    if (round == 0) {
      EXPECT_EQ(f.RunningZoom(), 100);
      EXPECT_EQ(f.Renderer().Scale(), 1);
      // The modal windows are answered while this application lives.
      hand = std::make_unique<test::ModalHand>();
      hand->Windows = &forms;
      QTimer::singleShot(0, [&] {
        hand->Answers.push_back(test::ModalHand::Press(1));
        f.K5->trigger();  // 新規, as ソルカ軍
        ASSERT_EQ(f.game().GameState, 2);
        // A corps of the player's chosen on the map: the panel shows it, the list row is set.
        int slot = -1;
        for (int s = 1; s < kUnitSlots && slot < 0; ++s) {
          const Unit& u = f.game().U(s);
          if (u.OnMap == 1 && u.Side == f.game().PlayerSide && u.CommanderIndex == -1) slot = s;
        }
        ASSERT_GT(slot, 0);
        f.ShowHex(f.game().U(slot).HexX, f.game().U(slot).HexY);
        f.ListBox1->setCurrentRow(2);
        f.ShowUnitInPanel(f.PanelListSlots[2]);
        before = Look(f);
        f.SettingItem(SettingKey::Zoom, 1)->trigger();  // 150 %
        // A dialog waiting when the size is chosen is never cut short: the windows are made
        // again once it has been answered.
        for (const auto& seen : hand->Seen_) notes.push_back(seen.Text);
        hand.reset();
        QDialog waiting(&f);
        QTimer::singleShot(300, &waiting, [&] { waiting.done(7); });
        EXPECT_EQ(waiting.exec(), 7);
      });
      return;
    }
    QTimer::singleShot(0, [&] {
      EXPECT_EQ(f.RunningZoom(), 150);
      EXPECT_EQ(f.Settings().Zoom, 150);
      EXPECT_EQ(f.Renderer().Scale(), 2);
      EXPECT_EQ(f.size(), QSize(792, 585));
      const QPixmap shot = f.grab();
      EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), 1.5);
      EXPECT_EQ(shot.size(), QSize(1188, 878));
      const Seen after = Look(f);
      EXPECT_EQ(after.Image, before.Image);
      EXPECT_EQ(after.RngState, before.RngState);
      EXPECT_EQ(after.Events, before.Events);
      EXPECT_EQ(after.Panel, before.Panel);
      EXPECT_EQ(after.Status, before.Status);
      EXPECT_EQ(after.ListRow, 2);
      EXPECT_TRUE(after == before);
      EXPECT_FALSE(after.TitleShown);
      // The view shows the map at the new scale, from where it was scrolled.
      const QImage& map = f.Renderer().MapBitmap();
      EXPECT_EQ(f.Image5->Picture.pixel(100, 100), map.pixel(2 * before.ScrollX + 100, 2 * before.ScrollY + 100));
      f.close();
    });
  };
  EXPECT_EQ(RunProgram(start), 0);
  EXPECT_EQ(rounds, 2);
  // The offscreen screen is 800 x 600: the player is told the new size will not fit, and the
  // windows are made again once that note has been answered.
  EXPECT_NE(std::find(notes.begin(), notes.end(), QStringLiteral("この大きさは画面に収まりません。")), notes.end());
  EXPECT_EQ(std::find(notes.begin(), notes.end(), QStringLiteral("表示の大きさは次回の起動から変わります。")), notes.end());
}

}  // namespace
}  // namespace milgant

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MILGANT_MUTE", "1");
  qunsetenv("QT_SCALE_FACTOR");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
