// TForm8: the side-choice window of a new game. Two buttons named after the two armies; it
// cannot be closed without choosing.
#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

namespace milgant {

class TForm8 : public QDialog {
 public:
  explicit TForm8(QWidget* mainWindow);

  // 0 for the first button, 1 for the second, -1 when the window was ended without a choice
  // (the program is closing).
  int Choose(const QString& caption, const QString& text, const QString& first, const QString& second);
  void ForceClose();

  QLabel* Label1;
  QPushButton* Button1;
  QPushButton* Button2;
  std::uint8_t Answered = 0;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  QWidget* mainWindow_;
  int choice_ = -1;
};

}  // namespace milgant
