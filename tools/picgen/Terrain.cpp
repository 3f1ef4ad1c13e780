// The terrain strip: fourteen hex tiles, each a printed-map rendering of one terrain on washi,
// with a thin ink hex line along the upper and left sides so that, drawn row by row, the map
// shows one clean line between every two hexes.
#include "Art.h"
#include "Paint.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace picgen {

bool HexInside(int x, int y) {
  if (x < 0 || x >= 60 || y < 0 || y >= 60) return false;
  const int r = y >= 45 ? 59 - y : y;
  if (r >= 15) return true;
  return x >= 29 - 2 * r && x <= 30 + 2 * r;
}

QLineF HexSide(int d) {
  switch (d) {
    case 1: return QLineF(30, 0, 59, 15);
    case 2: return QLineF(59, 15, 59, 44);
    case 3: return QLineF(59, 44, 30, 59);
    case 4: return QLineF(29, 59, 0, 44);
    case 5: return QLineF(0, 44, 0, 15);
    case 6: return QLineF(0, 15, 29, 0);
    default: return {};
  }
}

QPointF TowardNeighbour(int d) {
  // Centre-to-centre steps: rows are 44 pixels apart and shifted half a hex.
  static const QPointF steps[6] = {{30, -44}, {60, 0}, {30, 44}, {-30, 44}, {-60, 0}, {-30, -44}};
  const QPointF v = steps[(d - 1) % 6];
  return v / std::hypot(v.x(), v.y());
}

namespace {

constexpr std::uint32_t kSeed = 7100;

QImage Canvas() {
  QImage img = NewPicture(60, 60, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  return img;
}

// The hexagon at the drawing scale: each pixel of the 60 x 60 hexagon becomes a block of
// scale x scale pixels.
bool Inside(int x, int y, int scale) {
  return x >= 0 && y >= 0 && HexInside(x / scale, y / scale);
}

bool TopEdge(int x, int y) { return HexInside(x, y) && !HexInside(x, y - 1); }

// The hex line along the upper and left sides. At scale 1 the pixels of the top rim and of the
// left column. At a larger scale the rim's steps are taller than one pixel, so a pixel is on
// the line when any of the three pixels above it is outside: a thin line that still runs
// corner to corner up each step.
bool HexLine(int x, int y, int scale) {
  if (scale == 1) return (y <= 15 && TopEdge(x, y)) || (x == 0 && y >= 14 && y <= 45);
  if (!Inside(x, y, scale)) return false;
  if (x == 0) return true;
  if (y / scale > 15) return false;
  return !Inside(x, y - 1, scale) || !Inside(x - 1, y - 1, scale) || !Inside(x + 1, y - 1, scale);
}

// Copies the hexagon out of the canvas onto white and lays the hex line.
QImage Finish(const QImage& canvas, const QColor& lineInk) {
  const int s = DrawScale();
  QImage tile = NewPicture(60, 60, QImage::Format_RGB32);
  tile.fill(Qt::white);
  for (int y = 0; y < 60 * s; ++y)
    for (int x = 0; x < 60 * s; ++x) {
      if (!Inside(x, y, s)) continue;
      QColor c = QColor::fromRgba(canvas.pixel(x, y));
      c.setAlpha(255);
      if (HexLine(x, y, s)) c = Mix(c, lineInk, 0.55f);
      tile.setPixel(x, y, c.rgb());
    }
  return tile;
}

void Ground(QImage& img, const QColor& base, std::uint32_t seed, float cloud = 12.0f) {
  PaintPaper(img, base, seed, cloud, 0.8f);
}

void InkDots(QPainter& p, Rng& rng, int count, const QColor& ink, float r0, float r1) {
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  for (int i = 0; i < count; ++i) {
    const float x = rng.Range(1, 59), y = rng.Range(1, 59);
    const float r = rng.Range(r0, r1);
    p.drawEllipse(QPointF(x, y), r, r);
  }
}

QImage Road() {
  QImage img = Canvas();
  Ground(img, QColor(206, 194, 158), kSeed + 0);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // A broad highway running across the hex, packed earth between two ink verges.
  QPainterPath band;
  band.moveTo(-2, 25);
  band.cubicTo(18, 22, 40, 36, 62, 31);
  band.lineTo(62, 39);
  band.cubicTo(40, 44, 18, 30, -2, 33);
  band.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(228, 214, 176));
  p.drawPath(band);
  p.setPen(QPen(WithAlpha(kInk, 150), 0.9));
  p.setBrush(Qt::NoBrush);
  QPainterPath upper, lower;
  upper.moveTo(-2, 25);
  upper.cubicTo(18, 22, 40, 36, 62, 31);
  lower.moveTo(-2, 33);
  lower.cubicTo(18, 30, 40, 44, 62, 39);
  p.drawPath(upper);
  p.drawPath(lower);
  // Wheel ruts.
  p.setPen(QPen(WithAlpha(QColor(140, 118, 80), 120), 0.7, Qt::DashLine));
  QPainterPath rut;
  rut.moveTo(-2, 29);
  rut.cubicTo(18, 26, 40, 40, 62, 35);
  p.drawPath(rut);
  // Roadside pines and a milestone mound.
  DrawPine(p, QPointF(16, 20), 14, QColor(82, 112, 74), kInk, kSeed + 1);
  DrawPine(p, QPointF(44, 52), 13, QColor(82, 112, 74), kInk, kSeed + 2, true);
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(150, 160, 104));
  p.drawChord(QRectF(32, 17, 12, 9), 0, 180 * 16);
  Rng rng(kSeed + 3);
  InkDots(p, rng, 22, WithAlpha(QColor(120, 100, 70), 90), 0.3f, 0.7f);
  return Finish(img, kInk);
}

