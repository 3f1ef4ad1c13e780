// TImage: a picture control. It shows its picture from its top-left corner, clipped to its own
// size, and hands mouse presses, moves and clicks to whoever set the handlers.
#pragma once

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <functional>

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

  void Invalidate() { update(); }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    if (Picture.isNull()) {
      p.fillRect(e->rect(), Qt::black);
      return;
    }
    p.drawImage(e->rect().topLeft(), Picture, e->rect());
    if (OnPaintOver) OnPaintOver(p);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (OnMouseDown) OnMouseDown(e->button(), e->position().toPoint());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (OnMouseMove) OnMouseMove(e->position().toPoint());
  }
};

}  // namespace milgant
