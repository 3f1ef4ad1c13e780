// TForm3: the unit information and command window over a clicked hex: the corps and independent
// generals there, the subordinates of the one selected, its details, and the commands of the
// phase. The command buttons follow the game's button table.
#pragma once

#include <QDialog>
#include <QImage>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace milgant {

struct Game;

class TForm3 : public QDialog {
 public:
  explicit TForm3(QWidget* mainWindow);

  bool LoadBackground(const QString& workingFolder);
  // Enables the command buttons as the game's button table says.
  void SetButtons(const Game& g);

  QListWidget* ListBox1;
  QListWidget* ListBox2;
  QLabel* Image1;  // the unit's counter, 50 x 50
  // Captions and values of the details, row by row.
  std::array<QLabel*, 15> Captions{};
  std::array<QLabel*, 15> Values{};
  QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9,
      *Button10;
  QTimer* Timer1;
  QImage JPEGImage1;

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  QWidget* mainWindow_;
};

}  // namespace milgant
