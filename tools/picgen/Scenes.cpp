// The large pictures: the title, the two victory scenes and the window and text backgrounds.
// The landscapes are composed like a folding-screen painting: washi sky, gold mist bands,
// layered ink-wash ridges, a castle on its hill and the armies' banners in front.
#include "Art.h"
#include "Paint.h"
#include "Texts.h"

#include <QFont>
#include <QFontDatabase>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace picgen {

bool LoadFonts() {
  static const char* files[] = {"/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf",
                                "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                                "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf",
                                "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"};
  bool ok = true;
  for (const char* f : files) ok = QFontDatabase::addApplicationFont(QString::fromLatin1(f)) >= 0 && ok;
  return ok && QFontDatabase::hasFamily(QStringLiteral("IPAPMincho"));
}

namespace {

struct BannerGroup {
  float x0, x1;      // extent of the host
  float foot;        // ground line of the nearest rank
  float height;      // banner height in the nearest rank
  QColor cloth;
  int count;
  bool fallen = false;  // lowered, lying askew: a beaten army
};

struct Scene {
  QColor skyTop, skyBottom;
  QPointF sun;
  float sunRadius;
  QColor sunColour;
  QColor far, middle, near;  // the three ridge layers
  QColor ground;
  QPointF castle;            // foot of the keep
  float castleScale;
  QColor castleBanner;       // the holder's banners on the walls
  std::vector<QRectF> mist;  // gold mist bands
  QColor mistGold;
  std::vector<BannerGroup> hosts;
  std::vector<QPointF> smoke;  // columns of smoke rising from these points
  bool sea = false;            // a bay on the right
  QPointF cone{-1, -1};        // summit of a lone volcano behind the ranges, if any
  float coneWidth = 0;
  std::uint32_t seed;
};

void PaintSky(QImage& img, const QRect& area, const Scene& s) {
  QPainter p(&img);
  VerticalGradient(p, area, s.skyTop, s.skyBottom);
  p.end();
  // Washi grain over the whole sky.
  const int k = DrawScale();
  for (int y = area.top() * k; y < (area.bottom() + 1) * k; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const float ly = Logical(y);
    for (int x = area.left() * k; x < (area.right() + 1) * k; ++x) {
      const float lx = Logical(x);
      const float d = 9.0f * (Fbm(lx / 60.0f, ly / 60.0f, 4, s.seed) - 0.5f) +
                      5.0f * (ValueNoise(lx / 10.0f, ly / 1.4f, s.seed + 2) - 0.5f) +
                      2.5f * (Hash(x, y, s.seed + 3) - 0.5f);
      auto c = [d](int v) { return std::clamp(static_cast<int>(v + d), 0, 255); };
      line[x] = qRgb(c(qRed(line[x])), c(qGreen(line[x])), c(qBlue(line[x])));
    }
  }
}

void InkWash(QPainter& p, const QPainterPath& ridge, const QColor& colour, float top, float bottom,
             bool outline = true) {
  // Ink wash fades toward the foot of the ridge, as diluted ink does on paper.
  QLinearGradient g(QPointF(0, top), QPointF(0, bottom));
  g.setColorAt(0, colour);
  g.setColorAt(0.55, WithAlpha(colour, colour.alpha() * 3 / 4));
  g.setColorAt(1, WithAlpha(colour, colour.alpha() / 3));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(ridge);
  if (!outline) return;
  p.setPen(QPen(WithAlpha(Scale(colour, 0.55f), 150), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(ridge);
}

// Stone courses: rows of blocks, every other row offset by half a block.
void StoneCourses(QPainter& p, const QPainterPath& wall, const QRectF& box, float k, const QColor& ink) {
  p.save();
  p.setClipPath(wall, Qt::IntersectClip);
  p.setPen(QPen(WithAlpha(ink, 95), 0.7f * k));
  const float row = 5.5f * k, block = 11.0f * k;
  int n = 0;
  for (float y = static_cast<float>(box.bottom()); y > box.top(); y -= row, ++n) {
    p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
    for (float x = static_cast<float>(box.left()) + (n % 2) * block / 2; x < box.right(); x += block)
      p.drawLine(QPointF(x, y), QPointF(x, y - row));
  }
  p.restore();
}

void Castle(QPainter& p, QPointF foot, float k, const QColor& banner, std::uint32_t seed) {
  // The hill under the castle, wooded, fading into the mist below.
  QPainterPath hill;
  hill.moveTo(foot.x() - 260 * k, foot.y() + 110 * k);
  hill.cubicTo(QPointF(foot.x() - 190 * k, foot.y() + 30 * k), QPointF(foot.x() - 150 * k, foot.y() + 14 * k),
               QPointF(foot.x() - 110 * k, foot.y() + 12 * k));
  hill.lineTo(foot.x() + 120 * k, foot.y() + 12 * k);
  hill.cubicTo(QPointF(foot.x() + 160 * k, foot.y() + 14 * k), QPointF(foot.x() + 200 * k, foot.y() + 30 * k),
               QPointF(foot.x() + 270 * k, foot.y() + 110 * k));
  const QPainterPath crest = hill;  // the skyline only: the foot fades into the mist
  hill.closeSubpath();
  QLinearGradient hg(QPointF(0, foot.y()), QPointF(0, foot.y() + 110 * k));
  hg.setColorAt(0, QColor(76, 98, 74));
  hg.setColorAt(1, QColor(76, 98, 74, 60));
  p.setPen(Qt::NoPen);
  p.setBrush(hg);
  p.drawPath(hill);
  p.setPen(QPen(WithAlpha(kInk, 170), 1.2 * k));
  p.setBrush(Qt::NoBrush);
  p.drawPath(crest);
  // Ramparts with the concave batter of a castle wall.
  auto rampart = [&](float cx, float bottom, float wb, float wt, float hgt) {
    QPainterPath r;
    r.moveTo(cx - wb / 2, bottom);
    r.quadTo(QPointF(cx - wt / 2 - (wb - wt) * 0.05f, bottom - hgt * 0.25f), QPointF(cx - wt / 2, bottom - hgt));
    r.lineTo(cx + wt / 2, bottom - hgt);
    r.quadTo(QPointF(cx + wt / 2 + (wb - wt) * 0.05f, bottom - hgt * 0.25f), QPointF(cx + wb / 2, bottom));
    r.closeSubpath();
    QLinearGradient sg(QPointF(cx - wb / 2, 0), QPointF(cx + wb / 2, 0));
    sg.setColorAt(0, QColor(176, 170, 156));
    sg.setColorAt(1, QColor(130, 126, 118));
    p.setPen(QPen(kInk, 1.3 * k));
    p.setBrush(sg);
    p.drawPath(r);
    StoneCourses(p, r, QRectF(cx - wb / 2, bottom - hgt, wb, hgt), k, kInk);
    p.setPen(QPen(kInk, 1.3 * k));
    p.setBrush(Qt::NoBrush);
    p.drawPath(r);
  };
  // Outer wall with its plaster parapet and loopholes.
  rampart(foot.x(), foot.y() + 14 * k, 250 * k, 214 * k, 34 * k);
  const float wallTop = foot.y() - 20 * k;
  p.setPen(QPen(kInk, 1.0 * k));
  p.setBrush(kPlaster);
  p.drawRect(QRectF(foot.x() - 105 * k, wallTop - 9 * k, 210 * k, 9 * k));
  p.setBrush(kRoofTile);
  p.drawRect(QRectF(foot.x() - 108 * k, wallTop - 12.5f * k, 216 * k, 3.5f * k));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(50, 44, 40));
  for (float x = foot.x() - 98 * k; x < foot.x() + 100 * k; x += 12 * k) {
    if (static_cast<int>((x - foot.x()) / (12 * k)) % 2 == 0)
      p.drawRect(QRectF(x, wallTop - 6 * k, 2.4f * k, 2.4f * k));
    else
      p.drawEllipse(QPointF(x + 1.2f * k, wallTop - 4.8f * k), 1.3f * k, 1.3f * k);
  }
  // Corner turrets.
  KeepStyle turret;
  turret.width = 34 * k;
  turret.storeys = 2;
  turret.storeyHeight = 15 * k;
  turret.baseHeight = 1.5f * k;
  turret.line = 1.0f * k;
  DrawKeep(p, QPointF(foot.x() - 92 * k, wallTop - 10 * k), turret);
  DrawKeep(p, QPointF(foot.x() + 92 * k, wallTop - 10 * k), turret);
  // Banners of the holder along the parapet.
  Rng rng(seed);
  for (int i = 0; i < 8; ++i) {
    const float x = foot.x() + (-66 + 19 * i) * k + rng.Range(-2, 2) * k;
    if (std::abs(x - foot.x()) < 46 * k) continue;
    DrawNobori(p, QPointF(x, wallTop - 10 * k), 44 * k, 9 * k, banner, kInk, true, 1.0f * k);
  }
  // Inner bailey: a higher stone base and the great keep.
  rampart(foot.x(), wallTop - 10 * k, 112 * k, 92 * k, 30 * k);
  KeepStyle keep;
  keep.width = 80 * k;
  keep.storeys = 5;
  keep.storeyHeight = 24 * k;
  keep.baseHeight = 0.5f * k;
  keep.line = 1.4f * k;
  DrawKeep(p, QPointF(foot.x(), wallTop - 40 * k), keep);
}

// Massed soldiers: rows of lacquered helmets with a glint of the army's colour on their backs.
void Soldiers(QPainter& p, float x0, float x1, float foot, float k, const QColor& colour, std::uint32_t seed) {
  Rng rng(seed);
  for (float x = x0; x < x1; x += rng.Range(5.0f, 9.0f) * k) {
    const float cx = x + rng.Range(-1.5f, 1.5f) * k;
    const float cy = foot - rng.Range(0, 4.0f) * k;
    p.setPen(Qt::NoPen);
    p.setBrush(Mix(kInk, colour, 0.35f));
    p.drawRect(QRectF(cx - 2.6f * k, cy - 7 * k, 5.2f * k, 9 * k));
    QPolygonF hat;
    hat << QPointF(cx - 5 * k, cy - 6.5f * k) << QPointF(cx, cy - 10.5f * k) << QPointF(cx + 5 * k, cy - 6.5f * k);
    p.setPen(QPen(kInk, 0.8f * k));
    p.setBrush(QColor(36, 30, 28));
    p.drawPolygon(hat);
    p.setPen(QPen(WithAlpha(kGoldLight, 160), 0.7f * k));
    p.drawLine(QPointF(cx - 2.5f * k, cy - 8.3f * k), QPointF(cx + 0.5f * k, cy - 10 * k));
  }
}

void Host(QPainter& p, const BannerGroup& g, std::uint32_t seed) {
  Rng rng(seed);
  // Back ranks first: smaller and higher up the field.
  const int ranks = 3;
  for (int r = ranks - 1; r >= 0; --r) {
    const float k = 1.0f - 0.22f * r;
    const float foot = g.foot - 24.0f * r;
    const int n = std::max(2, static_cast<int>(g.count * (1.0f - 0.15f * r)));
    // Spears behind the banners.
    if (!g.fallen) {
      p.setPen(QPen(WithAlpha(kInk, 210), 1.0 * k));
      for (float x = g.x0 + 4; x < g.x1; x += rng.Range(12, 22) * k) {
        const float lean = rng.Range(-2, 2) * k;
        const float top = foot - g.height * k * rng.Range(0.55f, 0.7f);
        p.drawLine(QPointF(x, foot), QPointF(x + lean, top));
        p.drawLine(QPointF(x + lean, top), QPointF(x + lean * 1.1f, top - 4 * k));
      }
    }
    for (int i = 0; i < n; ++i) {
      const float x = g.x0 + (g.x1 - g.x0) * (i + 0.5f + rng.Range(-0.25f, 0.25f)) / n;
      const float h = g.height * k * rng.Range(0.92f, 1.06f);
      const QColor cloth = Mix(g.cloth, kPaper, 0.1f * r);
      if (g.fallen) {
        p.save();
        p.translate(x, foot);
        p.rotate(rng.Range(-70, -40) * (i % 2 == 0 ? 1 : -1));
        DrawNobori(p, QPointF(0, 0), h * 0.8f, h * 0.17f, Scale(cloth, 0.75f), kInk, true, 1.4f * k);
        p.restore();
      } else {
        DrawNobori(p, QPointF(x, foot - 4 * k), h, h * 0.17f, cloth, kInk, true, 1.6f * k);
      }
    }
    if (!g.fallen) Soldiers(p, g.x0 - 6, g.x1 + 6, foot + 2 * k, k * 1.3f, g.cloth, seed + 31u * r);
  }
}

void Smoke(QPainter& p, QPointF base, float height, std::uint32_t seed) {
  Rng rng(seed);
  for (int i = 0; i < 14; ++i) {
    const float t = i / 13.0f;
    const QPointF c(base.x() + 40 * t * t + rng.Range(-6, 6), base.y() - height * t);
    const float r = 8 + 26 * t;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 62, 60, static_cast<int>(70 * (1 - t) + 20)));
    p.drawEllipse(c, r, r * 0.75f);
  }
}

