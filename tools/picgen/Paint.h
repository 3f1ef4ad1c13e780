// The brushes the pictures are drawn with: deterministic noise, washi paper, mineral colours,
// and the recurring motifs (pines, castle keeps, banners, gold mist, mountain ridges).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdint>
#include <functional>

namespace picgen {

// --- Colours: ink on washi, mineral pigments ---
inline const QColor kInk(44, 36, 30);
inline const QColor kPaper(236, 226, 200);
inline const QColor kIndigo(40, 56, 98);        // side 0's counters
inline const QColor kVermilion(200, 74, 44);    // side 1's counters
inline const QColor kOwnerBlue(34, 72, 168);    // side 0's banners on the map
inline const QColor kOwnerRed(206, 40, 32);     // side 1's banners on the map
inline const QColor kGold(214, 172, 78);
inline const QColor kGoldLight(240, 214, 140);
inline const QColor kMalachite(104, 146, 102);
inline const QColor kAzurite(58, 104, 160);
inline const QColor kPlaster(242, 238, 226);
inline const QColor kRoofTile(70, 74, 82);

// --- Noise (same numbers on every machine) ---
float Hash(int x, int y, std::uint32_t seed);                 // 0..1
float ValueNoise(float x, float y, std::uint32_t seed);       // 0..1, smooth
float Fbm(float x, float y, int octaves, std::uint32_t seed); // 0..1

struct Rng {
  std::uint32_t state;
  explicit Rng(std::uint32_t seed) : state(seed * 2654435761u + 1013904223u) {}
  std::uint32_t Next();
  float Uniform();                      // 0..1
  float Range(float lo, float hi);
  int Below(int n);
};

// --- The drawing scale ---
// Every picture is drawn at a scale: 1 for its size on a plain screen, 2 for the sharper twin
// that dense screens and large window scales use. The drawing functions keep working in the
// picture's own coordinates (a hex tile is 60 x 60 at either scale): canvases have scale times
// as many pixels and that device pixel ratio, so a painter lands every line and letter at full
// resolution, and the per-pixel brushes run over the real pixels while evaluating their
// fields at picture coordinates.
int DrawScale();
// Draws at `scale` while it lives, then goes back to the scale before.
class DrawingScale {
 public:
  explicit DrawingScale(int scale);
  ~DrawingScale();
  DrawingScale(const DrawingScale&) = delete;
  DrawingScale& operator=(const DrawingScale&) = delete;

 private:
  int previous_;
};
// A canvas of w x h picture units at the drawing scale, filled with nothing (uninitialised,
// as a fresh QImage is).
QImage NewPicture(int w, int h, QImage::Format format);
// The picture coordinate of pixel `pixel`'s centre, counted so that at scale 1 it is the pixel
// itself: (pixel + 0.5) / scale - 0.5.
float Logical(int pixel);
// Copies `src` into `dst` with its top-left corner at picture coordinates (x, y), pixel for
// pixel (both at the same scale).
void Blit(QImage& dst, int x, int y, const QImage& src,
          QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver);

QColor Mix(const QColor& a, const QColor& b, float t);
QColor Scale(const QColor& c, float f);  // brightness factor, clamped
QColor WithAlpha(const QColor& c, int alpha);

// Washi: the base colour with soft cloudy unevenness and a few long fibres. Only pixels for
// which `inside` is true (or all when it is empty) change; `inside` is asked about pixels, not
// picture coordinates. The grain is one fleck a pixel at any scale; clouds and fibres keep
// their size in the picture.
void PaintPaper(QImage& img, const QColor& base, std::uint32_t seed, float cloud = 10.0f,
                float fibres = 1.0f, const std::function<bool(int, int)>& inside = {});
// Multiplies pixels by a noise field: a printed-ink unevenness over what is already there.
void Mottle(QImage& img, float amount, float scale, std::uint32_t seed,
            const std::function<bool(int, int)>& inside = {});
// A gradient from top to bottom over a rectangle.
void VerticalGradient(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom);

// --- Motifs ---
// A pine with a leaning trunk and flat layered crowns; `base` is the foot of the trunk.
void DrawPine(QPainter& p, QPointF base, float height, const QColor& foliage, const QColor& ink,
              std::uint32_t seed, bool mirrored = false);
// A castle keep on a stone base; `base` is the middle of the foot of the stone base.
struct KeepStyle {
  float width = 16;      // width of the lowest storey
  int storeys = 2;
  float storeyHeight = 5;
  float baseHeight = 5;  // stone base
  QColor walls = kPlaster;
  QColor roofs = kRoofTile;
  QColor stone = QColor(150, 144, 132);
  QColor ink = kInk;
  float line = 1.0f;
  bool ornaments = true;  // gold roof-ridge ornaments
};
void DrawKeep(QPainter& p, QPointF base, const KeepStyle& style);
// A tall nobori banner on its pole; `foot` is the foot of the pole.
void DrawNobori(QPainter& p, QPointF foot, float height, float width, const QColor& cloth,
                const QColor& ink, bool crest, float line = 1.0f);
// A band of gold mist (suyari-gasumi): a long rounded cloud with stepped edges.
void DrawGoldMist(QPainter& p, const QRectF& band, std::uint32_t seed, const QColor& gold,
                  const QColor& edge);
// A ridge line across [x0, x1] at baseline y with the given amplitude: the top of a mountain
// range, closed down to `bottom`.
QPainterPath RidgePath(float x0, float x1, float y, float amplitude, float bottom,
                       std::uint32_t seed, float roughness = 1.0f);
// A house: plaster walls and a dark hipped roof; `foot` is the middle of its foot.
void DrawHouse(QPainter& p, QPointF foot, float width, float height, const QColor& roof,
               const QColor& ink, float line = 0.8f);

// The two armies' crests on a disc of the given radius, in `ink` on nothing (the caller paints
// the disc).
void DrawCrest(QPainter& p, int side, QPointF centre, float radius, const QColor& ink);

}  // namespace picgen
