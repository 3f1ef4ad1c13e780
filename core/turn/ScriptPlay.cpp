#include "core/turn/ScriptPlay.h"

#include <memory>

#include "core/game/Game.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/MapClick.h"

namespace milgant {

void PlayScript(Game& g, ScriptedUi& ui, InputFeed& feed) {
  static constexpr InputKind kBetweenWindows[] = {InputKind::Click, InputKind::Right, InputKind::Menu};
  InputFeed* const before = ui.Feed;
  ui.Feed = &feed;
  feed.OnScroll = [&g](int x, int y) {
    g.ScrollX = x;
    g.ScrollY = y;
  };
  try {
    for (;;) {
      feed.SkipScrolls();  // trailing scroll lines still move the view
      if (feed.AtEnd()) break;
      const Input in = feed.Take(kBetweenWindows, "the map (no window is open)", "click, right or menu");
      DispatchInput(g, ui, in);
    }
  } catch (...) {
    ui.Feed = before;
    throw;
  }
  ui.Feed = before;
}

std::string PlayScriptText(Game& g, ScriptedUi& ui, std::string_view text) {
  try {
    InputFeed feed(ParseInputScript(text));
    auto copy = std::make_unique<Game>(g);
    PlayScript(*copy, ui, feed);
    g = *copy;
  } catch (const ScriptError& e) {
    return e.what();
  }
  return {};
}

}  // namespace milgant
