// Unit counters and the map overlays (river and road hexsides, attack and retreat arrows). All
// are drawn on transparency; the overlays stay inside the hexagon so that a tinted hex, which
// is cut out with the hex mask, keeps them whole.
#include "Art.h"
#include "Paint.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace picgen {
namespace {

QImage Transparent(int w, int h) {
  QImage img = NewPicture(w, h, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  return img;
}

// The counter's square: placed right of centre in its 50 x 50 cell because the map draws it at
// the hex box's left edge, and this centres it on the 60-pixel hex.
const QRectF kBody(7.5, 3.5, 41, 41);

void ClipToHex(QImage& img) {
  const int s = DrawScale();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (!HexInside(x / s, y / s)) img.setPixel(x, y, qRgba(0, 0, 0, 0));
}

}  // namespace

QImage Counter(int side, int rank, int variant) {
  QImage img = Transparent(50, 50);
  const QColor ground = side == 0 ? kIndigo : kVermilion;
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Drop shadow, then the board.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 16, 12, 120));
    p.drawRoundedRect(kBody.translated(1.2, 1.2), 3.5, 3.5);
    QLinearGradient g(kBody.topLeft(), kBody.bottomRight());
    g.setColorAt(0, Scale(ground, 1.22f));
    g.setColorAt(1, Scale(ground, 0.86f));
    p.setPen(QPen(QColor(24, 18, 14), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(kBody, 3.5, 3.5);
  }
  // Print texture on the board.
  Mottle(img, 0.06f, 4.0f, 900u + static_cast<std::uint32_t>(side));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Rank: the more gold, the higher. 武将 one lozenge; 大将 two and a gold frame; 総大将 three on a
  // gold head band, a double gold frame and a gold ring round the crest.
  const QColor frame = rank == 0 ? QColor(226, 216, 192) : kGoldLight;
  const QRectF inner = kBody.adjusted(2.5, 2.5, -2.5, -2.5);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(frame, rank == 0 ? 0.8 : 1.3));
  p.drawRoundedRect(inner, 2, 2);
  if (rank == 2) {
    p.setPen(QPen(frame, 0.8));
    p.drawRoundedRect(inner.adjusted(2, 2, -2, -2), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    QLinearGradient band(0, inner.top() + 3, 0, inner.top() + 12);
    band.setColorAt(0, kGoldLight);
    band.setColorAt(1, kGold);
    p.setBrush(band);
    p.drawRect(QRectF(inner.left() + 2.5, inner.top() + 2.5, inner.width() - 5, 9));
  }
  const int marks = rank + 1;
  const float y = static_cast<float>(inner.top()) + 7.0f;
  p.setPen(QPen(rank == 2 ? QColor(60, 30, 10) : QColor(70, 48, 16), 0.7));
  p.setBrush(rank == 2 ? Scale(ground, 0.8f) : kGold);
  for (int k = 0; k < marks; ++k) {
    const float x = static_cast<float>(kBody.center().x()) + (k - (marks - 1) / 2.0f) * 8.5f;
    QPolygonF lozenge;
    lozenge << QPointF(x, y - 3.6) << QPointF(x + 3.4, y) << QPointF(x, y + 3.6) << QPointF(x - 3.4, y);
    p.drawPolygon(lozenge);
  }
  // Crest on a cream disc.
  const QPointF crest(kBody.center().x(), kBody.top() + 27.0);
  const float radius = 11.5f;
  p.setPen(rank == 2 ? QPen(kGold, 1.6) : QPen(QColor(30, 22, 16), 0.8));
  p.setBrush(QColor(244, 236, 214));
  p.drawEllipse(crest, radius, radius);
  DrawCrest(p, side, crest, radius - 1.4f, Scale(ground, 0.9f));
  p.end();
  if (variant == 1) {
    // A unit that has acted: its lower half is shaded, opaque parts only, with a diagonal
    // hatch every four picture pixels, one picture pixel wide.
    const int s = DrawScale();
    for (int yy = 25 * s; yy < 50 * s; ++yy)
      for (int x = 0; x < 50 * s; ++x) {
        const QRgb c = img.pixel(x, yy);
        if (qAlpha(c) == 0) continue;
        const bool hatch = ((x + yy) % (4 * s)) < s;
        const float f = hatch ? 0.34f : 0.48f;
        auto shade = [f](int v) { return std::min(v, static_cast<int>(v * f + 12)); };
        img.setPixel(x, yy, qRgba(shade(qRed(c)), shade(qGreen(c)), shade(qBlue(c)), qAlpha(c)));
      }
  }
  return img;
}