void PaintScene(QImage& img, const QRect& area, const Scene& s) {
  PaintSky(img, area, s);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setClipRect(area);
  p.translate(area.topLeft());
  const float w = static_cast<float>(area.width()), h = static_cast<float>(area.height());
  // Sun with a soft halo.
  QRadialGradient halo(s.sun, s.sunRadius * 2.2f);
  halo.setColorAt(0, WithAlpha(s.sunColour, 90));
  halo.setColorAt(1, WithAlpha(s.sunColour, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(halo);
  p.drawEllipse(s.sun, s.sunRadius * 2.2f, s.sunRadius * 2.2f);
  p.setBrush(s.sunColour);
  p.drawEllipse(s.sun, s.sunRadius, s.sunRadius);

  // High mist band over the sky.
  if (!s.mist.empty()) DrawGoldMist(p, s.mist[0], s.seed + 40, s.mistGold, Scale(s.mistGold, 0.7f));
  for (const QPointF& c : s.smoke) Smoke(p, c, h * 0.45f, s.seed + static_cast<std::uint32_t>(c.x()));

  if (s.cone.x() >= 0) {
    // A lone snow-capped volcano, paler than the nearest range.
    const QPointF t = s.cone;
    const float cw = s.coneWidth;
    QPainterPath cone;
    cone.moveTo(t.x() - cw, h * 0.62f);
    cone.cubicTo(QPointF(t.x() - cw * 0.45f, t.y() + (h * 0.62f - t.y()) * 0.55f), QPointF(t.x() - cw * 0.12f, t.y() + 6),
                 QPointF(t.x() - cw * 0.08f, t.y()));
    cone.lineTo(t.x() + cw * 0.08f, t.y());
    cone.cubicTo(QPointF(t.x() + cw * 0.12f, t.y() + 6), QPointF(t.x() + cw * 0.45f, t.y() + (h * 0.62f - t.y()) * 0.55f),
                 QPointF(t.x() + cw, h * 0.62f));
    cone.closeSubpath();
    InkWash(p, cone, Mix(s.far, s.skyBottom, 0.35f), t.y(), h * 0.62f, false);
    QPainterPath flanks;
    flanks.moveTo(t.x() - cw * 0.5f, h * 0.43f);
    flanks.cubicTo(QPointF(t.x() - cw * 0.4f, t.y() + (h * 0.62f - t.y()) * 0.5f), QPointF(t.x() - cw * 0.12f, t.y() + 6),
                   QPointF(t.x() - cw * 0.08f, t.y()));
    flanks.lineTo(t.x() + cw * 0.08f, t.y());
    flanks.cubicTo(QPointF(t.x() + cw * 0.12f, t.y() + 6), QPointF(t.x() + cw * 0.4f, t.y() + (h * 0.62f - t.y()) * 0.5f),
                   QPointF(t.x() + cw * 0.5f, h * 0.43f));
    p.setPen(QPen(WithAlpha(kInk, 70), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flanks);
    QPainterPath snow;
    snow.moveTo(t.x() - cw * 0.08f, t.y());
    snow.lineTo(t.x() + cw * 0.08f, t.y());
    snow.cubicTo(QPointF(t.x() + cw * 0.14f, t.y() + 10), QPointF(t.x() + cw * 0.2f, t.y() + 18), QPointF(t.x() + cw * 0.24f, t.y() + 26));
    for (int i = 0; i < 5; ++i) {
      const float x = t.x() + cw * (0.24f - 0.12f * (i + 1));
      snow.lineTo(x + cw * 0.06f, t.y() + 16 + (i % 2) * 8);
      snow.lineTo(x, t.y() + 26 - (i % 2) * 4);
    }
    snow.cubicTo(QPointF(t.x() - cw * 0.2f, t.y() + 18), QPointF(t.x() - cw * 0.14f, t.y() + 10), QPointF(t.x() - cw * 0.08f, t.y()));
    p.setPen(QPen(WithAlpha(kInk, 90), 1.0));
    p.setBrush(QColor(246, 244, 238, 235));
    p.drawPath(snow);
  }
  InkWash(p, RidgePath(-10, w + 10, h * 0.58f, h * 0.34f, h, s.seed + 1, 0.6f), s.far, h * 0.25f, h * 0.7f);
  if (s.mist.size() > 1) DrawGoldMist(p, s.mist[1], s.seed + 41, s.mistGold, Scale(s.mistGold, 0.7f));
  InkWash(p, RidgePath(-10, w + 10, h * 0.7f, h * 0.26f, h, s.seed + 2, 1.0f), s.middle, h * 0.42f, h * 0.8f);
  if (s.sea) {
    QPainterPath bay;
    bay.moveTo(w * 0.62f, h * 0.86f);
    bay.cubicTo(w * 0.72f, h * 0.72f, w * 0.86f, h * 0.74f, w + 10, h * 0.7f);
    bay.lineTo(w + 10, h * 0.95f);
    bay.closeSubpath();
    p.setPen(QPen(WithAlpha(kInk, 150), 1.0));
    p.setBrush(QColor(72, 100, 134));
    p.drawPath(bay);
    p.setPen(QPen(QColor(170, 196, 214, 160), 1.0));
    for (int i = 0; i < 28; ++i) {
      const float x = w * 0.72f + (i % 7) * w * 0.04f, y = h * 0.76f + (i / 7) * h * 0.035f;
      p.drawArc(QRectF(x, y, 12, 6), 0, 180 * 16);
    }
  }
  Castle(p, s.castle, s.castleScale, s.castleBanner, s.seed + 5);
  if (s.mist.size() > 2) DrawGoldMist(p, s.mist[2], s.seed + 42, s.mistGold, Scale(s.mistGold, 0.7f));
  // Near hills and the field where the armies stand.
  InkWash(p, RidgePath(-10, w + 10, h * 0.84f, h * 0.12f, h + 2, s.seed + 3, 1.4f), s.near, h * 0.7f, h);
  QPainterPath field;
  field.addRect(QRectF(-10, h * 0.9f, w + 20, h * 0.2f));
  p.setPen(Qt::NoPen);
  p.setBrush(s.ground);
  p.drawPath(field);
  // Pines on the near hills.
  Rng rng(s.seed + 6);
  for (int i = 0; i < 9; ++i) {
    const float x = rng.Range(0, w);
    if (std::abs(x - s.castle.x()) < 150 * s.castleScale) continue;
    DrawPine(p, QPointF(x, h * rng.Range(0.8f, 0.88f)), h * rng.Range(0.09f, 0.15f), QColor(56, 84, 60), kInk,
             s.seed + 60 + static_cast<std::uint32_t>(i), i % 2 == 1);
  }
  for (const BannerGroup& g : s.hosts) Host(p, g, s.seed + 70 + static_cast<std::uint32_t>(g.x0));
  if (s.mist.size() > 3) DrawGoldMist(p, s.mist[3], s.seed + 43, s.mistGold, Scale(s.mistGold, 0.7f));
}

// A faint frame: ink rule with a gold rule inside it.
void Frame(QPainter& p, const QRectF& r) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(60, 48, 36), 2.0));
  p.drawRect(r.adjusted(3, 3, -3, -3));
  p.setPen(QPen(kGold, 1.0));
  p.drawRect(r.adjusted(7, 7, -7, -7));
}

