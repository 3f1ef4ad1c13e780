// Brushes and motifs shared by every picture. Everything random comes from a seeded hash, so a
// rebuild draws the same pixels.
#include "Paint.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace picgen {

float Hash(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B9u;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0xFFFFFF);
}

float ValueNoise(float x, float y, std::uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
  const float c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
  return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
}

float Fbm(float x, float y, int octaves, std::uint32_t seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + 101u * static_cast<std::uint32_t>(i));
    norm += amp;
    x *= 2.03f;
    y *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

std::uint32_t Rng::Next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}
float Rng::Uniform() { return static_cast<float>(Next() & 0xFFFFFFu) / static_cast<float>(0x1000000); }
float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
int Rng::Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

namespace {
int gScale = 1;
}  // namespace

int DrawScale() { return gScale; }

DrawingScale::DrawingScale(int scale) : previous_(gScale) { gScale = scale; }
DrawingScale::~DrawingScale() { gScale = previous_; }

QImage NewPicture(int w, int h, QImage::Format format) {
  QImage img(w * gScale, h * gScale, format);
  img.setDevicePixelRatio(gScale);
  return img;
}

float Logical(int pixel) {
  return (static_cast<float>(pixel) + 0.5f) / static_cast<float>(gScale) - 0.5f;
}

void Blit(QImage& dst, int x, int y, const QImage& src, QPainter::CompositionMode mode) {
  // Both sides at ratio 1 for the copy, so that nothing is resampled on the way.
  const qreal ratio = dst.devicePixelRatio();
  QImage pixels = src;
  pixels.setDevicePixelRatio(1);
  dst.setDevicePixelRatio(1);
  {
    QPainter p(&dst);
    p.setCompositionMode(mode);
    p.drawImage(x * gScale, y * gScale, pixels);
  }
  dst.setDevicePixelRatio(ratio);
}

QColor Mix(const QColor& a, const QColor& b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  auto m = [t](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
  return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                m(a.alpha(), b.alpha()));
}

QColor Scale(const QColor& c, float f) {
  auto s = [f](int v) { return std::clamp(static_cast<int>(std::lround(v * f)), 0, 255); };
  return QColor(s(c.red()), s(c.green()), s(c.blue()), c.alpha());
}

QColor WithAlpha(const QColor& c, int alpha) {
  QColor r = c;
  r.setAlpha(alpha);
  return r;
}

void PaintPaper(QImage& img, const QColor& base, std::uint32_t seed, float cloud, float fibres,
                const std::function<bool(int, int)>& inside) {
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const float ly = Logical(y);
    for (int x = 0; x < img.width(); ++x) {
      if (inside && !inside(x, y)) continue;
      const float lx = Logical(x);
      const float soft = Fbm(lx / 46.0f, ly / 46.0f, 4, seed) - 0.5f;
      const float grain = Hash(x, y, seed + 7) - 0.5f;
      // Fibres run mostly horizontally in hand-made paper: stretch the fine noise along x.
      const float fibre = ValueNoise(lx / 9.0f, ly / 1.3f, seed + 13) - 0.5f;
      const float d = cloud * soft + 3.0f * grain + 6.0f * fibres * fibre;
      const int a = qAlpha(line[x]) == 0 ? 255 : qAlpha(line[x]);
      line[x] = qRgba(std::clamp(static_cast<int>(base.red() + d), 0, 255),
                      std::clamp(static_cast<int>(base.green() + d), 0, 255),
                      std::clamp(static_cast<int>(base.blue() + d * 0.9f), 0, 255), a);
    }
  }
}

void Mottle(QImage& img, float amount, float scale, std::uint32_t seed,
            const std::function<bool(int, int)>& inside) {
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const float ly = Logical(y);
    for (int x = 0; x < img.width(); ++x) {
      if (inside && !inside(x, y)) continue;
      const float f = 1.0f + amount * (Fbm(Logical(x) / scale, ly / scale, 3, seed) - 0.5f) * 2.0f;
      auto s = [f](int v) { return std::clamp(static_cast<int>(v * f), 0, 255); };
      line[x] = qRgba(s(qRed(line[x])), s(qGreen(line[x])), s(qBlue(line[x])), qAlpha(line[x]));
    }
  }
}

void VerticalGradient(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.fillRect(r, g);
}

