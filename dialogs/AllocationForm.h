// The common body of the two allocation windows (replenishment TForm5, reinforcement standby
// TForm9): a message, the maximum, the chosen value, a scroll bar and OK / Cancel over a
// background picture. The choosing itself is done by the windows' own operation.
#pragma once

#include <QDialog>
#include <QImage>

#include <cstdint>

class QLabel;
class QPushButton;
class QScrollBar;

namespace milgant {

class TAllocationForm : public QDialog {
 public:
  TAllocationForm(QWidget* mainWindow, const QString& maximumCaption, const QString& valueCaption, int valueColumn,
                  bool stayOnTop);

  // Reads the background picture (form5.JPG) from the working folder; false when it is missing
  // or damaged, and the window is then plain.
  bool LoadBackground(const QString& workingFolder);

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QScrollBar* ScrollBar1;
  QPushButton* Button1;
  QPushButton* Button2;
  QImage JPEGImage1;
  std::int32_t Value = 0;
  std::uint8_t HalfSteps = 0;
  std::uint8_t Accepted = 0;

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  QWidget* mainWindow_;
};

}  // namespace milgant
