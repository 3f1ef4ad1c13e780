#include "ui/dialogs/AllocationForm.h"

#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include "ui/dialogs/Placement.h"
#include "ui/widgets/JpegPicture.h"
#include "ui/widgets/Pictures.h"
#include "ui/widgets/ScreenPictures.h"

namespace milgant {

TAllocationForm::TAllocationForm(QWidget* mainWindow, const QString& maximumCaption, const QString& valueCaption,
                                 int valueColumn, bool stayOnTop)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              (stayOnTop ? Qt::WindowStaysOnTopHint : Qt::Widget)),
      mainWindow_(mainWindow) {
  setFixedSize(245, 190);
  setModal(true);
  Label1 = new QLabel(this);
  Label1->setGeometry(24, 8, 213, 16);
  Label2 = new QLabel(maximumCaption, this);
  Label2->move(24, 32);
  Label4 = new QLabel(QStringLiteral("0"), this);
  Label4->move(valueColumn, 32);
  Label3 = new QLabel(valueCaption, this);
  Label3->move(24, 56);
  Label5 = new QLabel(QStringLiteral("0"), this);
  Label5->move(valueColumn, 56);
  ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
  ScrollBar1->setGeometry(24, 104, 193, 16);
  ScrollBar1->setMinimum(0);
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setGeometry(24, 128, 75, 25);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setGeometry(144, 128, 75, 25);
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int position) { ScrollBar1Change(position); });
  connect(Button1, &QPushButton::clicked, this, [this] {
    Accepted = 1;
    answered_ = true;
    done(1);
  });
  connect(Button2, &QPushButton::clicked, this, [this] {
    Accepted = 0;
    answered_ = true;
    done(0);
  });
}

bool TAllocationForm::LoadBackground(const QString& workingFolder) {
  JPEGImage1 = pictures::SharpTwin(LoadJpeg(workingFolder + QStringLiteral("/form5.JPG")),
                                   pictures::SharpName("form5.JPG"), pictures::PictureScale());
  return !JPEGImage1.isNull();
}

bool TAllocationForm::Allocate(const QString& caption, const QString& text, bool halfSteps, int maximum, int& value) {
  Value = value;
  setWindowTitle(caption);
  Label1->setText(text);
  // The message keeps to one line inside the window: a long one is set a little smaller.
  QFont f = font();
  const int room = width() - Label1->x() - 4;
  // Measured with some slack: the Japanese glyphs may come from a fallback face.
  for (int px = QFontInfo(f).pixelSize(); px > 9 && QFontMetrics(f).horizontalAdvance(text) > room - 16; --px)
    f.setPixelSize(px - 1);
  Label1->setFont(f);
  Label1->resize(room, Label1->height());
  // The position is set before the maximum, as the callers expect (they always start at 0).
  const bool was = ScrollBar1->blockSignals(true);
  ScrollBar1->setValue(value);
  ScrollBar1->blockSignals(was);
  Label5->setText(QString::number(value));
  HalfSteps = halfSteps ? 1 : 0;
  ScrollBar1->setMaximum(maximum < 0 ? 0 : maximum);
  Label4->setText(QString::number(maximum));
  Label4->adjustSize();
  Accepted = 0;
  answered_ = false;
  exec();
  if (Accepted == 0) return false;
  value = Value;
  return true;
}

int TAllocationForm::Position() const { return ScrollBar1->value(); }

void TAllocationForm::ScrollBar1Change(int position) {
  Value = HalfSteps != 0 ? position / 2 : position;
  Label5->setText(QString::number(Value));
  Label5->adjustSize();
}

void TAllocationForm::closeEvent(QCloseEvent* e) {
  if (!answered_ && isVisible()) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void TAllocationForm::showEvent(QShowEvent* e) {
  CentreOnMainWindow(this, mainWindow_);
  QDialog::showEvent(e);
}

void TAllocationForm::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  if (JPEGImage1.isNull()) return;
  QPainter p(this);
  ScalePicturesFor(p, JPEGImage1.devicePixelRatio());
  p.drawImage(0, 0, JPEGImage1);
}

}  // namespace milgant
