#include "ui/text/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace milgant {
namespace {

const QString kGothicStandIn = QStringLiteral("IPAPGothic");
const QString kMinchoStandIn = QStringLiteral("IPAPMincho");

QFont Face(const QString& face, int pixelSize) {
  static const bool substituted = (SetUpFonts(), true);
  (void)substituted;
  QFont f(face);
  f.setPixelSize(pixelSize);
  return f;
}

}  // namespace

bool SetUpFonts() {
  if (!QFontDatabase::hasFamily(kGothicStandIn) || !QFontDatabase::hasFamily(kMinchoStandIn)) {
    for (const char* f : {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
                          "/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"})
      QFontDatabase::addApplicationFont(QString::fromLatin1(f));
  }
  if (!QFont::substitutes(kGothicFace).contains(kGothicStandIn)) QFont::insertSubstitution(kGothicFace, kGothicStandIn);
  if (!QFont::substitutes(kMinchoFace).contains(kMinchoStandIn)) QFont::insertSubstitution(kMinchoFace, kMinchoStandIn);
  return QFontDatabase::hasFamily(kGothicStandIn) && QFontDatabase::hasFamily(kMinchoStandIn);
}

QFont WindowFont() { return GothicFont(kWindowFontPixels); }
QFont GothicFont(int pixelSize) { return Face(kGothicFace, pixelSize); }
QFont MinchoFont(int pixelSize) { return Face(kMinchoFace, pixelSize); }

}  // namespace milgant
