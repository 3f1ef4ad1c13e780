// The player's settings: the pace of the walks, of the battle texts and of the computer's
// phase, the size of the windows and the opponent. They live in
// $XDG_CONFIG_HOME/milgant/milgant.conf (by default ~/.config/milgant/milgant.conf), are read at
// start-up and written whenever the player changes one in the menus; the command line may
// change any of them for one run without writing it. The defaults are the game's own pace at
// its own size.
#pragma once

#include <QString>

#include <string>
#include <vector>

#include "ui/text/TextPace.h"

namespace milgant {

enum class MovePace { Normal, Fast, None };
enum class ComputerPace { Watch, Fast, BattlesOnly };

struct GameSettings {
  MovePace Move = MovePace::Normal;
  TextPace BattleText = TextPace::Normal;
  ComputerPace Computer = ComputerPace::Watch;
  int Zoom = 100;                     // per cent: 100, 150 or 200
  std::string Opponent = "standard";  // "standard" or "strong"
  bool operator==(const GameSettings&) const = default;
};

// Each setting has one name, the same in the file and on the command line (--move, …), and a
// few words for its values; a value is held by its index among them.
enum class SettingKey { Move, BattleText, Computer, Zoom, Opponent };
inline constexpr SettingKey kSettingKeys[] = {SettingKey::Move, SettingKey::BattleText, SettingKey::Computer,
                                              SettingKey::Zoom, SettingKey::Opponent};
const char* SettingName(SettingKey key);
const std::vector<std::string>& SettingWords(SettingKey key);
int SettingIndex(const GameSettings& s, SettingKey key);
void SetSetting(GameSettings& s, SettingKey key, int index);

// The settings file: $XDG_CONFIG_HOME/milgant/milgant.conf when XDG_CONFIG_HOME is an absolute
// path, else ~/.config/milgant/milgant.conf.
QString SettingsFile();
// What the file holds; a setting that is missing or holds an unknown word keeps its default.
GameSettings ReadSettings(const QString& file);
// Writes one setting of `s` into the file (made with its folder when missing), leaving the
// others as the file has them. False when the file cannot be written.
bool WriteSetting(const QString& file, const GameSettings& s, SettingKey key);

// Takes "--move WORD" / "--move=WORD" and the others out of the words into `s`. False with *why
// when a value is missing or not one of the setting's words.
bool TakeSettingOptions(std::vector<std::string>& words, GameSettings& s, std::string* why);

// The window size asks Qt to scale every window; it must be set before the application starts.
// A scale the desktop or the environment already asks for is multiplied, not replaced.
void ApplyZoomBeforeStart(int percent);

// The pace in effect, in the player's phases and in the computer's.
// One step of a walk: milliseconds the step waits after it is drawn (the normal pace is the
// window's step timer, normalMs), 0 for none, -1 when the steps are not drawn at all (the map
// shows the walk's end when it is next drawn whole).
int StepWait(const GameSettings& s, bool computersPhase, int normalMs);
TextPace BattleTextPace(const GameSettings& s, bool computersPhase);

}  // namespace milgant
