// The nine windows of the program, created once at start-up in the order TForm1..TForm9, and
// the screen the rules talk to.
#pragma once

#include <QString>

#include <memory>

namespace milgant {

struct Game;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class WindowUi;

struct Forms {
  Forms() = default;
  ~Forms();
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;

  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;
  TForm4* Form4 = nullptr;
  TForm5* Form5 = nullptr;
  TForm6* Form6 = nullptr;
  TForm7* Form7 = nullptr;
  TForm8* Form8 = nullptr;
  TForm9* Form9 = nullptr;
  std::unique_ptr<WindowUi> Ui;
};

// Creates the windows over the game, reading the data files of `workingFolder`. Null, with
// *failure set to a one-line reason, when the main window cannot start ("CRT.txt" missing or
// malformed, a compiled-in picture broken); then no window has been shown.
std::unique_ptr<Forms> CreateForms(Game& game, const QString& workingFolder, QString* failure);

}  // namespace milgant
