// TForm3: the unit information and command window over a clicked hex. It shows the state of a
// UnitWindow (the corps and independent generals there, the subordinates of the one selected,
// the details) and hands every click on its lists and buttons to it as an input, written to the
// recording first when one runs. The command buttons follow the game's button table.
#pragma once

#include <QDialog>
#include <QImage>
#include <QList>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace milgant {

struct Game;
struct Input;
class InputRecorder;
class UnitWindow;

class TForm3 : public QDialog {
 public:
  explicit TForm3(QWidget* mainWindow);

  bool LoadBackground(const QString& workingFolder);
  // The counters of the main window's image list (12 of 50 x 50), Side * 6 + Rank * 2.
  void SetCounters(const QList<QImage>* counters) { counters_ = counters; }
  // Enables the command buttons as the game's button table says.
  void SetButtons(const Game& g);
  // The game the window reads to tell which commands can come to anything for the corps shown.
  void SetGame(const Game* g) { game_ = g; }
  // Shows the window modally over `window` until one of the player's inputs closes it.
  void Run(UnitWindow& window, InputRecorder* recorder);
  // The window as it stands now (for tests that drive it from a timer).
  UnitWindow* Current() const { return window_; }

  QListWidget* ListBox1;
  QListWidget* ListBox2;
  QLabel* Image1;  // the unit's counter, 50 x 50
  // Captions and values of the details, row by row.
  std::array<QLabel*, 15> Captions{};
  std::array<QLabel*, 15> Values{};
  // One line under the buttons: why the commands that cannot act are grey, or what to click next.
  QLabel* HintLabel;
  QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9,
      *Button10;
  QTimer* Timer1;
  QImage JPEGImage1;

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  // Only the window's own buttons close it: the close box and Escape do nothing.
  void closeEvent(QCloseEvent* e) override;
  void reject() override {}

 private:
  void Feed(const Input& in);
  void Refresh();
  // Greys the commands that would come to nothing for the corps on display and says why.
  void Guide();
  // Why a button press will come to nothing, judged before it is applied; empty when it acts.
  QString Refusal(const Input& in) const;

  QWidget* mainWindow_;
  const QList<QImage>* counters_ = nullptr;
  UnitWindow* window_ = nullptr;
  const Game* game_ = nullptr;
  InputRecorder* recorder_ = nullptr;
  bool refreshing_ = false;
};

}  // namespace milgant
