// TForm7: the closing story of a game. The winner's picture above, the story typed below over
// its own background; the player clicks through one or two texts and the window closes.
#pragma once

#include <QImage>
#include <QWidget>

#include <string_view>

#include "ui/widgets/CmprsImg.h"

class QLabel;

namespace milgant {

class TSerifBox;

// The story of each ending, in the order it is shown.
QStringList EndingStoryTexts(int winningSide, bool homeCityFell);
// "ヴァルネ方勝利" or "ソルカ方勝利".
QString EndingCaption(int winningSide);

class TForm7 : public QWidget {
  Q_OBJECT

 public:
  // The window stays hidden until a game ends. mainWindow is the window it lines up with.
  explicit TForm7(QWidget* mainWindow = nullptr);

  void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
  // Loads the two story pictures (gametop.JPG of the working folder); false when it is
  // missing or damaged, and the story is then told over a black picture.
  bool LoadPictures(const QString& workingFolder);

  // The whole ending: the winner's picture, the caption, the story texts typed and clicked
  // through, the window closed.
  void TellEnding(int winningSide, bool homeCityFell);

  // The steps TellEnding is made of.
  void ShowWinnerPicture(int winningSide);
  // Types one story text; returns after the player has clicked at its end.
  void ShowStoryText(const QString& text);

  // Ends the story at once (the program is closing).
  void Abort();

  TSerifBox* SerifBox1 = nullptr;
  QLabel* Image1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  void SerifBox1Paint(TSerifBox* box, QPainter& p);
  void SerifBox1Click(TSerifBox* box);

  QWidget* mainWindow_ = nullptr;
  QImage JPEGImage1;                 // 1580 x 417: side 0 left, side 1 right (or its twin)
  QImage storyText_;                 // CompressedImage1's picture as shown (or its twin)
  TCompressedImage CompressedImage1; // the story text background
};

}  // namespace milgant