void DrawPine(QPainter& p, QPointF base, float height, const QColor& foliage, const QColor& ink,
              std::uint32_t seed, bool mirrored) {
  // A Japanese black pine: a leaning, twisting trunk and flat pads of needles held out on
  // branches, the largest low and to the side of the lean.
  Rng rng(seed);
  const float dir = mirrored ? -1.0f : 1.0f;
  const float h = height;
  const QPointF top(base.x() + dir * h * rng.Range(0.12f, 0.28f), base.y() - h * 0.92f);
  QPainterPath trunk;
  trunk.moveTo(base);
  trunk.cubicTo(QPointF(base.x() - dir * h * 0.12f, base.y() - h * 0.35f),
                QPointF(top.x() + dir * h * 0.08f, top.y() + h * 0.4f), top);
  const QColor bark = Mix(ink, QColor(120, 86, 56), 0.45f);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ink, std::max(1.2, h * 0.075), Qt::SolidLine, Qt::RoundCap));
  p.drawPath(trunk);
  p.setPen(QPen(bark, std::max(0.6, h * 0.04), Qt::SolidLine, Qt::RoundCap));
  p.drawPath(trunk);
  struct Pad { float t, side, w; };
  const Pad pads[] = {{0.45f, -1.0f, 0.62f}, {0.62f, 1.0f, 0.5f}, {0.8f, -0.6f, 0.44f}, {1.0f, 0.2f, 0.36f}};
  for (const Pad& pad : pads) {
    const QPointF at = trunk.pointAtPercent(pad.t);
    const float w = h * pad.w * rng.Range(0.9f, 1.1f);
    const QPointF centre(at.x() + dir * pad.side * w * 0.38f, at.y() - h * 0.03f);
    // The branch out to the pad.
    p.setPen(QPen(ink, std::max(0.7, h * 0.03), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at, centre);
    // The pad: a flat lens, dark below and lit along the top.
    QPainterPath padPath;
    const float ph = h * 0.13f;
    padPath.moveTo(centre.x() - w / 2, centre.y() + ph * 0.15f);
    padPath.cubicTo(QPointF(centre.x() - w * 0.35f, centre.y() - ph), QPointF(centre.x() + w * 0.35f, centre.y() - ph),
                    QPointF(centre.x() + w / 2, centre.y() + ph * 0.15f));
    padPath.cubicTo(QPointF(centre.x() + w * 0.3f, centre.y() + ph * 0.6f), QPointF(centre.x() - w * 0.3f, centre.y() + ph * 0.6f),
                    QPointF(centre.x() - w / 2, centre.y() + ph * 0.15f));
    QLinearGradient g(QPointF(0, centre.y() - ph), QPointF(0, centre.y() + ph * 0.6f));
    g.setColorAt(0, Mix(foliage, QColor(230, 230, 190), 0.18f));
    g.setColorAt(1, Scale(foliage, 0.7f));
    p.setPen(QPen(ink, std::max(0.5, h * 0.022)));
    p.setBrush(g);
    p.drawPath(padPath);
    // Needle ticks along the underside.
    p.setPen(QPen(WithAlpha(ink, 150), std::max(0.4, h * 0.012)));
    const int ticks = std::max(3, static_cast<int>(w / std::max(1.5f, h * 0.05f)));
    for (int k = 1; k < ticks; ++k) {
      const float x = centre.x() - w / 2 + w * k / ticks;
      p.drawLine(QPointF(x, centre.y() + ph * 0.3f), QPointF(x + w * 0.02f, centre.y() - ph * 0.2f));
    }
  }
}

