// The windows at each size of 表示. The size is read from the settings file as the program reads
// it at start-up, and Qt scales every window by it: the same layout in the windows' own units,
// zoom / 100 screen pixels for each. One run per size (MILGANT_TEST_ZOOM = 100, 150 or 200).
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/game/Game.h"
#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/dialogs/SLG_Unit2.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/mainwindow/Settings.h"
#include "ui/text/Fonts.h"
#include "ui/unitwindow/SLG_Unit3.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/TImage.h"

namespace milgant {
namespace {

int zoom = 100;

QSize OnScreen(QWidget* w) {
  const QPixmap shot = w->grab();
  EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), zoom / 100.0);
  return shot.size();
}

TEST(Zoom, EveryWindowKeepsItsLayoutAndGrowsOnScreen) {
  QTemporaryDir dir;
  const QDir data(QStringLiteral(MILGANT_DATA_DIR));
  for (const char* name : {"Map.dat", "CRT.txt", "form3.JPG", "form4.JPG", "form5.JPG", "gametop.JPG"})
    QFile::copy(data.filePath(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name)));
  Game game;
  QString failure;
  auto forms = CreateForms(game, dir.path(), &failure);
  ASSERT_TRUE(forms != nullptr) << failure.toStdString();
  forms->Form1->show();
  forms->Form4->BattleShow(16, 5);
  // The windows' own sizes, the same at every zoom, and their screen pixels at each.
  struct Window {
    QWidget* w;
    QSize own;
    QSize at150, at200;
  };
  const Window windows[] = {
      {forms->Form1, {792, 585}, {1188, 878}, {1584, 1170}},  // 545 client + menu bar 18 + status 22
      {forms->Form4, {630, 601}, {945, 902}, {1260, 1202}},
      {forms->Form2, {292, 114}, {438, 171}, {584, 228}},
      {forms->Form3, {520, 420}, {780, 630}, {1040, 840}},
  };
  for (const Window& win : windows) {
    const char* name = win.w->metaObject()->className();
    EXPECT_EQ(win.w->size(), win.own) << name;
    const QSize expected = zoom == 100 ? win.own : zoom == 150 ? win.at150 : win.at200;
    EXPECT_EQ(OnScreen(win.w), expected) << name;
  }
  // Above 100 % the pictures are the ones drawn at twice the size. At 200 % the screen shows
  // every one of their pixels as it is: the title, the map view and the battle's map excerpt.
  const pictures::MainWindowPictures& pics = forms->Form1->Pictures();
  EXPECT_EQ(pics.Scale, zoom == 100 ? 1 : 2);
  EXPECT_EQ(forms->Form1->Renderer().Scale(), pics.Scale);
  if (zoom == 200) {
    const auto shows = [](QWidget* w, const QImage& picture, QPoint from, const char* what) {
      const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
      const QImage want = picture.copy(QRect(from * 2, shot.size())).convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(want.size(), shot.size()) << what;
      int differing = 0;
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) differing += shot.pixel(x, y) != want.pixel(x, y);
      EXPECT_EQ(differing, 0) << what;
    };
    EXPECT_EQ(pics.TitlePicture.size(), QSize(1586, 1164));
    shows(forms->Form1->CompressedImage1, pics.TitlePicture, {0, 0}, "title");
    game.ScrollX = 120;
    game.ScrollY = 88;
    forms->Form1->RedrawMap();
    shows(forms->Form1->Image5, forms->Form1->Renderer().MapBitmap(), {120, 88}, "map view");
  }
  forms->Form4->BattleClose();
}

TEST(Zoom, TheDesktopsOwnFactorIsMultiplied) {
  const QByteArray kept = qgetenv("QT_SCALE_FACTOR");
  struct Case {
    const char* desktop;  // QT_SCALE_FACTOR before the game sets it; null: none
    int percent;
    const char* result;   // null: left unset
  };
  const Case cases[] = {{nullptr, 100, nullptr}, {nullptr, 150, "1.5"}, {"2", 150, "3"}, {"1.25", 200, "2.5"}, {"2", 100, "2"}};
  for (const Case& c : cases) {
    if (c.desktop == nullptr) qunsetenv("QT_SCALE_FACTOR");
    else qputenv("QT_SCALE_FACTOR", c.desktop);
    ApplyZoomBeforeStart(c.percent);
    if (c.result == nullptr) EXPECT_FALSE(qEnvironmentVariableIsSet("QT_SCALE_FACTOR"));
    else EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), QByteArray(c.result));
  }
  if (kept.isNull()) qunsetenv("QT_SCALE_FACTOR");
  else qputenv("QT_SCALE_FACTOR", kept);
}

}  // namespace
}  // namespace milgant

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MILGANT_MUTE", "1");
  qunsetenv("QT_SCALE_FACTOR");
  milgant::zoom = qEnvironmentVariableIsSet("MILGANT_TEST_ZOOM") ? qEnvironmentVariableIntValue("MILGANT_TEST_ZOOM") : 100;
  // The size goes through the settings file, as when the player chose it in 表示.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  milgant::GameSettings chosen;
  chosen.Zoom = milgant::zoom;
  if (!milgant::WriteSetting(milgant::SettingsFile(), chosen, milgant::SettingKey::Zoom)) return 1;
  milgant::ApplyZoomBeforeStart(milgant::ReadSettings(milgant::SettingsFile()).Zoom);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (!milgant::SetUpFonts()) return 1;
  QApplication::setFont(milgant::WindowFont());
  return RUN_ALL_TESTS();
}
