// The pictures on a screen that scales (the desktop's own factor, or the windows' size chosen
// in 表示). Text and lines are drawn at the screen's own resolution; pictures come drawn for one
// or two pixels to a unit (their device pixel ratio). Where the screen has a whole multiple of
// a picture's pixels, each becomes an exact square of screen pixels, so edges stay crisp;
// elsewhere (a twice-size picture at 150 %) they are smoothed, so that no row comes out doubled
// beside one that is not.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cmath>

namespace milgant {

inline bool WholeFactor(qreal ratio) { return ratio == std::floor(ratio); }

// Before pictures of `own` pixels to a unit are drawn with `p`.
inline void ScalePicturesFor(QPainter& p, qreal own = 1.0) {
  const qreal ratio = p.device() != nullptr ? p.device()->devicePixelRatioF() : 1.0;
  p.setRenderHint(QPainter::SmoothPixmapTransform, !WholeFactor(ratio / own));
}

// A picture for a label or a tile, scaled once to the screen pixels of `w`.
inline QPixmap ScreenPixmap(const QImage& picture, const QWidget* w) {
  const qreal ratio = w != nullptr ? w->devicePixelRatioF() : 1.0;
  const qreal own = picture.devicePixelRatio();
  if (ratio == own || picture.isNull()) return QPixmap::fromImage(picture);
  const QSize units = (QSizeF(picture.size()) / own).toSize();
  QPixmap scaled = QPixmap::fromImage(picture.scaled(units * ratio, Qt::IgnoreAspectRatio,
                                                     WholeFactor(ratio / own) ? Qt::FastTransformation
                                                                             : Qt::SmoothTransformation));
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

}  // namespace milgant
