// The program around the windows: the application, the windows over the game, and their
// making again at another size when the player picks one in 表示 (Qt reads the windows' scale
// once, as the application starts), the game and the window's view of it carried over.
#pragma once

#include <QString>

#include <functional>

#include "ui/mainwindow/Settings.h"

namespace milgant {

struct Forms;

struct ProgramStart {
  int Argc = 0;
  char** Argv = nullptr;  // the command line: --data, --saves and --record are read from it
  GameSettings Settings;  // the settings file's, with this run's options over them
  QString SettingsFile;
  // Called each time the windows have been made and shown, before the event loop runs
  // (round 0 first, then once for each new size); the tests drive the windows from here.
  std::function<void(Forms&, int round)> OnWindowsMade;
};

// Runs the program until the main window closes; its exit code (1 when the windows cannot
// start, 2 for a bad option).
int RunProgram(ProgramStart& start);

}  // namespace milgant
