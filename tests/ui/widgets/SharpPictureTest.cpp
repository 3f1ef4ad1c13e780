// The pictures drawn at twice the size: the set the windows load above 100 %, and the twins of
// the window backgrounds, taken only for the very pictures they were drawn for.
#include "ui/widgets/JpegPicture.h"
#include "ui/widgets/Pictures.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace pictures = milgant::pictures;

namespace {

TEST(SharpPictures, TheTwiceSizeSetHasEveryPictureAtDoubleSizeAndTwoPixelsToAUnit) {
  pictures::MainWindowPictures one, two;
  QString error;
  ASSERT_TRUE(pictures::LoadMainWindowPictures(&one, &error, 1)) << error.toStdString();
  ASSERT_TRUE(pictures::LoadMainWindowPictures(&two, &error, 2)) << error.toStdString();
  EXPECT_EQ(one.Scale, 1);
  EXPECT_EQ(two.Scale, 2);
  const auto doubled = [](const QImage& small, const QImage& big, const char* what) {
    EXPECT_EQ(big.size(), small.size() * 2) << what;
    EXPECT_EQ(big.devicePixelRatio(), 2.0) << what;
    EXPECT_EQ(small.devicePixelRatio(), 1.0) << what;
    EXPECT_EQ(big.hasAlphaChannel(), small.hasAlphaChannel()) << what;
  };
  doubled(one.Terrain, two.Terrain, "terrain");
  doubled(one.TitlePicture, two.TitlePicture, "title");
  doubled(pictures::BattleTextBackground(1), pictures::BattleTextBackground(2), "battle text");
  const std::pair<const QList<QImage>*, const QList<QImage>*> lists[] = {
      {&one.Counters, &two.Counters}, {&one.Rivers, &two.Rivers}, {&one.Roads, &two.Roads},
      {&one.RetreatArrows, &two.RetreatArrows}, {&one.AttackArrows, &two.AttackArrows}};
  for (const auto& [small, big] : lists) {
    ASSERT_EQ(big->size(), small->size());
    for (int i = 0; i < small->size(); ++i) doubled((*small)[i], (*big)[i], "list");
  }
  // The hexagon is the mask of a box, the same at any scale.
  EXPECT_EQ(two.Hexagon, one.Hexagon);
  EXPECT_EQ(two.Hexagon.size(), QSize(60, 60));
  // Reduced by half, the twice-size tiles are the tiles: same art, only finer. White stays
  // white outside the hexagon; inside, the mean difference is a few levels.
  const QImage reduced = two.Terrain.scaled(one.Terrain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  double sum = 0;
  for (int y = 0; y < reduced.height(); ++y)
    for (int x = 0; x < reduced.width(); ++x) {
      const QRgb a = reduced.pixel(x, y), b = one.Terrain.pixel(x, y);
      sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    }
  EXPECT_LT(sum / (3.0 * reduced.width() * reduced.height()), 12.0);

  EXPECT_FALSE(pictures::LoadMainWindowPictures(&one, &error, 3));
  EXPECT_EQ(error, QStringLiteral("no pictures at scale 3"));
}

TEST(SharpPictures, AWindowBackgroundGetsItsTwinOnlyWhenItIsThePictureShipped) {
  const QDir data(QStringLiteral(MILGANT_DATA_DIR));
  struct Background {
    const char* file;
    QSize size;
  };
  const Background backgrounds[] = {{"form3.JPG", {520, 420}},
                                    {"form4.JPG", {630, 601}},
                                    {"form5.JPG", {245, 190}},
                                    {"gametop.JPG", {1580, 417}}};
  for (const Background& b : backgrounds) {
    QString error;
    const QImage shipped = milgant::LoadJpeg(data.filePath(QString::fromLatin1(b.file)), &error);
    ASSERT_EQ(shipped.size(), b.size) << b.file << " " << error.toStdString();
    const QString twin = pictures::SharpName(b.file);
    const QImage sharp = pictures::SharpTwin(shipped, twin, 2);
    EXPECT_EQ(sharp.size(), b.size * 2) << b.file;
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0) << b.file;

    // A player's own picture in the folder is shown as it is: one of another size, one of the
    // same size but other content (the shipped one turned negative, or with a small black
    // square of 48 x 48 painted on it), and any at 100 %.
    QImage negative = shipped;
    negative.invertPixels();
    QImage marked = shipped;
    for (int y = 100; y < 148; ++y)
      for (int x = 100; x < 148; ++x) marked.setPixel(x, y, qRgb(0, 0, 0));
    const QImage other = shipped.scaled(b.size / 2);
    struct Case {
      const QImage* given;
      int scale;
    };
    for (const Case& c : {Case{&negative, 2}, Case{&marked, 2}, Case{&other, 2}, Case{&shipped, 1}}) {
      const QImage got = pictures::SharpTwin(*c.given, twin, c.scale);
      EXPECT_EQ(got, *c.given) << b.file;
      EXPECT_EQ(got.devicePixelRatio(), 1.0) << b.file;
    }
  }
  EXPECT_EQ(pictures::SharpName("form4.JPG"), QStringLiteral(":/pictures/2x/form4.jpg"));
  EXPECT_EQ(pictures::SharpName(pictures::kTitle), QStringLiteral(":/pictures/2x/title.jpg"));
  EXPECT_EQ(pictures::SharpName(pictures::kCounters), QStringLiteral(":/pictures/2x/counters.png"));
}

}  // namespace
