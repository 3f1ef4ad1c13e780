// The program's icon: the vermilion seal of the title picture, carved with the title's last
// letter, drawn afresh at each size so the small ones stay sharp.
#include "Art.h"
#include "Paint.h"
#include "Texts.h"

#include <QPainter>
#include <QPainterPath>

namespace picgen {

QImage AppIcon(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  const float s = static_cast<float>(size);
  const QRectF seal(s * 0.06f, s * 0.06f, s * 0.88f, s * 0.88f);
  const float corner = s * 0.08f;
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A soft shadow under the stone, then the stone in vermilion.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(seal.translated(s * 0.015f, s * 0.025f), corner, corner);
    p.setBrush(QColor(196, 52, 36));
    p.drawRoundedRect(seal, corner, corner);
  }
  // Uneven ink on the stone, as a seal prints.
  const QRectF inked = seal;
  Mottle(img, 0.16f, s * 0.12f, 7301, [&](int x, int y) { return inked.contains(x + 0.5, y + 0.5); });

  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QString title = QString::fromUtf8(kTitleText);
  QFont font(QStringLiteral("IPAPMincho"));
  font.setPixelSize(static_cast<int>(s * 0.58f));
  font.setHintingPreference(QFont::PreferNoHinting);
  QPainterPath carved;
  carved.addText(QPointF(0, 0), font, title.right(1));
  carved.translate(seal.center() - carved.boundingRect().center());
  const QColor paper(246, 232, 214);
  p.setPen(QPen(paper, std::max(1.0f, s * 0.012f)));
  p.setBrush(paper);
  p.drawPath(carved);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(paper, std::max(1.0f, s * 0.03f)));
  const float inset = s * 0.06f;
  p.drawRoundedRect(seal.adjusted(inset, inset, -inset, -inset), corner * 0.5f, corner * 0.5f);
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace picgen
