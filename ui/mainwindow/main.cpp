// milgant: the game window. It reads Map.dat, CRT.txt, Midi/ and the window pictures from its
// data folder and keeps the saved games in the player's own save folder (desktop/Folders.h).
#include <QApplication>
#include <QDir>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/Folders.h"
#include "ui/dialogs/SLG_Unit6.h"
#include "core/game/Game.h"
#include "core/game/InputScript.h"
#include "ui/text/Fonts.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/mainwindow/Settings.h"
#include "ui/mainwindow/Program.h"
#include "ui/mainwindow/WindowUi.h"

namespace {

constexpr const char* kUsage =
    "Usage: milgant [--data DIR] [--saves DIR] [--record FILE] [--move PACE] [--battle-text PACE]\n"
    "               [--computer PACE] [--zoom PERCENT] [--opponent KIND] [--help] [--version]\n"
    "\n"
    "ミルガント・改: a turn-based hex wargame of two armies fighting over the castles\n"
    "and cities of a 20 x 20 map. Choose ファイル > 新規 and pick a side to begin.\n"
    "\n"
    "The game reads Map.dat, CRT.txt, Midi/kknc_gm.mid and the window pictures from its data\n"
    "folder: --data DIR, else $MILGANT_DATA, else the current folder when it holds Map.dat or\n"
    "CRT.txt, else the installed share/milgant. Saved games (Save1.dat .. Save5.dat, and\n"
    "Autosave.dat written at the start of each of your turns) live in --saves DIR, else in\n"
    "$XDG_DATA_HOME/milgant (by default ~/.local/share/milgant), made on first use.\n"
    "\n"
    "Keys: Ctrl+N new game, Ctrl+E end the phase, Ctrl+Q quit.\n"
    "\n"
    "Options:\n"
    "  --help         show this text and exit\n"
    "  --version      show the version and exit\n"
    "  --data DIR     read the game's data from DIR\n"
    "  --saves DIR    keep the saved games in DIR\n"
    "  --record FILE  write every input of the game being played to FILE (with the seed and\n"
    "                 the save it began from, FILE.start.dat), so that\n"
    "                 milgant-cli play FILE.start.dat --script FILE replays it exactly\n"
    "\n"
    "Settings (the menus 設定 and 表示 choose them and keep them in\n"
    "$XDG_CONFIG_HOME/milgant/milgant.conf, by default ~/.config/milgant/milgant.conf; these\n"
    "options change them for this run only):\n"
    "  --move normal|fast|none           a unit's walk: step by step, quicker, or no wait\n"
    "  --battle-text normal|fast|instant battle messages: typed and clicked on, typed fast and\n"
    "                                    moving on by themselves, or each shown whole at once\n"
    "                                    (questions, reinforcements and a battle's last\n"
    "                                    message always wait for you)\n"
    "  --computer watch|fast|battles     the computer's phase: as the settings above, its\n"
    "                                    walks without waits and its battles typed fast, or\n"
    "                                    only its battles shown\n"
    "  --zoom 100|150|200                the size of every window, in per cent\n"
    "  --opponent standard|strong        the computer opponent\n";

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
  // The settings come before the application: the window size is Qt's scale factor, which it
  // reads as it starts.
  const QString settingsFile = milgant::SettingsFile();
  milgant::GameSettings settings = milgant::ReadSettings(settingsFile);
  {
    std::vector<std::string> words(argv + 1, argv + argc);
    std::string why;
    if (!milgant::TakeSettingOptions(words, settings, &why)) {
      std::fprintf(stderr, "milgant: %s (see --help)\n", why.c_str());
      return 2;
    }
  }
  milgant::ProgramStart start;
  start.Argc = argc;
  start.Argv = argv;
  start.Settings = settings;
  start.SettingsFile = settingsFile;
  return milgant::RunProgram(start);
}
