// Writing and checking the generated files. PNG and the compressed form are lossless, so a
// committed file must decode to what the generator draws; a JPEG must decode to what a fresh
// encoding decodes to.
#include "Outputs.h"

#include "Art.h"
#include "Paint.h"
#include "ui/widgets/CmprsImg.h"
#include "ui/widgets/JpegPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>

namespace picgen {
namespace {

// A picture drawn afresh at twice its size, for dense screens and large window scales. The
// file keeps the pixels only: the game knows which files are the sharp twins.
template <QImage (*Draw)()>
QImage Twice() {
  const DrawingScale scale(2);
  QImage img = Draw();
  img.setDevicePixelRatio(1);
  return img;
}

}  // namespace

const std::vector<Output>& Outputs() {
  static const std::vector<Output> outputs = {
      {"pictures/terrain.png", "Image6 terrain 0-13", Encoding::Png, TerrainStrip},
      {"pictures/hexagon.png", "Image7 hexagon", Encoding::Png, HexagonPicture},
      {"pictures/counters.png", "ImageList1 counters", Encoding::Png, CounterStrip},
      {"pictures/rivers.png", "ImageList3 rivers 1-6", Encoding::Png, RiverStrip},
      {"pictures/roads.png", "ImageList7 roads 1-6", Encoding::Png, RoadStrip},
      {"pictures/retreat-arrows.png", "ImageList4 retreat", Encoding::Png, RetreatArrowStrip},
      {"pictures/attack-arrows.png", "ImageList5 attack", Encoding::Png, AttackArrowStrip},
      {"pictures/title.cmp", "CompressedImage1 title", Encoding::Compressed24, TitlePicture},
      {"pictures/battle-text.png", "battle text background", Encoding::Png, BattleTextBackground},
      {"pictures/story-text.cmp", "story text background", Encoding::Compressed24, StoryTextBackground},
      {"form3.JPG", "form3.JPG unit window", Encoding::Jpeg, UnitWindowBackground},
      {"form4.JPG", "form4.JPG battle window", Encoding::Jpeg, BattleWindowBackground},
      {"form5.JPG", "form5.JPG allocation", Encoding::Jpeg, AllocationBackground},
      {"gametop.JPG", "gametop.JPG victories", Encoding::Jpeg, VictoryPictures},
      {"icons/milgant-48.png", "icon 48", Encoding::Png, [] { return AppIcon(48); }},
      {"icons/milgant-64.png", "icon 64", Encoding::Png, [] { return AppIcon(64); }},
      {"icons/milgant-128.png", "icon 128", Encoding::Png, [] { return AppIcon(128); }},
      {"icons/milgant-256.png", "icon 256", Encoding::Png, [] { return AppIcon(256); }},
      // The same pictures drawn at twice the size (the icons come in their own sizes; the
      // hexagon is the mask of a box, the same at any scale).
      {"pictures/2x/terrain.png", "Image6 terrain 0-13 at 2x", Encoding::Png, Twice<TerrainStrip>},
      {"pictures/2x/counters.png", "ImageList1 counters at 2x", Encoding::Png, Twice<CounterStrip>},
      {"pictures/2x/rivers.png", "ImageList3 rivers 1-6 at 2x", Encoding::Png, Twice<RiverStrip>},
      {"pictures/2x/roads.png", "ImageList7 roads 1-6 at 2x", Encoding::Png, Twice<RoadStrip>},
      {"pictures/2x/retreat-arrows.png", "ImageList4 retreat at 2x", Encoding::Png, Twice<RetreatArrowStrip>},
      {"pictures/2x/attack-arrows.png", "ImageList5 attack at 2x", Encoding::Png, Twice<AttackArrowStrip>},
      {"pictures/2x/title.jpg", "title at 2x", Encoding::Jpeg, Twice<TitlePicture>},
      {"pictures/2x/battle-text.png", "battle text background at 2x", Encoding::Png, Twice<BattleTextBackground>},
      {"pictures/2x/story-text.jpg", "story text background at 2x", Encoding::Jpeg, Twice<StoryTextBackground>},
      {"pictures/2x/form3.jpg", "form3 unit window at 2x", Encoding::Jpeg, Twice<UnitWindowBackground>},
      {"pictures/2x/form4.jpg", "form4 battle window at 2x", Encoding::Jpeg, Twice<BattleWindowBackground>},
      {"pictures/2x/form5.jpg", "form5 allocation at 2x", Encoding::Jpeg, Twice<AllocationBackground>},
      {"pictures/2x/gametop.jpg", "gametop victories at 2x", Encoding::Jpeg, Twice<VictoryPictures>},
  };
  return outputs;
}

QByteArray Encode(const Output& o, const QImage& picture) {
  switch (o.encoding) {
    case Encoding::Png: {
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      picture.save(&buffer, "PNG", 0);
      return bytes;
    }
    case Encoding::Compressed24:
      return milgant::TCompressedImage::Compress(milgant::TCompressedImage::EncodeBmp(picture, 24),
                                                 milgant::TCompressedImage::FilterFor(24));
    case Encoding::Jpeg:
      return milgant::EncodeJpeg(picture, 92);
  }
  return {};
}

QImage Decode(const Output& o, const QByteArray& bytes, QString* error) {
  switch (o.encoding) {
    case Encoding::Png: {
      QImage img;
      if (!img.loadFromData(bytes, "PNG")) {
        if (error != nullptr) *error = QStringLiteral("not a PNG file");
        return {};
      }
      return img;
    }
    case Encoding::Compressed24: {
      milgant::TCompressedImage c;
      if (!c.LoadCompressedData(bytes, error)) return {};
      return c.Picture();
    }
    case Encoding::Jpeg:
      return milgant::DecodeJpeg(bytes, error);
  }
  return {};
}

Difference Compare(const QImage& a, const QImage& b) {
  Difference d;
  if (a.isNull() || b.isNull() || a.size() != b.size()) return d;
  d.sizeMatches = true;
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  double sum = 0;
  qint64 outliers = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      const int dr = std::abs(qRed(p[col]) - qRed(q[col]));
      const int dg = std::abs(qGreen(p[col]) - qGreen(q[col]));
      const int db = std::abs(qBlue(p[col]) - qBlue(q[col]));
      const int da = std::abs(qAlpha(p[col]) - qAlpha(q[col]));
      sum += dr + dg + db + da;
      if (std::max({dr, dg, db, da}) > 24) ++outliers;
    }
  }
  const double pixels = static_cast<double>(x.width()) * x.height();
  d.meanAbs = sum / (4 * pixels);
  d.outliers = static_cast<double>(outliers) / pixels;
  return d;
}

