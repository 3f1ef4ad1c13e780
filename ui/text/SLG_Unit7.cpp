// The ending story window: the winner's half of the story picture, then the epilogue typed over
// its own background in white mincho, clicked through text by text.
#include "ui/text/SLG_Unit7.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>

#include "ui/text/SerifBoxs.h"
#include "ui/widgets/JpegPicture.h"
#include "ui/widgets/Pictures.h"
#include "ui/widgets/ScreenPictures.h"

namespace milgant {
namespace {

constexpr int kPictureWidth = 790;
constexpr int kPictureHeight = 417;
// The story is written a little larger than the window font, to fill its 15-pixel cells.
constexpr int kTextPixels = 14;

}  // namespace

QStringList EndingStoryTexts(int winningSide, bool homeCityFell) {
  if (winningSide == 1) {
    // Told with a trailing "…" when the home city fell, closed with "。" on points.
    QString text = QStringLiteral(
        "天正十二年、ヴァルネ方の主君は陣中に没した。生き残った家臣ソルカ方の総大将は遺領を争って"
        "兵を挙げ、天下は再び乱世に沈む。新たな時代の夜明けは来るのか…");
    if (!homeCityFell) text += QStringLiteral("。");
    return {text};
  }
  return {QStringLiteral("天正十二年、ソルカ方の総大将は病に倒れ、天下は名実共にヴァルネ方のものとなった。"),
          QStringLiteral("だが天下とは一つの国にあらず。海の彼方にはなお攻め取るべき地が果てしなく広がっている。"
                         "ヴァルネ方の主君はやがて世界の広さを思い知ることになるだろう。"
                         "新たな戦乱の時代が、いま始まろうとしていた。")};
}

QString EndingCaption(int winningSide) {
  return winningSide == 1 ? QStringLiteral("ソルカ方勝利") : QStringLiteral("ヴァルネ方勝利");
}

TForm7::TForm7(QWidget* mainWindow) : QWidget(nullptr, Qt::Window), mainWindow_(mainWindow) {
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setFixedSize(800, 600);
  setFont(GothicFont());
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);

  Image1 = new QLabel(this);
  Image1->setGeometry(5, 5, kPictureWidth, kPictureHeight);
  SerifBox1 = new TSerifBox(this);
  SerifBox1->setGeometry(5, 5 + kPictureHeight + 4, kPictureWidth, 150);
  SerifBox1->TextWidth = 15;
  SerifBox1->TextHeight = 15;
  SerifBox1->HorizontalSpace = 16;
  SerifBox1->VerticalSpace = 10;
  SerifBox1->AutoStop = false;
  SerifBox1->setFont(MinchoFont(kTextPixels));
  SerifBox1->FontColor = Qt::white;
  SerifBox1->OnPaint = [this](TSerifBox* box, QPainter& p) { SerifBox1Paint(box, p); };
  SerifBox1->OnClick = [this](TSerifBox* box) { SerifBox1Click(box); };
  SerifBox1->setCursor(Qt::PointingHandCursor);

  pictures::LoadStoryTextBackground(&CompressedImage1);
  storyText_ = pictures::SharpTwin(CompressedImage1.Picture(), pictures::SharpName(pictures::kStoryText),
                                   pictures::PictureScale());
  JPEGImage1 = QImage(2 * kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  JPEGImage1.fill(Qt::black);
}

bool TForm7::LoadPictures(const QString& workingFolder) {
  const QImage img = LoadJpeg(workingFolder + QStringLiteral("/gametop.JPG"));
  if (img.isNull()) return false;
  JPEGImage1 = pictures::SharpTwin(img, pictures::SharpName("gametop.JPG"), pictures::PictureScale());
  return true;
}

void TForm7::TellEnding(int winningSide, bool homeCityFell) {
  ShowWinnerPicture(winningSide);
  setWindowTitle(EndingCaption(winningSide));
  show();
  raise();
  for (const QString& text : EndingStoryTexts(winningSide, homeCityFell)) {
    ShowStoryText(text);
    if (SerifBox1->Aborted()) break;
  }
  hide();
}

void TForm7::ShowWinnerPicture(int winningSide) {
  const int k = JPEGImage1.devicePixelRatio() == 2.0 ? 2 : 1;
  const int left = winningSide == 1 ? kPictureWidth : 0;
  Image1->setPixmap(ScreenPixmap(JPEGImage1.copy(left * k, 0, kPictureWidth * k, kPictureHeight * k), Image1));
}

void TForm7::ShowStoryText(const QString& text) {
  SerifBox1->Lines.clear();
  SerifBox1->Lines.append(text);
  SerifBox1->Play(false);
}

void TForm7::Abort() { SerifBox1->Abort(); }

void TForm7::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TForm7::FormShow() {
  if (mainWindow_ != nullptr) {
    // Left edges together, bottom edges together.
    const QRect main = mainWindow_->frameGeometry();
    move(main.left(), main.top() + main.height() - frameGeometry().height());
  }
  SerifBox1->Clear();
}

void TForm7::closeEvent(QCloseEvent* event) {
  // The story closes itself when it has been told.
  event->ignore();
}

void TForm7::SerifBox1Paint(TSerifBox* box, QPainter& p) {
  box->setFont(MinchoFont(kTextPixels));
  box->FontColor = Qt::white;
  if (storyText_.isNull())
    p.fillRect(box->rect(), Qt::black);
  else {
    ScalePicturesFor(p, storyText_.devicePixelRatio());
    p.drawImage(0, 0, storyText_);
  }
}

void TForm7::SerifBox1Click(TSerifBox* box) { box->Next(); }

}  // namespace milgant
