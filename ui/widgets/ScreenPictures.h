// The pictures on a screen that scales (the desktop's own factor, or the windows' size chosen
// in 表示). The pictures are made for one screen pixel each, and text and lines are drawn at
// the screen's own resolution anyway: on a whole factor each picture pixel becomes an exact
// square of screen pixels, so edges stay crisp; on a fractional one (150 %) they are smoothed,
// so that no row comes out doubled beside one that is not.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cmath>

namespace milgant {

inline bool WholeFactor(qreal ratio) { return ratio == std::floor(ratio); }

// Before pictures are drawn with `p`.
inline void ScalePicturesFor(QPainter& p) {
  const qreal ratio = p.device() != nullptr ? p.device()->devicePixelRatioF() : 1.0;
  p.setRenderHint(QPainter::SmoothPixmapTransform, !WholeFactor(ratio));
}

// A picture for a label or a tile, scaled once to the screen pixels of `w`.
inline QPixmap ScreenPixmap(const QImage& picture, const QWidget* w) {
  const qreal ratio = w != nullptr ? w->devicePixelRatioF() : 1.0;
  if (ratio == 1.0 || picture.isNull()) return QPixmap::fromImage(picture);
  QPixmap scaled = QPixmap::fromImage(picture.scaled(
      picture.size() * ratio, Qt::IgnoreAspectRatio, WholeFactor(ratio) ? Qt::FastTransformation : Qt::SmoothTransformation));
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

}  // namespace milgant