QImage Plain() {
  QImage img = Canvas();
  Ground(img, QColor(184, 196, 136), kSeed + 10, 8.0f);
  // Rice paddies: a slanted grid of plots, each a slightly different green, with pale dykes.
  for (int py = 0; py < img.height(); ++py)
    for (int px = 0; px < img.width(); ++px) {
      const float x = Logical(px), y = Logical(py);
      const float u = (x + 0.28f * y + 4) / 14.0f, v = (y + 3) / 10.5f;
      const int cu = static_cast<int>(std::floor(u)), cv = static_cast<int>(std::floor(v));
      const float fu = u - cu, fv = v - cv;
      QColor c = QColor::fromRgba(img.pixel(px, py));
      const float tone = Hash(cu, cv, kSeed + 11);
      c = Mix(c, tone < 0.5f ? QColor(166, 186, 118) : QColor(200, 204, 142), 0.35f);
      if (fu < 0.09f || fv < 0.12f) c = Mix(c, QColor(226, 220, 180), 0.75f);
      img.setPixel(px, py, c.rgba());
    }
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Rows of young rice in a few plots.
  Rng rng(kSeed + 12);
  p.setPen(QPen(WithAlpha(QColor(70, 100, 52), 120), 0.6));
  for (int i = 0; i < 26; ++i) {
    const float x = rng.Range(2, 58), y = rng.Range(2, 58);
    p.drawLine(QPointF(x, y), QPointF(x + 0.6, y - 2.0));
    p.drawLine(QPointF(x + 1.4, y), QPointF(x + 1.0, y - 1.8));
  }
  // A hamlet's grove.
  p.setPen(QPen(kInk, 0.7));
  p.setBrush(QColor(96, 128, 80));
  p.drawEllipse(QPointF(47, 47), 4.5, 3.2);
  p.drawEllipse(QPointF(51, 44.5), 3.5, 2.6);
  DrawHouse(p, QPointF(45, 52), 6, 5, QColor(132, 110, 78), kInk, 0.6f);
  return Finish(img, kInk);
}

