// The two proportional Japanese faces the windows are designed for, stood in for by the IPA
// fonts: "ＭＳ Ｐゴシック" by IPAPGothic and "ＭＳ Ｐ明朝" by IPAPMincho, chosen by name.
#pragma once

#include <QFont>
#include <QString>

namespace milgant {

inline const QString kGothicFace = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kMinchoFace = QStringLiteral("ＭＳ Ｐ明朝");
inline constexpr int kWindowFontPixels = 12;

// Registers the substitutions (loading the IPA files when the system has not); false when a
// stand-in face is missing. Safe to call more than once.
bool SetUpFonts();
// The windows' font: "ＭＳ Ｐゴシック", 12 pixels high.
QFont WindowFont();
// The two faces at a given size; the text boxes write in "ＭＳ Ｐ明朝".
QFont GothicFont(int pixelSize = kWindowFontPixels);
QFont MinchoFont(int pixelSize = kWindowFontPixels);

}  // namespace milgant
