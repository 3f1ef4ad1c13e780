// How fast a typed text runs: at the box's own pace with a click at the end of each page, much
// faster and moving on by itself after a short hold, or each page whole at once with a brief
// hold. A click (or Ctrl held down) always cuts a hold or the typing short.
#pragma once

#include <algorithm>

namespace milgant {

enum class TextPace { Normal, Fast, AtOnce };

// Milliseconds between two typed characters; the normal pace is the box's own.
constexpr int TypingPause(TextPace pace, int normalPause) {
  return pace == TextPace::Normal ? normalPause : pace == TextPace::Fast ? std::min(normalPause, 10) : 0;
}

// How long a finished page stays before the text moves on by itself; 0 waits for the click.
constexpr int PageHold(TextPace pace) {
  return pace == TextPace::Normal ? 0 : pace == TextPace::Fast ? 900 : 1200;
}

}  // namespace milgant
