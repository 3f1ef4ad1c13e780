// The common body of the two allocation windows (replenishment TForm5, reinforcement standby
// TForm9): a message, the maximum, the chosen value, a scroll bar and OK / Cancel over a
// background picture. The window only collects a number; the caller checks and applies it.
#pragma once

#include <QDialog>
#include <QImage>

#include <cstdint>
#include <string_view>

class QLabel;
class QPushButton;
class QScrollBar;

namespace milgant {

inline QString AllocationText(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

class TAllocationForm : public QDialog {
 public:
  TAllocationForm(QWidget* mainWindow, const QString& maximumCaption, const QString& valueCaption, int valueColumn,
                  bool stayOnTop);

  // Reads the background picture (form5.JPG) from the working folder; false when it is missing
  // or damaged, and the window is then plain.
  bool LoadBackground(const QString& workingFolder);

  // The window's one operation: caption and message, the half-steps flag, the scroll bar's
  // maximum and the value in and out. True when OK was pressed; then `value` is the value chosen
  // (half the bar's position with half steps). Cancel leaves `value` as it was.
  bool Allocate(const QString& caption, const QString& text, bool halfSteps, int maximum, int& value);
  // The bar's position when the window closed (what a recording writes).
  int Position() const;

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
  // Only OK and Cancel close the window: the close box and Escape do nothing.
  void closeEvent(QCloseEvent* e) override;
  void reject() override {}

 private:
  void ScrollBar1Change(int position);

  QWidget* mainWindow_;
  bool answered_ = false;
};

}  // namespace milgant