QImage Rough() {
  QImage img = Canvas();
  Ground(img, QColor(196, 174, 120), kSeed + 20, 16.0f);
  Mottle(img, 0.09f, 9.0f, kSeed + 21);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Rng rng(kSeed + 22);
  // Scrub: clusters of dark bushes.
  static const QPointF bushes[] = {{12, 22}, {27, 12}, {45, 20}, {20, 40}, {40, 38},
                                   {53, 33}, {8, 35},  {31, 52}, {47, 49}, {28, 29}};
  for (const QPointF& b : bushes) {
    for (int k = 0; k < 3; ++k) {
      const QPointF c = b + QPointF(rng.Range(-2.2f, 2.2f), rng.Range(-1.5f, 1.5f));
      const float r = rng.Range(1.4f, 2.4f);
      p.setPen(QPen(WithAlpha(kInk, 170), 0.6));
      p.setBrush(Mix(QColor(98, 106, 60), QColor(130, 130, 76), rng.Uniform()));
      p.drawEllipse(c, r, r * 0.85);
    }
  }
  // Rocks.
  static const QPointF rocks[] = {{36, 27}, {15, 48}, {50, 42}, {22, 17}};
  for (const QPointF& r : rocks) {
    QPolygonF stone;
    stone << r + QPointF(-2.8, 1.2) << r + QPointF(-1.4, -1.6) << r + QPointF(1.2, -2.0)
          << r + QPointF(2.9, 0.6) << r + QPointF(1.6, 1.6);
    p.setPen(QPen(kInk, 0.7));
    p.setBrush(QColor(160, 150, 130));
    p.drawPolygon(stone);
  }
  // Grass hatching.
  p.setPen(QPen(WithAlpha(kInk, 110), 0.6));
  for (int i = 0; i < 30; ++i) {
    const float x = rng.Range(2, 58), y = rng.Range(3, 58);
    p.drawLine(QPointF(x, y), QPointF(x - 1.0, y - 2.2));
    p.drawLine(QPointF(x + 1.2, y), QPointF(x + 1.6, y - 2.0));
  }
  return Finish(img, kInk);
}

void Peak(QPainter& p, float cx, float by, float w, float h, std::uint32_t seed) {
  Rng rng(seed);
  const QPointF apex(cx + rng.Range(-1.5f, 1.5f), by - h);
  const QPointF left(cx - w / 2, by), right(cx + w / 2, by);
  QPainterPath hill;
  hill.moveTo(left);
  hill.cubicTo(QPointF(cx - w * 0.32f, by - h * 0.45f), QPointF(apex.x() - w * 0.12f, apex.y() + 1),
               apex);
  hill.cubicTo(QPointF(apex.x() + w * 0.12f, apex.y() + 1), QPointF(cx + w * 0.32f, by - h * 0.45f),
               right);
  hill.closeSubpath();
  QLinearGradient g(QPointF(cx - w / 2, by - h), QPointF(cx + w / 2, by));
  g.setColorAt(0, QColor(150, 178, 120));
  g.setColorAt(0.5, QColor(112, 146, 98));
  g.setColorAt(1, QColor(78, 108, 78));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(hill);
  // The shadowed flank.
  QPainterPath shade;
  shade.moveTo(apex);
  shade.cubicTo(QPointF(apex.x() + w * 0.12f, apex.y() + 1), QPointF(cx + w * 0.32f, by - h * 0.45f),
                right);
  shade.lineTo(cx + w * 0.08f, by);
  shade.quadTo(QPointF(cx + w * 0.05f, by - h * 0.5f), apex);
  p.setBrush(QColor(62, 88, 66, 120));
  p.drawPath(shade);
  p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath outline;
  outline.moveTo(left);
  outline.cubicTo(QPointF(cx - w * 0.32f, by - h * 0.45f), QPointF(apex.x() - w * 0.12f, apex.y() + 1),
                  apex);
  outline.cubicTo(QPointF(apex.x() + w * 0.12f, apex.y() + 1), QPointF(cx + w * 0.32f, by - h * 0.45f),
                  right);
  p.drawPath(outline);
  // Ink texture strokes down the slope.
  p.setPen(QPen(WithAlpha(kInk, 140), 0.6));
  for (int k = 0; k < 3; ++k) {
    const float t = 0.3f + 0.2f * k;
    const QPointF a(apex.x() + w * 0.08f * t, apex.y() + h * t * 0.8f);
    p.drawLine(a, a + QPointF(w * 0.1f, h * 0.22f));
  }
}

