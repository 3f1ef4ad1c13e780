#include "desktop/Autosave.h"

#include <cerrno>
#include <cstring>

#include "desktop/Folders.h"
#include "core/game/Game.h"
#include "core/game/SaveImage.h"

namespace milgant {

bool TurnBegan(int stateBefore, const Game& g) { return stateBefore != 2 && g.GameState == 2; }

bool WriteAutosave(Game& g, const std::string& saveFolder, std::string* why) {
  if (!MakeFolder(saveFolder, why)) return false;
  const auto kept = g.SaveImage;
  Snapshot(g);
  errno = 0;
  const bool ok = WriteFileAtomically(saveFolder + "/" + kAutosaveFile, g.SaveImage);
  if (!ok && why != nullptr) *why = errno != 0 ? std::strerror(errno) : "write failed";
  g.SaveImage = kept;
  return ok;
}

}  // namespace milgant