void DrawKeep(QPainter& p, QPointF base, const KeepStyle& s) {
  const QPen inkPen(s.ink, s.line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // Stone base: a battered trapezoid, courses marked by thin lines.
  const float bw = s.width * 1.18f;
  QPolygonF stone;
  stone << QPointF(base.x() - bw / 2, base.y()) << QPointF(base.x() + bw / 2, base.y())
        << QPointF(base.x() + s.width / 2, base.y() - s.baseHeight)
        << QPointF(base.x() - s.width / 2, base.y() - s.baseHeight);
  p.setPen(inkPen);
  p.setBrush(s.stone);
  p.drawPolygon(stone);
  p.setPen(QPen(WithAlpha(s.ink, 120), s.line * 0.5));
  for (float y = base.y() - s.baseHeight * 0.5f; y > base.y() - s.baseHeight + 0.6f;
       y -= std::max(1.6f, s.baseHeight / 3))
    p.drawLine(QPointF(base.x() - bw / 2 + 1, y), QPointF(base.x() + bw / 2 - 1, y));

  float y = base.y() - s.baseHeight;
  float w = s.width;
  for (int i = 0; i < s.storeys; ++i) {
    const float h = s.storeyHeight * (i == s.storeys - 1 ? 1.0f : 0.92f);
    const float wallTop = y - h * 0.62f;
    // Plaster wall with a row of dark windows.
    p.setPen(inkPen);
    p.setBrush(s.walls);
    p.drawRect(QRectF(base.x() - w / 2, wallTop, w, y - wallTop));
    p.setPen(Qt::NoPen);
    p.setBrush(Mix(s.ink, s.walls, 0.15f));
    const int windows = std::max(1, static_cast<int>(w / 5));
    for (int k = 0; k < windows; ++k) {
      const float wx = base.x() - w / 2 + (k + 0.5f) * w / windows;
      p.drawRect(QRectF(wx - 0.6f * s.line, wallTop + (y - wallTop) * 0.3f, 1.3f * s.line,
                        (y - wallTop) * 0.4f));
    }
    // Roof: wide eaves with upturned corners.
    const float eave = w * 0.2f + 1.5f;
    const float roofTop = y - h;
    const float topW = (i == s.storeys - 1) ? w * 0.45f : w * 0.78f;
    QPainterPath roof;
    roof.moveTo(base.x() - w / 2 - eave, wallTop - h * 0.02f - 0.8f);
    roof.quadTo(QPointF(base.x() - w / 2, wallTop + 0.4f), QPointF(base.x() - topW / 2, roofTop));
    roof.lineTo(base.x() + topW / 2, roofTop);
    roof.quadTo(QPointF(base.x() + w / 2, wallTop + 0.4f),
                QPointF(base.x() + w / 2 + eave, wallTop - h * 0.02f - 0.8f));
    roof.quadTo(QPointF(base.x(), wallTop + h * 0.12f), QPointF(base.x() - w / 2 - eave,
                                                                 wallTop - h * 0.02f - 0.8f));
    p.setPen(inkPen);
    p.setBrush(s.roofs);
    p.drawPath(roof);
    // A small gable over the middle of the lower roofs.
    if (i < s.storeys - 1 && w > 10) {
      QPolygonF gable;
      gable << QPointF(base.x() - w * 0.16f, wallTop + 0.2f) << QPointF(base.x(), roofTop - h * 0.05f)
            << QPointF(base.x() + w * 0.16f, wallTop + 0.2f);
      p.setBrush(Mix(s.roofs, s.walls, 0.15f));
      p.drawPolygon(gable);
    }
    if (i == s.storeys - 1 && s.ornaments) {
      p.setPen(Qt::NoPen);
      p.setBrush(kGold);
      const float r = std::max(0.8f, w * 0.07f);
      p.drawEllipse(QPointF(base.x() - topW / 2, roofTop - r * 0.6f), r, r * 1.2f);
      p.drawEllipse(QPointF(base.x() + topW / 2, roofTop - r * 0.6f), r, r * 1.2f);
    }
    y = roofTop + h * 0.15f;
    w *= 0.74f;
  }
}

void DrawNobori(QPainter& p, QPointF foot, float height, float width, const QColor& cloth,
                const QColor& ink, bool crest, float line) {
  const float top = foot.y() - height;
  p.setPen(QPen(Mix(ink, QColor(120, 90, 60), 0.3f), line * 1.1f, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(foot, QPointF(foot.x(), top));
  p.drawLine(QPointF(foot.x(), top + line), QPointF(foot.x() + width + line, top + line));
  const QRectF flag(foot.x() + line * 0.6f, top + line * 1.6f, width, height * 0.62f);
  // A slight sway: the free edge bows outward.
  QPainterPath cloth_;
  cloth_.moveTo(flag.topLeft());
  cloth_.lineTo(flag.topRight());
  cloth_.quadTo(QPointF(flag.right() + width * 0.18f, flag.center().y()), flag.bottomRight());
  cloth_.lineTo(flag.bottomLeft());
  cloth_.closeSubpath();
  p.setPen(QPen(ink, line * 0.8f));
  p.setBrush(cloth);
  p.drawPath(cloth_);
  if (crest && width >= 5) {
    const float r = width * 0.3f;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 240, 226));
    p.drawEllipse(QPointF(flag.center().x(), flag.top() + width * 0.55f), r, r);
  }
}

void DrawGoldMist(QPainter& p, const QRectF& band, std::uint32_t seed, const QColor& gold,
                  const QColor& edge) {
  Rng rng(seed);
  QPainterPath mist;
  const float h = static_cast<float>(band.height());
  mist.addRoundedRect(band, h / 2, h / 2);
  // Stepped lobes above and below, as in screen paintings.
  const int lobes = 2 + rng.Below(3);
  for (int i = 0; i < lobes; ++i) {
    const float w = static_cast<float>(band.width()) * rng.Range(0.18f, 0.4f);
    const float x = static_cast<float>(band.left()) + rng.Range(0.0f, 1.0f) * static_cast<float>(band.width() - w);
    const bool up = (i % 2) == 0;
    const float lh = h * rng.Range(0.5f, 0.8f);
    const QRectF lobe(x, up ? band.top() - lh * 0.55f : band.bottom() - lh * 0.45f, w, lh);
    QPainterPath l;
    l.addRoundedRect(lobe, lh / 2, lh / 2);
    mist = mist.united(l);
  }
  QLinearGradient g(band.topLeft(), band.bottomLeft());
  g.setColorAt(0, Mix(gold, QColor(255, 250, 230), 0.25f));
  g.setColorAt(1, gold);
  p.setPen(QPen(edge, 1.2));
  p.setBrush(g);
  p.drawPath(mist);
  // Gold-leaf squares: the faint grid of laid leaf.
  p.save();
  p.setClipPath(mist);
  p.setPen(QPen(WithAlpha(edge, 22), 0.8));
  const float leaf = std::max(8.0f, h * 0.55f);
  for (float x = static_cast<float>(band.left()) - leaf; x < band.right() + leaf; x += leaf)
    p.drawLine(QPointF(x, band.top() - h), QPointF(x, band.bottom() + h));
  for (float y = static_cast<float>(band.top()) - h; y < band.bottom() + h; y += leaf)
    p.drawLine(QPointF(band.left() - leaf, y), QPointF(band.right() + leaf, y));
  p.restore();
}

QPainterPath RidgePath(float x0, float x1, float y, float amplitude, float bottom,
                       std::uint32_t seed, float roughness) {
  QPainterPath path;
  path.moveTo(x0, bottom);
  const int steps = std::max(8, static_cast<int>((x1 - x0) / 3));
  for (int i = 0; i <= steps; ++i) {
    const float x = x0 + (x1 - x0) * static_cast<float>(i) / static_cast<float>(steps);
    const float big = ValueNoise(x / 150.0f, 0.5f, seed);
    const float mid = ValueNoise(x / 45.0f, 1.5f, seed + 3);
    const float fine = ValueNoise(x / 12.0f, 2.5f, seed + 5);
    const float h = 0.65f * big * big * 1.6f + 0.28f * mid + 0.07f * roughness * fine;
    path.lineTo(x, y - amplitude * h);
  }
  path.lineTo(x1, bottom);
  path.closeSubpath();
  return path;
}

void DrawHouse(QPainter& p, QPointF foot, float width, float height, const QColor& roof,
               const QColor& ink, float line) {
  const float wallH = height * 0.45f;
  p.setPen(QPen(ink, line));
  p.setBrush(kPlaster);
  p.drawRect(QRectF(foot.x() - width / 2, foot.y() - wallH, width, wallH));
  QPolygonF r;
  r << QPointF(foot.x() - width / 2 - 1, foot.y() - wallH)
    << QPointF(foot.x() - width * 0.3f, foot.y() - height)
    << QPointF(foot.x() + width * 0.3f, foot.y() - height)
    << QPointF(foot.x() + width / 2 + 1, foot.y() - wallH);
  p.setBrush(roof);
  p.drawPolygon(r);
}

void DrawCrest(QPainter& p, int side, QPointF c, float R, const QColor& ink) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  // Outer ring.
  p.setPen(QPen(ink, R * 0.13f));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, R * 0.93f, R * 0.93f);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  if (side == 0) {
    // A well frame set on its corner: two pairs of crossing bars.
    p.save();
    p.translate(c);
    p.rotate(45);
    const double bar = R * 0.17, len = R * 1.16, gap = R * 0.2;
    for (int k = 0; k < 2; ++k) {
      p.drawRect(QRectF(-len / 2, -gap - bar / 2 + 2 * gap * k, len, bar));
      p.drawRect(QRectF(-gap - bar / 2 + 2 * gap * k, -len / 2, bar, len));
    }
    p.restore();
  } else {
    // Three commas chasing each other.
    for (int k = 0; k < 3; ++k) {
      const double a0 = 2 * M_PI / 3 * k - M_PI / 2;
      const QPointF head = c + QPointF(std::cos(a0), std::sin(a0)) * (R * 0.42);
      const double hr = R * 0.25;
      QPainterPath headPath;
      headPath.addEllipse(head, hr, hr);
      QPolygonF tail;
      const int n = 18;
      QList<QPointF> outer, inner;
      for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double ang = a0 - t * 1.9;
        const double rc = R * (0.42 + 0.3 * t);
        const double w = hr * (1 - t);
        const QPointF dir(std::cos(ang), std::sin(ang));
        outer.append(c + dir * (rc + w));
        inner.append(c + dir * (rc - w));
      }
      for (const QPointF& q : outer) tail << q;
      for (auto it = inner.rbegin(); it != inner.rend(); ++it) tail << *it;
      QPainterPath tailPath;
      tailPath.addPolygon(tail);
      tailPath.closeSubpath();
      p.drawPath(headPath.united(tailPath));
    }
  }
  p.restore();
}

}  // namespace picgen