QImage WashiBoard(int w, int h, std::uint32_t seed) {
  QImage img = NewPicture(w, h, QImage::Format_RGB32);
  img.fill(kPaper);
  PaintPaper(img, QColor(238, 229, 206), seed, 12.0f, 1.0f);
  return img;
}

}  // namespace

QImage TitlePicture() {
  QImage img = NewPicture(793, 582, QImage::Format_RGB32);
  Scene s;
  s.skyTop = QColor(236, 228, 206);
  s.skyBottom = QColor(238, 206, 164);
  s.sun = QPointF(716, 96);
  s.sunRadius = 44;
  s.sunColour = QColor(208, 72, 44);
  s.far = QColor(140, 156, 172, 190);
  s.middle = QColor(92, 112, 124, 215);
  s.near = QColor(58, 78, 66, 235);
  s.ground = QColor(62, 66, 50);
  s.castle = QPointF(592, 330);
  s.castleScale = 0.88f;
  s.cone = QPointF(250, 190);
  s.coneWidth = 210;
  s.castleBanner = QColor(60, 60, 60);  // no holder yet: plain dark banners
  s.mist = {QRectF(-40, 168, 330, 24), QRectF(-30, 300, 380, 28), QRectF(330, 372, 500, 30),
            QRectF(-30, 498, 360, 24)};
  s.mistGold = QColor(222, 182, 92);
  s.hosts = {{14, 300, 506, 110, kIndigo, 7}, {520, 790, 506, 110, kVermilion, 7}};
  s.seed = 4200;
  // The landscape fills the area the window shows (the picture runs 61 rows below it).
  PaintScene(img, QRect(0, 0, 793, 582), s);

  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QString title = QString::fromUtf8(kTitleText);
  QFont font(QStringLiteral("IPAPMincho"));
  font.setPixelSize(84);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 4);
  QPainterPath text;
  text.addText(QPointF(44, 128), font, title);
  // A paper halo, then the lettering in ink with a little weight added by a same-colour stroke.
  p.setPen(QPen(QColor(244, 236, 216, 230), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(text);
  p.setPen(QPen(QColor(24, 18, 14), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(24, 18, 14));
  p.drawPath(text);
  // Seal in vermilion under the last letter, carved with the same letter.
  const QRectF bounds = text.boundingRect();
  const QRectF seal(bounds.right() - 50, bounds.bottom() + 14, 50, 50);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(196, 52, 36));
  p.drawRoundedRect(seal, 4, 4);
  QFont sealFont(QStringLiteral("IPAPMincho"));
  sealFont.setPixelSize(38);
  sealFont.setHintingPreference(QFont::PreferNoHinting);
  QPainterPath carved;
  carved.addText(QPointF(0, 0), sealFont, title.right(1));
  const QRectF cb = carved.boundingRect();
  carved.translate(seal.center() - cb.center());
  p.setBrush(QColor(246, 232, 214));
  p.drawPath(carved);
  p.setPen(QPen(QColor(246, 232, 214), 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(seal.adjusted(3, 3, -3, -3), 2, 2);
  // Thin rule under the title.
  p.setPen(QPen(QColor(24, 18, 14, 200), 1.6));
  p.drawLine(QPointF(48, bounds.bottom() + 12), QPointF(bounds.right() - 60, bounds.bottom() + 12));
  return img;
}

QImage VictoryPictures() {
  QImage img = NewPicture(1580, 417, QImage::Format_RGB32);
  // Side 0 holds the capital at dawn, its banners on the walls and its host in front.
  Scene a;
  a.skyTop = QColor(226, 228, 218);
  a.skyBottom = QColor(240, 222, 186);
  a.sun = QPointF(150, 110);
  a.sunRadius = 44;
  a.sunColour = QColor(226, 150, 64);
  a.far = QColor(136, 156, 176, 180);
  a.middle = QColor(84, 108, 128, 210);
  a.near = QColor(52, 74, 66, 235);
  a.ground = QColor(58, 64, 50);
  a.castle = QPointF(420, 250);
  a.castleScale = 0.82f;
  a.castleBanner = kIndigo;
  a.mist = {QRectF(200, 70, 420, 22), QRectF(-30, 186, 360, 24), QRectF(560, 230, 280, 22),
            QRectF(-20, 380, 300, 20)};
  a.mistGold = QColor(224, 186, 96);
  a.hosts = {{30, 760, 404, 104, kIndigo, 14}};
  a.seed = 5100;
  PaintScene(img, QRect(0, 0, 790, 417), a);
  // Side 1 has taken the capital at sunset: its banners above, the defenders' lowered, smoke.
  Scene b;
  b.skyTop = QColor(226, 196, 160);
  b.skyBottom = QColor(222, 130, 86);
  b.sun = QPointF(640, 196);
  b.sunRadius = 50;
  b.sunColour = QColor(196, 46, 30);
  b.far = QColor(130, 110, 120, 190);
  b.middle = QColor(96, 76, 84, 215);
  b.near = QColor(58, 46, 44, 240);
  b.ground = QColor(56, 44, 38);
  b.castle = QPointF(360, 250);
  b.castleScale = 0.82f;
  b.castleBanner = kVermilion;
  b.mist = {QRectF(420, 60, 400, 22), QRectF(-20, 150, 300, 24), QRectF(520, 280, 300, 22),
            QRectF(500, 388, 320, 20)};
  b.mistGold = QColor(220, 170, 84);
  b.hosts = {{40, 330, 408, 100, kVermilion, 7}, {430, 780, 410, 80, kIndigo, 5, true},
             {470, 760, 404, 104, kVermilion, 6}};
  b.smoke = {QPointF(220, 250), QPointF(520, 240)};
  b.sea = true;
  b.seed = 6100;
  PaintScene(img, QRect(790, 0, 790, 417), b);
  return img;
}

namespace {

// Draws a motif on its own layer and lays it on the board faintly, like a watermark in the
// paper: overlapping strokes of the motif do not show through each other.
void Watermark(QPainter& p, QSize size, qreal opacity, const std::function<void(QPainter&)>& draw) {
  QImage layer = NewPicture(size.width(), size.height(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  {
    QPainter q(&layer);
    q.setRenderHint(QPainter::Antialiasing);
    draw(q);
  }
  p.save();
  p.setOpacity(opacity);
  p.drawImage(0, 0, layer);
  p.restore();
}

}  // namespace

QImage UnitWindowBackground() {
  const QSize size(kUnitWindowWidth, kUnitWindowHeight);
  QImage img = WashiBoard(size.width(), size.height(), 7300);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // A faint keep in the lower right and a gold mist band along the foot.
  Watermark(p, size, 0.13, [&](QPainter& q) {
    KeepStyle keep;
    keep.width = 110;
    keep.storeys = 4;
    keep.storeyHeight = 40;
    keep.baseHeight = 36;
    keep.line = 2.0f;
    DrawKeep(q, QPointF(size.width() - 100, size.height() - 24), keep);
    DrawPine(q, QPointF(size.width() - 200, size.height() - 20), 90, QColor(50, 80, 56), kInk, 7302);
  });
  Watermark(p, size, 0.3, [&](QPainter& q) {
    DrawGoldMist(q, QRectF(-30, size.height() - 40, 300, 22), 7301, kGold, Scale(kGold, 0.7f));
  });
  Frame(p, QRectF(QPointF(0, 0), QSizeF(size)));
  return img;
}

QImage BattleWindowBackground() {
  const QSize size(630, 601);
  QImage img = WashiBoard(size.width(), size.height(), 7400);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Ink-wash ridges across the top and the banners of a host along the foot, kept pale so that
  // the labels read over them.
  Watermark(p, size, 0.2, [&](QPainter& q) {
    const QPainterPath ridge = RidgePath(-10, 640, 120, 95, 240, 7401, 1.0f);
    QLinearGradient g(QPointF(0, 30), QPointF(0, 230));
    g.setColorAt(0, QColor(70, 84, 96));
    g.setColorAt(1, QColor(70, 84, 96, 0));
    q.setPen(Qt::NoPen);
    q.setBrush(g);
    q.drawPath(ridge);
  });
  Watermark(p, size, 0.12, [&](QPainter& q) {
    Rng rng(7404);
    for (int i = 0; i < 16; ++i) {
      const float x = 20.0f + 38.0f * i + rng.Range(-6, 6);
      DrawNobori(q, QPointF(x, 596), rng.Range(90, 120), 18, QColor(60, 60, 70), kInk, true, 1.5f);
    }
  });
  Watermark(p, size, 0.3, [&](QPainter& q) {
    DrawGoldMist(q, QRectF(-40, 150, 330, 22), 7402, kGold, Scale(kGold, 0.7f));
    DrawGoldMist(q, QRectF(380, 540, 300, 22), 7403, kGold, Scale(kGold, 0.7f));
  });
  Frame(p, QRectF(QPointF(0, 0), QSizeF(size)));
  return img;
}

QImage AllocationBackground() {
  const QSize size(kAllocationWidth, kAllocationHeight);
  QImage img = WashiBoard(size.width(), size.height(), 7500);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Watermark(p, size, 0.16, [&](QPainter& q) {
    DrawPine(q, QPointF(212, 184), 110, QColor(50, 80, 56), kInk, 7501, true);
  });
  Watermark(p, size, 0.3, [&](QPainter& q) {
    DrawGoldMist(q, QRectF(-20, 164, 170, 14), 7502, kGold, Scale(kGold, 0.7f));
  });
  Frame(p, QRectF(QPointF(0, 0), QSizeF(size)));
  return img;
}

QImage BattleTextBackground() {
  // Black lacquer with a faint blue-sea wave pattern; it repeats every 105 pixels both ways, so
  // it can be tiled behind a text box of any size.
  constexpr int n = 105;
  QImage img = NewPicture(n, n, QImage::Format_RGB32);
  for (int py = 0; py < img.height(); ++py)
    for (int px = 0; px < img.width(); ++px) {
      const float x = Logical(px), y = Logical(py);
      // Periodic noise: blend the lattice values of wrapped coordinates.
      auto wrapNoise = [](float fx, float fy, int period, std::uint32_t seed) {
        const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
        float tx = fx - x0, ty = fy - y0;
        tx = tx * tx * (3 - 2 * tx);
        ty = ty * ty * (3 - 2 * ty);
        auto h = [&](int a, int b) { return Hash(((a % period) + period) % period, ((b % period) + period) % period, seed); };
        return (h(x0, y0) * (1 - tx) + h(x0 + 1, y0) * tx) * (1 - ty) +
               (h(x0, y0 + 1) * (1 - tx) + h(x0 + 1, y0 + 1) * tx) * ty;
      };
      const float v = 0.6f * wrapNoise(x / 15.0f, y / 15.0f, 7, 7600) + 0.4f * wrapNoise(x / 7.0f, y / 7.0f, 15, 7601);
      const int d = static_cast<int>(10 * (v - 0.5f));
      img.setPixel(px, py, qRgb(24 + d, 26 + d, 40 + d));
    }
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const float r = 7.5f;
  const int rows = 26;
  const float step = static_cast<float>(n) / rows;
  for (int row = -2; row < rows + 3; ++row) {
    const float y = row * step;
    const float off = (((row % 2) + 2) % 2) * r;
    for (float x = -2 * r + off; x < n + 2 * r; x += 2 * r) {
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
          const QPointF c(x + dx * n, y + dy * n);
          if (c.x() < -r || c.x() > n + r || c.y() < -r || c.y() > n + r) continue;
          p.setPen(Qt::NoPen);
          p.setBrush(QColor(26, 29, 44));
          p.drawPie(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, 180 * 16);
          for (int k = 0; k < 3; ++k) {
            const float rr = r - 0.5f - 2.2f * k;
            p.setPen(QPen(QColor(62, 70, 98), 0.7));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(c.x() - rr, c.y() - rr, 2 * rr, 2 * rr), 0, 180 * 16);
          }
        }
    }
  }
  return img;
}

QImage StoryTextBackground() {
  QImage img = NewPicture(790, 150, QImage::Format_RGB32);
  {
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 150);
    g.setColorAt(0, QColor(34, 30, 30));
    g.setColorAt(1, QColor(18, 16, 20));
    p.fillRect(QRect(0, 0, 790, 150), g);
  }
  // Sumi ink pooled unevenly on the paper.
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const float ly = Logical(y);
    for (int x = 0; x < img.width(); ++x) {
      const float lx = Logical(x);
      const float d = 14.0f * (Fbm(lx / 70.0f, ly / 40.0f, 4, 7700) - 0.5f) +
                      4.0f * (ValueNoise(lx / 8.0f, ly / 1.2f, 7701) - 0.5f);
      auto c = [d](int v) { return std::clamp(static_cast<int>(v + d), 0, 255); };
      line[x] = qRgb(c(qRed(line[x])), c(qGreen(line[x])), c(qBlue(line[x])));
    }
  }
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Scattered gold leaf flakes, thicker toward the corners.
  Rng rng(7702);
  for (int i = 0; i < 260; ++i) {
    const float x = rng.Range(0, 790), y = rng.Range(0, 150);
    const float edge = std::min({x, 790 - x}) / 395.0f;
    if (rng.Uniform() < edge * 1.3f) continue;
    const float s = rng.Range(0.8f, 3.2f);
    p.save();
    p.translate(x, y);
    p.rotate(rng.Range(0, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(206, 166, 80, static_cast<int>(rng.Range(90, 200))));
    p.drawRect(QRectF(-s / 2, -s / 2, s, s * rng.Range(0.6f, 1.4f)));
    p.restore();
  }
  p.setOpacity(0.35);
  DrawGoldMist(p, QRectF(520, 132, 320, 20), 7703, QColor(170, 134, 62), QColor(120, 94, 40));
  DrawGoldMist(p, QRectF(-40, -6, 260, 16), 7704, QColor(170, 134, 62), QColor(120, 94, 40));
  p.setOpacity(1.0);
  p.setPen(QPen(QColor(150, 120, 60), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(2.5, 2.5, 785, 145));
  return img;
}

}  // namespace picgen
