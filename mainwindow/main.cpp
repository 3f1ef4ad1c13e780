// milgant: the game window. Run it in the folder that holds Map.dat, CRT.txt, Midi/ and the
// window pictures; saved games are written there too.
#include <QApplication>
#include <QDir>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <memory>

#include "dialogs/SLG_Unit6.h"
#include "game/Game.h"
#include "game/InputScript.h"
#include "mainwindow/Fonts.h"
#include "mainwindow/Forms.h"
#include "mainwindow/SLG_Unit1.h"
#include "mainwindow/WindowUi.h"

namespace {

constexpr const char* kUsage =
    "Usage: milgant [--help] [--version]\n"
    "\n"
    "ミルガント・改: a turn-based hex wargame of two armies fighting over the castles\n"
    "and cities of a 20 x 20 map. Choose ファイル > 新規 and pick a side to begin.\n"
    "\n"
    "The game reads Map.dat, CRT.txt, Midi/kknc_gm.mid and the window pictures from the\n"
    "current folder and keeps its saved games there as Save1.dat .. Save5.dat.\n"
    "\n"
    "Keys: Ctrl+N new game, Ctrl+E end the phase, Ctrl+Q quit.\n"
    "\n"
    "Options:\n"
    "  --help         show this text and exit\n"
    "  --version      show the version and exit\n"
    "  --record FILE  write every input of the game being played to FILE (with the seed and\n"
    "                 the save it began from, FILE.start.dat), so that\n"
    "                 milgant-cli play FILE.start.dat --script FILE replays it exactly\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("milgant %s\n", MILGANT_VERSION);
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ミルガント"));
  QApplication::setApplicationDisplayName(QStringLiteral("ミルガント"));
  QString recordPath;
  for (int i = 1; i < QApplication::arguments().size(); ++i) {
    if (QApplication::arguments()[i] == QStringLiteral("--record") && i + 1 < QApplication::arguments().size()) {
      recordPath = QDir::current().absoluteFilePath(QApplication::arguments()[++i]);
      continue;
    }
    std::fprintf(stderr, "milgant: unknown option %s (see --help)\n", qPrintable(QApplication::arguments()[i]));
    return 2;
  }
  if (!milgant::SetUpFonts()) std::fputs("milgant: the IPA fonts are not installed; texts use another face\n", stderr);
  QApplication::setFont(milgant::WindowFont());

  auto game = std::make_unique<milgant::Game>();
  QString failure;
  auto forms = milgant::CreateForms(*game, QDir::currentPath(), &failure);
  if (!forms) {
    std::fprintf(stderr, "milgant: %s\n", qPrintable(failure));
    return 1;
  }
  std::unique_ptr<milgant::InputRecorder> recorder;
  if (!recordPath.isEmpty()) {
    recorder = std::make_unique<milgant::InputRecorder>(recordPath.toStdString());
    forms->Ui->Recorder = recorder.get();
  }
  forms->Form1->OnClosed = [] { QCoreApplication::exit(0); };
  forms->Form1->show();
  // Centred on the screen.
  forms->Form1->move(forms->Form1->screen()->availableGeometry().center() - forms->Form1->rect().center());
  const int rc = QApplication::exec();
  forms.reset();
  recorder.reset();
  return rc;
}
