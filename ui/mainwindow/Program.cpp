// The program's event loop, made again with the windows whenever the player picks another size.
#include "ui/mainwindow/Program.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/game/Game.h"
#include "core/game/InputScript.h"
#include "desktop/Folders.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/mainwindow/WindowUi.h"
#include "ui/text/Fonts.h"

namespace milgant {

int RunProgram(ProgramStart& start) {
  // The environment's own scale, which every size chosen in 表示 multiplies.
  const QByteArray desktopScale = qgetenv("QT_SCALE_FACTOR");
  const bool desktopScaleSet = qEnvironmentVariableIsSet("QT_SCALE_FACTOR");
  const auto applyZoom = [&](int percent) {
    if (desktopScaleSet) qputenv("QT_SCALE_FACTOR", desktopScale);
    else qunsetenv("QT_SCALE_FACTOR");
    ApplyZoomBeforeStart(percent);
  };
  // A new size in 表示 ends the application with this code; the windows are then made again at
  // that size and take over the game where it stood.
  constexpr int kMadeAgain = 0x5a4d;
  auto game = std::make_unique<Game>();
  std::unique_ptr<InputRecorder> recorder;
  std::optional<TForm1::Carried> carried;
  QString dataFolder, saveFolder;
  GameSettings settings = start.Settings;
  int round = 0;
  for (;;) {
    applyZoom(settings.Zoom);
    QApplication app(start.Argc, start.Argv);
    // The application's title. No display name: Qt would append it to every window's caption,
    // and the captions are the windows' own ("ミルガント・改", "戦闘", …).
    QApplication::setApplicationName(QStringLiteral("ミルガント"));
    // The desktop entry the window belongs to (its icon and name in docks and task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.milgant.Milgant"));
    if (!carried) {
      std::vector<std::string> words;
      for (int i = 1; i < QApplication::arguments().size(); ++i) words.push_back(QApplication::arguments()[i].toStdString());
      FolderOptions folders;
      std::string why;
      GameSettings taken;  // read above; here only taken out of the words
      if (!TakeFolderOptions(words, folders, &why) || !TakeSettingOptions(words, taken, &why)) {
        std::fprintf(stderr, "milgant: %s (see --help)\n", why.c_str());
        return 2;
      }
      QString recordPath;
      for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--record" && i + 1 < words.size()) {
          recordPath = QDir::current().absoluteFilePath(QString::fromStdString(words[++i]));
          continue;
        }
        std::fprintf(stderr, "milgant: unknown option %s (see --help)\n", words[i].c_str());
        return 2;
      }
      dataFolder = QString::fromStdString(FindDataFolder(folders.Data));
      saveFolder = QString::fromStdString(FindSaveFolder(folders.Saves));
      if (!recordPath.isEmpty()) recorder = std::make_unique<InputRecorder>(recordPath.toStdString());
    }
    if (!SetUpFonts()) std::fputs("milgant: the IPA fonts are not installed; texts use another face\n", stderr);
    QApplication::setFont(WindowFont());

    QString failure;
    auto forms = CreateForms(*game, dataFolder, &failure);
    if (!forms) {
      std::fprintf(stderr, "milgant: %s (data folder %s)\n", qPrintable(failure), qPrintable(dataFolder));
      return 1;
    }
    TForm1* window = forms->Form1;
    window->UseSettings(settings, start.SettingsFile);
    window->SetSaveFolder(saveFolder);
    if (recorder) forms->Ui->Recorder = recorder.get();
    window->OnClosed = [] { QCoreApplication::exit(0); };
    window->OnZoomChosen = [] { QCoreApplication::exit(kMadeAgain); };
    if (carried) window->TakeOver(*carried);
    window->show();
    // Centred on the screen; made again, where it stood as long as it fits there.
    const QRect screen = window->screen()->availableGeometry();
    QPoint at = screen.center() - window->rect().center();
    if (carried) {
      const QPoint was = carried->TopLeft / window->devicePixelRatioF();
      if (screen.contains(QRect(was, window->frameGeometry().size()))) at = was;
    }
    window->move(at);
    if (start.OnWindowsMade) start.OnWindowsMade(*forms, round++);
    const int rc = QApplication::exec();
    if (rc == kMadeAgain) {
      carried = window->CarryOver();
      settings = carried->Settings;
    }
    forms.reset();
    if (rc != kMadeAgain) {
      recorder.reset();
      return rc;
    }
  }
}

}  // namespace milgant