QImage Mountain() {
  QImage img = Canvas();
  Ground(img, QColor(172, 160, 116), kSeed + 30, 14.0f);
  Mottle(img, 0.06f, 10.0f, kSeed + 31);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Back range first, then the nearer peaks overlapping it.
  Peak(p, 19, 30, 24, 17, kSeed + 32);
  Peak(p, 41, 29, 24, 18, kSeed + 33);
  Peak(p, 8, 46, 17, 13, kSeed + 34);
  Peak(p, 51, 47, 17, 13, kSeed + 35);
  Peak(p, 29, 50, 30, 22, kSeed + 36);
  Rng rng(kSeed + 37);
  InkDots(p, rng, 12, WithAlpha(kInk, 80), 0.3f, 0.6f);
  return Finish(img, kInk);
}

QImage Desert() {
  QImage img = Canvas();
  Ground(img, QColor(228, 208, 152), kSeed + 40, 10.0f);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Dunes: crescent ridges, lit on the windward side.
  static const float dunes[][3] = {{14, 14, 16}, {42, 12, 14}, {28, 28, 18}, {8, 40, 14},
                                   {48, 38, 16}, {26, 50, 16}};
  for (const auto& d : dunes) {
    const float x = d[0], y = d[1], w = d[2];
    QPainterPath crest;
    crest.moveTo(x - w / 2, y + 3);
    crest.quadTo(QPointF(x, y - 3.5), QPointF(x + w / 2, y + 2));
    QPainterPath shade = crest;
    shade.quadTo(QPointF(x + w * 0.1f, y + 1.5f), QPointF(x - w / 2, y + 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(196, 164, 104, 150));
    p.drawPath(shade);
    p.setPen(QPen(QColor(150, 118, 70), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(crest);
  }
  Rng rng(kSeed + 41);
  InkDots(p, rng, 60, WithAlpha(QColor(150, 118, 70), 120), 0.25f, 0.5f);
  return Finish(img, kInk);
}

QImage Shallows() {
  QImage img = Canvas();
  Ground(img, QColor(148, 190, 184), kSeed + 50, 8.0f);
  // Sand bars showing through the water.
  for (int py = 0; py < img.height(); ++py)
    for (int px = 0; px < img.width(); ++px) {
      const float n = Fbm(Logical(px) / 17.0f, Logical(py) / 11.0f, 3, kSeed + 51);
      if (n > 0.56f) {
        const float t = std::min(1.0f, (n - 0.56f) * 9.0f);
        img.setPixel(px, py, Mix(QColor::fromRgba(img.pixel(px, py)), QColor(218, 206, 162), t).rgba());
      }
    }
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Rng rng(kSeed + 52);
  // Ripples: short pale double strokes.
  p.setPen(QPen(QColor(236, 246, 240, 190), 0.8));
  for (int i = 0; i < 16; ++i) {
    const float x = rng.Range(2, 52), y = rng.Range(4, 57);
    QPainterPath r;
    r.moveTo(x, y);
    r.quadTo(QPointF(x + 2.5, y - 1.6), QPointF(x + 5, y));
    r.quadTo(QPointF(x + 7.5, y + 1.6), QPointF(x + 10, y));
    p.drawPath(r);
  }
  p.setPen(QPen(WithAlpha(QColor(40, 80, 90), 110), 0.6));
  for (int i = 0; i < 10; ++i) {
    const float x = rng.Range(2, 52), y = rng.Range(4, 57);
    p.drawLine(QPointF(x, y), QPointF(x + 4, y));
  }
  // Reeds.
  p.setPen(QPen(QColor(70, 96, 56), 0.7));
  for (const QPointF& r : {QPointF(12, 44), QPointF(48, 18), QPointF(40, 50)})
    for (int k = -1; k <= 1; ++k) p.drawLine(r + QPointF(k * 1.2, 0), r + QPointF(k * 1.8, -4.5));
  return Finish(img, QColor(30, 50, 60));
}

QImage River() {
  QImage img = Canvas();
  Ground(img, QColor(92, 136, 168), kSeed + 60, 8.0f);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Flowing-water lines: long waves with a curl here and there.
  for (int i = 0; i < 6; ++i) {
    const float y0 = 6.0f + 9.5f * i;
    QPainterPath w;
    w.moveTo(-2, y0);
    for (int k = 0; k < 4; ++k) {
      const float x = -2 + 16.0f * k;
      const float amp = (k + i) % 2 == 0 ? 2.6f : -2.6f;
      w.cubicTo(QPointF(x + 5, y0 + amp), QPointF(x + 11, y0 - amp), QPointF(x + 16, y0));
    }
    p.setPen(QPen(QColor(190, 216, 228), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(w);
    p.setPen(QPen(WithAlpha(QColor(40, 70, 110), 150), 0.7));
    p.drawPath(w.translated(0.6, 1.6));
  }
  return Finish(img, QColor(24, 40, 60));
}

QImage Sea() {
  QImage img = Canvas();
  Ground(img, QColor(56, 84, 124), kSeed + 70, 7.0f);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Blue-sea waves: rows of overlapping fans of three arcs, lower rows over upper ones.
  const float r = 7.5f;
  int row = 0;
  for (float y = -2; y < 66; y += r * 0.55f, ++row) {
    const float off = (row % 2) * r;
    for (float x = -r - off; x < 62 + r; x += 2 * r) {
      const QPointF c(x + off, y);
      QColor body = Mix(QColor(56, 84, 124), QColor(72, 104, 146), Hash(static_cast<int>(x), row, kSeed + 71));
      p.setPen(Qt::NoPen);
      p.setBrush(body);
      p.drawPie(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, 180 * 16);
      p.setBrush(Qt::NoBrush);
      for (int k = 0; k < 3; ++k) {
        const float rr = r - 0.4f - 2.2f * k;
        p.setPen(QPen(k == 0 ? QColor(150, 178, 206) : QColor(120, 150, 186), 0.75));
        p.drawArc(QRectF(c.x() - rr, c.y() - rr, 2 * rr, 2 * rr), 0, 180 * 16);
      }
    }
  }
  return Finish(img, QColor(18, 28, 46));
}

// Ground and houses of a town; the keep and banner go on top.
void TownGround(QImage& img, std::uint32_t seed) {
  Ground(img, QColor(216, 204, 166), seed, 9.0f);
  Mottle(img, 0.04f, 8.0f, seed + 1);
}

void Houses(QPainter& p, std::initializer_list<QPointF> feet, std::uint32_t seed, float size = 6) {
  Rng rng(seed);
  for (const QPointF& f : feet) {
    const QColor roof = Mix(QColor(92, 88, 86), QColor(128, 104, 78), rng.Uniform());
    DrawHouse(p, f, size + rng.Range(-0.5f, 1.0f), size * 0.9f, roof, kInk, 0.6f);
  }
}

void OwnerBanner(QPainter& p, int owner) {
  DrawNobori(p, QPointF(50, 42), 28, 6.5f, owner == 0 ? kOwnerBlue : kOwnerRed, kInk, true, 1.0f);
}

QImage City(int owner) {
  QImage img = Canvas();
  TownGround(img, kSeed + 80);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Houses(p, {QPointF(10, 24), QPointF(18, 19), QPointF(8, 38), QPointF(16, 50), QPointF(40, 52),
             QPointF(28, 55), QPointF(40, 15), QPointF(52, 50)},
         kSeed + 81);
  // The castle compound: a low stone wall round the keep.
  p.setPen(QPen(kInk, 0.9));
  p.setBrush(QColor(196, 188, 164));
  p.drawRoundedRect(QRectF(16, 26, 26, 19), 3, 3);
  KeepStyle keep;
  keep.width = 15;
  keep.storeys = 2;
  keep.storeyHeight = 7;
  keep.baseHeight = 4.5f;
  DrawKeep(p, QPointF(29, 42), keep);
  OwnerBanner(p, owner);
  return Finish(img, kInk);
}

QImage LargeCity(int owner) {
  QImage img = Canvas();
  TownGround(img, kSeed + 90);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Houses(p, {QPointF(8, 23), QPointF(16, 17), QPointF(43, 15), QPointF(6, 33), QPointF(7, 43),
             QPointF(14, 52), QPointF(24, 57), QPointF(36, 57), QPointF(46, 52), QPointF(54, 48)},
         kSeed + 91, 5.5f);
  // Moat and stone-walled bailey.
  p.setPen(QPen(kInk, 0.9));
  p.setBrush(QColor(92, 132, 160));
  p.drawRoundedRect(QRectF(11, 19, 36, 31), 4, 4);
  p.setBrush(QColor(170, 164, 150));
  p.drawRoundedRect(QRectF(14, 22, 30, 25), 3, 3);
  p.setPen(QPen(WithAlpha(kInk, 90), 0.5));
  for (float y = 24.5f; y < 47; y += 2.5f) p.drawLine(QPointF(15, y), QPointF(43, y));
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(214, 204, 172));
  p.drawRect(QRectF(17, 25, 24, 19));
  KeepStyle keep;
  keep.width = 17;
  keep.storeys = 3;
  keep.storeyHeight = 7;
  keep.baseHeight = 5;
  DrawKeep(p, QPointF(29, 43), keep);
  OwnerBanner(p, owner);
  return Finish(img, kInk);
}

QImage PortCity(int owner) {
  QImage img = Canvas();
  TownGround(img, kSeed + 100);
  {
    // The harbour: sea along the lower side of the hex.
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sea;
    sea.moveTo(-2, 40);
    sea.cubicTo(14, 44, 24, 38, 36, 43);
    sea.cubicTo(46, 47, 54, 41, 62, 43);
    sea.lineTo(62, 62);
    sea.lineTo(-2, 62);
    sea.closeSubpath();
    p.setPen(QPen(kInk, 0.9));
    p.setBrush(QColor(64, 96, 136));
    p.drawPath(sea);
    p.setPen(QPen(QColor(150, 180, 208), 0.8));
    p.setBrush(Qt::NoBrush);
    for (const QPointF& c : {QPointF(8, 52), QPointF(22, 50), QPointF(16, 57), QPointF(44, 55),
                             QPointF(31, 56)}) {
      p.drawArc(QRectF(c.x() - 3, c.y() - 2, 6, 4), 0, 180 * 16);
      p.drawArc(QRectF(c.x() + 3, c.y() - 2, 6, 4), 0, 180 * 16);
    }
    // Pier and a moored ship with a square sail.
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(150, 116, 80));
    p.drawRect(QRectF(34, 42, 3, 10));
    QPainterPath hull;
    hull.moveTo(39, 50);
    hull.lineTo(52, 50);
    hull.quadTo(QPointF(51, 54), QPointF(47, 54.5));
    hull.lineTo(42, 54.5);
    hull.quadTo(QPointF(39.5, 53), QPointF(39, 50));
    p.setBrush(QColor(120, 84, 56));
    p.drawPath(hull);
    p.drawLine(QPointF(45.5, 50), QPointF(45.5, 41));
    p.setBrush(QColor(240, 232, 210));
    p.drawRect(QRectF(42.5, 42, 6, 6));
    Houses(p, {QPointF(9, 26), QPointF(16, 20), QPointF(8, 38), QPointF(19, 40), QPointF(41, 16),
               QPointF(44, 38)},
           kSeed + 101);
    p.setPen(QPen(kInk, 0.9));
    p.setBrush(QColor(196, 188, 164));
    p.drawRoundedRect(QRectF(17, 22, 24, 17), 3, 3);
    KeepStyle keep;
    keep.width = 14;
    keep.storeys = 2;
    keep.storeyHeight = 7;
    keep.baseHeight = 4;
    DrawKeep(p, QPointF(29, 36), keep);
    OwnerBanner(p, owner);
  }
  return Finish(img, kInk);
}

}  // namespace

QImage TerrainTile(int code) {
  switch (code) {
    case 0: return Road();
    case 1: return Plain();
    case 2: return Rough();
    case 3: return Mountain();
    case 4: return Desert();
    case 5: return Shallows();
    case 6: return River();
    case 7: return Sea();
    case 8: case 9: return City(code & 1);
    case 10: case 11: return LargeCity(code & 1);
    case 12: case 13: return PortCity(code & 1);
    default: return {};
  }
}

QImage TerrainStrip() {
  QImage strip = NewPicture(14 * 60, 60, QImage::Format_RGB32);
  strip.fill(Qt::white);
  for (int t = 0; t < 14; ++t) Blit(strip, 60 * t, 0, TerrainTile(t));
  return strip;
}

QImage HexagonPicture() {
  const int s = DrawScale();
  QImage img = NewPicture(60, 60, QImage::Format_RGB32);
  for (int y = 0; y < 60 * s; ++y)
    for (int x = 0; x < 60 * s; ++x)
      img.setPixel(x, y, Inside(x, y, s) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  return img;
}

}  // namespace picgen
