// Where the game finds its data and keeps its saves. One lookup for the window and milgant-cli.
//
// Data (Map.dat, CRT.txt, Midi/, the window pictures), first found wins:
//   --data DIR, then $MILGANT_DATA, then the current folder when it holds Map.dat or CRT.txt,
//   then <prefix>/share/milgant beside an installed program (bin/../share/milgant), then data/
//   of the source tree for a program still in its build folder, else the current folder.
// Saves (Save1.dat..Save5.dat, Autosave.dat):
//   --saves DIR, then $XDG_DATA_HOME/milgant, then ~/.local/share/milgant. Created on first use.
#pragma once

#include <string>
#include <vector>

namespace milgant {

struct FolderOptions {
  std::string Data;   // --data, empty when not given
  std::string Saves;  // --saves, empty when not given
};

std::string FindDataFolder(const std::string& dataOption);
std::string FindSaveFolder(const std::string& savesOption);

// Creates the folder and its parents (mode 0755). True when it exists afterwards; otherwise
// *why holds the system's reason.
bool MakeFolder(const std::string& path, std::string* why = nullptr);

// The folder of the running program (from /proc/self/exe); empty when unknown.
std::string ProgramFolder();

// Takes "--data DIR" / "--data=DIR" and "--saves DIR" / "--saves=DIR" out of the words. False
// with *why when one of them lacks its folder.
bool TakeFolderOptions(std::vector<std::string>& words, FolderOptions& out, std::string* why);

}  // namespace milgant
