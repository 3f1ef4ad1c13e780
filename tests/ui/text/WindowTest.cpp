// The battle window and the ending story window: labels and counters of a battle, the map
// excerpt with its arrows, the reinforcement choice, typed messages paced by clicks, and the
// story told for each winner. With MILGANT_SCREENSHOT_DIR set, the windows are also saved there
// as pictures to be looked at.
#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/text/SLG_Unit7.h"
#include "ui/text/SerifBoxs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

#include "core/game/Game.h"
#include "core/game/MapFile.h"
#include "core/game/Scenario.h"
#include "core/game/Text.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/Pictures.h"

namespace milgant {
namespace {

const QString kData = QStringLiteral(MILGANT_DATA_DIR);

void Screenshot(QWidget& w, const char* name) {
  const QString dir = qEnvironmentVariable("MILGANT_SCREENSHOT_DIR");
  if (!dir.isEmpty()) w.grab().save(dir + QStringLiteral("/") + QString::fromLatin1(name) + QStringLiteral(".png"));
}

// Clicks a text box whenever it waits; a few seconds without an end abort it so the test fails
// instead of hanging.
class BoxClicker {
 public:
  explicit BoxClicker(TSerifBox* box, std::function<void()> atWait = {}) : box_(box), atWait_(std::move(atWait)) {
    tick_.setInterval(1);
    QObject::connect(&tick_, &QTimer::timeout, [this] {
      if (!box_->Waiting()) return;
      ++clicks;
      if (atWait_) atWait_();
      box_->Next();
    });
    tick_.start();
    guard_.setSingleShot(true);
    QObject::connect(&guard_, &QTimer::timeout, [this] {
      timedOut = true;
      box_->Abort();
    });
    guard_.start(10000);
  }
  int clicks = 0;
  bool timedOut = false;

 private:
  TSerifBox* box_;
  std::function<void()> atWait_;
  QTimer tick_, guard_;
};

// The campaign's opening position on the real map, with the pictures and the renderer the main
// window would hand the battle window.
struct BattleFixture : ::testing::Test {
  void SetUp() override {
    MapTable map{};
    ASSERT_TRUE(LoadMap(map, (kData + QStringLiteral("/Map.dat")).toStdString()).Ok);
    BuildScenario(g, map);
    g.PlayerSide = 0;
    g.ComputerSide = 1;
    g.PhaseSide = 1;  // no movement range tint
    QString why;
    ASSERT_TRUE(pictures::LoadMainWindowPictures(&pics, &why)) << why.toStdString();
    renderer = std::make_unique<MapRenderer>(pics, g.HexMask);
    main.setGeometry(100, 50, 792, 545);
    form.SetSources(&g, renderer.get(), &pics, &main);
    ASSERT_TRUE(form.LoadBackground(kData));
    form.SerifBox1->WaitTime = 0;
  }

  UnitList Slots(std::initializer_list<int> units) {
    UnitList l;
    for (int s : units) l.Slots[static_cast<std::size_t>(l.Count++)] = s;
    return l;
  }

