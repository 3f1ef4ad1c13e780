#include "GuiFixture.h"

#include <QFile>

#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/text/SerifBoxs.h"

namespace milgant::test {

void CopyGameData(const QString& folder, bool withCrt) {
  const QDir data(QStringLiteral(MILGANT_DATA_DIR));
  for (const QString& name : {QStringLiteral("Map.dat"), QStringLiteral("CRT.txt"), QStringLiteral("form3.JPG"),
                              QStringLiteral("form4.JPG"), QStringLiteral("form5.JPG"), QStringLiteral("gametop.JPG")}) {
    if (name == QStringLiteral("CRT.txt") && !withCrt) continue;
    QFile::copy(data.filePath(name), folder + QLatin1Char('/') + name);
  }
  QDir(folder).mkpath(QStringLiteral("Midi"));
  QFile::copy(data.filePath(QStringLiteral("Midi/kknc_gm.mid")), folder + QStringLiteral("/Midi/kknc_gm.mid"));
}

ModalHand::ModalHand() {
  timer_.setInterval(2);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

ModalHand::Answer ModalHand::Press(int button) {
  return [button](QWidget* w) {
    if (auto* f2 = qobject_cast<QDialog*>(w); f2 != nullptr) {
      if (auto* d = dynamic_cast<TForm2*>(w)) (button == 0 ? d->Button1 : d->Button2)->click();
      else if (auto* s = dynamic_cast<TForm8*>(w)) (button == 0 ? s->Button1 : s->Button2)->click();
      else f2->done(0);
    }
  };
}

void ModalHand::PressOnInBattle() {
  TForm4* battle = Windows != nullptr ? Windows->Form4 : nullptr;
  if (battle == nullptr || !battle->isVisible()) return;
  if (battle->SerifBox1->Waiting()) battle->SerifBox1->Next();
  for (QPushButton* refuse : {battle->Button3, battle->Button4})
    if (refuse->isVisible() && refuse->isEnabled()) refuse->click();
}

void ModalHand::Poll() {
  PressOnInBattle();
  if (pending_) return;
  QWidget* w = QApplication::activeModalWidget();
  if (w == nullptr || !w->isVisible()) {
    last_ = nullptr;
    return;
  }
  // TForm2 and TForm8 are reused: a fresh question is one not answered yet.
  bool fresh = w != last_;
  if (auto* d = dynamic_cast<TForm2*>(w)) fresh = d->Answered == 0;
  if (auto* s = dynamic_cast<TForm8*>(w)) fresh = s->Answered == 0;
  if (!fresh) return;
  last_ = w;
  QString text;
  for (auto* label : w->findChildren<QLabel*>())
    if (!label->text().isEmpty()) {
      text = label->text();
      break;
    }
  Seen_.push_back({w->windowTitle(), text});
  Answer a = Answers.empty() ? Press(0) : Answers.front();
  if (!Answers.empty()) Answers.pop_front();
  pending_ = true;
  // Answer once the window has settled into its wait.
  QTimer::singleShot(0, w, [this, a, w] {
    pending_ = false;
    a(w);
  });
}

void GuiTest::SetUp() {
  ASSERT_TRUE(dir.isValid());
  CopyGameData(dir.path());
  game = std::make_unique<Game>();
  QString failure;
  forms = CreateForms(*game, dir.path(), &failure);
  ASSERT_TRUE(forms != nullptr) << failure.toStdString();
  form1 = forms->Form1;
  form1->OnClosed = [this] { closed = true; };
  form1->show();
  hand = std::make_unique<ModalHand>();
  hand->Windows = forms.get();
  forms->Form4->SerifBox1->WaitTime = 0;
}

void GuiTest::TearDown() {
  hand.reset();
  forms.reset();
}

void GuiTest::StartNewGame(int side) {
  hand->Answers.push_back(ModalHand::Press(side));
  form1->K5->trigger();
}

void Shot(QWidget* w, const QString& name) {
  const QByteArray folder = qgetenv("MILGANT_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QApplication::processEvents();
  w->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace milgant::test
