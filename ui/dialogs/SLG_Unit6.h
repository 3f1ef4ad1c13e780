// TForm6: the about window. Not modal; each choice of "バージョン" shows the same window again,
// centred on the main window and 20 pixels below its middle.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace milgant {

// The version line of the about window and of --version.
QString VersionLine();

class TForm6 : public QWidget {
 public:
  explicit TForm6(QWidget* mainWindow);

  void ShowAbout();
  // The computer opponent of the game being played, named after the version.
  void ShowOpponent(const QString& name);

  QFrame* Panel1;
  QLabel* Label1;  // product name
  QLabel* Label2;  // version
  QLabel* Label3;  // a few words about the game

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QWidget* mainWindow_;
};

}  // namespace milgant
