// TImage: a picture control. It shows its picture from its top-left corner, clipped to its own
// size, and hands mouse presses, moves and clicks to whoever set the handlers. A picture with a
// device pixel ratio of 2 is shown at its size in units, with all its pixels.
#pragma once

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QWidget>

#include <functional>

#include "ui/widgets/ScreenPictures.h"

namespace milgant {

class TImage : public QWidget {
 public:
  explicit TImage(QWidget* parent = nullptr) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  QImage Picture;
  std::function<void(Qt::MouseButton, QPoint)> OnMouseDown;
  std::function<void(QPoint)> OnMouseMove;
  // Painted over the picture on every paint, without touching it.
  std::function<void(QPainter&)> OnPaintOver;
  // The wheel (in eighths of a degree, Shift turning it sideways), a drag with the middle button
  // (by how far the mouse went) and the keys while the picture has the focus. A handler that
  // takes a key returns true.
  std::function<void(QPoint)> OnWheel;
  std::function<void(QPoint)> OnMiddleDrag;
  std::function<bool(int)> OnKey;

  void Invalidate() { update(); }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    if (Picture.isNull()) {
      p.fillRect(e->rect(), Qt::black);
      return;
    }
    // The picture may have more than one pixel to a unit (its own device pixel ratio, 1 or 2).
    const int own = Picture.devicePixelRatio() == 2.0 ? 2 : 1;
    if (WholeFactor(devicePixelRatioF() / own)) {
      const QRect r = e->rect();
      p.drawImage(r.topLeft(), Picture, QRect(r.topLeft() * own, r.size() * own));
    } else {
      // Smoothing reads the pixels around each one: the whole picture is drawn, clipped to what
      // is repainted, so a part drawn again meets its neighbours without a seam.
      ScalePicturesFor(p, own);
      p.setClipRect(e->rect());
      p.drawImage(QPoint(0, 0), Picture);
      p.setClipping(false);
    }
    if (OnPaintOver) OnPaintOver(p);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::MiddleButton) dragFrom_ = e->position().toPoint();
    if (OnMouseDown) OnMouseDown(e->button(), e->position().toPoint());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if ((e->buttons() & Qt::MiddleButton) && OnMiddleDrag) {
      const QPoint at = e->position().toPoint();
      OnMiddleDrag(at - dragFrom_);
      dragFrom_ = at;
    }
    if (OnMouseMove) OnMouseMove(e->position().toPoint());
  }
  void wheelEvent(QWheelEvent* e) override {
    if (!OnWheel) return QWidget::wheelEvent(e);
    QPoint turn = e->angleDelta();
    // Shift turns the wheel sideways (some systems already deliver it as horizontal).
    if ((e->modifiers() & Qt::ShiftModifier) && turn.x() == 0) turn = QPoint(turn.y(), 0);
    OnWheel(turn);
    e->accept();
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (OnKey && OnKey(e->key())) return e->accept();
    QWidget::keyPressEvent(e);
  }

 private:
  QPoint dragFrom_;
};

}  // namespace milgant
