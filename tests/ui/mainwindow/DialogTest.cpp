// The message, question, side-choice and about windows: buttons, captions, refusal of the close
// box, and where they appear.
#include <QKeyEvent>
#include <QLabel>

#include "GuiFixture.h"
#include "ui/dialogs/SLG_Unit6.h"
#include "ui/mainwindow/WindowUi.h"

namespace milgant::test {
namespace {

using DialogTest = GuiTest;

QPoint CentredOn(const QWidget* main, const QWidget* own, int below = 0) {
  const QRect m = main->frameGeometry();
  const QSize s = own->frameGeometry().size();
  return {m.left() + (m.width() - s.width()) / 2, m.top() + (m.height() - s.height()) / 2 + below};
}

TEST_F(DialogTest, CloseBoxAndEscapeAreRefusedUntilAButtonIsPressed) {
  struct Case {
    const char* kind;
    std::function<void()> open;
  };
  TForm2* f2 = forms->Form2;
  TForm8* f8 = forms->Form8;
  const Case cases[] = {
      {"message", [&] { forms->Ui->Note("注意", "本文"); }},
      {"question", [&] { forms->Ui->Ask("質問", "本文"); }},
      {"custom", [&] { forms->Ui->AskChoice("質問", "本文", "はい", "いいえ"); }},
      {"side", [&] { f8->Choose(QStringLiteral("陣営選択"), QStringLiteral("本文"), QStringLiteral("甲"), QStringLiteral("乙")); }},
  };
  for (const Case& c : cases) {
    bool stayed = false;
    QPoint at, want;
    hand->Answers.push_back([&](QWidget* w) {
      w->close();
      QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(w, &esc);
      stayed = w->isVisible();
      at = w->frameGeometry().topLeft();
      want = CentredOn(form1, w);
      ModalHand::Press(0)(w);
    });
    c.open();
    EXPECT_TRUE(stayed) << c.kind;
    EXPECT_EQ(at, want) << c.kind;
  }
  EXPECT_FALSE(f2->isVisible());
}

TEST_F(DialogTest, ButtonsOfNotesAndQuestions) {
  TForm2* f = forms->Form2;
  struct Seen {
    bool secondShown = false;
    QPoint firstAt;
    QString first, second, caption, text;
  };
  auto look = [&](Seen& s, int press) {
    hand->Answers.push_back([&s, f, press](QWidget* w) {
      s.secondShown = f->Button2->isVisible();
      s.firstAt = f->Button1->pos();
      s.first = f->Button1->text();
      s.second = f->Button2->text();
      s.caption = f->windowTitle();
      s.text = f->Label1->text();
      ModalHand::Press(press)(w);
    });
  };
  Seen note, ask, custom, after;
  look(note, 0);
  forms->Ui->Note("セーブフェイズエラー", "現在のフェイズを終了し\rセーブしてください。");
  EXPECT_FALSE(note.secondShown);
  EXPECT_EQ(note.firstAt, QPoint(80, 48));
  EXPECT_EQ(note.caption, QStringLiteral("セーブフェイズエラー"));
  EXPECT_EQ(note.text, QStringLiteral("現在のフェイズを終了し\nセーブしてください。"));

  look(ask, 1);
  EXPECT_FALSE(forms->Ui->Ask("攻撃選択", "本文"));
  EXPECT_TRUE(ask.secondShown);
  EXPECT_EQ(ask.firstAt, QPoint(16, 48));
  EXPECT_EQ(ask.first, QStringLiteral("OK"));
  EXPECT_EQ(ask.second, QStringLiteral("Cancel"));  // from the very first question on

  look(custom, 0);
  EXPECT_TRUE(forms->Ui->AskChoice("攻城戦続行", "攻城戦を続行しますか。", "続行", "中止"));
  EXPECT_EQ(custom.first, QStringLiteral("続行"));
  EXPECT_EQ(custom.second, QStringLiteral("中止"));

  look(after, 0);
  EXPECT_TRUE(forms->Ui->Ask("攻撃選択", "本文"));
  EXPECT_EQ(after.first, QStringLiteral("OK"));
  EXPECT_EQ(after.second, QStringLiteral("Cancel"));
}

TEST_F(DialogTest, SideChoiceButtonsAndTheirCaptionsAfterwards) {
  TForm8* f = forms->Form8;
  for (int press : {0, 1}) {
    QString first, second;
    hand->Answers.push_back([&, press](QWidget* w) {
      first = f->Button1->text();
      second = f->Button2->text();
      ModalHand::Press(press)(w);
    });
    EXPECT_EQ(forms->Ui->ChooseSide("陣営選択", "プレイする陣営を選択してください", "ヴァルネ軍", "ソルカ軍"), press);
    EXPECT_EQ(first, QStringLiteral("ヴァルネ軍"));
    EXPECT_EQ(second, QStringLiteral("ソルカ軍"));
    EXPECT_EQ(f->Button1->text(), QStringLiteral("OK"));
  }
  EXPECT_EQ(f->size(), QSize(297, 114));
  EXPECT_EQ(forms->Form2->size(), QSize(292, 114));
}

TEST_F(DialogTest, AboutWindowIsOneWindowNotModalTwentyPixelsLow) {
  form1->Help1->trigger();
  TForm6* about = forms->Form6;
  ASSERT_TRUE(about->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(about->windowTitle(), QStringLiteral("バージョン"));
  EXPECT_EQ(about->Label1->text(), QStringLiteral("ミルガント・改"));
  EXPECT_TRUE(about->Label2->text().contains(QStringLiteral("1.")));
  EXPECT_EQ(about->frameGeometry().topLeft(), CentredOn(form1, about, 20));
  about->move(0, 0);
  form1->Help1->trigger();
  EXPECT_EQ(about->frameGeometry().topLeft(), CentredOn(form1, about, 20));
  int shown = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) shown += dynamic_cast<TForm6*>(w) != nullptr;
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace milgant::test
