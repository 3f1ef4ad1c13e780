// The real windows in a scratch working folder, and a hand that answers their modal windows:
// each modal window is recorded (caption and text) and answered by the next queued answer, or
// with its first button when none is queued.
#pragma once

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "ui/dialogs/SLG_Unit2.h"
#include "ui/dialogs/SLG_Unit8.h"
#include "core/game/Game.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/SLG_Unit1.h"

namespace milgant::test {

// Copies the game's data files (all but the saves) into `folder`.
void CopyGameData(const QString& folder, bool withCrt = true);

// With MILGANT_SCREENSHOTS=<folder>, writes what `w` shows as <folder>/<name>.png.
void Shot(QWidget* w, const QString& name);

class ModalHand {
 public:
  struct Seen {
    QString Caption, Text;
  };
  using Answer = std::function<void(QWidget*)>;

  ModalHand();
  std::vector<Seen> Seen_;
  std::deque<Answer> Answers;
  // The battle window's texts are clicked through and its reinforcement offers refused.
  Forms* Windows = nullptr;
  // Presses the first (0) or second (1) button of TForm2 / TForm8.
  static Answer Press(int button);

 private:
  void Poll();
  void PressOnInBattle();
  QTimer timer_;
  QWidget* last_ = nullptr;
  bool pending_ = false;
};

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // 新規 answered with the side-choice button of `side`; every later note with its first button.
  void StartNewGame(int side);
  // The captions and texts of the modal windows seen so far.
  const std::vector<ModalHand::Seen>& Seen() const { return hand->Seen_; }

  QTemporaryDir dir;
  std::unique_ptr<Game> game;
  std::unique_ptr<Forms> forms;
  std::unique_ptr<ModalHand> hand;
  TForm1* form1 = nullptr;
  bool closed = false;
};

}  // namespace milgant::test
