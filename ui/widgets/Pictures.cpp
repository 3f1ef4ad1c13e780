// Loading the compiled-in pictures and checking their sizes, so a broken resource is caught at
// start-up rather than drawn as garbage.
#include "ui/widgets/Pictures.h"

#include <QFile>

namespace milgant::pictures {
namespace {

bool LoadChecked(const char* name, QSize size, QImage* out, QString* error) {
  QImage img(QString::fromLatin1(name));
  if (img.isNull() || img.size() != size) {
    if (error != nullptr)
      *error = QStringLiteral("%1: missing or not %2 x %3")
                   .arg(QString::fromLatin1(name))
                   .arg(size.width())
                   .arg(size.height());
    return false;
  }
  *out = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32
                                                   : QImage::Format_RGB32);
  return true;
}

bool LoadList(const char* name, int count, int side, QList<QImage>* out, QString* error) {
  QImage strip;
  if (!LoadChecked(name, QSize(count * side, side), &strip, error)) return false;
  *out = SplitStrip(strip, side);
  return true;
}

bool LoadCompressed(const char* name, TCompressedImage* out, QString* error) {
  QString why;
  if (out->LoadFromFile(QString::fromLatin1(name), &why)) return true;
  if (error != nullptr) *error = QStringLiteral("%1: %2").arg(QString::fromLatin1(name), why);
  return false;
}

}  // namespace

bool LoadMainWindowPictures(MainWindowPictures* out, QString* error) {
  MainWindowPictures p;
  if (!LoadChecked(kTerrain, QSize(14 * 60, 60), &p.Terrain, error) ||
      !LoadChecked(kHexagon, QSize(60, 60), &p.Hexagon, error) ||
      !LoadList(kCounters, 12, 50, &p.Counters, error) ||
      !LoadList(kRivers, 6, 60, &p.Rivers, error) ||
      !LoadList(kRoads, 6, 60, &p.Roads, error) ||
      !LoadList(kRetreatArrows, 6, 22, &p.RetreatArrows, error) ||
      !LoadList(kAttackArrows, 6, 10, &p.AttackArrows, error) ||
      !LoadCompressed(kTitle, &p.Title, error))
    return false;
  *out = p;
  return true;
}

QImage BattleTextBackground() {
  return QImage(QString::fromLatin1(kBattleText)).convertToFormat(QImage::Format_RGB32);
}

bool LoadStoryTextBackground(TCompressedImage* out, QString* error) {
  return LoadCompressed(kStoryText, out, error);
}

}  // namespace milgant::pictures