  Game g;
  pictures::MainWindowPictures pics;
  std::unique_ptr<MapRenderer> renderer;
  QWidget main;
  TForm4 form;
};

TEST_F(BattleFixture, WindowCaptionSizeAndPlace) {
  EXPECT_EQ(form.windowTitle(), QStringLiteral("戦闘"));
  EXPECT_EQ(form.size(), QSize(630, 601));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
  form.BattleShow(16, 5);
  EXPECT_TRUE(form.isVisible());
  const QRect own = form.frameGeometry();
  EXPECT_EQ(own.topLeft(), QPoint(100 + (792 - own.width()) / 2, 50 + (545 - own.height()) / 2 + 20));
  form.close();  // only the battle's caller closes it
  EXPECT_TRUE(form.isVisible());
  form.BattleClose();
  EXPECT_FALSE(form.isVisible());
}

TEST_F(BattleFixture, SidesShowTheBattlesNumbersAndCounters) {
  form.BattleShow(16, 5);
  BattleView v;
  v.BattleX = 16;
  v.BattleY = 5;
  v.AttackerSide = 1;
  v.AttackerStrength = 37;
  v.AttackerSteps = 24;
  v.AttackerUnits = Slots({71, 72, 74, 75});
  v.DefenderSide = 0;
  v.DefenderStrength = 19;
  v.DefenderSteps = 12;
  v.TerrainValue = 30;
  v.RiverFactor = 1.5;
  v.DefenderUnits = Slots({5});
  form.BattleSides(v);
  EXPECT_EQ(form.Label2->text(), QStringLiteral("ソルカ方"));
  EXPECT_EQ(form.Label5->text(), QStringLiteral("37"));
  EXPECT_EQ(form.Label6->text(), QStringLiteral("24"));
  EXPECT_EQ(form.Label15->text(), QString());
  EXPECT_EQ(form.Label8->text(), QStringLiteral("ヴァルネ方"));
  EXPECT_EQ(form.Label11->text(), QStringLiteral("19"));
  EXPECT_EQ(form.Label12->text(), QStringLiteral("12"));
  EXPECT_EQ(form.Label19->text(), QStringLiteral("30"));
  EXPECT_EQ(form.Label22->text(), QStringLiteral("1.5"));
  for (QLabel* hidden : {form.Label14, form.Label16, form.Label18, form.Label20}) {
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_FALSE(hidden->isEnabled());
  }
  v.RiverFactor = 1.0;
  form.BattleSides(v);
  EXPECT_EQ(form.Label22->text(), QStringLiteral("1"));

  // Counters three to a row from (5, 0), 50 apart, on grey; the rest of the panel stays grey.
  const QImage left = form.Image4->pixmap().toImage();
  const QImage right = form.Image5->pixmap().toImage();
  const QRgb grey = qRgb(128, 128, 128);
  auto covered = [](const QImage& panel, int p) {
    return panel.copy(QRect(QPoint((p % 3) * 50 + 5, (p / 3) * 50), QSize(50, 50)));
  };
  auto differsFromGrey = [&](const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != grey) return true;
    return false;
  };
  for (int p = 0; p < 4; ++p) EXPECT_TRUE(differsFromGrey(covered(left, p))) << p;
  EXPECT_FALSE(differsFromGrey(covered(left, 4)));
  EXPECT_FALSE(differsFromGrey(covered(left, 6)));
  EXPECT_TRUE(differsFromGrey(covered(right, 0)));
  EXPECT_FALSE(differsFromGrey(covered(right, 1)));
  // The counter is the main window's own picture for the side and rank.
  const Unit& leader = g.U(71);
  const QImage counter = pics.Counters[leader.Side * 6 + leader.Rank * 2];
  const QImage drawn = left.copy(5, 0, 50, 50);
  EXPECT_EQ(drawn.pixel(25, 25), counter.pixel(25, 25));
}

TEST_F(BattleFixture, ArrowsGoOnTheExcerptOnly) {
  form.BattleShow(16, 5);
  const QImage plain = form.Image1->pixmap().toImage();
  // The excerpt is the map around the hex: not black where the battle hex lies.
  EXPECT_NE(plain.pixel(95 + 30, 160 + 30), qRgb(0, 0, 0));
  const QImage mapBefore = renderer->MapBitmap().copy();
  form.BattleAttackArrow(4, 16, 4);
  form.BattleRetreatArrow(1, 17, 6);
  const QImage arrows = form.Image1->pixmap().toImage();
  EXPECT_NE(arrows, plain);
  Screenshot(form, "battle-arrows");
  EXPECT_EQ(renderer->MapBitmap(), mapBefore);
  form.BattleRefresh();
  EXPECT_EQ(form.Image1->pixmap().toImage(), plain);
}

TEST_F(BattleFixture, ReinforcementChoice) {
  form.BattleShow(16, 5);
  // No candidate: -1 at once, every button disabled again.
  EXPECT_EQ(form.BattleChooseReinforcement(0, UnitList{}), -1);
  for (QPushButton* b : {form.Button1, form.Button2, form.Button3, form.Button4}) EXPECT_FALSE(b->isEnabled());

  struct Case {
    int panel;
    int row;        // row to pick, -1 to refuse
    QPushButton* TForm4::*button;
  };
  const Case cases[] = {{0, 1, &TForm4::Button1}, {0, -1, &TForm4::Button3},
                        {1, 0, &TForm4::Button2}, {1, -1, &TForm4::Button4}};
  for (const Case& c : cases) {
    bool checked = false;
    QTimer::singleShot(0, [&] {
      checked = true;
      QListWidget* list = c.panel == 0 ? form.ListBox1 : form.ListBox2;
      EXPECT_EQ(list->count(), 2);
      EXPECT_EQ(list->item(0)->text().toStdString(), Cp932ToUtf8Lossy(g.U(3).GeneralName.View()));
      EXPECT_EQ(list->currentRow(), 0);
      EXPECT_EQ(form.Button1->isEnabled(), c.panel == 0);
      EXPECT_EQ(form.Button3->isEnabled(), c.panel == 0);
      EXPECT_EQ(form.Button2->isEnabled(), c.panel == 1);
      EXPECT_EQ(form.Button4->isEnabled(), c.panel == 1);
      EXPECT_FALSE(form.SerifBox1->isEnabled());
      EXPECT_FALSE((c.panel == 0 ? form.ListBox2 : form.ListBox1)->isEnabled());
      if (c.panel == 1 && c.row < 0) Screenshot(form, "battle-reinforcement");
      if (c.row >= 0) list->setCurrentRow(c.row);
      (form.*(c.button))->click();
    });
    const int chosen = form.BattleChooseReinforcement(c.panel, Slots({3, 4}));
    EXPECT_TRUE(checked);
    EXPECT_EQ(chosen, c.row);
    if (c.row >= 0) {
      EXPECT_EQ(form.ReinforcementUnit, c.row == 0 ? 3 : 4);
    }
    for (QPushButton* b : {form.Button1, form.Button2, form.Button3, form.Button4}) EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(form.SerifBox1->isEnabled());
    EXPECT_EQ(form.ListBox1->count() + form.ListBox2->count(), 0);
  }
}

TEST_F(BattleFixture, MessagesWaitForTheClickAndStayShown) {
  // A message while the window is hidden shows it, so that it can be clicked away.
  const QString longer = QStringLiteral("ソルカ軍 ") + QString::fromStdString(Cp932ToUtf8Lossy(g.U(71).GeneralName.View())) +
                         QStringLiteral("指揮下の軍勢が\r援軍として到着しました。合戦がエスカレートしました。6ラウンドまで延長します。");
  BoxClicker clicker(form.SerifBox1);
  form.BattleMessage("ヴァルネ方野戦第1ラウンド");
  EXPECT_EQ(clicker.clicks, 1);
  EXPECT_TRUE(form.isVisible());
  form.BattleShow(16, 5);
  form.BattleMessage(longer.toStdString());  // longer than one page: a wait at its end too
  EXPECT_EQ(clicker.clicks, 3);
  EXPECT_FALSE(clicker.timedOut);
  EXPECT_TRUE(form.isVisible());
  EXPECT_GT(form.SerifBox1->CellCount(), form.SerifBox1->CellsPerPage());
}

TEST_F(BattleFixture, MessagesAtEachPace) {
  // What the text box is set to while a message waits: the pause between two characters and
  // the hold after which the page moves on (0: only a click ends it). The box's own pause here
  // is 30 ms; the last message of a battle, under its summary, always waits for the click.
  struct Case {
    TextPace pace;
    bool lastWord;
    int pause, hold;
  };
  const Case cases[] = {{TextPace::Normal, false, 30, 0},  {TextPace::Fast, false, 10, 900},
                        {TextPace::AtOnce, false, 0, 1200}, {TextPace::Normal, true, 30, 0},
                        {TextPace::Fast, true, 10, 0},      {TextPace::AtOnce, true, 0, 0}};
  form.SerifBox1->WaitTime = 30;
  for (const Case& c : cases) {
    form.BattleShow(16, 5);
    if (c.lastWord) form.BattleOver(BattleOutcome{.Rounds = 1});
    form.MessagePace = c.pace;
    int pause = -1, hold = -1;
    BoxClicker clicker(form.SerifBox1, [&] {
      pause = form.SerifBox1->WaitTime;
      hold = form.SerifBox1->AutoAdvanceMs;
    });
    form.BattleMessage("戦闘終了");
    EXPECT_EQ(clicker.clicks, 1);
    EXPECT_EQ(pause, c.pause) << static_cast<int>(c.pace) << c.lastWord;
    EXPECT_EQ(hold, c.hold) << static_cast<int>(c.pace) << c.lastWord;
    // The box is left at its own pace, waiting for clicks.
    EXPECT_EQ(form.SerifBox1->WaitTime, 30);
    EXPECT_EQ(form.SerifBox1->AutoAdvanceMs, 0);
    form.BattleClose();
  }
}

struct StoryFixture : ::testing::Test {
  void SetUp() override {
    main.setGeometry(100, 120, 792, 545);
    ASSERT_TRUE(form.LoadPictures(kData));
    form.SerifBox1->WaitTime = 0;
  }
  QWidget main;
  TForm7 form{&main};
};

TEST_F(StoryFixture, EachEnding) {
  struct Case {
    int side;
    bool homeFell;
    const char* caption;
    std::vector<int> lengths;
    const char* shot;
  };
  const Case cases[] = {{0, false, "ヴァルネ方勝利", {40, 96}, "story-side0"},
                        {1, true, "ソルカ方勝利", {75}, "story-side1-home"},
                        {1, false, "ソルカ方勝利", {76}, "story-side1-points"}};
  for (const Case& c : cases) {
    const QStringList texts = EndingStoryTexts(c.side, c.homeFell);
    ASSERT_EQ(static_cast<std::size_t>(texts.size()), c.lengths.size());
    for (qsizetype i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i].size(), c.lengths[static_cast<std::size_t>(i)]);
    EXPECT_EQ(EndingCaption(c.side), QString::fromUtf8(c.caption));
    bool seen = false;
    int typed = 0;
    form.SerifBox1->OnFlowText = [&](TSerifBox*) {
      if (++typed == 30) Screenshot(form, (std::string(c.shot) + "-typing").c_str());
    };
    BoxClicker clicker(form.SerifBox1, [&] {
      if (seen) return;
      seen = true;
      EXPECT_TRUE(form.isVisible());
      EXPECT_EQ(form.windowTitle(), QString::fromUtf8(c.caption));
      EXPECT_EQ(form.frameGeometry().left(), main.frameGeometry().left());
      EXPECT_EQ(form.frameGeometry().bottom(), main.frameGeometry().bottom());
      Screenshot(form, c.shot);
    });
    form.TellEnding(c.side, c.homeFell);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(clicker.timedOut);
    EXPECT_EQ(clicker.clicks, static_cast<int>(c.lengths.size()));
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(form.size(), QSize(800, 600));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(StoryFixture, WinnersPicture) {
  QImage both(kData + QStringLiteral("/gametop.JPG"));
  ASSERT_EQ(both.size(), QSize(1580, 417));
  for (int side : {0, 1}) {
    form.ShowWinnerPicture(side);
    const QImage shown = form.Image1->pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(790, 417));
    // The decoded halves match the halves of the picture (same JPEG decoder via Qt may differ by
    // a little, so compare loosely at a few points).
    for (QPoint at : {QPoint(100, 100), QPoint(600, 300)}) {
      const QRgb a = shown.pixel(at), b = both.pixel(at + QPoint(side * 790, 0));
      EXPECT_NEAR(qRed(a), qRed(b), 12);
      EXPECT_NEAR(qGreen(a), qGreen(b), 12);
    }
  }
}

}  // namespace
}  // namespace milgant
