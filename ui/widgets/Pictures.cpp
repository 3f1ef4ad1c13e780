// Loading the compiled-in pictures and checking their sizes, so a broken resource is caught at
// start-up rather than drawn as garbage.
#include "ui/widgets/Pictures.h"

#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>

namespace milgant::pictures {
namespace {

// How close a twin reduced to half its size must come to its picture: the mean difference a
// channel in levels, and the share of pixels with a channel off by more than kTwinFarOff.
constexpr double kTwinMeanTolerance = 4.0;
constexpr int kTwinFarOff = 48;
constexpr double kTwinFarShare = 0.002;

// The picture `name` at `scale`: the file itself, or its twin at twice the size.
bool LoadChecked(const char* name, QSize size, QImage* out, QString* error, int scale = 1) {
  const QString path = scale == 2 ? SharpName(name) : QString::fromLatin1(name);
  size *= scale;
  QImage img(path);
  if (img.isNull() || img.size() != size) {
    if (error != nullptr)
      *error = QStringLiteral("%1: missing or not %2 x %3").arg(path).arg(size.width()).arg(size.height());
    return false;
  }
  *out = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32
                                                   : QImage::Format_RGB32);
  out->setDevicePixelRatio(scale);
  return true;
}

bool LoadList(const char* name, int count, int side, QList<QImage>* out, QString* error, int scale) {
  QImage strip;
  if (!LoadChecked(name, QSize(count * side, side), &strip, error, scale)) return false;
  *out = SplitStrip(strip, side * scale);
  return true;
}

bool LoadCompressed(const char* name, TCompressedImage* out, QString* error) {
  QString why;
  if (out->LoadFromFile(QString::fromLatin1(name), &why)) return true;
  if (error != nullptr) *error = QStringLiteral("%1: %2").arg(QString::fromLatin1(name), why);
  return false;
}

}  // namespace

int PictureScale() {
  // A test or a player can ask for either set whatever the screen.
  const QByteArray forced = qgetenv("MILGANT_PICTURE_SCALE");
  if (forced == "1" || forced == "2") return forced.toInt();
  return qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0 ? 2 : 1;
}

QString SharpName(const char* name) {
  QString file = QString::fromLatin1(name).section(QLatin1Char('/'), -1).toLower();
  // The large scenes are kept as JPEG at twice the size.
  if (file.endsWith(QLatin1String(".cmp"))) file = file.left(file.size() - 4) + QStringLiteral(".jpg");
  return QStringLiteral(":/pictures/2x/") + file;
}

bool LoadMainWindowPictures(MainWindowPictures* out, QString* error, int scale) {
  if (scale != 1 && scale != 2) {
    if (error != nullptr) *error = QStringLiteral("no pictures at scale %1").arg(scale);
    return false;
  }
  MainWindowPictures p;
  p.Scale = scale;
  if (!LoadChecked(kTerrain, QSize(14 * 60, 60), &p.Terrain, error, scale) ||
      !LoadChecked(kHexagon, QSize(60, 60), &p.Hexagon, error) ||
      !LoadList(kCounters, 12, 50, &p.Counters, error, scale) ||
      !LoadList(kRivers, 6, 60, &p.Rivers, error, scale) ||
      !LoadList(kRoads, 6, 60, &p.Roads, error, scale) ||
      !LoadList(kRetreatArrows, 6, 22, &p.RetreatArrows, error, scale) ||
      !LoadList(kAttackArrows, 6, 10, &p.AttackArrows, error, scale) ||
      !LoadCompressed(kTitle, &p.Title, error))
    return false;
  p.TitlePicture = p.Title.Picture();
  if (scale == 2 && !LoadChecked(kTitle, p.TitlePicture.size(), &p.TitlePicture, error, scale)) return false;
  *out = p;
  return true;
}

QImage BattleTextBackground(int scale) {
  QImage img;
  // The twin is used only at its size; otherwise the tile of 100 %.
  if (scale == 2 && LoadChecked(kBattleText, QSize(105, 105), &img, nullptr, 2)) return img;
  return QImage(QString::fromLatin1(kBattleText)).convertToFormat(QImage::Format_RGB32);
}

QImage SharpTwin(const QImage& shown, const QString& sharpName, int scale) {
  if (scale != 2 || shown.isNull() || shown.devicePixelRatio() != 1.0) return shown;
  QImage twin(sharpName);
  if (twin.size() != shown.size() * 2) return shown;
  twin = twin.convertToFormat(QImage::Format_RGB32);
  // Its twin reduced to the picture's size must match the picture but for the noise of two
  // JPEG encodings and finer drawing: a mean difference of a level or two a channel, and hardly
  // a pixel far off anywhere (an edit of the player's, however small, is kept).
  const QImage reduced = twin.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage own = shown.convertToFormat(QImage::Format_RGB32);
  qint64 sum = 0, far = 0;
  for (int y = 0; y < own.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(own.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(reduced.constScanLine(y));
    for (int x = 0; x < own.width(); ++x) {
      const int dr = std::abs(qRed(a[x]) - qRed(b[x])), dg = std::abs(qGreen(a[x]) - qGreen(b[x])),
                db = std::abs(qBlue(a[x]) - qBlue(b[x]));
      sum += dr + dg + db;
      far += std::max({dr, dg, db}) > kTwinFarOff;
    }
  }
  const double pixels = static_cast<double>(own.width()) * own.height();
  if (sum / (3.0 * pixels) > kTwinMeanTolerance || far / pixels > kTwinFarShare) return shown;
  twin.setDevicePixelRatio(2);
  return twin;
}

bool LoadStoryTextBackground(TCompressedImage* out, QString* error) {
  return LoadCompressed(kStoryText, out, error);
}

}  // namespace milgant::pictures