QImage CounterStrip() {
  QImage strip = Transparent(600, 50);
  for (int side = 0; side < 2; ++side)
    for (int rank = 0; rank < 3; ++rank)
      for (int v = 0; v < 2; ++v)
        Blit(strip, 50 * (side * 6 + rank * 2 + v), 0, Counter(side, rank, v), QPainter::CompositionMode_Source);
  return strip;
}

QImage RiverLine(int d) {
  QImage img = Transparent(60, 60);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // The river runs along the hexside, just inside it; the neighbour draws the other bank.
    const QLineF side = HexSide(d);
    const QPointF inward = -TowardNeighbour(d);
    const QLineF bed = side.translated(inward * 2.2);
    const QLineF shrunk(bed.pointAt(-0.02), bed.pointAt(1.02));
    p.setPen(QPen(QColor(28, 46, 78), 5.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shrunk);
    p.setPen(QPen(QColor(70, 120, 178), 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shrunk);
    p.setPen(QPen(QColor(150, 192, 222), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shrunk.translated(-inward * 0.7));
  }
  ClipToHex(img);
  return img;
}

QImage RoadBar(int d) {
  QImage img = Transparent(60, 60);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // The road from the middle of the hexside to the hex centre, on the line joining the two
    // hex centres: it meets the neighbour's half across the side, and the halves of a hex meet
    // in its middle, so a road reads as one line from castle to castle. Packed earth between
    // dark verges, the centre end rounded so that bends and forks close up.
    const QPointF mid = HexSide(d).center();
    const QPointF in = -TowardNeighbour(d);
    const QPointF centre(kHexCentre, kHexCentre);
    const QLineF road(mid + in * 0.5, centre);
    p.setPen(QPen(QColor(46, 32, 22), 4.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(road);
    p.setPen(QPen(QColor(46, 32, 22), 4.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QLineF(road.pointAt(0.5), road.p2()));
    p.setPen(QPen(QColor(206, 172, 116), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(road);
  }
  ClipToHex(img);
  return img;
}

namespace {

// An arrow pointing in direction d, filling a square of the given side.
void Arrow(QPainter& p, int d, float side, float shaft, float head, const QColor& fill,
           const QColor& ink, float line) {
  const QPointF c(side / 2, side / 2);
  const QPointF u = TowardNeighbour(d);
  const QPointF v(-u.y(), u.x());
  const float half = side / 2 - line;
  const QPointF tip = c + u * half;
  const QPointF tail = c - u * half;
  const QPointF neck = tip - u * (head * 1.05f);
  QPolygonF a;
  a << tip << neck + v * head << neck + v * (shaft / 2) << tail + v * (shaft / 2)
    << tail - v * (shaft / 2) << neck - v * (shaft / 2) << neck - v * head;
  p.setPen(QPen(ink, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(fill);
  p.drawPolygon(a);
}

}  // namespace

QImage AttackArrow(int d) {
  QImage img = Transparent(10, 10);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Arrow(p, d, 10, 2.6f, 4.2f, QColor(232, 62, 36), QColor(40, 12, 8), 0.8f);
  return img;
}

QImage RetreatArrow(int d) {
  QImage img = Transparent(22, 22);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Arrow(p, d, 22, 5.0f, 8.6f, QColor(252, 234, 150), QColor(36, 28, 20), 1.3f);
  return img;
}

namespace {

QImage Strip(int count, int cell, QImage (*make)(int)) {
  QImage strip = Transparent(count * cell, cell);
  for (int i = 0; i < count; ++i) Blit(strip, cell * i, 0, make(i + 1), QPainter::CompositionMode_Source);
  return strip;
}

}  // namespace

QImage RiverStrip() { return Strip(6, 60, RiverLine); }
QImage RoadStrip() { return Strip(6, 60, RoadBar); }
QImage AttackArrowStrip() { return Strip(6, 10, AttackArrow); }
QImage RetreatArrowStrip() { return Strip(6, 22, RetreatArrow); }

}  // namespace picgen
