// TForm2: the message and question window every note and yes/no question of the game goes
// through. One button for a note, two for a question ("OK" / "Cancel" or the caller's captions).
// It cannot be closed except by a button.
#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

namespace milgant {

class TForm2 : public QDialog {
 public:
  explicit TForm2(QWidget* mainWindow);

  void Message(const QString& caption, const QString& text);
  bool Question(const QString& caption, const QString& text);
  bool CustomQuestion(const QString& caption, const QString& text, const QString& first, const QString& second);
  // The program is closing: the window goes away as if its second button had been pressed.
  void ForceClose();

  QLabel* Label1;
  QPushButton* Button1;
  QPushButton* Button2;
  std::uint8_t Answered = 0;
  std::uint8_t Result = 0;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void Button1Click();
  void Button2Click();
  bool Ask(const QString& caption, const QString& text);
  QWidget* mainWindow_;
};

}  // namespace milgant
