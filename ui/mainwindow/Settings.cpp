#include "ui/mainwindow/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <cstdlib>

namespace milgant {
namespace {

// The fast walk: four times the pace of the window's step timer (16 ms a step).
constexpr int kFastStepMs = 4;
constexpr int kZooms[] = {100, 150, 200};

}  // namespace

const char* SettingName(SettingKey key) {
  switch (key) {
    case SettingKey::Move: return "move";
    case SettingKey::BattleText: return "battle-text";
    case SettingKey::Computer: return "computer";
    case SettingKey::Zoom: return "zoom";
    case SettingKey::Opponent: return "opponent";
  }
  return "";
}

const std::vector<std::string>& SettingWords(SettingKey key) {
  static const std::vector<std::string> move{"normal", "fast", "none"};
  static const std::vector<std::string> text{"normal", "fast", "instant"};
  static const std::vector<std::string> computer{"watch", "fast", "battles"};
  static const std::vector<std::string> zoom{"100", "150", "200"};
  static const std::vector<std::string> opponent{"standard", "strong"};
  switch (key) {
    case SettingKey::Move: return move;
    case SettingKey::BattleText: return text;
    case SettingKey::Computer: return computer;
    case SettingKey::Zoom: return zoom;
    case SettingKey::Opponent: return opponent;
  }
  return move;
}

int SettingIndex(const GameSettings& s, SettingKey key) {
  switch (key) {
    case SettingKey::Move: return static_cast<int>(s.Move);
    case SettingKey::BattleText: return static_cast<int>(s.BattleText);
    case SettingKey::Computer: return static_cast<int>(s.Computer);
    case SettingKey::Zoom: {
      const auto* it = std::find(std::begin(kZooms), std::end(kZooms), s.Zoom);
      return it == std::end(kZooms) ? 0 : static_cast<int>(it - std::begin(kZooms));
    }
    case SettingKey::Opponent: return s.Opponent == "strong" ? 1 : 0;
  }
  return 0;
}

void SetSetting(GameSettings& s, SettingKey key, int index) {
  const int count = static_cast<int>(SettingWords(key).size());
  if (index < 0 || index >= count) return;
  switch (key) {
    case SettingKey::Move: s.Move = static_cast<MovePace>(index); break;
    case SettingKey::BattleText: s.BattleText = static_cast<TextPace>(index); break;
    case SettingKey::Computer: s.Computer = static_cast<ComputerPace>(index); break;
    case SettingKey::Zoom: s.Zoom = kZooms[index]; break;
    case SettingKey::Opponent: s.Opponent = SettingWords(key)[static_cast<std::size_t>(index)]; break;
  }
}

namespace {

int IndexOfWord(SettingKey key, const std::string& word) {
  const auto& words = SettingWords(key);
  const auto it = std::find(words.begin(), words.end(), word);
  return it == words.end() ? -1 : static_cast<int>(it - words.begin());
}

}  // namespace

QString SettingsFile() {
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/milgant/milgant.conf");
}

GameSettings ReadSettings(const QString& file) {
  GameSettings s;
  if (!QFileInfo::exists(file)) return s;
  const QSettings stored(file, QSettings::IniFormat);
  for (SettingKey key : kSettingKeys) {
    const int index = IndexOfWord(key, stored.value(QString::fromLatin1(SettingName(key))).toString().toStdString());
    if (index >= 0) SetSetting(s, key, index);
  }
  return s;
}

bool WriteSetting(const QString& file, const GameSettings& s, SettingKey key) {
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  QSettings stored(file, QSettings::IniFormat);
  const int index = std::max(0, SettingIndex(s, key));
  stored.setValue(QString::fromLatin1(SettingName(key)),
                  QString::fromStdString(SettingWords(key)[static_cast<std::size_t>(index)]));
  stored.sync();
  return stored.status() == QSettings::NoError;
}

bool TakeSettingOptions(std::vector<std::string>& words, GameSettings& s, std::string* why) {
  for (std::size_t i = 0; i < words.size();) {
    bool taken = false;
    for (SettingKey key : kSettingKeys) {
      const std::string option = std::string("--") + SettingName(key);
      if (words[i] != option && words[i].rfind(option + "=", 0) != 0) continue;
      std::string value;
      std::size_t used = 1;
      if (words[i].size() > option.size()) {
        value = words[i].substr(option.size() + 1);
      } else if (i + 1 < words.size()) {
        value = words[i + 1];
        used = 2;
      }
      const int index = IndexOfWord(key, value);
      if (index < 0) {
        if (why != nullptr) {
          std::string choices;
          for (const std::string& w : SettingWords(key)) choices += (choices.empty() ? "" : "|") + w;
          *why = value.empty() ? option + " needs one of " + choices
                               : option + " takes " + choices + ", not " + value;
        }
        return false;
      }
      SetSetting(s, key, index);
      words.erase(words.begin() + static_cast<std::ptrdiff_t>(i), words.begin() + static_cast<std::ptrdiff_t>(i + used));
      taken = true;
      break;
    }
    if (!taken) ++i;
  }
  return true;
}

void ApplyZoomBeforeStart(int percent) {
  if (percent == 100) return;
  bool ok = false;
  double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
  if (!ok || asked <= 0) asked = 1.0;
  qputenv("QT_SCALE_FACTOR", QByteArray::number(asked * percent / 100.0));
}

int StepWait(const GameSettings& s, bool computersPhase, int normalMs) {
  if (computersPhase && s.Computer == ComputerPace::BattlesOnly) return -1;
  if (computersPhase && s.Computer == ComputerPace::Fast) return 0;
  switch (s.Move) {
    case MovePace::Normal: return normalMs;
    case MovePace::Fast: return std::min(normalMs, kFastStepMs);
    case MovePace::None: return 0;
  }
  return normalMs;
}

TextPace BattleTextPace(const GameSettings& s, bool computersPhase) {
  // The computer's fast phase types its battles fast, or at once when the player reads all
  // battles so.
  if (computersPhase && s.Computer == ComputerPace::Fast && s.BattleText == TextPace::Normal) return TextPace::Fast;
  return s.BattleText;
}

}  // namespace milgant