bool WithinTolerance(const Difference& d) {
  return d.sizeMatches && d.meanAbs <= 0.5 && d.outliers <= 0.002;
}

bool WriteAll(const QString& dataDir) {
  bool ok = true;
  for (const Output& o : Outputs()) {
    const QString path = QDir(dataDir).filePath(QString::fromLatin1(o.path));
    QDir().mkpath(QFileInfo(path).path());
    const QByteArray bytes = Encode(o, o.draw());
    QSaveFile f(path);
    if (bytes.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
      std::fprintf(stderr, "milgant-picgen: cannot write %s\n", qPrintable(path));
      ok = false;
      continue;
    }
    std::printf("wrote %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
  }
  return ok;
}

bool CheckAll(const QString& dataDir) {
  bool ok = true;
  for (const Output& o : Outputs()) {
    const QString path = QDir(dataDir).filePath(QString::fromLatin1(o.path));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
      std::printf("MISSING  %s\n", o.path);
      ok = false;
      continue;
    }
    QString error;
    const QImage committed = Decode(o, f.readAll(), &error);
    const QImage drawn = o.draw();
    const QImage expected = o.encoding == Encoding::Jpeg ? Decode(o, Encode(o, drawn), &error) : drawn;
    const Difference d = Compare(committed, expected);
    const bool good = WithinTolerance(d);
    std::printf("%s  %s  mean %.3f, outliers %.4f%%%s\n", good ? "ok      " : "DIFFERS ", o.path, d.meanAbs,
                100 * d.outliers, d.sizeMatches ? "" : " (size or format)");
    if (!error.isEmpty()) std::printf("         %s\n", qPrintable(error));
    ok = ok && good;
  }
  if (!ok) std::printf("Rebuild the pictures: milgant-picgen --data <repo>/data\n");
  return ok;
}

}  // namespace picgen
